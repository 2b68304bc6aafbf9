#include "plans/teamdialogmodes.h"

#include "controls/uicheckctrls.h"
#include "data/matchdialogrecords.h"
#include "data/matchstaterecords.h"
#include "data/resultrecords.h"
#include "data/teammatchrecords.h"
#include "data/transaction.h"
#include "platform/prompter.h"
#include "plans/tspielplaene.h"
#include "results/resultengine.h"
#include "results/takeback.h"
#include "results/teammatch.h"
#include "results/tergebnis_team.h"

#include <QLabel>

namespace bw {

TeamDialogModes::TeamDialogModes(Tspielplaene& plans, Tergebnis_team& dialog, std::function<QSqlDatabase()> database)
    : m_plans(plans), m_dialog(dialog), m_database(std::move(database))
{
}

bool TeamDialogModes::fill(TergebnisMode mode, int kid, int spielnummer, const QDate& classDay, bool byHand)
{
    const std::optional<MatchDialogRow> row = readMatchDialogRow(db(), kid, spielnummer);
    if (!row)
        return false;
    TeamMatchFill how;
    how.startDay = classDay;
    how.callUp = mode == TergebnisMode::Aufrufen;
    how.withResults = mode == TergebnisMode::Beendet;
    if (how.callUp) {
        // Only what is free now.
        const ResourcePools& pools = m_plans.session().pools;
        how.freeTables = pools.texts(pools.tablePool(row->gruppe));
        how.freeUmpires = pools.texts(QStringLiteral("schiri"));
    }
    const std::optional<TeamMatch> match = loadTeamMatch(db(), kid, spielnummer, how);
    if (!match)
        return false;
    m_kid = kid;
    m_dialog.fillMode(mode, *match, byHand);
    return true;
}

bool TeamDialogModes::fillShown(TergebnisMode mode, int spielnummer, bool byHand)
{
    const PlanSession& session = m_plans.session();
    if (m_otherSetup) {
        // The board showed another class's match last: this class's rows again.
        m_dialog.setResultSetup(loadResultDialogSetup(db(), session.kid, session.klasseninfos));
        m_otherSetup = false;
    }
    return fill(mode, session.kid, spielnummer, session.klasseninfos.atag.date(), byHand);
}

void TeamDialogModes::show(bool focused)
{
    // The dialog leaves the main window and the board enabled.
    m_dialog.show();
    m_dialog.raise();
    if (focused)
        m_dialog.activateWindow();
}

void TeamDialogModes::spielplanen(int spielnummer)
{
    if (fillShown(TergebnisMode::Planen, spielnummer))
        show(false);
}

bool TeamDialogModes::spielaufrufen1(int spielnummer)
{
    if (!fillShown(TergebnisMode::Aufrufen, spielnummer))
        return false;
    return m_dialog.exec() == QDialog::Accepted;
}

bool TeamDialogModes::spielmanuellstarten(int spielnummer)
{
    const std::vector<TeamGameRow> games = readTeamGames(db(), m_plans.session().kid, spielnummer);
    const std::optional<MatchStateRow> row = readMatchStateRow(db(), m_plans.session().kid, spielnummer);
    if (games.empty() || games.front().mid1 <= 0 || games.front().mid2 <= 0 || !row || !row->sidesDecided()) {
        m_dialog.prompter().error(kNichtStartbar);
        return false;
    }
    if (!fillShown(TergebnisMode::Aufrufen, spielnummer, true))
        return false;
    return m_dialog.exec() == QDialog::Accepted;
}

void TeamDialogModes::spielaufgerufen(int spielnummer)
{
    if (fillShown(TergebnisMode::Aufgerufen, spielnummer))
        show(false);
}

void TeamDialogModes::setPlatteHint(const QString& hint)
{
    m_dialog.platte->setToolTip(hint);
}

void TeamDialogModes::spielstarten(int spielnummer)
{
    if (fillShown(TergebnisMode::Starten, spielnummer))
        show(true);
}

void TeamDialogModes::spielbeendet(int spielnummer)
{
    if (fillShown(TergebnisMode::Beendet, spielnummer))
        show(true);
}

bool TeamDialogModes::nextTicked() const
{
    return m_dialog.next->Checked();
}

bool TeamDialogModes::next1Ticked() const
{
    return m_dialog.next1->Checked();
}

void TeamDialogModes::bearbeiten(int kid, int spielnummer, const QDate& firstDay)
{
    const gruppeninfos infos = loadKlasseninfos(db(), kid, firstDay);
    const std::optional<MatchDialogRow> row = readMatchDialogRow(db(), kid, spielnummer);
    if (!row) {
        m_dialog.prompter().warning(kMatchChanged);
        return;
    }
    static const TergebnisMode modes[] = {TergebnisMode::Planen, TergebnisMode::Aufgerufen, TergebnisMode::Starten,
                                          TergebnisMode::Beendet};
    m_dialog.setResultSetup(loadResultDialogSetup(db(), kid, infos));
    m_otherSetup = kid != m_plans.session().kid;
    m_dialog.platte->setToolTip(QString());
    if (fill(modes[int(row->state())], kid, spielnummer, infos.atag.date()))
        show(true);
}

void TeamDialogModes::spielZuruecksetzen(int spielnummer, MatchStage shown)
{
    const int kid = m_plans.session().kid;
    Prompter& prompter = m_dialog.prompter();
    TakeBackOutcome outcome = TakeBackOutcome::Done;
    try {
        switch (shown) {
        case MatchStage::Open:
            prompter.information(kNichtWeiterZurueck);
            break;
        case MatchStage::Called: {
            TakeBackRow before;
            std::vector<TeamGameRow> games;
            outcome = inTransaction(db(), [&] {
                const TakeBackOutcome done = zuruecksetzenAufgerufen(db(), kid, spielnummer, &before);
                if (done == TakeBackOutcome::Done) {
                    games = readTeamGames(db(), kid, spielnummer);
                    setTeamGamesBack(db(), kid, spielnummer, false);
                }
                return done;
            });
            if (outcome != TakeBackOutcome::Done)
                break;
            // Both teams, and each game's table when it is one of the class's
            // and its umpire when he is one of the class's.
            const int plattensystem = readPlattensystem(db(), kid, before.gruppe);
            const int mid1 = before.sides[0].id, mid2 = before.sides[1].id;
            giveResourcesBack(m_plans, before.gruppe, mid1, mid2, {}, {}, false, plattensystem);
            for (const TeamGameRow& game : games) {
                const QString tisch = plattencheck(db(), kid, game.geplanterTisch) ? game.geplanterTisch : QString();
                giveResourcesBack(m_plans, before.gruppe, mid1, mid2, tisch, game.schiri, false, plattensystem);
            }
            break;
        }
        case MatchStage::Running:
            outcome = inTransaction(db(), [&] {
                const TakeBackOutcome done = zuruecksetzenLaufend(db(), kid, spielnummer);
                if (done == TakeBackOutcome::Done)
                    setTeamGamesBack(db(), kid, spielnummer, true);
                return done;
            });
            break;
        case MatchStage::Finished:
            // The result engine takes a team result back with its games, and
            // rebuilds and redraws the plan itself.
            bw::spielZuruecksetzen(db(), prompter, m_plans, kid, spielnummer, MatchStage::Finished);
            return;
        }
    } catch (...) {
        // The plan shows the database as it is; a failure of that rebuild must
        // not hide the first one.
        try {
            m_plans.statusladen(kid);
        } catch (...) {
        }
        throw;
    }
    if (outcome == TakeBackOutcome::Conflict)
        prompter.error(resultConflictMessage());
    m_plans.statusladen(kid);
}

bool TeamDialogModes::shownClass() const
{
    return m_kid == m_plans.session().kid && m_plans.teamClass();
}

void TeamDialogModes::matchCalled(int spielnummer, const HeldTeamResources& held)
{
    if (!shownClass() || held.tische.isEmpty())
        return;
    // Every game's table and umpire leave the pools, each once.
    ResourcePools& pools = m_plans.session().pools;
    for (qsizetype g = 1; g < held.tische.size(); ++g)
        pools.takeCallUp({held.gruppe, held.mid1, held.mid2, held.tische[g], held.schiris.value(g)});
    m_plans.aufgerufen(spielnummer, {held.gruppe, held.mid1, held.mid2, held.tische[0], held.schiris.value(0)});
}

void TeamDialogModes::matchStarted(int spielnummer)
{
    if (shownClass())
        m_plans.gestartet(spielnummer);
}

void TeamDialogModes::rebuildStates()
{
    if (shownClass())
        m_plans.statusladen(m_plans.session().kid);
}

} // namespace bw
