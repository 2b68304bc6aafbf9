// The list exports: the scope entries and the rows of the four lists on both
// backends, the sheets read back with openpyxl, the PDF files checked with qpdf
// and pdftotext, and the export dialog with its failures.
#include "data/classkind.h"
#include "data/sql.h"
#include "output/listexports.h"
#include "output/listsheets.h"
#include "output/pdflists.h"
#include "output/texportnewform.h"
#include "support/fakeservices.h"
#include "support/readonly.h"
#include "support/tempprogramfolder.h"
#include "support/testdatabase.h"
#include "xlsxreader.h"

#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

const QVariant kNull;
const QVariant kNullDate = QVariant(QMetaType::fromType<QDateTime>());
const QDateTime kNow(QDate(2026, 12, 10), QTime(9, 0));
const QString kTournament = QStringLiteral("Stadtmeisterschaft Köln");

void seedClass(const QSqlDatabase& db, int tid, int kid, const char* name, ClassKind kind)
{
    insertRow(db, s("Turnierklassen"),
              {{s("TID"), tid}, {s("KID"), kid}, {s("system"), storedKind(kind)}, {s("kbezeichnung"), s(name)}});
}

void seedPhases(const QSqlDatabase& db, int kid, const QVariant& p1, const QVariant& p2, const QVariant& p3)
{
    insertRow(db, s("Gruppeneinstellungen"), {{s("KID"), kid}, {s("phase1"), p1}, {s("phase2"), p2}, {s("phase3"), p3}});
}

void seedPlayer(const QSqlDatabase& db, int tid, int sid, const char* nachname, const char* vorname, bool mann,
                const QVariantMap& more = {})
{
    QVariantMap values{{s("TID"), tid},          {s("SID"), sid},         {s("nachname"), s(nachname)},
                       {s("vorname"), s(vorname)}, {s("mann"), mann},      {s("verein"), s("TTC Süd €")},
                       {s("kverband"), kNull},     {s("bverband"), kNull}, {s("lverband"), kNull},
                       {s("land"), kNull},         {s("geb"), kNullDate}};
    for (auto it = more.begin(); it != more.end(); ++it)
        values[it.key()] = it.value();
    insertRow(db, s("Spielerdaten"), values);
}

void seedEntry(const QSqlDatabase& db, int kid, int sid)
{
    insertRow(db, s("Spieler_im_turnier"), {{s("TID"), 1}, {s("KID"), kid}, {s("SID"), sid}});
}

void seedMatch(const QSqlDatabase& db, int kid, int nr, int phase, const QVariantMap& more)
{
    QVariantMap values{{s("TID"), 1},           {s("KID"), kid},           {s("spielnummer"), nr},
                       {s("phase"), phase},     {s("SID1"), -1},           {s("SID2"), -1},
                       {s("ergebnis"), s("0:0")}, {s("spielstart"), kNullDate}, {s("geplanter_tag"), kNullDate},
                       {s("geplante_zeit"), kNullDate}, {s("gruppe"), 0}, {s("an_platte"), kNull}, {s("schiri"), kNull}};
    for (auto it = more.begin(); it != more.end(); ++it)
        values[it.key()] = it.value();
    insertRow(db, s("Spielplan"), values);
}

void seedStanding(const QSqlDatabase& db, int phase, int gid, int pos, const char* bez, int spiele = 2)
{
    insertRow(db, s("Tabellen"), {{s("KID"), 1},
                                  {s("phase"), phase},
                                  {s("GID"), gid},
                                  {s("pos"), pos},
                                  {s("bez"), s(bez)},
                                  {s("spielanzahl"), spiele},
                                  {s("saetzegewonnen"), 6},
                                  {s("saetzeverloren"), 2},
                                  {s("spielegewonnen"), 2},
                                  {s("spieleverloren"), 0},
                                  {s("punktegewonnen"), 66},
                                  {s("punkteverloren"), 40}});
}

// Tournament 1: "Herren" (singles, groups then knock-out) with matches and
// group tables over two phases, "Damen" (doubles, no settings, nothing
// drawn), "Mannschaft" (teams, groups); tournament 2 has a class and a player.
void seedTournament(const QSqlDatabase& db)
{
    seedClass(db, 1, 1, "Herren", ClassKind::Einzel);
    seedClass(db, 1, 2, "Damen", ClassKind::Doppel);
    seedClass(db, 1, 3, "Mannschaft", ClassKind::Team);
    seedClass(db, 2, 4, "Anderswo", ClassKind::Einzel);
    seedPhases(db, 1, 0, 1, kNull);
    seedPhases(db, 3, 0, kNull, kNull);

    seedPlayer(db, 1, 1, "Müller", "Jonas", true,
               {{s("geb"), QDateTime(QDate(2001, 3, 4), QTime())}, {s("bezahlt"), true},
                {s("bverband"), s("BV Süd")}, {s("land"), s("DE")}, {s("email"), s("jm@example.org")}});
    seedPlayer(db, 1, 3, "Zander", "Tim", true, {{s("kverband"), s("")}, {s("lverband"), s("WTTV")}});
    seedPlayer(db, 1, 2, "Adler", "Anna", false);
    seedPlayer(db, 1, 4, "Becker", "Paul", true);
    seedPlayer(db, 2, 9, "Fremd", "Frieda", false);
    seedEntry(db, 1, 1);
    seedEntry(db, 1, 3);
    seedEntry(db, 2, 2);

    seedMatch(db, 1, 2, 1,
              {{s("SID1"), 3}, {s("spieler1"), s("Zander, Tim")}, {s("SID2"), 2}, {s("spieler2"), s("Adler, Anna")},
               {s("gruppe"), 1}, {s("geplanter_tag"), QDateTime(QDate(2026, 5, 2), QTime())},
               {s("geplante_zeit"), QDateTime(QDate(1899, 12, 30), QTime(11, 30))}});
    seedMatch(db, 1, 1, 1,
              {{s("SID1"), 1}, {s("spieler1"), s("Müller, Jonas")}, {s("SID2"), 3}, {s("spieler2"), s("Zander, Tim")},
               {s("ergebnis"), s("3:1")}, {s("an_platte"), s("4")}, {s("schiri"), s("Huber")},
               {s("spielstart"), QDateTime(QDate(2026, 5, 1), QTime(10, 15))}});
    seedMatch(db, 1, 3, 2,
              {{s("SID1"), -1}, {s("spieler1"), s("Sieger Spiel 1")}, {s("spieler2"), s("")}, {s("gruppe"), -1}});
    seedMatch(db, 1, 4, 2,
              {{s("SID1"), 1}, {s("spieler1"), s("Müller, Jonas")}, {s("SID2"), -1}, {s("spieler2"), s("Sieger Spiel 2")},
               {s("ergebnis"), s("")}, {s("gruppe"), -1},
               {s("geplante_zeit"), QDateTime(QDate(1899, 12, 30), QTime(14, 0))}});

    // Team 1: a member stored as 0, a double of players 3 and 1, a double with
    // one player; team 2 has nobody.
    insertRow(db, s("Teams"), {{s("TID"), 1}, {s("KID"), 3}, {s("MID"), 2}, {s("teamname"), s("Zweite")},
                               {s("verein"), s("SV")}, {s("s1"), kNull}, {s("s2"), kNull}, {s("s3"), kNull},
                               {s("s4"), kNull}, {s("r1"), kNull}, {s("r2"), kNull}, {s("d1_1"), kNull},
                               {s("d1_2"), kNull}, {s("d2_1"), kNull}, {s("d2_2"), kNull}});
    insertRow(db, s("Teams"), {{s("TID"), 1}, {s("KID"), 3}, {s("MID"), 1}, {s("teamname"), s("TTC Eins")},
                               {s("verein"), s("TTC")}, {s("s1"), 1}, {s("s2"), 0}, {s("s3"), kNull},
                               {s("s4"), 3}, {s("r1"), 2}, {s("r2"), kNull}, {s("d1_1"), 3},
                               {s("d1_2"), 1}, {s("d2_1"), 2}, {s("d2_2"), kNull}});
    insertRow(db, s("Teams"), {{s("TID"), 2}, {s("KID"), 4}, {s("MID"), 3}, {s("teamname"), s("Fremde")}});

    // The group tables, the knock-out phase's row stored first; its group has
    // the key of phase 1's first group.
    seedStanding(db, 2, 0, 0, "Müller, Jonas", 0);
    seedStanding(db, 1, 1, 0, "Adler, Anna");
    seedStanding(db, 1, 0, 1, "Zander, Tim");
    seedStanding(db, 1, 0, 0, "Müller, Jonas");
    seedStanding(db, 1, 0, 2, "");
}

klassenwahlinfo entry(int kid, int phase = 0, bool isTeam = false, bool hasGroups = true)
{
    return klassenwahlinfo{kid, phase, isTeam, hasGroups};
}

QStringList matchLines(const ListRows<ExportMatch>& list)
{
    QStringList lines{list.title};
    for (const ExportMatch& m : list.rows)
        lines << QStringLiteral("%1 %2 #%3 %4 - %5 [%6] %7 %8 %9 %10")
                     .arg(m.kbezeichnung)
                     .arg(m.phase)
                     .arg(m.spielnummer)
                     .arg(m.spieler1, m.spieler2, m.ergebnis, m.an_platte, m.schiri)
                     .arg(m.gruppe)
                     .arg(spielbeginnText(m));
    return lines;
}

QStringList playerLines(const ListRows<ExportPlayer>& list)
{
    QStringList lines{list.title};
    for (const ExportPlayer& p : list.rows)
        lines << QStringLiteral("%1, %2 %3 %4 %5").arg(p.nachname, p.vorname, p.geb.toString(Qt::ISODate),
                                                        p.mann ? s("M") : s("W"), verbandText(p));
    return lines;
}

QStringList teamLines(const ListRows<ExportTeam>& list)
{
    QStringList lines{list.title};
    for (const ExportTeam& t : list.rows) {
        QStringList places;
        for (const auto& m : t.spieler)
            places << (m ? memberText(*m) : s("-"));
        for (const auto& m : t.reserve)
            places << (m ? memberText(*m) : s("-"));
        for (const auto& d : t.doppel)
            places << (d ? doubleText(*d) : s("-"));
        lines << t.teamname + QStringLiteral(": ") + places.join(QStringLiteral(" | "));
    }
    return lines;
}

QStringList standingLines(const ListRows<ExportStanding>& list)
{
    QStringList lines{list.title};
    for (const ExportStanding& r : list.rows)
        lines << QStringLiteral("%1/%2/%3 %4").arg(r.phase).arg(r.gid).arg(r.pos).arg(r.bez);
    return lines;
}

struct Run {
    int exitCode = -1;
    QString out;
};

Run run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError())};
}

// The text of each page of a PDF file.
QStringList pdfPages(const QString& path)
{
    const Run text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    QStringList pages = text.out.split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The words of a PDF file with their page (from 1) and top edge, in reading order.
struct Word {
    int page;
    double top;
    QString text;
};

QList<Word> pdfWords(const QString& path)
{
    const Run bbox = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    QList<Word> words;
    int page = 0;
    static const QRegularExpression tag(
        QStringLiteral(R"re(<page |<word xMin="[^"]*" yMin="([^"]*)"[^>]*>([^<]*)</word>)re"));
    for (auto it = tag.globalMatch(bbox.out); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page")))
            ++page;
        else
            words.append({page, m.captured(1).toDouble(), m.captured(2)});
    }
    return words;
}

std::optional<Word> findWord(const QList<Word>& words, const QString& text)
{
    for (const Word& w : words) {
        if (w.text == text)
            return w;
    }
    return std::nullopt;
}

QString checkPdf(const QString& path)
{
    const Run check = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
    return check.exitCode == 0 ? QString() : check.out;
}

ExportPlayer player(int n)
{
    ExportPlayer p;
    p.nachname = QStringLiteral("Spieler%1").arg(n);
    p.vorname = QStringLiteral("Vorname");
    return p;
}

ExportTeam team(int n)
{
    ExportTeam t;
    t.teamname = QStringLiteral("Team%1").arg(n);
    return t;
}

QJsonArray row(const QJsonObject& sheet, int excelRow)
{
    return sheet.value(QStringLiteral("rows")).toArray().at(excelRow - 1).toArray();
}

// The first n cells of a row.
QJsonArray first(const QJsonArray& cells, int n)
{
    QJsonArray part;
    for (int i = 0; i < n && i < cells.size(); ++i)
        part.append(cells.at(i));
    return part;
}

QJsonObject look(const QJsonObject& sheet, const QString& cell)
{
    return sheet.value(QStringLiteral("looks")).toObject().value(cell).toObject();
}

const QJsonArray kThin{QStringLiteral("thin"), QStringLiteral("thin"), QStringLiteral("thin"), QStringLiteral("thin")};

// The dialog on an SQLite tournament in a program folder of its own.
struct ExportDesk {
    ExportDesk()
        : fake(folder.path()), pages(&fake.clock),
          form(nullptr, fake.services, [this] { return tdb.db(); }, tid, name, pages)
    {
        fake.clock.set(kNow);
        if (tdb.ready())
            seedTournament(tdb.db());
    }
    void show(const QString& caption)
    {
        form.setWindowTitle(caption);
        form.show();
    }
    void choose(const QString& text) { form.Klassenwahl->setCurrentIndex(form.Klassenwahl->findText(text)); }

    TempProgramFolder folder{TempProgramFolder::Content::Empty};
    TestDatabase tdb{Backend::SQLite};
    FakeServices fake;
    int tid = 1;
    QString name = kTournament;
    PdfListPages pages;
    TExportNewForm form;
};

} // namespace

class TestListExports : public QObject {
    Q_OBJECT
private slots:
    // The scope list and the links it enables, as the dialog shows them.
    void scopes_data()
    {
        QTest::addColumn<QStringList>("classes"); // "name|kind|phase1|phase2|phase3", "-" for Null, "none": no row
        QTest::addColumn<QStringList>("entries"); // "text|groups|teams" with 0/1
        QTest::newRow("no classes") << QStringList() << QStringList{s("Gesamte Turnier|0|1")};
        QTest::newRow("class without settings")
            << QStringList{s("Herren|0|none")} << QStringList{s("Gesamte Turnier|0|1"), s("Herren (Einzel)|0|0")};
        QTest::newRow("doubles: groups then knock-out")
            << QStringList{s("X|1|0|1|-")}
            << QStringList{s("Gesamte Turnier|0|1"), s("X (Doppel)|1|0"), s("X (Doppel) / Phase1-Gruppen|1|0"),
                           s("X (Doppel) / Phase2-KO|0|0")};
        QTest::newRow("team class, double knock-out, sorted by name")
            << QStringList{s("Zeta|3|2|-|-"), s("Alpha|2|1|0|0")}
            << QStringList{s("Gesamte Turnier|0|1"), s("Alpha (Mixed)|1|0"), s("Alpha (Mixed) / Phase1-KO|0|0"),
                           s("Alpha (Mixed) / Phase2-Gruppen|1|0"), s("Alpha (Mixed) / Phase3-Gruppen|1|0"),
                           s("Zeta (Team)|0|1"), s("Zeta (Team) / Phase1-Doppel-KO|0|1")};
    }
    void scopes()
    {
        QFETCH(QStringList, classes);
        QFETCH(QStringList, entries);
        TempProgramFolder folder(TempProgramFolder::Content::Empty);
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        int kid = 0;
        for (const QString& c : classes) {
            const QStringList f = c.split(QLatin1Char('|'));
            ++kid;
            insertRow(tdb.db(), s("Turnierklassen"),
                      {{s("TID"), 1}, {s("KID"), kid}, {s("system"), f[1].toInt()}, {s("kbezeichnung"), f[0]}});
            if (f[2] != QLatin1String("none")) {
                const auto phase = [&](int i) { return f[i] == QLatin1String("-") ? kNull : QVariant(f[i].toInt()); };
                seedPhases(tdb.db(), kid, phase(2), phase(3), phase(4));
            }
        }
        FakeServices fake(folder.path());
        PdfListPages pages;
        int tid = 1;
        QString name = kTournament;
        TExportNewForm form(nullptr, fake.services, [&] { return tdb.db(); }, tid, name, pages);
        form.show();
        QStringList got;
        for (int i = 0; i < form.Klassenwahl->count(); ++i) {
            form.Klassenwahl->setCurrentIndex(i);
            got << QStringLiteral("%1|%2|%3")
                       .arg(form.Klassenwahl->itemText(i))
                       .arg(form.ExportTyp_Gruppen->isEnabled())
                       .arg(form.ExportTyp_Team->isEnabled());
            QVERIFY(form.ExportTyp_Spielplan->isEnabled() && form.ExportTyp_Spieler->isEnabled());
        }
        QCOMPARE(got, entries);
        QCOMPARE(form.Klassenwahl->currentIndex() >= 0, true);
        QCOMPARE(int(form.klassenwahlinfos().size()), form.Klassenwahl->count());
        QCOMPARE(form.ExportTyp_Gruppen->palette().color(QPalette::WindowText),
                 form.ExportTyp_Gruppen->isEnabled() ? QColor(Qt::blue) : QColor(0xC0, 0xC0, 0xC0));
    }

    // The rows and titles of each list for each kind of entry, on both backends.
    void rows_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void rows()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        seedTournament(tdb.db());
        const auto lists = [&](const klassenwahlinfo& info) { return ListExportRows(tdb.db(), 1, kTournament, info); };

        QCOMPARE(matchLines(lists(entry(0, 0, true, false)).spielplan()),
                 (QStringList{s("Turnier-Spielplan"),
                              s("Herren 1 #1 Müller, Jonas - Zander, Tim [3:1] 4 Huber 0 01.05.2026 10:15:00"),
                              s("Herren 1 #2 Zander, Tim - Adler, Anna [0:0]   1 [02.05.2026 11:30:00]"),
                              s("Herren 2 #3 Sieger Spiel 1 -  [0:0]   -1 "),
                              s("Herren 2 #4 Müller, Jonas - Sieger Spiel 2 []   -1 [ 14:00:00]")}));
        QCOMPARE(matchLines(lists(entry(1, 2)).spielplan()).mid(0, 2),
                 (QStringList{s("Spielplan für Herren, Phase 2"), s("Herren 2 #3 Sieger Spiel 1 -  [0:0]   -1 ")}));
        // An empty list keeps the class's name in its title.
        QCOMPARE(matchLines(lists(entry(2)).spielplan()), QStringList{s("Spielplan für Damen")});

        QCOMPARE(playerLines(lists(entry(0, 0, true, false)).spielerliste()),
                 (QStringList{s("Turnier-Spielerliste"), s("Adler, Anna  W "), s("Becker, Paul  M "),
                              s("Müller, Jonas 2001-03-04 M BV Süd"), s("Zander, Tim  M WTTV")}));
        QCOMPARE(playerLines(lists(entry(1)).spielerliste()),
                 (QStringList{s("Spielerliste für Herren"), s("Müller, Jonas 2001-03-04 M BV Süd"),
                              s("Zander, Tim  M WTTV")}));
        // A phase: the players of its matches, each once; placeholders match nobody.
        QCOMPARE(playerLines(lists(entry(1, 1)).spielerliste()),
                 (QStringList{s("Spielerliste für Herren, Phase 1"), s("Adler, Anna  W "),
                              s("Müller, Jonas 2001-03-04 M BV Süd"), s("Zander, Tim  M WTTV")}));
        QCOMPARE(playerLines(lists(entry(1, 2)).spielerliste()),
                 (QStringList{s("Spielerliste für Herren, Phase 2"), s("Müller, Jonas 2001-03-04 M BV Süd")}));

        const QStringList teams{s("TTC Eins: Müller, Jonas | - | - | Zander, Tim | Adler, Anna | - | Zander / Müller | -"),
                                s("Zweite: - | - | - | - | - | - | - | -")};
        QCOMPARE(teamLines(lists(entry(0, 0, true, false)).teamliste()),
                 QStringList{s("Teamliste für ") + kTournament} + teams);
        QCOMPARE(teamLines(lists(entry(3, 1, true)).teamliste()), QStringList{s("Teamliste für Mannschaft")} + teams);

        QCOMPARE(standingLines(lists(entry(1)).gruppenTabellen()),
                 (QStringList{s("Tabellen/Gruppen für Herren"), s("1/0/0 Müller, Jonas"), s("1/0/1 Zander, Tim"),
                              s("1/0/2 "), s("1/1/0 Adler, Anna"), s("2/0/0 Müller, Jonas")}));
        QCOMPARE(standingLines(lists(entry(1, 2)).gruppenTabellen()),
                 (QStringList{s("Tabellen/Gruppen für Herren"), s("2/0/0 Müller, Jonas")}));
    }

    // The match plan as a sheet: title, header, looks, widths, filter, results as text.
    void matchSheet()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedTournament(tdb.db());
        QTemporaryDir dir;
        NoProgress progress;
        const ListExportJob job{tdb.db(), 1, kTournament, entry(1)};
        const QString path = exportExcelList(ExportListKind::Spielplan, job, dir.path(), kNow, progress);
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Spielplan_20261210-090000.xlsx"));
        QString error;
        const auto sheet = readXlsxSheet(path, &error);
        QVERIFY2(sheet, qPrintable(error));
        QCOMPARE(row(*sheet, 1).at(0).toString(), QStringLiteral("Spielplan für Herren"));
        QCOMPARE(look(*sheet, s("A1")).value(s("size")).toDouble(), 16.0);
        QVERIFY(look(*sheet, s("A1")).value(s("bold")).toBool());
        QCOMPARE(row(*sheet, 2),
                 (QJsonArray{s("Klasse"), s("Phase"), s("Spielnummer"), s("Spieler/Team 1"), s("Spieler/Team 2"),
                             s("Ergebnis"), s("Tisch"), s("Schiedsrichter"), s("Spielbeginn"), s("Gruppe")}));
        // Only matches with both sides get a row: 1, 2 and 4.
        QCOMPARE(sheet->value(s("rows")).toArray().size(), 5);
        QCOMPARE(row(*sheet, 3), (QJsonArray{s("Herren"), 1, 1, s("Müller, Jonas"), s("Zander, Tim"), s("3:1"), s("4"),
                                             s("Huber"), s("01.05.2026 10:15:00"), s("A")}));
        QCOMPARE(row(*sheet, 4), (QJsonArray{s("Herren"), 1, 2, s("Zander, Tim"), s("Adler, Anna"), QJsonValue(),
                                             QJsonValue(), QJsonValue(), QJsonValue(), s("B")}));
        QCOMPARE(row(*sheet, 5), (QJsonArray{s("Herren"), 2, 4, s("Müller, Jonas"), s("Sieger Spiel 2"), QJsonValue(),
                                             QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue()}));
        for (const QChar column : QStringLiteral("ABCDEFGHIJ")) {
            const QJsonObject header = look(*sheet, column + s("2"));
            QCOMPARE(header.value(s("colour")).toString(), QStringLiteral("FFFFFF99"));
            QCOMPARE(header.value(s("borders")).toArray(), kThin);
            for (int r = 3; r <= 5; ++r)
                QCOMPARE(look(*sheet, column + QString::number(r)).value(s("borders")).toArray(), kThin);
        }
        const QJsonObject widths = sheet->value(s("widths")).toObject();
        const double expected[] = {20, 7, 14, 30, 30, 12, 12, 20, 20};
        for (int c = 0; c < 9; ++c)
            QCOMPARE(widths.value(QString(QChar('A' + c))).toDouble(), expected[c] + 0.7109375);
        QCOMPARE(sheet->value(s("autoFilter")).toString(), QStringLiteral("A2:J5"));

        // A knock-out phase has no group column; an empty plan has title and header only.
        const auto phase2 = readXlsxSheet(
            exportExcelList(ExportListKind::Spielplan, {tdb.db(), 1, kTournament, entry(1, 2, false, false)}, dir.path(),
                            kNow, progress),
            &error);
        QVERIFY2(phase2, qPrintable(error));
        QCOMPARE(row(*phase2, 1).at(0).toString(), QStringLiteral("Spielplan für Herren, Phase 2"));
        QCOMPARE(row(*phase2, 2).size(), 9);
        const QString emptyPath = exportExcelList(ExportListKind::Spielplan, {tdb.db(), 1, kTournament, entry(2, 0, false, false)},
                                                  dir.path(), kNow, progress);
        QCOMPARE(QFileInfo(emptyPath).fileName(), QStringLiteral("Spielplan_20261210-090000-3.xlsx"));
        const auto empty = readXlsxSheet(emptyPath, &error);
        QVERIFY2(empty, qPrintable(error));
        QCOMPARE(empty->value(s("rows")).toArray().size(), 2);
        QCOMPARE(row(*empty, 1).at(0).toString(), QStringLiteral("Spielplan für Damen"));
    }

    // The player and team lists as sheets.
    void playerAndTeamSheets()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedTournament(tdb.db());
        QTemporaryDir dir;
        NoProgress progress;
        QString error;
        const auto players = readXlsxSheet(exportExcelList(ExportListKind::Spielerliste,
                                                           {tdb.db(), 1, kTournament, entry(1)}, dir.path(), kNow, progress),
                                           &error);
        QVERIFY2(players, qPrintable(error));
        QCOMPARE(row(*players, 2).size(), 13);
        QCOMPARE(row(*players, 2).at(7).toString(), QStringLiteral("Spielstärke"));
        QCOMPARE(row(*players, 3),
                 (QJsonArray{s("Müller"), s("Jonas"), s("2001-03-04 00:00:00"), s("TTC Süd €"), s("M"), s("ja"),
                             s("jm@example.org"), s("x"), s("x"), QJsonValue(), s("BV Süd"), QJsonValue(), s("DE")}));
        QCOMPARE(row(*players, 4).at(4).toString(), QStringLiteral("M"));
        QCOMPARE(row(*players, 4).at(5).toString(), QStringLiteral("Nein"));
        QCOMPARE(look(*players, s("C3")).value(s("format")).toString(), QStringLiteral("dd.mm.yyyy"));
        QCOMPARE(look(*players, s("M4")).value(s("borders")).toArray(), kThin);
        QCOMPARE(players->value(s("widths")).toObject().value(s("G")).toDouble(), 30 + 0.7109375);
        QCOMPARE(players->value(s("autoFilter")).toString(), QStringLiteral("A2:M4"));

        const auto teams = readXlsxSheet(exportExcelList(ExportListKind::Teamliste,
                                                         {tdb.db(), 1, kTournament, entry(3, 0, true)}, dir.path(), kNow,
                                                         progress),
                                         &error);
        QVERIFY2(teams, qPrintable(error));
        QCOMPARE(row(*teams, 1).at(0).toString(), QStringLiteral("Teamliste für Mannschaft"));
        QCOMPARE(row(*teams, 3), (QJsonArray{s("TTC Eins"), s("TTC"), s("Müller, Jonas"), QJsonValue(), QJsonValue(),
                                             s("Zander, Tim"), s("Adler, Anna"), QJsonValue(), s("Zander / Müller"),
                                             QJsonValue()}));
        QCOMPARE(look(*teams, s("J4")).value(s("borders")).toArray(), kThin);
        QCOMPARE(teams->value(s("widths")).toObject().value(s("I")).toDouble(), 25 + 0.7109375);
        QCOMPARE(teams->value(s("autoFilter")).toString(), QStringLiteral("A2:J4"));
    }

    // The group tables of a class with two group phases: each phase in one block,
    // at the rows the layout computes.
    void groupSheet()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedTournament(tdb.db());
        QTemporaryDir dir;
        NoProgress progress;
        QString error;
        const auto sheet = readXlsxSheet(exportExcelList(ExportListKind::GruppenTabellen,
                                                         {tdb.db(), 1, kTournament, entry(1)}, dir.path(), kNow, progress),
                                         &error);
        QVERIFY2(sheet, qPrintable(error));
        const QJsonArray header{s("Pos"), s("Spieler"), s("Spiele"), s("Sätze"), s("Punkte"), s("Bälle")};
        const QJsonArray rows = sheet->value(s("rows")).toArray();
        QCOMPARE(rows.size(), 16);
        QCOMPARE(row(*sheet, 1).at(0).toString(), QStringLiteral("Tabellen/Gruppen für Herren"));
        QVERIFY(!look(*sheet, s("A1")).value(s("bold")).toBool());
        QCOMPARE(row(*sheet, 3).at(0).toString(), QStringLiteral("Phase 1"));
        QCOMPARE(look(*sheet, s("A3")).value(s("size")).toDouble(), 14.0);
        QCOMPARE(row(*sheet, 4).at(0).toString(), QStringLiteral("Gruppe A"));
        QCOMPARE(look(*sheet, s("A4")).value(s("size")).toDouble(), 12.0);
        QCOMPARE(first(row(*sheet, 5), 6), header);
        QCOMPARE(first(row(*sheet, 6), 6), (QJsonArray{1, s("Müller, Jonas"), 2, s("6:2"), s("2:0"), s("66:40")}));
        QCOMPARE(row(*sheet, 7).at(1).toString(), QStringLiteral("Zander, Tim"));
        QCOMPARE(row(*sheet, 9).at(0).toString(), QStringLiteral("Gruppe B"));
        QCOMPARE(row(*sheet, 11).at(1).toString(), QStringLiteral("Adler, Anna"));
        QCOMPARE(row(*sheet, 13).at(0).toString(), QStringLiteral("Phase 2"));
        QCOMPARE(row(*sheet, 14).at(0).toString(), QStringLiteral("Gruppe A"));
        QCOMPARE(first(row(*sheet, 15), 6), header);
        QCOMPARE(first(row(*sheet, 16), 3), (QJsonArray{1, s("Müller, Jonas"), 0}));
        QCOMPARE(look(*sheet, s("F15")).value(s("colour")).toString(), QStringLiteral("FFFFFF99"));
        QCOMPARE(look(*sheet, s("F16")).value(s("borders")).toArray(), kThin);
        const QJsonObject widths = sheet->value(s("widths")).toObject();
        QCOMPARE(widths.value(s("B")).toDouble(), 30 + 0.7109375);
        QCOMPARE(widths.value(s("E")).toDouble(), 7 + 0.7109375);
    }

    // The PDF lists through the whole run: valid files with titles, umlauts and "€".
    void pdfLists()
    {
        TestDatabase tdb(Backend::SQLite);
        QVERIFY(tdb.ready());
        seedTournament(tdb.db());
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("ExportPDF"));
        FixedClock clock(kNow);
        PdfListPages pages(&clock);
        NoProgress progress;
        const struct {
            ExportListKind kind;
            klassenwahlinfo info;
            const char* file;
            QStringList texts;
        } cases[] = {
            {ExportListKind::Spielerliste, entry(0, 0, true, false), "Spielerliste.pdf",
             {s("Turnier-Spielerliste"), s("Müller, Jonas"), s("TTC Süd €"), s("04.03.2001"), s("BV Süd"), s("WTTV")}},
            {ExportListKind::Spielplan, entry(1), "Spielplan.pdf",
             {s("Spielplan für Herren"), s("Herren-1"), s("3:1"), s("01.05.2026 10:15:00"), s("[02.05.2026 11:30:00]"),
              s("[ 14:00:00]")}},
            {ExportListKind::GruppenTabellen, entry(1), "GruppenTabellen.pdf",
             {s("Tabellen/Gruppen für Herren"), s("Phase 2"), s("Gruppe B"), s("Sätze"), s("Bälle"), s("66:40")}},
            {ExportListKind::Teamliste, entry(3, 0, true), "Teamliste.pdf",
             {s("Teamliste für Mannschaft"), s("1. Müller, Jonas"), s("4. Zander, Tim"), s("Zander / Müller")}},
        };
        for (const auto& c : cases) {
            const QString path = exportPdfList(c.kind, {tdb.db(), 1, kTournament, c.info}, pages, folder, progress);
            QCOMPARE(path, QDir(folder).filePath(QLatin1String(c.file)));
            QCOMPARE(checkPdf(path), QString());
            const QStringList text = pdfPages(path);
            QCOMPARE(text.size(), 1);
            QVERIFY2(text[0].contains(kTournament), qPrintable(text[0]));
            for (const QString& t : c.texts)
                QVERIFY2(text[0].contains(t), qPrintable(t + QStringLiteral(" in ") + text[0]));
            QCOMPARE(pages.PRLayoutPanel1.ControlCount(), 0);
            QVERIFY(!pages.report.HasDoc());
        }
        const QByteArray bytes = [&] {
            QFile f(QDir(folder).filePath(QStringLiteral("Spielplan.pdf")));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        QVERIFY(bytes.contains("/CreationDate (D:20060909140454)"));
        // Match 2 is not played: no "0:0" of its own (times hold "30:00").
        static const QRegularExpression unplayed(QStringLiteral("(?<![\\d:])0:0(?![\\d:])"));
        QVERIFY(!pdfPages(QDir(folder).filePath(QStringLiteral("Spielplan.pdf")))[0].contains(unplayed));

        // An empty list: one page with the two titles and the headings.
        const QString empty = exportPdfList(ExportListKind::Spielplan, {tdb.db(), 1, kTournament, entry(2)}, pages,
                                            folder, progress);
        const QStringList text = pdfPages(empty);
        QCOMPARE(text.size(), 1);
        QVERIFY(text[0].contains(QStringLiteral("Spielplan für Damen")));
        QVERIFY(text[0].contains(QStringLiteral("Spielbeginn")));
    }

    // Page breaks: 28 player rows fill page 1, row 29 opens page 2 under the
    // headings; a full last page gets no page of headings alone; the team list
    // breaks too.
    void pdfPageBreaks()
    {
        QTemporaryDir dir;
        PdfListPages pages;
        NoProgress progress;
        ListRows<ExportPlayer> players{QStringLiteral("Turnier-Spielerliste"), {}};
        for (int n = 1; n <= 28; ++n)
            players.rows.push_back(player(n));
        QString path = pages.PDFSpielerliste(players, kTournament, dir.path(), progress);
        QCOMPARE(checkPdf(path), QString());
        QCOMPARE(pdfPages(path).size(), 1);

        players.rows.push_back(player(29));
        path = pages.PDFSpielerliste(players, kTournament, dir.path(), progress);
        const QList<Word> words = pdfWords(path);
        const auto row28 = findWord(words, QStringLiteral("Spieler28,"));
        const auto row29 = findWord(words, QStringLiteral("Spieler29,"));
        QVERIFY(row28 && row29);
        QCOMPARE(row28->page, 1);
        QCOMPARE(row29->page, 2);
        // Labels stand 32 points inside the page: the headings at 10, row 29 at 24.
        double heading2 = -1;
        for (const Word& w : words) {
            if (w.page == 2 && w.text == QLatin1String("Nachname,"))
                heading2 = w.top;
            if (w.page == 2)
                QVERIFY2(w.text != QLatin1String("Turnier-Spielerliste") && w.text != QLatin1String("Köln"),
                         qPrintable(w.text));
        }
        QVERIFY(heading2 > 32 + 10 - 3 && heading2 < 32 + 10 + 3);
        QVERIFY2(row29->top > 32 + 24 - 3 && row29->top < 32 + 24 + 3, qPrintable(QString::number(row29->top)));
        QCOMPARE(pdfPages(path).size(), 2);

        // 30 teams of one line: 14 on page 1 (from 110 by 26), the rest on page 2.
        ListRows<ExportTeam> teams{QStringLiteral("Teamliste für Mannschaft"), {}};
        for (int n = 1; n <= 30; ++n)
            teams.rows.push_back(team(n));
        teams.rows[0].spieler[0] = ExportMemberName{QStringLiteral("Langername-Mustermann"), QStringLiteral("Friedrich")};
        teams.rows[0].reserve[1] = ExportMemberName{QStringLiteral("Mustermann"), QStringLiteral("Annegret-Lu")};
        teams.rows[0].reserve[0] = ExportMemberName{QStringLiteral("Mustermann"), QStringLiteral("Anna")};
        path = pages.PDFTeamliste(teams, kTournament, dir.path(), progress);
        QCOMPARE(checkPdf(path), QString());
        const QStringList text = pdfPages(path);
        QCOMPARE(text.size(), 2);
        QVERIFY(text[0].contains(QStringLiteral("Team13")) && !text[0].contains(QStringLiteral("Team15")));
        QVERIFY(text[1].contains(QStringLiteral("Team30")) && text[1].contains(QStringLiteral("Reservespieler")));
        QVERIFY2(text[0].contains(QStringLiteral("1. Langername-Mustermann, Fr.")), qPrintable(text[0]));
        QVERIFY(text[0].contains(QStringLiteral("Mustermann, Anna")));
        QVERIFY(text[0].contains(QStringLiteral("Mustermann, An.")));
    }

    // Group tables break before a group that starts below 650.
    void pdfGroupBreaks()
    {
        QTemporaryDir dir;
        PdfListPages pages;
        NoProgress progress;
        ListRows<ExportStanding> list{QStringLiteral("Tabellen/Gruppen für Herren"), {}};
        for (int gid = 0; gid < 8; ++gid) {
            for (int pos = 0; pos < 4; ++pos)
                list.rows.push_back(ExportStanding{1, gid, pos, QStringLiteral("G%1P%2").arg(gid).arg(pos)});
        }
        const QString path = pages.PDFGruppenTabellen(list, kTournament, dir.path(), progress);
        QCOMPARE(checkPdf(path), QString());
        const QList<Word> words = pdfWords(path);
        // Phase at 100, group A at 131, its headings at 151, its first row at 164;
        // each group takes 26 + 20 + 13 + 3 x 13 = 98: group F starts at 621, G would at 719.
        QVERIFY(std::abs(findWord(words, QStringLiteral("G0P0"))->top - (32 + 164)) < 3);
        QCOMPARE(findWord(words, QStringLiteral("G5P3"))->page, 1);
        const auto g6 = findWord(words, QStringLiteral("G6P0"));
        QCOMPARE(g6->page, 2);
        QVERIFY(std::abs(g6->top - (32 + 16 + 20 + 13)) < 3);
    }

    // The dialog: a sheet and a PDF file made and opened, the bar back at 0,
    // the dialog enabled; another caption does nothing.
    void dialogExports()
    {
        ExportDesk desk;
        QVERIFY(desk.tdb.ready());
        desk.show(QStringLiteral("Excel-Export"));
        desk.choose(QStringLiteral("Herren (Einzel)"));
        QTest::mouseClick(desk.form.ExportTyp_Spieler, Qt::LeftButton);
        QCOMPARE(desk.fake.runner.opened.size(), 1);
        const QString sheet = desk.fake.runner.opened[0].toLocalFile();
        QCOMPARE(sheet, desk.folder.file(QStringLiteral("ExportExcel/Spielerliste_20261210-090000.xlsx")));
        QVERIFY(QFileInfo::exists(sheet));
        QCOMPARE(desk.form.ExportProgress->value(), 0);
        QVERIFY(desk.form.isEnabled());
        QVERIFY(desk.form.isVisible());

        desk.form.setWindowTitle(QStringLiteral("PDF-Export"));
        desk.choose(QStringLiteral("Herren (Einzel) / Phase1-Gruppen"));
        desk.form.ExportTyp_GruppenClick();
        QCOMPARE(desk.fake.runner.opened.size(), 2);
        QCOMPARE(desk.fake.runner.opened[1].toLocalFile(), desk.folder.file(QStringLiteral("ExportPDF/GruppenTabellen.pdf")));
        QCOMPARE(desk.form.ExportProgress->value(), 0);

        // The group link of a knock-out phase is off and a click on it does nothing.
        desk.choose(QStringLiteral("Herren (Einzel) / Phase2-KO"));
        QVERIFY(!desk.form.ExportTyp_Gruppen->isEnabled());
        QTest::mouseClick(desk.form.ExportTyp_Gruppen, Qt::LeftButton);
        QCOMPARE(desk.fake.runner.opened.size(), 2);

        desk.form.setWindowTitle(QStringLiteral("Export"));
        desk.form.ExportTyp_SpielplanClick();
        QCOMPARE(desk.fake.runner.opened.size(), 2);
        QVERIFY(desk.form.isEnabled());
        QVERIFY(desk.fake.prompter.verify());
    }

    // A PDF that cannot be written: the error with its reason, the previous file
    // kept, the bar at 0; an output folder that cannot be made names the folder.
    void dialogFailures()
    {
        ExportDesk desk;
        QVERIFY(desk.tdb.ready());
        desk.show(QStringLiteral("PDF-Export"));
        QVERIFY(desk.folder.write(QStringLiteral("ExportPDF/Spielplan.pdf"), "previous"));
        {
            ReadOnly readOnly(desk.folder.file(QStringLiteral("ExportPDF")));
            if (!readOnly.ready())
                QSKIP("no read-only folder here");
            desk.fake.prompter.expectPrefix(PromptKind::Error, TExportNewForm::kFailed + QLatin1Char('\r'));
            desk.form.ExportTyp_SpielplanClick();
            QVERIFY(desk.fake.prompter.verify());
        }
        QCOMPARE(desk.folder.read(QStringLiteral("ExportPDF/Spielplan.pdf")), QByteArray("previous"));
        QCOMPARE(desk.form.ExportProgress->value(), 0);
        QVERIFY(desk.form.isEnabled());
        QVERIFY(desk.fake.runner.opened.isEmpty());
        QCOMPARE(desk.pages.PRLayoutPanel1.ControlCount(), 0);

        QVERIFY(QDir(desk.folder.file(QStringLiteral("ExportPDF"))).removeRecursively());
        QVERIFY(desk.folder.write(QStringLiteral("ExportPDF"), "a file"));
        desk.fake.prompter.expect(PromptKind::Error,
                                  TExportNewForm::kFailed +
                                      QStringLiteral("\rDas AusgabeVerzeichnis konnte nicht erstellt werden:\r") +
                                      QDir::toNativeSeparators(desk.folder.file(QStringLiteral("ExportPDF"))));
        desk.form.ExportTyp_SpielerClick();
        QVERIFY(desk.fake.prompter.verify());
        QCOMPARE(desk.form.ExportProgress->value(), 0);
        QCOMPARE(desk.pages.PRLayoutPanel1.ControlCount(), 0);
        QVERIFY(!desk.pages.report.HasDoc());
    }
};

QTEST_MAIN(TestListExports)
#include "test_list_exports.moc"
