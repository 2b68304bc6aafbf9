#define QT_USE_QSTRINGBUILDER // the pages are many short strings put together
#include "output/htmlsite.h"

#include "output/storedtext.h"
#include "platform/apperror.h"
#include "platform/cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QUrl>

#include <filesystem>
#include <system_error>


namespace bw {

namespace {

const QString kNbsp = QStringLiteral("&nbsp");

QStringList headLines()
{
    return {QStringLiteral("<html>"), QStringLiteral("<head>"),
            QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"),
            QStringLiteral("</head>")};
}

void closePage(QStringList& lines)
{
    lines << QStringLiteral("</body>") << QStringLiteral("</html>");
}

// A stored value as the page shows it, escaped; empty for Null.
QString text(const QVariant& value)
{
    return htmlEscaped(storedText(value));
}

// The filler for an empty text.
QString orNbsp(const QString& escaped)
{
    return escaped.isEmpty() ? kNbsp : escaped;
}

QString name(const QString& nachname, const QString& vorname)
{
    return htmlEscaped(nachname + QStringLiteral(", ") + vorname);
}

QString kindText(const std::optional<ClassKind>& kind)
{
    if (!kind)
        return QString();
    switch (*kind) {
    case ClassKind::Einzel: return QStringLiteral("Einzel");
    case ClassKind::Doppel: return QStringLiteral("Doppel");
    case ClassKind::Mixed: return QStringLiteral("Mixed");
    case ClassKind::Team: return QStringLiteral("Team");
    }
    return QString();
}

// A set as stored: the loser's points signed for the winner; -100 is a set the
// first-named side lost without a point.
QString setText(const QVariant& satz)
{
    if (satz.isNull())
        return kNbsp;
    return satz.toInt() == -100 ? QStringLiteral("-0") : QString::number(satz.toInt());
}

QString matchCell(const QVariant& value)
{
    return value.isNull() ? kNbsp : text(value);
}

// The tournament data's rows: column and label, left half of the table first.
struct TournamentRow {
    const char* column;
    const char* label;
};
const TournamentRow kTournamentRows[] = {
    {"turniername", "Turniername"},
    {"zusatz", "Zusatz"},
    {"austragungsort", "Austragungsort"},
    {"tvon", "Von"},
    {"tbis", "Bis"},
    {"startberechtigung", "Startberechtigun"},
    {"turniermodus", "Turniermodus"},
    {"veranstalter", "Veranstalter"},
    {"homepage", "Homepage"},
    {"turnierleitung", "Turnierleitung"},
    {"gesamtleitung", "Gesamtleitung"},
    {"schiedsrichter", "Schiedsrichter"},
    {"osr", "Oberschiedsrichter"},
    {"meldeschluss", "Meldeschluss"},
    {"auslosung", "Auslosung"},
    {"meldeinfo", "Meldeinfo"},
    {"meldung_an", "Meldung an"},
    {"ainfo", "Anmeldungsinfo"},
    {"tische", "Tische"},
    {"baelle", "Bälle"},
    {"netze", "Netze"},
    {"zaehlgeraete", "Zählgeräte"},
    {"banden", "Banden"},
    {"preise", "Preise"},
    {"verpflegung", "Verpflegung"},
    {"weg", "Wegbeschreibung"},
    {"verschiedenes", "Verschiedenes"},
    {"erstehilfe", "Erste Hilfe"},
};

} // namespace

QString htmlEscaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QStringLiteral("&amp;"); break;
        case '<': out += QStringLiteral("&lt;"); break;
        case '>': out += QStringLiteral("&gt;"); break;
        case '"': out += QStringLiteral("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}

QString hrefTarget(const QString& fileName)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(fileName));
}

QString safeFileStem(const QString& name)
{
    QString out;
    bool leading = true;
    for (const char32_t c : name.normalized(QString::NormalizationForm_C).toUcs4()) {
        const bool kept = c < 0x80 ? (QChar::isLetterOrNumber(c) || c == ' ' || c == '-' || c == '_' || c == '.')
                                   : (QChar::isLetter(c) || QChar::isDigit(c));
        if (!kept || (leading && c == '.'))
            out += QLatin1Char('_');
        else
            out += QString::fromUcs4(&c, 1);
        leading = leading && c == '.';
    }
    return out;
}

QByteArray htmlPageBytes(const QStringList& lines)
{
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    QByteArray bytes;
    bytes.reserve(size);
    for (const QString& line : lines) {
        const qsizetype n = line.size();
        for (qsizetype i = 0; i < n; ++i) {
            char32_t c = line[i].unicode();
            if (c == '\r' || c == '\n') {
                // A line break inside a value ends with CR LF like the lines.
                if (c == '\r' && i + 1 < n && line[i + 1] == QLatin1Char('\n'))
                    ++i;
                bytes += "\r\n";
                continue;
            }
            if (c < 0x80) {
                bytes += char(c);
                continue;
            }
            if (QChar::isHighSurrogate(c) && i + 1 < n && line[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(line[i].unicode(), line[i + 1].unicode());
                ++i;
            } else if (QChar::isSurrogate(c))
                c = QChar::ReplacementCharacter;
            const int byte = cp1252::byteFor(c);
            if (byte >= 0)
                bytes += char(byte);
            else
                bytes += "&#" + QByteArray::number(uint(c)) + ';';
        }
        bytes += "\r\n";
    }
    return bytes;
}

const QStringList HtmlSite::kFixedPages{
    QStringLiteral("titel.html"),        QStringLiteral("navigation.html"),   QStringLiteral("turnierdaten.html"),
    QStringLiteral("klassenindex.html"), QStringLiteral("spielplanindex.html"), QStringLiteral("spielerdaten.html"),
    QStringLiteral("schiri.html")};

HtmlSite::HtmlSite(SiteData data, QString turniername, QString framesetName)
    : m_data(std::move(data)), m_turniername(std::move(turniername)), m_frameset(std::move(framesetName))
{
    QSet<QString> used;
    for (const QString& page : kFixedPages)
        used.insert(page.toCaseFolded());
    if (used.contains(m_frameset.toCaseFolded()))
        throw AppError(QStringLiteral("Die Website kann nicht \"%1\" heißen, so heißt eine ihrer Seiten. "
                                      "Bitte wählen Sie einen anderen Namen.")
                           .arg(m_frameset));
    used.insert(m_frameset.toCaseFolded());
    auto claim = [&used](const QString& stem, int kid) {
        QString name = stem + QStringLiteral(".html");
        for (QString extra = QStringLiteral("_%1").arg(kid); used.contains(name.toCaseFolded());)
            name.insert(name.size() - 5, extra);
        used.insert(name.toCaseFolded());
        return name;
    };
    for (const SiteClass& c : std::as_const(m_data.classes)) {
        const QString stem = safeFileStem(c.kbezeichnung + storedText(c.system));
        m_classPage.insert(c.kid, claim(stem, c.kid));
        m_matchPage.insert(c.kid, claim(QStringLiteral("sp_") + stem, c.kid));
    }
    for (qsizetype i = 0; i < m_data.entries.size(); ++i)
        m_entriesOf[m_data.entries[i].kid].append(i);
    for (qsizetype i = 0; i < m_data.matches.size(); ++i)
        m_matchesOf[m_data.matches[i].kid].append(i);
}

QStringList HtmlSite::frameset() const
{
    QStringList lines = headLines();
    lines << QStringLiteral("<frameset rows=\"50px,*\" border=\"0\">")
          << QStringLiteral("  <frame src=\"titel.html\" name=\"titel\" noresize scrolling=no>")
          << QStringLiteral("  <frameset cols=\"150px,*\" border=\"0\">")
          << QStringLiteral("    <frame src=\"navigation.html\" name=\"navi\" noresize>")
          << QStringLiteral("    <frame src=\"turnierdaten.html\" name=\"daten\" noresize>")
          << QStringLiteral(" </frameset>") << QStringLiteral("</frameset>") << QStringLiteral("</html>");
    return lines;
}

QStringList HtmlSite::titel()
{
    QStringList lines = headLines();
    lines << QStringLiteral("<body bgcolor=\"darkblue\">") << QStringLiteral("<div align=\"right\">")
          << QStringLiteral("<font face=\"Arial\" size=\"5\" color=\"white\">") << QStringLiteral("<p>Brackwell v.1.0</p>")
          << QStringLiteral("</div>");
    closePage(lines);
    return lines;
}

QStringList HtmlSite::navigation()
{
    QStringList lines = headLines();
    lines << QStringLiteral("<body bgcolor=\"#99F9D0\">")
          << QStringLiteral("<li><a href=\"turnierdaten.html\" target=\"daten\">Home</a><br><br></li>")
          << QStringLiteral("<li><a href=\"klassenindex.html\" target=\"daten\">Turnierklassen</a><br><br></li>")
          << QStringLiteral("<li><a href=\"spielerdaten.html\" target=\"daten\">Spielerdaten</a><br><br></li>")
          << QStringLiteral("<li><a href=\"schiri.html\" target=\"daten\">Schiedsrichter</a><br><br></li>")
          << QStringLiteral("<li><a href=\"spielplanindex.html\" target=\"daten\">Spielpläne</a><br></li>");
    closePage(lines);
    return lines;
}

QStringList HtmlSite::turnierdaten() const
{
    QStringList lines = headLines();
    lines << QStringLiteral("<body bgcolor=\"FFFFC4\">") << QStringLiteral("<div align=\"left\">")
          << QStringLiteral("<h1>") + htmlEscaped(m_turniername) + QStringLiteral("</h1><br>")
          << QStringLiteral("<table border=\"0\">");
    for (const TournamentRow& row : kTournamentRows) {
        const QVariant value = m_data.tournament.value(QLatin1String(row.column));
        if (value.isNull())
            continue;
        lines << QStringLiteral("<tr>") << QStringLiteral("<td>") + QString::fromUtf8(row.label)
              << QStringLiteral("</td>") << QStringLiteral("<td>") + text(value) << QStringLiteral("</td>")
              << QStringLiteral("</tr>");
    }
    lines << QStringLiteral("</table>") << QStringLiteral("</div>");
    closePage(lines);
    return lines;
}

QStringList HtmlSite::classIndex(const char* bgcolor, bool matchPages) const
{
    QStringList lines = headLines();
    lines << QStringLiteral("<body bgcolor=\"%1\">").arg(QLatin1String(bgcolor)) << QStringLiteral("<div align=\"center\">");
    for (const SiteClass& c : m_data.classes) {
        const QString target = matchPages ? matchPageName(c.kid) : classPageName(c.kid);
        const QString kind = kindText(c.kind);
        lines << QStringLiteral("<a href=\"%1\">%2 %3</a><br>")
                     .arg(hrefTarget(target), htmlEscaped(c.kbezeichnung),
                          kind.isEmpty() ? QString() : QLatin1Char('(') + kind + QLatin1Char(')'));
    }
    lines << QStringLiteral("</div>");
    closePage(lines);
    return lines;
}

QStringList HtmlSite::klassenindex() const
{
    return classIndex("#E6D8FE", false);
}

QStringList HtmlSite::spielplanindex() const
{
    return classIndex("#FCDCDF", true);
}

QStringList HtmlSite::klassenseite(const SiteClass& c) const
{
    QStringList lines = headLines();
    lines << QStringLiteral("<body bgcolor=\"#E6D8FE\">") << QStringLiteral("<div align=\"left\">")
          << QStringLiteral("<table border=\"0\"  cellspacing=\"0\" width=\"100%\">")
          << QStringLiteral("<tr><td valign=top width=\"50%\">") << QStringLiteral("<table border=\"0\">");
    const QString gender = c.mann && c.frau ? QStringLiteral("Mixed")
                           : c.mann         ? QStringLiteral("Herren")
                           : c.frau         ? QStringLiteral("Damen")
                                            : QString();
    const std::pair<const char*, QString> facts[] = {
        {"Klassenbezeichnung", htmlEscaped(c.kbezeichnung)},
        {"System", kindText(c.kind)},
        {"Klassenbeschreibung", text(c.kbeschreibung)},
        {"Spielberechtigung", text(c.spielberechtigung)},
        {"Gebühr", text(c.gebuehr)},
        {"Geschlecht", gender},
        {"Min. Teilnehmer", text(c.min)},
        {"Max. Teilnehmer", text(c.max)},
        {"Gewinnsätze", text(c.saetze)},
        {"verfügbare Tische", text(c.platten)},
        // The date of the day, the hours and minutes of the time.
        {"Austragungstag", htmlEscaped(storedText(c.atag).left(10))},
        {"Uhrzeit", htmlEscaped(storedText(c.uhrzeit).mid(11, 5))},
    };
    for (const auto& [label, value] : facts)
        lines << QStringLiteral("<tr>") << QStringLiteral("<td>%1</td>").arg(QString::fromUtf8(label))
              << QStringLiteral("<td>") + value + QStringLiteral("</td>") << QStringLiteral("</tr>");
    lines << QStringLiteral("</table></td><td valign=\"top\" width=\"50%\">") << QStringLiteral("<table border=\"1\">");

    const bool pairs = c.kind == ClassKind::Doppel || c.kind == ClassKind::Mixed;
    const bool team = c.kind == ClassKind::Team;
    const QString extra = pairs  ? QStringLiteral("<th>Doppelpartner</th>")
                          : team ? QStringLiteral("<th>Team</th>")
                                 : QString();
    lines << QStringLiteral("<tr>") << QStringLiteral("<th>Spielername</th><th>Verein</th>") + extra + QStringLiteral("</tr>");
    for (const qsizetype i : m_entriesOf.value(c.kid)) {
        const SiteEntry& e = m_data.entries[i];
        lines << QStringLiteral("<tr>") << QStringLiteral("<td>") + name(e.nachname, e.vorname) + QStringLiteral("</td>")
              << QStringLiteral("<td>") + htmlEscaped(e.verein) + QStringLiteral("</td>");
        if (pairs)
            lines << QStringLiteral("<td>") +
                         (e.partnerNachname.isEmpty() ? kNbsp : name(e.partnerNachname, e.partnerVorname)) +
                         QStringLiteral("</td>");
        else if (team)
            lines << QStringLiteral("<td>") + orNbsp(htmlEscaped(e.mannschaft)) + QStringLiteral("</td>");
        lines << QStringLiteral("</tr>");
    }
    lines << QStringLiteral("</table>") << QStringLiteral("</td></tr></table>") << QStringLiteral("</div>");
    closePage(lines);
    return lines;
}

QStringList HtmlSite::spielerdaten() const
{
    QStringList lines = headLines();
    lines << QStringLiteral("<body bgcolor=\"#FCDCDF\">") << QStringLiteral("<div align=\"center\">")
          << QStringLiteral("<h2>Spielerdaten</h2><br>") << QStringLiteral("<table border=\"1\">")
          << QStringLiteral("<tr><th>Spielername</th><th>Verein</th><th>Geb.</th><th>Nr.</th><th>Kreis</th>"
                            "<th>Bezirk</th><th>Verband</th><th>Land</th>")
          << QStringLiteral("<th>Spielklasse</th></tr>");
    for (const SitePlayer& p : m_data.players) {
        lines << QStringLiteral("<tr><td>") + name(p.nachname, p.vorname) + QStringLiteral("</td>")
              << QStringLiteral("<td>") + htmlEscaped(p.verein) + QStringLiteral("</td>");
        for (const QVariant* value : {&p.geb, &p.nummer, &p.kverband, &p.bverband, &p.lverband, &p.land})
            lines << QStringLiteral("<td>") + orNbsp(text(*value)) + QStringLiteral("</td>");
        lines << QStringLiteral("<td>") + orNbsp(text(p.spklasse)) + QStringLiteral("</td></tr>");
    }
    lines << QStringLiteral("</table><br><br>") << QStringLiteral("<h2>Teamdaten</h2>")
          << QStringLiteral("<table border=\"1\">")
          << QStringLiteral("<tr><th>Teamname</th><th>Verein</th><th>Spieler</th><th>Doppel</th><th>Reserve</th>");
    const QString top = QStringLiteral("<td valign=\"top\">");
    auto memberLine = [](const std::optional<SiteMember>& m) {
        return m ? name(m->nachname, m->vorname) + QStringLiteral("<br>") : QStringLiteral("<br><br>");
    };
    for (const SiteTeam& t : m_data.teams) {
        lines << QStringLiteral("<tr>") + top + htmlEscaped(t.teamname) + QStringLiteral("</td>")
              << top + htmlEscaped(t.verein) + QStringLiteral("</td>") << top;
        for (const auto& m : t.spieler)
            lines << memberLine(m);
        lines << QStringLiteral("</td>") << top;
        for (size_t d = 0; d < 4; d += 2) {
            QStringList pair;
            for (const auto& m : {t.doppel[d], t.doppel[d + 1]})
                if (m)
                    pair << name(m->nachname, m->vorname);
            if (!pair.isEmpty())
                lines << pair.join(QStringLiteral(" - ")) + QStringLiteral("<br>");
        }
        lines << QStringLiteral("</td>") << top;
        for (const auto& m : t.reserve)
            lines << memberLine(m);
        lines << QStringLiteral("</td></tr>");
    }
    lines << QStringLiteral("</table><br><br>") << QStringLiteral("</div>");
    closePage(lines);
    return lines;
}

QStringList HtmlSite::schiri() const
{
    QStringList lines = headLines();
    lines << QStringLiteral("<body bgcolor=\"#F0F0F0\">") << QStringLiteral("<div align=\"center\">")
          << QStringLiteral("<h2>Schiedsrichterdaten</h2><br>") << QStringLiteral("<table border=\"1\">")
          << QStringLiteral("<tr><th>Name</th><th>Verein</th><th>Geb.</th><th>Kreis</th><th>Bezirk</th>"
                            "<th>Verband</th><th>Land</th>")
          << QStringLiteral("<th>Spielklasse</th></tr>");
    for (const SiteReferee& r : m_data.referees) {
        lines << QStringLiteral("<tr><td>") + name(r.snname, r.svname) + QStringLiteral("</td>")
              << QStringLiteral("<td>") + htmlEscaped(r.sverein) + QStringLiteral("</td>");
        for (const QVariant* value : {&r.sgeb, &r.skverband, &r.sbverband, &r.slverband, &r.sland})
            lines << QStringLiteral("<td>") + orNbsp(text(*value)) + QStringLiteral("</td>");
        lines << QStringLiteral("<td>") + orNbsp(text(r.sklasse)) + QStringLiteral("</td></tr>");
    }
    lines << QStringLiteral("</table>") << QStringLiteral("</div>");
    closePage(lines);
    return lines;
}

QStringList HtmlSite::spielplanseite(const SiteClass& c) const
{
    QStringList lines = headLines();
    lines << QStringLiteral("<body bgcolor=\"#FCDCDF\">") << QStringLiteral("<div align=\"center\">")
          << QStringLiteral("<font size=\"2\">") << QStringLiteral("<table border=\"1\">")
          << QStringLiteral("<tr><th>Nr.</th><th>Spieler&nbsp1</th><th>Spieler&nbsp2</th><th>S1</th><th>S2</th>"
                            "<th>S3</th><th>S4</th><th>S5</th><th>S6</th><th>S7</th><th>S8</th><th>S9</th>")
          << QStringLiteral("<th>Ergebnis</th><th>An&nbspTisch</th><th>Spielstart</th><th>Spielende</th></tr>");
    for (const qsizetype i : m_matchesOf.value(c.kid)) {
        const SiteMatch& m = m_data.matches[i];
        // A slot's placeholder counts as a name; an empty slot hides the match.
        if (m.spieler1.toString().isEmpty() || m.spieler2.toString().isEmpty())
            continue;
        lines << QStringLiteral("<tr>");
        auto cell = [&lines](const QString& content) { lines << QStringLiteral("<td>") + content + QStringLiteral("</td>"); };
        cell(matchCell(m.spielnummer));
        cell(matchCell(m.spieler1));
        cell(matchCell(m.spieler2));
        for (const QVariant& satz : m.saetze)
            cell(setText(satz));
        for (const QVariant* value : {&m.ergebnis, &m.an_platte, &m.spielstart, &m.spielende})
            cell(matchCell(*value));
        lines << QStringLiteral("</tr>");
    }
    lines << QStringLiteral("</table>") << QStringLiteral("</div>");
    closePage(lines);
    return lines;
}

QList<HtmlPage> HtmlSite::pages(const std::function<void()>& built) const
{
    QList<HtmlPage> pages;
    auto add = [&](const QString& fileName, QStringList lines) {
        pages.append(HtmlPage{fileName, std::move(lines)});
        if (built)
            built();
    };
    add(m_frameset, frameset());
    add(QStringLiteral("navigation.html"), navigation());
    add(QStringLiteral("titel.html"), titel());
    add(QStringLiteral("turnierdaten.html"), turnierdaten());
    for (const SiteClass& c : m_data.classes)
        add(classPageName(c.kid), klassenseite(c));
    add(QStringLiteral("klassenindex.html"), klassenindex());
    add(QStringLiteral("spielplanindex.html"), spielplanindex());
    add(QStringLiteral("spielerdaten.html"), spielerdaten());
    add(QStringLiteral("schiri.html"), schiri());
    for (const SiteClass& c : m_data.classes)
        add(matchPageName(c.kid), spielplanseite(c));
    return pages;
}

QStringList existingPages(const QList<HtmlPage>& pages, const QString& folder)
{
    const QDir dir(folder);
    QStringList existing;
    for (const HtmlPage& page : pages)
        if (QFileInfo::exists(dir.filePath(page.fileName)))
            existing << page.fileName;
    return existing;
}

namespace {

// The hidden files a site is written into before they take their names; removed
// unless released.
class TemporaryPages {
public:
    explicit TemporaryPages(QString folder) : m_dir(std::move(folder)) {}
    ~TemporaryPages()
    {
        for (const QString& path : std::as_const(m_paths))
            QFile::remove(path);
    }
    TemporaryPages(const TemporaryPages&) = delete;
    TemporaryPages& operator=(const TemporaryPages&) = delete;

    // Writes one page's bytes into a new hidden file beside its target.
    void write(const QString& fileName, const QByteArray& bytes)
    {
        const QString target = m_dir.filePath(fileName);
        QFile file;
        for (int n = 1;; ++n) {
            file.setFileName(m_dir.filePath(QStringLiteral(".%1.%2.tmp").arg(fileName).arg(n)));
            if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                break;
            if (!file.exists() || n == 100)
                fail(target, file.errorString());
        }
        m_paths << file.fileName();
        if (file.write(bytes) != bytes.size() || !file.flush())
            fail(target, file.errorString());
        file.close();
        // A file replaced keeps its permissions.
        if (QFileInfo::exists(target))
            file.setPermissions(QFile::permissions(target));
        m_targets << target;
    }

    // Gives every written file its name.
    void commit()
    {
        while (!m_paths.isEmpty()) {
            std::error_code error;
            std::filesystem::rename(QFile::encodeName(m_paths.first()).toStdString(),
                                    QFile::encodeName(m_targets.first()).toStdString(), error);
            if (error)
                fail(m_targets.first(), QString::fromStdString(error.message()));
            m_paths.removeFirst();
            m_targets.removeFirst();
        }
    }

private:
    [[noreturn]] static void fail(const QString& target, const QString& reason)
    {
        throw AppError(QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden: %2")
                           .arg(QDir::toNativeSeparators(target), reason));
    }

    QDir m_dir;
    QStringList m_paths;
    QStringList m_targets;
};

} // namespace

void writeHtmlPages(const QList<HtmlPage>& pages, const QString& folder, const std::function<void()>& written)
{
    TemporaryPages files(folder);
    for (const HtmlPage& page : pages) {
        files.write(page.fileName, htmlPageBytes(page.lines));
        if (written)
            written();
    }
    files.commit();
}

} // namespace bw
