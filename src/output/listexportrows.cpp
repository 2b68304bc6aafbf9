#include "output/listexportrows.h"

#include "data/classrecords.h"
#include "output/storedtext.h"
#include "platform/germantext.h"

namespace bw {

std::vector<KlassenwahlEntry> klassenwahlEntries(const std::vector<ExportClass>& classes)
{
    std::vector<KlassenwahlEntry> entries;
    entries.push_back({QStringLiteral("Gesamte Turnier"), klassenwahlinfo{0, 0, true, false}});
    for (const ExportClass& c : classes) {
        const QString text = c.kbezeichnung + kindSuffix(c.system);
        const bool isTeam = c.system == ClassKind::Team;
        const bool hasGroups = std::any_of(c.phases.begin(), c.phases.end(), [](const auto& p) { return p == 0; });
        entries.push_back({text, klassenwahlinfo{c.kid, 0, isTeam, hasGroups}});
        for (int n = 1; n <= 3; ++n) {
            const std::optional<int> system = c.phases[size_t(n - 1)];
            if (!system)
                continue;
            static const char* const kSystems[] = {"-Gruppen", "-KO", "-Doppel-KO"};
            if (*system < 0 || *system > 2)
                continue;
            entries.push_back({text + QStringLiteral(" / Phase%1").arg(n) + QLatin1String(kSystems[*system]),
                               klassenwahlinfo{c.kid, n, isTeam, *system == 0}});
        }
    }
    return entries;
}

ListExportRows::ListExportRows(const QSqlDatabase& db, int tid, const QString& turniername,
                               const klassenwahlinfo& info)
    : m_db(db), m_selection{tid, info.KID, info.KID == 0 ? 0 : info.phase}, m_turniername(turniername)
{
}

// The class's name read by its key, so an empty list keeps it in the title.
QString ListExportRows::classTitle(const QString& prefix, bool withPhase) const
{
    QString title = prefix + exportClassName(m_db, m_selection.kid);
    if (withPhase && m_selection.phase != 0)
        title += QStringLiteral(", Phase %1").arg(m_selection.phase);
    return title;
}

ListRows<ExportMatch> ListExportRows::spielplan() const
{
    return {m_selection.kid == 0 ? QStringLiteral("Turnier-Spielplan") : classTitle(QStringLiteral("Spielplan für "), true),
            exportMatches(m_db, m_selection)};
}

ListRows<ExportPlayer> ListExportRows::spielerliste() const
{
    return {m_selection.kid == 0 ? QStringLiteral("Turnier-Spielerliste")
                                 : classTitle(QStringLiteral("Spielerliste für "), true),
            exportPlayers(m_db, m_selection)};
}

ListRows<ExportTeam> ListExportRows::teamliste() const
{
    return {m_selection.kid == 0 ? QStringLiteral("Teamliste für ") + m_turniername
                                 : classTitle(QStringLiteral("Teamliste für "), false),
            exportTeams(m_db, m_selection)};
}

ListRows<ExportStanding> ListExportRows::gruppenTabellen() const
{
    return {classTitle(QStringLiteral("Tabellen/Gruppen für "), false), exportStandings(m_db, m_selection)};
}

QString spielbeginnText(const ExportMatch& match)
{
    if (match.spielstart.isValid())
        return storedText(match.spielstart);
    QString planned;
    if (match.geplanter_tag.isValid())
        planned = german::formatDate(match.geplanter_tag);
    if (match.geplante_zeit)
        planned += QLatin1Char(' ') + match.geplante_zeit->toString(QStringLiteral("hh:mm:ss"));
    return planned.isEmpty() ? planned : QLatin1Char('[') + planned + QLatin1Char(']');
}

QString resultText(const QString& ergebnis)
{
    return ergebnis == QLatin1String("0:0") ? QString() : ergebnis;
}

QString verbandText(const ExportPlayer& player)
{
    for (const QString* text : {&player.kverband, &player.bverband, &player.lverband, &player.land}) {
        if (!text->isEmpty())
            return *text;
    }
    return QString();
}

QString memberText(const ExportMemberName& name)
{
    return name.nachname + QStringLiteral(", ") + name.vorname;
}

QString doubleText(const std::pair<QString, QString>& surnames)
{
    return surnames.first + QStringLiteral(" / ") + surnames.second;
}

} // namespace bw
