#include "plans/resultdialogmodes.h"

#include "controls/uicheckctrls.h"
#include "data/matchdialogrecords.h"
#include "data/matchstaterecords.h"
#include "plans/tspielplaene.h"
#include "results/tergebnis.h"

#include <QLabel>

namespace bw {

ResultDialogModes::ResultDialogModes(Tspielplaene& plans, Tergebnis& ergebnis, std::function<QSqlDatabase()> database)
    : m_plans(plans), m_ergebnis(ergebnis), m_database(std::move(database))
{
}

bool ResultDialogModes::fill(int mode, int spielnummer, bool byHand)
{
    const PlanSession& session = m_plans.session();
    const std::optional<MatchDialogRow> row = readMatchDialogRow(db(), session.kid, spielnummer);
    if (!row)
        return false;
    if (m_otherSetup) {
        m_ergebnis.setResultSetup(loadResultDialogSetup(db(), session.kid, session.klasseninfos));
        m_otherSetup = false;
    }
    QStringList tables;
    QStringList umpires;
    if (TergebnisMode(mode) == TergebnisMode::Planen) {
        // Every table of the match's group and every umpire of the class.
        tables = readGroupTables(db(), session.kid, row->gruppe);
        umpires = readClassUmpires(db(), session.kid);
    } else if (TergebnisMode(mode) == TergebnisMode::Aufrufen) {
        // Only what is free now.
        tables = session.pools.texts(session.pools.tablePool(row->gruppe));
        umpires = session.pools.texts(QStringLiteral("schiri"));
    }
    m_ergebnis.fillMode(TergebnisMode(mode), session.kid, *row, tables, umpires, session.klasseninfos.atag.date(), byHand);
    return true;
}

void ResultDialogModes::spielplanen(int spielnummer)
{
    if (m_plans.teamClass()) {
        if (team)
            team->spielplanen(spielnummer);
        return;
    }
    if (!fill(int(TergebnisMode::Planen), spielnummer))
        return;
    m_ergebnis.show();
    m_ergebnis.raise();
}

bool ResultDialogModes::spielaufrufen1(int spielnummer)
{
    if (m_plans.teamClass())
        return team && team->spielaufrufen1(spielnummer);
    if (!fill(int(TergebnisMode::Aufrufen), spielnummer))
        return false;
    return m_ergebnis.exec() == QDialog::Accepted;
}

bool ResultDialogModes::spielmanuellstarten(int spielnummer)
{
    if (m_plans.teamClass())
        return team && team->spielmanuellstarten(spielnummer);
    const std::optional<MatchStateRow> row = readMatchStateRow(db(), m_plans.session().kid, spielnummer);
    if (!row)
        return false;
    if (!row->sidesDecided()) {
        m_ergebnis.prompter().error(kNichtStartbar);
        return false;
    }
    if (!fill(int(TergebnisMode::Aufrufen), spielnummer, true))
        return false;
    return m_ergebnis.exec() == QDialog::Accepted;
}

bool ResultDialogModes::bearbeiten(int kid, int spielnummer, const QDate& firstDay)
{
    const gruppeninfos infos = loadKlasseninfos(db(), kid, firstDay);
    if (infos.team())
        return false;
    const std::optional<MatchDialogRow> row = readMatchDialogRow(db(), kid, spielnummer);
    if (!row) {
        m_ergebnis.prompter().warning(kMatchChanged);
        return true;
    }
    const PlanSession& session = m_plans.session();
    if (kid != session.kid || m_otherSetup) {
        m_ergebnis.setResultSetup(loadResultDialogSetup(db(), kid, infos));
        m_otherSetup = kid != session.kid;
    }
    TergebnisMode mode = TergebnisMode::Planen;
    QStringList tables;
    QStringList umpires;
    switch (row->state()) {
    case MatchStage::Open:
        tables = readGroupTables(db(), kid, row->gruppe);
        umpires = readClassUmpires(db(), kid);
        break;
    case MatchStage::Called:
        mode = TergebnisMode::Aufgerufen;
        break;
    case MatchStage::Running:
        mode = TergebnisMode::Starten;
        break;
    case MatchStage::Finished:
        mode = TergebnisMode::Beendet;
        break;
    }
    m_ergebnis.platte->setToolTip(QString());
    m_ergebnis.fillMode(mode, kid, *row, tables, umpires, infos.atag.date());
    m_ergebnis.show();
    m_ergebnis.raise();
    m_ergebnis.activateWindow();
    return true;
}

void ResultDialogModes::spielaufgerufen(int spielnummer)
{
    if (m_plans.teamClass()) {
        if (team)
            team->spielaufgerufen(spielnummer);
        return;
    }
    if (!fill(int(TergebnisMode::Aufgerufen), spielnummer))
        return;
    m_ergebnis.show();
    m_ergebnis.raise();
}

void ResultDialogModes::setPlatteHint(const QString& hint)
{
    m_ergebnis.platte->setToolTip(hint);
    if (team)
        team->setPlatteHint(hint);
}

void ResultDialogModes::spielstarten(int spielnummer)
{
    if (m_plans.teamClass()) {
        if (team)
            team->spielstarten(spielnummer);
        return;
    }
    if (!fill(int(TergebnisMode::Starten), spielnummer))
        return;
    m_ergebnis.show();
    m_ergebnis.raise();
    m_ergebnis.activateWindow();
}

void ResultDialogModes::spielbeendet(int spielnummer)
{
    if (m_plans.teamClass()) {
        if (team)
            team->spielbeendet(spielnummer);
        return;
    }
    if (!fill(int(TergebnisMode::Beendet), spielnummer))
        return;
    m_ergebnis.show();
    m_ergebnis.raise();
    m_ergebnis.activateWindow();
}

bool ResultDialogModes::nextTicked() const
{
    return m_ergebnis.next->Checked() && (!team || team->nextTicked());
}

bool ResultDialogModes::next1Ticked() const
{
    return m_ergebnis.next1->Checked() && (!team || team->next1Ticked());
}

bool ResultDialogModes::shownClass() const
{
    return m_ergebnis.kid() == m_plans.session().kid;
}

void ResultDialogModes::matchCalled(int spielnummer, const HeldResources& match)
{
    if (!shownClass())
        return;
    m_plans.aufgerufen(spielnummer, MatchResources{match.gruppe, match.sid1, match.sid2, match.platte, match.schiri});
}

void ResultDialogModes::matchStarted(int spielnummer, const std::optional<HeldResources>& takenNow)
{
    if (!shownClass())
        return;
    if (takenNow)
        matchCalled(spielnummer, *takenNow);
    m_plans.gestartet(spielnummer);
}

void ResultDialogModes::rebuildStates()
{
    if (shownClass())
        m_plans.statusladen(m_plans.session().kid);
}

} // namespace bw
