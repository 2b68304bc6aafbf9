#include "results/resultengine.h"

#include "data/classrecords.h"
#include "data/concurrency.h"
#include "data/matchrecords.h"
#include "data/refereerecords.h"
#include "data/resultrecords.h"
#include "data/teamrecords.h"
#include "data/transaction.h"
#include "draw/byes.h"
#include "platform/apperror.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "results/takeback.h"

#include <QSet>
#include <algorithm>

#include <optional>

namespace bw {

namespace {

const QString kSchiriPool = QStringLiteral("schiri");
const QString kAlleSchiris = QStringLiteral("alleschiris");

// A referee made of the loser, for the pools.
struct NewReferee {
    int id = 0;
    QString text; // "surname, first name"
};

// What one attempt of the transaction decided, applied to the plan after the
// commit.
struct Recording {
    bool stored = false;
    MatchToRecord match;
    int plattensystem = 0;
    QStringList classTables; // of a team match: the class's tables
    RecordedResult result;
    std::vector<NewReferee> referees;
    AfterCommit afterCommit;
};

// The entry read: its result and its sets, of a team match the games.
struct Parsed {
    Ergebnis ergebnis;
    Saetze saetze;
    bool team = false;
    QList<GameScore> spiele;
};

// R6: a player of the losing side as a referee of the tournament, offered for
// the class, unless one of his surname and first name is there already.
std::optional<NewReferee> playerAsReferee(const QSqlDatabase& db, int tid, const RecordedResult& r, int sid)
{
    if (sid <= 0)
        return std::nullopt;
    std::optional<RefereeRecord> record = refereeRecordOfPlayer(db, sid);
    if (!record)
        return std::nullopt;
    lockTable(db, QStringLiteral("Schiri")); // the name check holds until the insert
    if (refereeNamed(db, tid, record->snname, record->svname))
        return std::nullopt;
    record->smemo = QStringLiteral("Verlierer aus Spiel ") + QString::number(r.spielnummer);
    const int id = insertReferee(db, tid, *record, {r.kid});
    if (record->snname.isEmpty())
        return NewReferee{id, {}};
    return NewReferee{id, record->snname + QStringLiteral(", ") + record->svname};
}

// The players of the losing side: the loser, or the players and reserves of
// the losing team (s1..s4, r1, r2) in this order.
QList<int> losingPlayers(const QSqlDatabase& db, const RecordedResult& r, bool team)
{
    if (!team)
        return {r.verliererSID};
    QList<int> players;
    if (r.verliererSID <= 0)
        return players;
    if (const std::optional<TeamRow> row = readTeam(db, r.verliererSID)) {
        for (qsizetype i = 0; i < 6 && i < row->slotColumns.size(); ++i)
            players.append(row->slotColumns[i].isNull() ? 0 : row->slotColumns[i].toInt());
    }
    return players;
}

// After the commit: R3 the match's resources back to the pools (of a team
// match the entrants, and the table and umpire of every game: a table only
// when it is one of the class's), R6 the new referees into them, R7 the slot
// labels of the match's page and of the placement page.
void givePlanBack(ResultPlanLink& plan, const ResultEntry& entry, const QList<GameEntry>* games,
                  const Recording& rec, bool resources)
{
    const MatchToRecord& m = rec.match;
    if (resources && !games)
        giveResourcesBack(plan, entry.gruppe, m.sid1, m.sid2, m.anPlatte, m.schiri, m.manuell, rec.plattensystem);
    if (resources && games) {
        giveResourcesBack(plan, entry.gruppe, m.sid1, m.sid2, {}, {}, false, rec.plattensystem);
        for (const GameEntry& game : *games) {
            const bool classTable = rec.classTables.contains(game.platte);
            giveResourcesBack(plan, entry.gruppe, -1, -1, game.platte, game.schiri, !classTable, rec.plattensystem);
        }
    }
    for (const NewReferee& referee : rec.referees) {
        if (referee.text.isEmpty())
            continue;
        plan.addToPool(kSchiriPool, referee.text, 0);
        plan.addToPool(kAlleSchiris, referee.text, referee.id);
    }
    const RecordedResult& r = rec.result;
    const struct {
        QString placeholder;
        QString name;
        int id;
    } sent[] = {{winnerPlaceholder(r.spielnummer), r.sieger, r.siegerSID},
                 {loserPlaceholder(r.spielnummer), r.verlierer, r.verliererSID}};
    for (const auto& slot : sent) {
        plan.relabelSlots(r.phase, slot.placeholder, slot.name, slot.id);
        if (r.phase != 4)
            plan.relabelSlots(4, slot.placeholder, slot.name, slot.id);
    }
}

} // namespace

QString resultConflictMessage()
{
    return QStringLiteral("Das Spiel wurde inzwischen an einem anderen Arbeitsplatz geändert.");
}

ResultEngine::ResultEngine(const QSqlDatabase& db, int tid, const Clock& clock, ResultPlanLink& plan)
    : m_db(db), m_tid(tid), m_clock(clock), m_plan(plan)
{
}

namespace {

// The set entries as stored; AppError for one that is no set score.
Saetze readSetEntries(const std::array<QString, 9>& texts, const QString& where)
{
    Saetze saetze;
    for (size_t i = 0; i < saetze.size(); ++i) {
        const SetEntry set = readSetEntry(texts[i]);
        if (!set.valid)
            throw AppError(QStringLiteral("Keinen korrekten Wert eingegeben (%1Satz %2: \"%3\")")
                               .arg(where)
                               .arg(i + 1)
                               .arg(texts[i]));
        saetze[i] = set.value;
    }
    return saetze;
}

// The games of a team entry as they will be stored; AppError for a game that
// is shown twice or is no game, a result that is no result or a set entry
// that is no set score.
QList<GameScore> readGames(const QList<GameEntry>& games)
{
    QList<GameScore> scores;
    for (const GameEntry& game : games) {
        const bool known = std::any_of(scores.begin(), scores.end(),
                                       [&](const GameScore& g) { return g.nummer == game.nummer; });
        if (game.nummer < 1 || game.nummer > 9 || known)
            throw AppError(QStringLiteral("Das Spiel %1 gibt es nicht.").arg(game.nummer));
        const QString ergebnis = game.ergebnis.trimmed();
        const std::optional<Ergebnis> result = readErgebnis(ergebnis);
        if (!ergebnis.isEmpty() && !result)
            throw AppError(QStringLiteral("Wählen Sie ein gültiges Satzergebnis (Spiel %1)").arg(game.nummer));
        GameScore score;
        score.nummer = game.nummer;
        score.ergebnis = ergebnis;
        score.saetze = readSetEntries(game.saetze, QStringLiteral("Spiel %1, ").arg(game.nummer));
        const bool setsEntered = std::any_of(score.saetze.begin(), score.saetze.end(),
                                             [](const Satzwert& v) { return v.has_value(); });
        if (!result && setsEntered)
            throw AppError(QStringLiteral("Spiel %1: Sätze sind eingetragen, aber kein Ergebnis gewählt.")
                               .arg(game.nummer));
        if (result) {
            if (const std::optional<QString> wrong = setsDisagreement(score.saetze, *result))
                throw AppError(QStringLiteral("Spiel %1: ").arg(game.nummer) + *wrong);
        }
        scores.append(score);
    }
    return scores;
}

// The entry read; of a team match (`games` given) the games, the match row
// keeping no sets.
Parsed parse(const ResultEntry& entry, const QList<GameEntry>* games)
{
    const std::optional<Ergebnis> ergebnis = readErgebnis(entry.ergebnis);
    if (!ergebnis)
        throw AppError(games ? QStringLiteral("Wählen Sie ein gültiges Spielergebnis")
                             : QStringLiteral("Wählen Sie ein gültiges Satzergebnis"));
    if (games) {
        Parsed parsed{*ergebnis, {}, true, readGames(*games)};
        QList<Ergebnis> won;
        for (const GameScore& game : parsed.spiele) {
            if (const std::optional<Ergebnis> result = readErgebnis(game.ergebnis))
                won.append(*result);
        }
        if (const std::optional<QString> wrong = gamesDisagreement(won, *ergebnis))
            throw AppError(*wrong);
        return parsed;
    }
    Parsed parsed{*ergebnis, readSetEntries(entry.saetze, {}), false, {}};
    if (const std::optional<QString> wrong = setsDisagreement(parsed.saetze, *ergebnis))
        throw AppError(*wrong);
    return parsed;
}

// R1 to R8 in the caller's transaction, the result written over the state
// `over`; false (nothing written) when the match is not in it.
bool storeAndSendOn(const QSqlDatabase& db, int tid, const GroupResultStep& groupStep, Recording& r,
                    const ResultEntry& entry, const Parsed& parsed, const QDateTime& spielende, ResultOver over,
                    MatchSlotWriter& byeWriter)
{
    // R1
    const std::optional<MatchToRecord> match = readMatchToRecord(db, entry.kid, entry.spielnummer);
    if (!match)
        return false;
    r.match = *match;
    // R2
    r.plattensystem = readPlattensystem(db, entry.kid, entry.gruppe);
    if (parsed.team)
        r.classTables = readTableNames(db, entry.kid);
    // R5
    RecordedResult& res = r.result;
    res.tid = tid;
    res.kid = entry.kid;
    res.spielnummer = entry.spielnummer;
    res.gruppe = entry.gruppe;
    res.phase = match->phase;
    res.ergebnis = parsed.ergebnis;
    res.saetze = parsed.saetze;
    const bool side1Won = parsed.ergebnis.sieger() == 1;
    res.siegerSID = side1Won ? match->sid1 : match->sid2;
    res.sieger = side1Won ? match->spieler1 : match->spieler2;
    res.verliererSID = side1Won ? match->sid2 : match->sid1;
    res.verlierer = side1Won ? match->spieler2 : match->spieler1;
    // R4
    MatchResultRow row;
    row.spielende = spielende;
    row.saetze = parsed.saetze;
    row.ergebnis = entry.ergebnis;
    row.siegerSID = res.siegerSID;
    row.verliererSID = res.verliererSID;
    if (!storeMatchResult(db, entry.kid, entry.spielnummer, row, over))
        return false;
    r.stored = true;
    for (const GameScore& game : parsed.spiele)
        storeGameResult(db, entry.kid, entry.spielnummer, game.nummer, game.saetze, game.ergebnis);
    // R6
    if (entry.verliererAlsSchiri) {
        for (const int sid : losingPlayers(db, res, parsed.team)) {
            if (std::optional<NewReferee> referee = playerAsReferee(db, tid, res, sid))
                r.referees.push_back(*referee);
        }
    }
    // R7
    const struct {
        QString placeholder;
        int id;
        QString name;
    } sent[] = {{winnerPlaceholder(entry.spielnummer), res.siegerSID, res.sieger},
                {loserPlaceholder(entry.spielnummer), res.verliererSID, res.verlierer}};
    for (const auto& slot : sent)
        fillWaitingSlots(db, entry.kid, slot.placeholder, slot.id, slot.name);
    if (parsed.team) {
        // Byes of a team class are settled when its plan is drawn next.
        for (const auto& slot : sent)
            fillWaitingGameSlots(db, entry.kid, slot.placeholder, slot.id, slot.name);
    } else {
        freilosebearbeiten(db, entry.kid, byeWriter);
    }
    // R8
    if (entry.gruppe >= 0 && groupStep)
        groupStep(db, res, r.afterCommit);
    return true;
}

void rebuildAfterFailure(ResultPlanLink& plan, int kid)
{
    // Nothing was stored; the plan shows the database as it is. A failure of
    // that rebuild (the server gone) must not hide the first one.
    try {
        plan.rebuildStates(kid);
    } catch (...) {
    }
}

} // namespace

RecordOutcome ResultEngine::recordResult(const ResultEntry& entry)
{
    return record(entry, nullptr);
}

RecordOutcome ResultEngine::recordTeamResult(const TeamResultEntry& entry)
{
    return record(entry.match, &entry.spiele);
}

RecordOutcome ResultEngine::record(const ResultEntry& entry, const QList<GameEntry>* games)
{
    const Parsed parsed = parse(entry, games);
    if (entry.gruppe >= 0 && prepareGroupStep)
        prepareGroupStep(m_db, entry, parsed.ergebnis, parsed.saetze, parsed.spiele);
    const QDateTime spielende = m_clock.now();

    Recording rec;
    try {
        MatchSlotWriter byeWriter(m_db, entry.kid); // prepared before the transaction it writes in
        rec = inTransaction(m_db, [&] {
            Recording r;
            lockClassMatches(m_db, entry.kid);
            storeAndSendOn(m_db, m_tid, groupStep, r, entry, parsed, spielende, ResultOver::Running, byeWriter);
            return r;
        });
    } catch (...) {
        rebuildAfterFailure(m_plan, entry.kid);
        throw;
    }
    if (!rec.stored)
        return RecordOutcome::Conflict;
    m_last = rec.result;
    givePlanBack(m_plan, entry, games, rec, true);
    rec.afterCommit.run();
    return RecordOutcome::Recorded;
}

CorrectionOutcome ResultEngine::correctResult(const ResultEntry& entry, const QDateTime& shownEnde,
                                              const std::function<bool()>& confirmCascade)
{
    return correct(entry, nullptr, shownEnde, confirmCascade);
}

CorrectionOutcome ResultEngine::correctTeamResult(const TeamResultEntry& entry, const QDateTime& shownEnde,
                                                  const std::function<bool()>& confirmCascade)
{
    return correct(entry.match, &entry.spiele, shownEnde, confirmCascade);
}

CorrectionOutcome ResultEngine::correct(const ResultEntry& entry, const QList<GameEntry>* games,
                                        const QDateTime& shownEnde, const std::function<bool()>& confirmCascade)
{
    const Parsed parsed = parse(entry, games);
    const auto shown = [&](const std::optional<TakeBackRow>& row) {
        return row && row->beendet && (!shownEnde.isValid() || row->spielende == shownEnde);
    };
    if (!shown(readTakeBackRow(m_db, entry.kid, entry.spielnummer)))
        return CorrectionOutcome::Conflict;
    if (entry.gruppe >= 0 && prepareGroupStep)
        prepareGroupStep(m_db, entry, parsed.ergebnis, parsed.saetze, parsed.spiele);
    const QDateTime spielende = m_clock.now();

    Recording rec;
    try {
        MatchSlotWriter byeWriter(m_db, entry.kid); // prepared before the transactions it writes in
        // Worked out once and rolled back: whether the correction sends
        // another entrant anywhere, and which matches the take-back sets back.
        bool inPlace = true;
        QList<TakeBackRow> affected;
        {
            Transaction trial(m_db);
            lockClassMatches(m_db, entry.kid);
            const std::optional<TakeBackRow> row = readTakeBackRow(m_db, entry.kid, entry.spielnummer);
            if (!shown(row))
                return CorrectionOutcome::Conflict;
            const QList<int> before = fedEntrants(m_db, entry.kid, entry.spielnummer, row->gruppe, row->phase);
            const std::unique_ptr<TakeBack> takeBack = takeBackFor(m_db, entry.kid);
            takeBack->db_zuruecksetzen(entry.spielnummer);
            freilosebearbeiten(m_db, entry.kid, byeWriter);
            Recording r;
            storeAndSendOn(m_db, m_tid, groupStep, r, entry, parsed, spielende, ResultOver::TakenBack, byeWriter);
            inPlace = fedEntrants(m_db, entry.kid, entry.spielnummer, row->gruppe, row->phase) == before;
            affected = takeBack->affected();
            trial.rollback();
        }
        const bool played = std::any_of(affected.begin(), affected.end(),
                                        [](const TakeBackRow& m) { return m.stage() != MatchStage::Open; });
        if (!inPlace && played && !(confirmCascade && confirmCascade()))
            return CorrectionOutcome::Cancelled;
        rec = inTransaction(m_db, [&] {
            Recording r;
            lockClassMatches(m_db, entry.kid);
            if (!shown(readTakeBackRow(m_db, entry.kid, entry.spielnummer)))
                return r;
            if (inPlace) {
                storeAndSendOn(m_db, m_tid, groupStep, r, entry, parsed, spielende, ResultOver::Finished, byeWriter);
            } else {
                takeBackFor(m_db, entry.kid)->db_zuruecksetzen(entry.spielnummer);
                freilosebearbeiten(m_db, entry.kid, byeWriter);
                storeAndSendOn(m_db, m_tid, groupStep, r, entry, parsed, spielende, ResultOver::TakenBack, byeWriter);
            }
            return r;
        });
        m_lastInPlace = inPlace;
    } catch (...) {
        rebuildAfterFailure(m_plan, entry.kid);
        throw;
    }
    if (!rec.stored)
        return CorrectionOutcome::Conflict;
    m_last = rec.result;
    // The match's resources went back when it was first recorded.
    givePlanBack(m_plan, entry, games, rec, false);
    rec.afterCommit.run();
    return CorrectionOutcome::Corrected;
}

namespace {

bool finish(ResultEngine& engine, ResultPlanLink& plan, Prompter& prompter, int kid, bool next,
            const std::function<void()>& close, const std::function<RecordOutcome()>& record)
{
    RecordOutcome outcome = RecordOutcome::Conflict;
    if (!runGuarded(prompter, [&] { outcome = record(); }))
        return false;
    if (outcome == RecordOutcome::Conflict) {
        prompter.error(resultConflictMessage());
        close();
        plan.rebuildStates(kid);
        plan.redraw(kid);
        return false;
    }
    plan.rebuildStates(kid);
    close();
    if (next)
        plan.offerNextMatches(kid, engine.lastRecorded().phase);
    return true;
}

} // namespace

bool spielBeendet(ResultEngine& engine, ResultPlanLink& plan, Prompter& prompter, const ResultEntry& entry,
                  bool next, const std::function<void()>& close)
{
    return finish(engine, plan, prompter, entry.kid, next, close, [&] { return engine.recordResult(entry); });
}

bool spielBeendet(ResultEngine& engine, ResultPlanLink& plan, Prompter& prompter, const TeamResultEntry& entry,
                  bool next, const std::function<void()>& close)
{
    return finish(engine, plan, prompter, entry.match.kid, next, close,
                  [&] { return engine.recordTeamResult(entry); });
}

namespace {

bool finishCorrection(ResultEngine& engine, ResultPlanLink& plan, Prompter& prompter, const ResultEntry& entry,
                      bool next, const std::function<void()>& close,
                      const std::function<CorrectionOutcome(const std::function<bool()>&)>& correct)
{
    CorrectionOutcome outcome = CorrectionOutcome::Conflict;
    const auto confirm = [&] {
        return prompter.prompt(PromptKind::Warning, kMehrereSpiele, PromptButtons::OkCancel) == PromptAnswer::Ok;
    };
    if (!runGuarded(prompter, [&] { outcome = correct(confirm); }))
        return false;
    switch (outcome) {
    case CorrectionOutcome::Cancelled:
        return false;
    case CorrectionOutcome::Conflict:
        prompter.error(resultConflictMessage());
        close();
        plan.rebuildStates(entry.kid);
        plan.redraw(entry.kid);
        return false;
    case CorrectionOutcome::Corrected:
        break;
    }
    plan.rebuildStates(entry.kid);
    close();
    plan.redraw(entry.kid);
    if (next)
        plan.offerNextMatches(entry.kid, engine.lastRecorded().phase);
    return true;
}

} // namespace

bool korrigieren(ResultEngine& engine, ResultPlanLink& plan, Prompter& prompter, const ResultEntry& entry,
                 const QDateTime& spielende, bool next, const std::function<void()>& close)
{
    return finishCorrection(engine, plan, prompter, entry, next, close, [&](const std::function<bool()>& confirm) {
        return engine.correctResult(entry, spielende, confirm);
    });
}

bool korrigieren(ResultEngine& engine, ResultPlanLink& plan, Prompter& prompter, const TeamResultEntry& entry,
                 const QDateTime& spielende, bool next, const std::function<void()>& close)
{
    return finishCorrection(engine, plan, prompter, entry.match, next, close,
                            [&](const std::function<bool()>& confirm) {
                                return engine.correctTeamResult(entry, spielende, confirm);
                            });
}

} // namespace bw
