#include "results/takeback.h"

#include "data/groupsettings.h"
#include "data/planrecords.h"
#include "data/resultrecords.h"
#include "data/standingsrecords.h"
#include "data/transaction.h"
#include "draw/byes.h"
#include "draw/drawmodel.h"
#include "platform/prompter.h"
#include "results/resultengine.h"
#include "results/resultplanlink.h"
#include "results/standings.h"

namespace bw {

namespace {

StandingsCounters minus(const StandingsCounters& a, const StandingsCounters& b)
{
    StandingsCounters c;
    c.spielanzahl = a.spielanzahl - b.spielanzahl;
    c.matchegewonnen = a.matchegewonnen - b.matchegewonnen;
    c.matcheverloren = a.matcheverloren - b.matcheverloren;
    c.spielegewonnen = a.spielegewonnen - b.spielegewonnen;
    c.spieleverloren = a.spieleverloren - b.spieleverloren;
    c.saetzegewonnen = a.saetzegewonnen - b.saetzegewonnen;
    c.saetzeverloren = a.saetzeverloren - b.saetzeverloren;
    c.punktegewonnen = a.punktegewonnen - b.punktegewonnen;
    c.punkteverloren = a.punkteverloren - b.punkteverloren;
    return c;
}

// The placeholder a slot fed by match `source` had before the source sent its
// winner or loser: told by the entrant it holds, else by the slot's link.
QString matchPlaceholder(const TakeBackRow& source, const MatchSide& slot, bool parentsieger)
{
    const bool decided = source.siegerSID != source.verliererSID;
    if (decided && slot.id == source.siegerSID)
        return winnerPlaceholder(source.spielnummer);
    if (decided && slot.id == source.verliererSID)
        return loserPlaceholder(source.spielnummer);
    return parentsieger ? winnerPlaceholder(source.spielnummer) : loserPlaceholder(source.spielnummer);
}

} // namespace

QString groupPlacePlaceholder(int gid, int pos, int phase)
{
    if (phase == 4 && pos == 3)
        return QStringLiteral("Vierter Gruppe ") + groupLetter(gid);
    return qualifierText(pos + 1, gid);
}

TakeBack::TakeBack(const QSqlDatabase& db, int kid) : m_db(db), m_kid(kid) {}

void TakeBack::db_zuruecksetzen(int spielnummer)
{
    if (const std::optional<TakeBackRow> match = readTakeBackRow(m_db, m_kid, spielnummer))
        takeBackMatch(*match);
}

void TakeBack::clearResult(const TakeBackRow& match)
{
    clearMatchResult(m_db, m_kid, match.spielnummer);
}

void TakeBack::subtractShare(const TakeBackRow& match)
{
    subtractShareOf(match, false);
}

void TakeBack::subtractShareOf(const TakeBackRow& match, bool team)
{
    std::optional<GroupMatch> played = readGroupMatch(m_db, m_kid, match.spielnummer);
    if (!played || !played->beendet || played->gruppe < 0)
        return;
    if (team)
        played->spiele = readMatchGames(m_db, m_kid, match.spielnummer);
    const QList<StandingsRow> rows = readGroupStandings(m_db, m_kid, played->gruppe);
    for (const int sid : {played->sid1, played->sid2}) {
        if (sid <= leererPlatz)
            continue;
        const StandingsCounters share = team ? teamCountersOf(sid, {*played}) : countersOf(sid, {*played});
        if (share == StandingsCounters{})
            continue;
        for (const StandingsRow& row : rows) {
            if (row.sid == sid)
                writeCounters(m_db, m_kid, played->gruppe, sid, minus(row.counters, share));
        }
    }
}

void TakeBack::resetSide(const TakeBackRow& match, int side, const QString& placeholder)
{
    resetMatchSide(m_db, m_kid, match.spielnummer, side, placeholder);
}

void TeamTakeBack::clearResult(const TakeBackRow& match)
{
    TakeBack::clearResult(match);
    clearGameResults(db(), kid(), match.spielnummer);
}

void TeamTakeBack::subtractShare(const TakeBackRow& match)
{
    subtractShareOf(match, true);
}

void TeamTakeBack::resetSide(const TakeBackRow& match, int side, const QString& placeholder)
{
    TakeBack::resetSide(match, side, placeholder);
    resetGameSides(db(), kid(), match.spielnummer, side, placeholder);
}

std::unique_ptr<TakeBack> takeBackFor(const QSqlDatabase& db, int kid)
{
    if (isTeamClass(db, kid))
        return std::make_unique<TeamTakeBack>(db, kid);
    return std::make_unique<TakeBack>(db, kid);
}

void TakeBack::notePhase(int phase)
{
    if (!m_phaseEnded.contains(phase))
        m_phaseEnded.insert(phase, openMatchesOfPhase(m_db, m_kid, phase).isEmpty());
}

bool TakeBack::phaseWasEnded(int phase)
{
    notePhase(phase);
    return m_phaseEnded.value(phase);
}

void TakeBack::takeBackMatch(const TakeBackRow& match)
{
    if (m_takenBack.contains(match.spielnummer))
        return;
    m_takenBack.insert(match.spielnummer);
    notePhase(match.phase);
    if (match.gruppe >= 0 && match.beendet)
        subtractShare(match);
    clearResult(match);
    rekursiv_zurueck(match);
    if (match.gruppe >= 0) {
        gruppe_rekursiv(match.gruppe);
        if (match.beendet && phaseWasEnded(match.phase))
            bestplatzierte_zurueck(match.phase);
        // The group ranked without the result, so no order it made is left.
        Tabelle_Rechnen(m_db, m_kid, match.gruppe);
    }
}

void TakeBack::resetDependent(const TakeBackRow& match, const std::array<QString, 2>& placeholders)
{
    notePhase(match.phase);
    if (match.stage() != MatchStage::Open && !m_takenBack.contains(match.spielnummer))
        m_affected.append(match);
    if (match.beendet)
        takeBackMatch(match);
    for (int side = 0; side < 2; ++side) {
        if (!placeholders[size_t(side)].isEmpty())
            resetSide(match, side, placeholders[size_t(side)]);
    }
    // What the match passed on as a bye goes with it.
    rekursiv_zurueck(match);
}

void TakeBack::rekursiv_zurueck(const TakeBackRow& source)
{
    if (m_expanded.contains(source.spielnummer))
        return;
    m_expanded.insert(source.spielnummer);
    for (const TakeBackRow& read : readRowsFedByMatch(m_db, m_kid, source.spielnummer)) {
        // Read again: what was set back before may have changed it.
        const std::optional<TakeBackRow> match = readTakeBackRow(m_db, m_kid, read.spielnummer);
        if (!match)
            continue;
        std::array<QString, 2> placeholders;
        bool changed = false;
        for (size_t side = 0; side < 2; ++side) {
            if (match->parentspiel[side] != source.spielnummer)
                continue;
            const QString placeholder = matchPlaceholder(source, match->sides[side], match->parentsieger[side]);
            if (match->sides[side].text == placeholder && match->sides[side].id == leererPlatz)
                continue;
            placeholders[side] = placeholder;
            changed = true;
        }
        if (changed)
            resetDependent(*match, placeholders);
    }
}

void TakeBack::resetFedBy(int parentGID, int phase, const std::function<QString(int, int)>& placeholder)
{
    for (const TakeBackRow& read : readRowsFedByPlace(m_db, m_kid, parentGID, phase)) {
        const std::optional<TakeBackRow> match = readTakeBackRow(m_db, m_kid, read.spielnummer);
        if (!match)
            continue;
        std::array<QString, 2> placeholders;
        bool changed = false;
        for (size_t side = 0; side < 2; ++side) {
            const MatchSide& slot = match->sides[side];
            if (slot.parentGID != parentGID)
                continue;
            const QString text = placeholder(slot.parentpos, match->phase);
            if (slot.text == text && slot.id == leererPlatz)
                continue;
            placeholders[side] = text;
            changed = true;
        }
        if (changed)
            resetDependent(*match, placeholders);
    }
    for (const int pos : readFedPlaces(m_db, m_kid, parentGID, phase))
        resetFedPlaces(m_db, m_kid, parentGID, pos, phase, placeholder(pos, 0));
}

void TakeBack::gruppe_rekursiv(int gid)
{
    if (m_groups.contains(gid))
        return;
    m_groups.insert(gid);
    resetFedBy(gid, 0, [gid](int pos, int slotPhase) { return groupPlacePlaceholder(gid, pos, slotPhase); });
}

void TakeBack::bestplatzierte_zurueck(int phase)
{
    if (m_bestPlaced.contains(phase))
        return;
    m_bestPlaced.insert(phase);
    const std::optional<GroupSettings> settings = readGroupSettings(m_db, m_kid);
    if (!settings || phase < 1 || phase >= kPhaseCount)
        return;
    const std::optional<PhaseSettings>& p = settings->phases[size_t(phase - 1)];
    if (!p || p->bestplazierten < 1)
        return;
    const int place = std::max(0, p->besten) + 1;
    resetFedBy(Bestplatziertenliste, phase + 1,
               [place](int rank, int) { return bestPlacedText(rank + 1, place); });
}

TakeBackOutcome zuruecksetzenAufgerufen(const QSqlDatabase& db, int kid, int spielnummer, TakeBackRow* before)
{
    return inTransaction(db, [&] {
        lockClassMatches(db, kid);
        const std::optional<TakeBackRow> row = readTakeBackRow(db, kid, spielnummer);
        if (!row || row->stage() != MatchStage::Called || !clearCall(db, kid, spielnummer))
            return TakeBackOutcome::Conflict;
        if (before)
            *before = *row;
        return TakeBackOutcome::Done;
    });
}

TakeBackOutcome zuruecksetzenLaufend(const QSqlDatabase& db, int kid, int spielnummer)
{
    return inTransaction(db, [&] {
        lockClassMatches(db, kid);
        return clearStart(db, kid, spielnummer) ? TakeBackOutcome::Done : TakeBackOutcome::Conflict;
    });
}

TakeBackOutcome zuruecksetzenBeendet(const QSqlDatabase& db, int kid, int spielnummer, const QDateTime& spielende,
                                     QList<TakeBackRow>* affected)
{
    MatchSlotWriter byeWriter(db, kid); // prepared before the transaction it writes in
    return inTransaction(db, [&] {
        lockClassMatches(db, kid);
        const std::optional<TakeBackRow> row = readTakeBackRow(db, kid, spielnummer);
        if (!row || !row->beendet || (spielende.isValid() && row->spielende != spielende))
            return TakeBackOutcome::Conflict;
        const std::unique_ptr<TakeBack> takeBack = takeBackFor(db, kid);
        takeBack->db_zuruecksetzen(spielnummer);
        setRunningAgain(db, kid, spielnummer);
        freilosebearbeiten(db, kid, byeWriter);
        if (affected)
            *affected = takeBack->affected();
        return TakeBackOutcome::Done;
    });
}

void giveResourcesBack(ResultPlanLink& plan, int gruppe, int sid1, int sid2, const QString& platte,
                       const QString& schiri, bool manuell, int plattensystem)
{
    static const QString alleplatten = QStringLiteral("alleplatten");
    const QString group = QString::number(gruppe);
    // The umpire the match was called with, when he is one of the class's: a
    // name typed into the dialog is no umpire of the pools.
    if (!schiri.isEmpty() && plan.poolTexts(QStringLiteral("alleschiris")).contains(schiri))
        plan.addToPool(QStringLiteral("schiri"), schiri, 0);
    const QString groupPlayers = QStringLiteral("sliste") + group;
    const QString players = plan.hasPool(groupPlayers) ? groupPlayers : QStringLiteral("allespieler");
    for (const int sid : {sid1, sid2}) {
        if (sid > 0)
            plan.addToPool(players, QString::number(sid), 0);
    }
    // A table typed by hand is no table of the pools; no table, nothing.
    if (manuell || platte.isEmpty())
        return;
    if (plattensystem == 1) {
        const QString groupTables = QStringLiteral("platte") + group;
        if (plan.hasPool(groupTables))
            plan.addToPool(groupTables, platte, 0);
        else if (plan.hasPool(alleplatten))
            plan.addToPool(alleplatten, platte, 0);
        return;
    }
    static const QString prefix = QStringLiteral("platte");
    for (const QString& name : plan.poolNames()) {
        bool number = false;
        if (name.startsWith(prefix) && name.size() > prefix.size())
            name.mid(prefix.size()).toInt(&number);
        if (number)
            plan.addToPool(name, platte, 0);
    }
    if (plan.hasPool(alleplatten))
        plan.addToPool(alleplatten, platte, 0);
}

void spielZuruecksetzen(const QSqlDatabase& db, Prompter& prompter, ResultPlanLink& plan, int kid, int spielnummer,
                        MatchStage shown)
{
    TakeBackOutcome outcome = TakeBackOutcome::Done;
    try {
        switch (shown) {
        case MatchStage::Open:
            prompter.information(kNichtWeiterZurueck);
            break;
        case MatchStage::Called: {
            TakeBackRow before;
            outcome = zuruecksetzenAufgerufen(db, kid, spielnummer, &before);
            if (outcome == TakeBackOutcome::Done)
                giveResourcesBack(plan, before.gruppe, before.sides[0].id, before.sides[1].id, before.anPlatte,
                                  before.schiri, before.manuell, readPlattensystem(db, kid, before.gruppe));
            break;
        }
        case MatchStage::Running:
            outcome = zuruecksetzenLaufend(db, kid, spielnummer);
            break;
        case MatchStage::Finished: {
            const std::optional<TakeBackRow> row = readTakeBackRow(db, kid, spielnummer);
            if (!row || !row->beendet) {
                outcome = TakeBackOutcome::Conflict;
                break;
            }
            if (prompter.prompt(PromptKind::Warning, kMehrereSpiele, PromptButtons::OkCancel) != PromptAnswer::Ok)
                return; // nothing changes, not even the icons
            outcome = zuruecksetzenBeendet(db, kid, spielnummer, row->spielende);
            if (outcome == TakeBackOutcome::Done)
                plan.redraw(kid);
            break;
        }
        }
    } catch (...) {
        // The plan shows the database as it is; a failure of that rebuild must
        // not hide the first one.
        try {
            plan.rebuildStates(kid);
        } catch (...) {
        }
        throw;
    }
    if (outcome == TakeBackOutcome::Conflict)
        prompter.error(resultConflictMessage());
    plan.rebuildStates(kid);
}

} // namespace bw
