// The HTML website export: the rows of a small tournament on both backends and
// its site byte for byte against tests/output/golden/html; the site read back
// with html5lib (cells, links and frames) and checked with tidy, also for names
// that need escaping; the pages' lines for the cases of their rules; the file
// names; and the dialog: the save dialog, the overwrite question, a database
// error and a folder that takes no file, each leaving the folder as it was.
#include "controls/uibuttons.h"
#include "data/siterecords.h"
#include "data/sql.h"
#include "output/htmlsite.h"
#include "output/texportform.h"
#include "support/fakeservices.h"
#include "support/readonly.h"
#include "support/tempprogramfolder.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

const QVariant kNull;

QDateTime at(int y, int m, int d, int h = 0, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min));
}

// A row whose columns are Null unless given.
void row(const QSqlDatabase& db, const char* tableName, const QVariantMap& values)
{
    QVariantMap all;
    for (const QString& column : columnNames(s(tableName)))
        all.insert(column, kNull);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        all.insert(it.key(), it.value());
    insertRow(db, s(tableName), all);
}

void player(const QSqlDatabase& db, int tid, int sid, const char* nachname, const char* vorname, const char* verein,
            const QVariantMap& more = {})
{
    QVariantMap values{{s("TID"), tid}, {s("SID"), sid},          {s("nachname"), s(nachname)},
                       {s("vorname"), s(vorname)}, {s("verein"), s(verein)}};
    values.insert(more);
    row(db, "Spielerdaten", values);
}

void entry(const QSqlDatabase& db, int kid, int sid, const QVariant& partner = kNull, const QVariant& mannschaft = kNull)
{
    row(db, "Spieler_im_turnier", {{s("TID"), 1}, {s("KID"), kid}, {s("SID"), sid}, {s("gemeldet"), 0}});
    if (!partner.isNull() || !mannschaft.isNull())
        row(db, "Doppelpartner", {{s("KID"), kid}, {s("SID"), sid}, {s("partner_SID"), partner}, {s("mannschaft"), mannschaft}});
}

void match(const QSqlDatabase& db, int kid, int nr, const QVariant& spieler1, const QVariant& spieler2,
           const QVariantList& saetze = {}, const QVariantMap& more = {})
{
    QVariantMap values{{s("KID"), kid}, {s("TID"), 1}, {s("spielnummer"), nr}, {s("spieler1"), spieler1},
                       {s("spieler2"), spieler2}, {s("ergebnis"), s("0:0")}};
    for (int i = 0; i < saetze.size(); ++i)
        values.insert(QStringLiteral("satz%1").arg(i + 1), saetze[i]);
    values.insert(more);
    row(db, "Spielplan", values);
}

// The small tournament of the golden site: a doubles class with a pair and a
// player without partner, a team class with a team of two of four players, a
// referee, matches stored out of their order with a set lost 0:11, an unplayed
// match and slots not yet known; a second tournament whose rows stay away.
void seedGolden(const QSqlDatabase& db)
{
    row(db, "Turnierdaten", {{s("TID"), 1},
                             {s("turniername"), s("Stadtmeisterschaft 2026")},
                             {s("zusatz"), s("")},
                             {s("austragungsort"), s("Sporthalle Nord")},
                             {s("tvon"), at(2026, 6, 13)},
                             {s("turniermodus"), s("Gruppen\r\nKO-Runde")},
                             {s("homepage"), s("https://example.org/?a=1&b=2")},
                             {s("turnierleitung"), s("Hans Vogt")},
                             {s("gesamtleitung"), s("Eva Roth")},
                             {s("meldeschluss"), at(2026, 6, 1, 18, 0)},
                             {s("baelle"), s("3-Stern")},
                             {s("zaehlgeraete"), s("ja")}});
    row(db, "Turnierdaten", {{s("TID"), 2}, {s("turniername"), s("Anderes Turnier")}});
    row(db, "Turnierklassen", {{s("KID"), 2}, {s("TID"), 1}, {s("system"), 3}, {s("kbezeichnung"), s("Mannschaft")},
                               {s("mann"), 1}, {s("frau"), 1}, {s("gebuehr"), 20.0}, {s("saetze"), 3}});
    row(db, "Turnierklassen", {{s("KID"), 1},
                               {s("TID"), 1},
                               {s("system"), 1},
                               {s("kbezeichnung"), s("Herren")},
                               {s("kbeschreibung"), s("Doppel offen")},
                               {s("spielberechtigung"), s("alle")},
                               {s("mann"), 1},
                               {s("frau"), 0},
                               {s("gebuehr"), 6.5},
                               {s("min"), 4},
                               {s("max"), 32},
                               {s("saetze"), 3},
                               {s("platten"), 4},
                               {s("atag"), at(2026, 6, 13)},
                               {s("uhrzeit"), at(1899, 12, 30, 10, 30)}});
    row(db, "Turnierklassen", {{s("KID"), 3}, {s("TID"), 2}, {s("system"), 0}, {s("kbezeichnung"), s("Fremd")}});
    player(db, 1, 1, "Brandt", "Jonas", "TTC Musterstadt",
           {{s("geb"), at(1990, 4, 2)}, {s("nummer"), 7}, {s("kverband"), s("Nord")}, {s("bverband"), s("")},
            {s("land"), s("GER")}, {s("spklasse"), s("A")}});
    player(db, 1, 2, "Müller", "Lukas", "SV Grünwald");
    player(db, 1, 3, "Weber", "Tim", "");
    player(db, 1, 4, "Albers", "Nina", "TTC Musterstadt");
    player(db, 2, 5, "Fremd", "Fritz", "Anderswo");
    entry(db, 1, 2, 1);
    entry(db, 1, 1, 2);
    entry(db, 1, 3);
    entry(db, 2, 1, 0, s("TTC I"));
    entry(db, 2, 4, 0, s(""));
    entry(db, 3, 5);
    row(db, "Teams", {{s("TID"), 1},         {s("KID"), 2},    {s("MID"), 1},
                      {s("teamname"), s("TTC I")}, {s("s1"), 1}, {s("s2"), 4},
                      {s("s4"), 0},          {s("d1_1"), 1},   {s("d1_2"), 4},
                      {s("d2_2"), 4},        {s("r2"), -1},    {s("verein"), s("TTC Musterstadt")}});
    row(db, "Schiri", {{s("TID"), 1},
                       {s("SCHIRIID"), 1},
                       {s("snname"), s("Keller")},
                       {s("svname"), s("Anna")},
                       {s("sverein"), s("SC Süd")},
                       {s("sgeb"), at(1980, 1, 15)},
                       {s("skverband"), s("")},
                       {s("sklasse"), s("B")}});
    row(db, "Schiri", {{s("TID"), 2}, {s("SCHIRIID"), 2}, {s("snname"), s("Fremd")}, {s("svname"), s("Franz")}});
    match(db, 1, 3, s("Weber, Tim"), s(""));
    match(db, 1, 1, s("Brandt, Jonas / Müller, Lukas"), s("Weber, Tim"), {7, -100, 9},
          {{s("ergebnis"), s("2:1")}, {s("an_platte"), s("3")}, {s("spielstart"), at(2026, 6, 13, 10, 35)},
           {s("spielende"), at(2026, 6, 13, 11, 2)}});
    match(db, 1, 2, s("Sieger Spiel 1"), s("Freilos"));
    match(db, 1, 4, kNull, s("Weber, Tim"));
    match(db, 2, 1, s("TTC I"), s("SV II"), {0, -7}, {{s("ergebnis"), s("5:3")}});
    match(db, 3, 1, s("Fremd, Fritz"), s("Freilos"));
}

// A tournament whose names need escaping and a letter Windows-1252 lacks.
void seedEscaping(const QSqlDatabase& db)
{
    row(db, "Turnierdaten", {{s("TID"), 1}, {s("turniername"), s("A & B <C>")}, {s("osr"), s("\"Łukasz\" ł")}});
    row(db, "Turnierklassen", {{s("KID"), 1}, {s("TID"), 1}, {s("system"), 0}, {s("kbezeichnung"), s("A & B <C>")}});
    row(db, "Turnierklassen", {{s("KID"), 2}, {s("TID"), 1}, {s("system"), 3}, {s("kbezeichnung"), s("Team \"1\"")}});
    player(db, 1, 1, "\"Zoë\" <b>", "Łukasz ł", "Verein & Co");
    entry(db, 1, 1);
    entry(db, 2, 1, 0, s("<Die & Anderen>"));
    row(db, "Teams", {{s("TID"), 1}, {s("KID"), 2}, {s("MID"), 1}, {s("teamname"), s("<Die & Anderen>")},
                      {s("verein"), s("Verein & Co")}, {s("s1"), 1}});
    row(db, "Schiri", {{s("TID"), 1}, {s("SCHIRIID"), 1}, {s("snname"), s("O'Neill & Söhne")}, {s("svname"), s("Jürgen")}});
    match(db, 1, 1, s("\"Zoë\" <b>, Łukasz ł"), s("A & B <C>"), {}, {{s("an_platte"), s("<1>")}});
}

QString goldenFolder()
{
    return qEnvironmentVariable("BRACKWELL_SOURCE_DIR") + QStringLiteral("/tests/output/golden/html");
}

QStringList files(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every file of the folder with its bytes.
QMap<QString, QByteArray> contents(const QString& folder)
{
    QMap<QString, QByteArray> all;
    for (const QString& name : files(folder))
        all.insert(name, bytesOf(QDir(folder).filePath(name)));
    return all;
}

// What html5lib reads of each page of the folder (read_html.py).
QJsonObject parsed(const QString& folder)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {qEnvironmentVariable("BRACKWELL_SOURCE_DIR") + QStringLiteral("/tests/output/read_html.py"), folder});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        qWarning() << python.errorString() << python.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QJsonArray cells(const QStringList& texts)
{
    QJsonArray array;
    for (const QString& text : texts)
        array.append(text);
    return array;
}

// What tidy may say of the pages, all of it about the markup they keep on
// purpose (frames, colours, alignment, the open <font>, the filler without its
// semicolon, no doctype or title): nothing else, and no error.
const QStringList kAcceptedTidyWarnings{
    QStringLiteral("missing <!DOCTYPE> declaration"),
    QStringLiteral("inserting missing 'title' element"),
    QStringLiteral("<frameset> element removed from HTML5"),
    QStringLiteral("<frame> element removed from HTML5"),
    QStringLiteral("<frameset> proprietary attribute \"border\""),
    QStringLiteral("<body> attribute \"bgcolor\" not allowed for HTML5"),
    QStringLiteral("<body> attribute \"bgcolor\" has invalid value \"darkblue\""),
    QStringLiteral("<body> attribute \"bgcolor\" had invalid value \"FFFFC4\" and has been replaced"),
    QStringLiteral("<div> attribute \"align\" not allowed for HTML5"),
    QStringLiteral("<font> element removed from HTML5"),
    QStringLiteral("inserting implicit <font>"),
    QStringLiteral("missing </font> before <p>"),
    QStringLiteral("missing </font> before <table>"),
    QStringLiteral("trimming empty <font>"),
    QStringLiteral("entity \"&nbsp\" doesn't end in ';'"),
    QStringLiteral("unescaped & or unknown entity \"&nbsp1\""),
    QStringLiteral("unescaped & or unknown entity \"&nbsp2\""),
    QStringLiteral("unescaped & or unknown entity \"&nbspTisch\""),
};

// tidy -q -e on every page: no error, and only the accepted warnings.
QString tidyComplaints(const QString& folder)
{
    QStringList complaints;
    for (const QString& name : files(folder)) {
        QProcess tidy;
        tidy.start(QStringLiteral("tidy"), {QStringLiteral("-q"), QStringLiteral("-e"), QStringLiteral("-win1252"),
                                            QDir(folder).filePath(name)});
        if (!tidy.waitForFinished(30000))
            return QStringLiteral("tidy did not run: ") + tidy.errorString();
        const QString said = QString::fromUtf8(tidy.readAllStandardError());
        if (tidy.exitCode() >= 2)
            complaints << name + QStringLiteral(": errors: ") + said;
        static const QRegularExpression prefix(QStringLiteral("^line \\d+ column \\d+ - Warning: "));
        for (QString line : said.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            line.remove(prefix);
            if (!kAcceptedTidyWarnings.contains(line.trimmed()))
                complaints << name + QStringLiteral(": ") + line;
        }
    }
    return complaints.join(QLatin1Char('\n'));
}

// The whole site of tournament 1 in a folder, as the dialog writes it.
void writeSite(const QSqlDatabase& db, const QString& turniername, const QString& folder,
               const QString& frameset = QStringLiteral("Stadtmeisterschaft.html"))
{
    const HtmlSite site(readSiteData(db, 1), turniername, frameset);
    writeHtmlPages(site.pages(), folder);
}

HtmlSite smallSite(const QSqlDatabase& db)
{
    return HtmlSite(readSiteData(db, 1), QStringLiteral("Stadtmeisterschaft 2026"), QStringLiteral("Stadtmeisterschaft.html"));
}

const QStringList kHead{QStringLiteral("<html>"), QStringLiteral("<head>"),
                        QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"),
                        QStringLiteral("</head>")};

// The export dialog of tournament 1 on an SQLite database, with the main
// window's progress bar.
struct ExportDesk {
    ExportDesk() : fake(folder.path()), form(nullptr, fake.services, [this] { return tdb.db(); }, tid, name, &bar)
    {
        if (tdb.ready())
            seedGolden(tdb.db());
        QVERIFY(QDir().mkpath(target()));
        form.setWindowTitle(QStringLiteral("HTML-Export"));
        form.htmlload();
    }
    QString target() const { return folder.file(QStringLiteral("Website")); }
    void choose(const QString& fileName) { fake.files.answer(target() + QLatin1Char('/') + fileName); }

    TempProgramFolder folder{TempProgramFolder::Content::Empty};
    TestDatabase tdb{Backend::SQLite};
    FakeServices fake;
    int tid = 1;
    QString name = QStringLiteral("Stadtmeisterschaft 2026");
    QProgressBar bar;
    Texportform form;
};

} // namespace

class TestHtmlExport : public QObject {
    Q_OBJECT
private slots:
    // The rows as the pages list them, on both backends.
    void siteRows_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void siteRows()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        seedGolden(tdb.db());
        const SiteData data = readSiteData(tdb.db(), 1);
        QCOMPARE(data.tournament.value(s("turniername")).toString(), s("Stadtmeisterschaft 2026"));
        QVERIFY(data.tournament.value(s("tbis")).isNull());
        QCOMPARE(data.tournament.value(s("zusatz")), QVariant(s("")));
        QCOMPARE(data.tournament.value(s("tvon")).toDateTime().date(), QDate(2026, 6, 13));
        QStringList got;
        for (const SiteClass& c : data.classes)
            got << QStringLiteral("%1 %2").arg(c.kbezeichnung).arg(c.system.toInt());
        QCOMPARE(got, (QStringList{s("Herren 1"), s("Mannschaft 3")}));
        got.clear();
        for (const SiteEntry& e : data.entries)
            got << QStringLiteral("%1 %2 %3 %4 %5").arg(e.kid).arg(e.nachname, e.partnerNachname, e.mannschaft, e.verein);
        QCOMPARE(got, (QStringList{s("1 Brandt Müller  TTC Musterstadt"), s("1 Müller Brandt  SV Grünwald"),
                                   s("1 Weber   "), s("2 Albers   TTC Musterstadt"),
                                   s("2 Brandt  TTC I TTC Musterstadt")}));
        got.clear();
        for (const SitePlayer& p : data.players)
            got << p.nachname;
        QCOMPARE(got, (QStringList{s("Albers"), s("Brandt"), s("Müller"), s("Weber")}));
        QCOMPARE(data.teams.size(), 1);
        const SiteTeam& team = data.teams.first();
        QCOMPARE(team.spieler[0]->nachname, s("Brandt"));
        QCOMPARE(team.spieler[1]->nachname, s("Albers"));
        QVERIFY(!team.spieler[2] && !team.spieler[3] && !team.reserve[0] && !team.reserve[1]);
        QVERIFY(team.doppel[0] && team.doppel[1] && !team.doppel[2] && team.doppel[3]);
        QCOMPARE(data.referees.size(), 1);
        got.clear();
        for (const SiteMatch& m : data.matches)
            got << QStringLiteral("%1/%2").arg(m.kid).arg(m.spielnummer.toInt());
        QCOMPARE(got, (QStringList{s("1/1"), s("1/2"), s("1/3"), s("1/4"), s("2/1")}));
        QCOMPARE(data.matches.first().saetze[1].toInt(), -100);
        QVERIFY(data.matches.first().saetze[3].isNull());
        QCOMPARE(data.matches.first().spielende.toDateTime().time(), QTime(11, 2));
    }

    // Every page of the small tournament byte for byte, from both backends.
    void goldenSite_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void goldenSite()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        seedGolden(tdb.db());
        QTemporaryDir dir;
        writeSite(tdb.db(), s("Stadtmeisterschaft 2026"), dir.path());
        if (qEnvironmentVariableIsSet("BRACKWELL_UPDATE_GOLDEN") && backend == Backend::SQLite) {
            QDir(goldenFolder()).removeRecursively();
            QVERIFY(QDir().mkpath(goldenFolder()));
            for (const QString& name : files(dir.path()))
                QVERIFY(QFile::copy(QDir(dir.path()).filePath(name), QDir(goldenFolder()).filePath(name)));
        }
        const QMap<QString, QByteArray> written = contents(dir.path());
        const QMap<QString, QByteArray> golden = contents(goldenFolder());
        QCOMPARE(written.keys(), golden.keys());
        for (auto it = golden.cbegin(); it != golden.cend(); ++it)
            QVERIFY2(written.value(it.key()) == it.value(), qPrintable(it.key()));
        QCOMPARE(written.size(), 12);
    }

    // The golden site as a browser's parser reads it, and tidy's word on it.
    void goldenReadBack()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedGolden(tdb.db());
        QTemporaryDir dir;
        writeSite(tdb.db(), s("Stadtmeisterschaft 2026"), dir.path());
        const QJsonObject pages = parsed(dir.path());
        QCOMPARE(pages.size(), 12);
        for (auto it = pages.begin(); it != pages.end(); ++it) {
            const QJsonObject page = it.value().toObject();
            QVERIFY2(page.value(s("missing")).toArray().isEmpty(), qPrintable(it.key()));
            QCOMPARE(page.value(s("meta")).toArray(), QJsonArray{s("text/html; charset=windows-1252")});
        }
        QCOMPARE(pages.value(s("Stadtmeisterschaft.html")).toObject().value(s("frames")).toArray(),
                 (QJsonArray{s("titel.html"), s("navigation.html"), s("turnierdaten.html")}));
        const QJsonArray links = pages.value(s("klassenindex.html")).toObject().value(s("links")).toArray();
        QCOMPARE(links.size(), 2);
        QCOMPARE(links[0].toObject().value(s("text")).toString(), s("Herren (Doppel)"));
        QCOMPARE(links[0].toObject().value(s("href")).toString(), s("Herren1.html"));
        QCOMPARE(links[1].toObject().value(s("text")).toString(), s("Mannschaft (Team)"));

        const QJsonArray matches =
            pages.value(s("sp_Herren1.html")).toObject().value(s("tables")).toArray().first().toArray();
        const QString nb(QChar(0xA0));
        QCOMPARE(matches.size(), 3);
        QCOMPARE(matches[1].toArray(), cells({s("1"), s("Brandt, Jonas / Müller, Lukas"), s("Weber, Tim"), s("7"), s("-0"),
                                              s("9"), nb, nb, nb, nb, nb, nb, s("2:1"), s("3"), s("13.06.2026 10:35:00"),
                                              s("13.06.2026 11:02:00")}));
        const QJsonArray tables = pages.value(s("Mannschaft3.html")).toObject().value(s("tables")).toArray();
        QCOMPARE(tables.size(), 3);
        QCOMPARE(tables[2].toArray(), (QJsonArray{cells({s("Spielername"), s("Verein"), s("Team")}),
                                                  cells({s("Albers, Nina"), s("TTC Musterstadt"), nb}),
                                                  cells({s("Brandt, Jonas"), s("TTC Musterstadt"), s("TTC I")})}));
        const QJsonArray teams = pages.value(s("spielerdaten.html")).toObject().value(s("tables")).toArray()[1].toArray();
        QCOMPARE(teams[1].toArray(), cells({s("TTC I"), s("TTC Musterstadt"), s("Brandt, Jonas\nAlbers, Nina"),
                                            s("Brandt, Jonas - Albers, Nina\nAlbers, Nina"), s("")}));
        QCOMPARE(tidyComplaints(dir.path()), QString());
    }

    // Names with &, <, >, a quote and a letter Windows-1252 lacks reach the
    // reader as stored; file names in links are percent-encoded.
    void escaping()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedEscaping(tdb.db());
        QTemporaryDir dir;
        writeSite(tdb.db(), s("A & B <C>"), dir.path(), s("Ä & \"B\".htm.html"));
        const QJsonObject pages = parsed(dir.path());
        for (auto it = pages.begin(); it != pages.end(); ++it)
            QVERIFY2(it.value().toObject().value(s("missing")).toArray().isEmpty(), qPrintable(it.key()));
        QCOMPARE(pages.value(s("turnierdaten.html")).toObject().value(s("headings")).toArray(), QJsonArray{s("A & B <C>")});
        QCOMPARE(pages.value(s("turnierdaten.html")).toObject().value(s("tables")).toArray().first().toArray(),
                 (QJsonArray{cells({s("Turniername"), s("A & B <C>")}), cells({s("Oberschiedsrichter"), s("\"Łukasz\" ł")})}));
        const QJsonArray links = pages.value(s("klassenindex.html")).toObject().value(s("links")).toArray();
        QCOMPARE(links[0].toObject().value(s("text")).toString(), s("A & B <C> (Einzel)"));
        QCOMPARE(links[0].toObject().value(s("href")).toString(), s("A%20_%20B%20_C_0.html"));
        QCOMPARE(links[1].toObject().value(s("text")).toString(), s("Team \"1\" (Team)"));
        QCOMPARE(pages.value(s("A _ B _C_0.html")).toObject().value(s("tables")).toArray()[2].toArray()[1].toArray(),
                 cells({s("\"Zoë\" <b>, Łukasz ł"), s("Verein & Co")}));
        QCOMPARE(pages.value(s("Team _1_3.html")).toObject().value(s("tables")).toArray()[2].toArray()[1].toArray(),
                 cells({s("\"Zoë\" <b>, Łukasz ł"), s("Verein & Co"), s("<Die & Anderen>")}));
        const QJsonArray match =
            pages.value(s("sp_A _ B _C_0.html")).toObject().value(s("tables")).toArray().first().toArray()[1].toArray();
        QCOMPARE(match[1].toString(), s("\"Zoë\" <b>, Łukasz ł"));
        QCOMPARE(match[2].toString(), s("A & B <C>"));
        QCOMPARE(match[13].toString(), s("<1>"));
        QCOMPARE(pages.value(s("schiri.html")).toObject().value(s("tables")).toArray().first().toArray()[1].toArray()[0],
                 QJsonValue(s("O'Neill & Söhne, Jürgen")));
        const QByteArray classPage = bytesOf(QDir(dir.path()).filePath(s("A _ B _C_0.html")));
        QVERIFY(classPage.contains("<td>&quot;Zo\xEB&quot; &lt;b&gt;, &#321;ukasz &#322;</td>"));
        QVERIFY(!classPage.contains('?'));
        QVERIFY(bytesOf(QDir(dir.path()).filePath(s("Ä & \"B\".htm.html"))).contains("<frame src=\"titel.html\""));
        QCOMPARE(tidyComplaints(dir.path()), QString());
    }

    // The lines of the pages for the cases of their rules.
    void tournamentRows()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedGolden(tdb.db());
        const QStringList lines = smallSite(tdb.db()).turnierdaten();
        auto rowOf = [](const char* label, const char* value) {
            return QStringList{s("<tr>"), s("<td>") + s(label), s("</td>"), s("<td>") + s(value), s("</td>"), s("</tr>")};
        };
        QStringList expected = kHead;
        expected << s("<body bgcolor=\"FFFFC4\">") << s("<div align=\"left\">") << s("<h1>Stadtmeisterschaft 2026</h1><br>")
                 << s("<table border=\"0\">");
        expected << rowOf("Turniername", "Stadtmeisterschaft 2026")
                 << rowOf("Zusatz", "") // an empty text has its row, Null none
                 << rowOf("Austragungsort", "Sporthalle Nord") << rowOf("Von", "13.06.2026")
                 << rowOf("Turniermodus", "Gruppen\r\nKO-Runde")
                 << rowOf("Homepage", "https://example.org/?a=1&amp;b=2") << rowOf("Turnierleitung", "Hans Vogt")
                 << rowOf("Gesamtleitung", "Eva Roth") << rowOf("Meldeschluss", "01.06.2026 18:00:00")
                 << rowOf("Bälle", "3-Stern") << rowOf("Zählgeräte", "ja");
        expected << s("</table>") << s("</div>") << s("</body>") << s("</html>");
        QCOMPARE(lines, expected);
    }

    void classPages()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedGolden(tdb.db());
        row(tdb.db(), "Turnierklassen", {{s("KID"), 4}, {s("TID"), 1}, {s("system"), 0}, {s("kbezeichnung"), s("Jugend")},
                                         {s("frau"), 1}, {s("uhrzeit"), at(1899, 12, 30, 9, 5)}});
        entry(tdb.db(), 4, 3);
        row(tdb.db(), "Turnierklassen", {{s("KID"), 5}, {s("TID"), 1}, {s("system"), 2}, {s("kbezeichnung"), s("Leer")}});
        const HtmlSite site = smallSite(tdb.db());
        QCOMPARE(site.classes().size(), 4);
        const QStringList herren = site.klassenseite(site.classes()[0]);
        auto fact = [](const char* label, const char* value) {
            return QStringList{s("<tr>"), s("<td>%1</td>").arg(s(label)), s("<td>%1</td>").arg(s(value)), s("</tr>")};
        };
        QStringList expected = kHead;
        expected << s("<body bgcolor=\"#E6D8FE\">") << s("<div align=\"left\">")
                 << s("<table border=\"0\"  cellspacing=\"0\" width=\"100%\">") << s("<tr><td valign=top width=\"50%\">")
                 << s("<table border=\"0\">");
        expected << fact("Klassenbezeichnung", "Herren") << fact("System", "Doppel")
                 << fact("Klassenbeschreibung", "Doppel offen") << fact("Spielberechtigung", "alle")
                 << fact("Gebühr", "6,5") << fact("Geschlecht", "Herren") << fact("Min. Teilnehmer", "4")
                 << fact("Max. Teilnehmer", "32") << fact("Gewinnsätze", "3") << fact("verfügbare Tische", "4")
                 << fact("Austragungstag", "13.06.2026") << fact("Uhrzeit", "10:30");
        expected << s("</table></td><td valign=\"top\" width=\"50%\">") << s("<table border=\"1\">") << s("<tr>")
                 << s("<th>Spielername</th><th>Verein</th><th>Doppelpartner</th></tr>");
        expected << s("<tr>") << s("<td>Brandt, Jonas</td>") << s("<td>TTC Musterstadt</td>") << s("<td>Müller, Lukas</td>")
                 << s("</tr>");
        expected << s("<tr>") << s("<td>Müller, Lukas</td>") << s("<td>SV Grünwald</td>") << s("<td>Brandt, Jonas</td>")
                 << s("</tr>");
        expected << s("<tr>") << s("<td>Weber, Tim</td>") << s("<td></td>") << s("<td>&nbsp</td>") << s("</tr>");
        expected << s("</table>") << s("</td></tr></table>") << s("</div>") << s("</body>") << s("</html>");
        QCOMPARE(herren, expected);

        // Singles: no third column; Damen; a time of day cut to hours and minutes.
        const QStringList jugend = site.klassenseite(site.classes()[1]);
        QVERIFY(jugend.contains(s("<th>Spielername</th><th>Verein</th></tr>")));
        QCOMPARE(jugend.mid(jugend.indexOf(s("<td>Weber, Tim</td>")) - 1, 4),
                 (QStringList{s("<tr>"), s("<td>Weber, Tim</td>"), s("<td></td>"), s("</tr>")}));
        QVERIFY(jugend.contains(s("<td>Damen</td>")));
        QVERIFY(jugend.contains(s("<td>09:05</td>")));
        // A class without players: the header row alone.
        const QStringList leer = site.klassenseite(site.classes()[2]);
        QCOMPARE(leer.mid(leer.indexOf(s("<table border=\"1\">"))),
                 (QStringList{s("<table border=\"1\">"), s("<tr>"), s("<th>Spielername</th><th>Verein</th><th>Doppelpartner</th></tr>"),
                              s("</table>"), s("</td></tr></table>"), s("</div>"), s("</body>"), s("</html>")}));
        QVERIFY(leer.contains(s("<td>Mixed</td>")));
    }

    // Sets: Null as the filler, -100 as "-0"; rows only with both sides named.
    void matchRows()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedGolden(tdb.db());
        const HtmlSite site = smallSite(tdb.db());
        const QStringList lines = site.spielplanseite(site.classes()[0]);
        QStringList expected = kHead;
        expected << s("<body bgcolor=\"#FCDCDF\">") << s("<div align=\"center\">") << s("<font size=\"2\">")
                 << s("<table border=\"1\">")
                 << s("<tr><th>Nr.</th><th>Spieler&nbsp1</th><th>Spieler&nbsp2</th><th>S1</th><th>S2</th><th>S3</th>"
                      "<th>S4</th><th>S5</th><th>S6</th><th>S7</th><th>S8</th><th>S9</th>")
                 << s("<th>Ergebnis</th><th>An&nbspTisch</th><th>Spielstart</th><th>Spielende</th></tr>");
        auto matchRow = [](QStringList values) {
            QStringList r{s("<tr>")};
            for (const QString& v : values)
                r << s("<td>") + v + s("</td>");
            return r << s("</tr>");
        };
        const QString nb = s("&nbsp");
        expected << matchRow({s("1"), s("Brandt, Jonas / Müller, Lukas"), s("Weber, Tim"), s("7"), s("-0"), s("9"), nb, nb,
                              nb, nb, nb, nb, s("2:1"), s("3"), s("13.06.2026 10:35:00"), s("13.06.2026 11:02:00")});
        expected << matchRow({s("2"), s("Sieger Spiel 1"), s("Freilos"), nb, nb, nb, nb, nb, nb, nb, nb, nb, s("0:0"), nb, nb, nb});
        expected << s("</table>") << s("</div>") << s("</body>") << s("</html>");
        QCOMPARE(lines, expected);
        // A set the first side won 11:0 is "0", one it lost 7:11 is "-7".
        const QStringList team = site.spielplanseite(site.classes()[1]);
        QCOMPARE(team.mid(team.indexOf(s("<td>SV II</td>")) + 1, 3), (QStringList{s("<td>0</td>"), s("<td>-7</td>"), s("<td>&nbsp</td>")}));
    }

    // File names of class and match pages.
    void fileNames_data()
    {
        QTest::addColumn<QStringList>("names"); // "name|kind" per class, KID 1, 2, ...
        QTest::addColumn<QStringList>("pages"); // class page and match page per class
        QTest::newRow("slash") << QStringList{s("U18/m|0")} << QStringList{s("U18_m0.html"), s("sp_U18_m0.html")};
        QTest::newRow("backslash") << QStringList{s("a\\b|1")} << QStringList{s("a_b1.html"), s("sp_a_b1.html")};
        QTest::newRow("dots") << QStringList{s("..|0")} << QStringList{s("__0.html"), s("sp___0.html")};
        QTest::newRow("hidden") << QStringList{s(".x|0")} << QStringList{s("_x0.html"), s("sp__x0.html")};
        QTest::newRow("umlaut") << QStringList{s("Mädchen U15|2")} << QStringList{s("Mädchen U152.html"), s("sp_Mädchen U152.html")};
        QTest::newRow("duplicate") << QStringList{s("Herren|0"), s("Herren|0")}
                                   << QStringList{s("Herren0.html"), s("sp_Herren0.html"), s("Herren0_2.html"), s("sp_Herren0_2.html")};
        QTest::newRow("letter case") << QStringList{s("herren|0"), s("Herren|0")}
                                     << QStringList{s("herren0.html"), s("sp_herren0.html"), s("Herren0_2.html"), s("sp_Herren0_2.html")};
        QTest::newRow("match page name") << QStringList{s("sp_X|0"), s("X|0")}
                                         << QStringList{s("sp_X0.html"), s("sp_sp_X0.html"), s("X0.html"), s("sp_X0_2.html")};
        QTest::newRow("frameset taken") << QStringList{s("Web|0")} << QStringList{s("Web0_1.html"), s("sp_Web0.html")};
    }
    void fileNames()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, pages);
        SiteData data;
        for (int i = 0; i < names.size(); ++i) {
            SiteClass c;
            c.kid = i + 1;
            c.kbezeichnung = names[i].section(QLatin1Char('|'), 0, 0);
            c.system = names[i].section(QLatin1Char('|'), 1).toInt();
            c.kind = classKindOf(c.system);
            data.classes.append(c);
        }
        const HtmlSite site(data, s("T"), s("Web0.html"));
        QStringList got;
        for (const SiteClass& c : site.classes())
            got << site.classPageName(c.kid) << site.matchPageName(c.kid);
        QCOMPARE(got, pages);
    }

    void framesetNamedLikeAPage()
    {
        for (const QString& page : HtmlSite::kFixedPages)
            QVERIFY_THROWS_EXCEPTION(AppError, HtmlSite({}, s("T"), page.toUpper()));
    }

    void pageBytes()
    {
        QCOMPARE(htmlPageBytes({s("<td>Bälle ł €</td>"), s("a\nb\r\nc\rd"), s("😀")}),
                 QByteArray("<td>B\xE4lle &#322; \x80</td>\r\na\r\nb\r\nc\r\nd\r\n&#128512;\r\n"));
        QCOMPARE(htmlEscaped(s("<a href=\"x\">&amp;</a>'")), s("&lt;a href=&quot;x&quot;&gt;&amp;amp;&lt;/a&gt;'"));
        QCOMPARE(hrefTarget(s("sp_Mädchen U15#2?.html")), s("sp_M%C3%A4dchen%20U15%232%3F.html"));
    }

    // The dialog: its lists, the save dialog, a whole site with the progress bar
    // back at 0 and the dialog still open; x.htm gives x.htm.html.
    void dialogExports()
    {
        ExportDesk desk;
        QVERIFY(desk.tdb.ready());
        QCOMPARE(desk.form.ListBox1->count(), 1);
        QCOMPARE(desk.form.ListBox1->currentItem()->text(), s("Turnier (komplett)"));
        QCOMPARE(desk.form.ListBox2->count() + desk.form.ListBox3->count() + desk.form.ListBox4->count(), 0);
        desk.form.show();
        int highest = 0;
        connect(&desk.bar, &QProgressBar::valueChanged, this, [&](int v) { highest = std::max(highest, v); });
        desk.choose(s("Stadtmeisterschaft.htm"));
        click(desk.form.uiButton1);
        QCOMPARE(desk.fake.prompter.shown().size(), 0);
        const auto call = desk.fake.files.calls().first();
        QCOMPARE(call.kind, s("save"));
        QCOMPARE(call.dir, desk.folder.path() + s("/Stadtmeisterschaft 2026"));
        QCOMPARE(call.filter, s("HTML (*.htm)"));
        QStringList expected = files(goldenFolder());
        expected.replaceInStrings(s("Stadtmeisterschaft.html"), s("Stadtmeisterschaft.htm.html"));
        expected.sort();
        QCOMPARE(files(desk.target()), expected);
        QCOMPARE(bytesOf(desk.target() + s("/spielerdaten.html")), bytesOf(goldenFolder() + s("/spielerdaten.html")));
        QCOMPARE(highest, 24);
        QCOMPARE(desk.bar.value(), 0);
        QCOMPARE(desk.bar.maximum(), 100);
        QVERIFY(desk.form.isVisible());
        QVERIFY(desk.form.isEnabled());

        // Cancelling the save dialog writes nothing and asks nothing.
        const auto before = contents(desk.target());
        click(desk.form.uiButton1);
        QCOMPARE(contents(desk.target()), before);
        click(desk.form.uiButton2);
        QVERIFY(!desk.form.isVisible());
    }

    // A site in the folder already: one question; No leaves every file as it was.
    void dialogOverwrite_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void dialogOverwrite()
    {
        QFETCH(bool, yes);
        const PromptAnswer answer = yes ? PromptAnswer::Yes : PromptAnswer::No;
        ExportDesk desk;
        QVERIFY(desk.tdb.ready());
        QFile old(desk.target() + s("/schiri.html"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("alt");
        old.close();
        QVERIFY(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        const auto before = contents(desk.target());
        desk.choose(s("Stadtmeisterschaft"));
        desk.fake.prompter.expect(PromptKind::Question, Texportform::kOverwrite, answer);
        click(desk.form.uiButton1);
        QVERIFY(desk.fake.prompter.verify());
        if (answer == PromptAnswer::No) {
            QCOMPARE(contents(desk.target()), before);
        } else {
            QCOMPARE(contents(desk.target()), contents(goldenFolder()));
            // A file replaced keeps its permissions, a new one gets those of any new file.
            QCOMPARE(QFile::permissions(old.fileName()) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
            QFile fresh(desk.folder.file(s("fresh")));
            QVERIFY(fresh.open(QIODevice::WriteOnly));
            QCOMPARE(QFile::permissions(desk.target() + s("/titel.html")), fresh.permissions());
        }
        QCOMPARE(desk.bar.value(), 0);
    }

    // A database error and a folder that takes no file: the reason, the folder
    // as it was, the bar at 0, the dialog usable.
    void dialogFailures_data()
    {
        QTest::addColumn<bool>("databaseError");
        QTest::newRow("database") << true;
        QTest::newRow("read-only folder") << false;
    }
    void dialogFailures()
    {
        QFETCH(bool, databaseError);
        ExportDesk desk;
        QVERIFY(desk.tdb.ready());
        QFile old(desk.target() + s("/titel.html"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("alt");
        old.close();
        std::optional<ReadOnly> readOnly;
        if (databaseError) {
            execute(desk.tdb.db(), s("DROP TABLE Schiri"));
            desk.fake.prompter.expectPrefix(PromptKind::Error, s("no such table"));
        } else {
            readOnly.emplace(desk.target());
            if (!readOnly->ready())
                QSKIP("no way to make a folder read-only here");
            desk.fake.prompter.expect(PromptKind::Question, Texportform::kOverwrite, PromptAnswer::Yes);
            desk.fake.prompter.expectPrefix(PromptKind::Error, s("Die Datei \"%1/").arg(desk.target()));
        }
        const auto before = contents(desk.target());
        desk.choose(s("Stadtmeisterschaft"));
        click(desk.form.uiButton1);
        QVERIFY(desk.fake.prompter.verify());
        QCOMPARE(contents(desk.target()), before);
        QCOMPARE(desk.bar.value(), 0);
        QVERIFY(desk.form.isEnabled());
    }

    // The two steps that write part of a site.
    void steps()
    {
        ExportDesk desk;
        QVERIFY(desk.tdb.ready());
        desk.form.htmlklassen(desk.target(), s("2"));
        QCOMPARE(files(desk.target()), QStringList{s("Mannschaft3.html")});
        desk.form.htmlspielplan(desk.target());
        QCOMPARE(files(desk.target()), (QStringList{s("Mannschaft3.html"), s("sp_Herren1.html"), s("sp_Mannschaft3.html")}));
        QCOMPARE(bytesOf(desk.target() + s("/sp_Herren1.html")), bytesOf(goldenFolder() + s("/sp_Herren1.html")));
    }
};

QTEST_MAIN(TestHtmlExport)
#include "test_htmlexport.moc"
