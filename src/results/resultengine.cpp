#include "results/resultengine.h"

#include "data/concurrency.h"
#include "data/matchrecords.h"
#include "data/refereerecords.h"
#include "data/resultrecords.h"
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
    RecordedResult result;
    std::optional<NewReferee> referee;
    AfterCommit afterCommit;
};

// The entry read: its result and its sets.
struct Parsed {
    Ergebnis ergebnis;
    Saetze saetze;
};

// R6: the loser as a referee of the tournament, offered for the class, unless
// one of his surname and first name is there already.
std::optional<NewReferee> loserAsReferee(const QSqlDatabase& db, int tid, const RecordedResult& r)
{
    if (r.verliererSID <= 0)
        return std::nullopt;
    std::optional<RefereeRecord> record = refereeRecordOfPlayer(db, r.verliererSID);
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

// After the commit: R3 the match's resources back to the pools, R6 the new
// referee into them, R7 the slot labels of the match's page and of the
// placement page.
void givePlanBack(ResultPlanLink& plan, const ResultEntry& entry, const Recording& rec, bool resources)
{
    const MatchToRecord& m = rec.match;
    if (resources)
        giveResourcesBack(plan, entry.gruppe, m.sid1, m.sid2, m.anPlatte, m.schiri, m.manuell, rec.plattensystem);
    if (rec.referee && !rec.referee->text.isEmpty()) {
        plan.addToPool(kSchiriPool, rec.referee->text, 0);
        plan.addToPool(kAlleSchiris, rec.referee->text, rec.referee->id);
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

Parsed parse(const ResultEntry& entry)
{
    const std::optional<Ergebnis> ergebnis = readErgebnis(entry.ergebnis);
    if (!ergebnis)
        throw AppError(QStringLiteral("Wählen Sie ein gültiges Satzergebnis"));
    Parsed parsed{*ergebnis, {}};
    for (size_t i = 0; i < parsed.saetze.size(); ++i) {
        const SetEntry set = readSetEntry(entry.saetze[i]);
        if (!set.valid)
            throw AppError(QStringLiteral("Keinen korrekten Wert eingegeben (Satz %1: \"%2\")")
                               .arg(i + 1)
                               .arg(entry.saetze[i]));
        parsed.saetze[i] = set.value;
    }
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
    // R6
    if (entry.verliererAlsSchiri)
        r.referee = loserAsReferee(db, tid, res);
    // R7
    fillWaitingSlots(db, entry.kid, winnerPlaceholder(entry.spielnummer), res.siegerSID, res.sieger);
    fillWaitingSlots(db, entry.kid, loserPlaceholder(entry.spielnummer), res.verliererSID, res.verlierer);
    freilosebearbeiten(db, entry.kid, byeWriter);
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
    const Parsed parsed = parse(entry);
    if (entry.gruppe >= 0 && prepareGroupStep)
        prepareGroupStep(m_db, entry, parsed.ergebnis, parsed.saetze);
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
    givePlanBack(m_plan, entry, rec, true);
    rec.afterCommit.run();
    return RecordOutcome::Recorded;
}

CorrectionOutcome ResultEngine::correctResult(const ResultEntry& entry, const QDateTime& shownEnde,
                                              const std::function<bool()>& confirmCascade)
{
    const Parsed parsed = parse(entry);
    const auto shown = [&](const std::optional<TakeBackRow>& row) {
        return row && row->beendet && (!shownEnde.isValid() || row->spielende == shownEnde);
    };
    if (!shown(readTakeBackRow(m_db, entry.kid, entry.spielnummer)))
        return CorrectionOutcome::Conflict;
    if (entry.gruppe >= 0 && prepareGroupStep)
        prepareGroupStep(m_db, entry, parsed.ergebnis, parsed.saetze);
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
            TakeBack takeBack(m_db, entry.kid);
            takeBack.db_zuruecksetzen(entry.spielnummer);
            freilosebearbeiten(m_db, entry.kid, byeWriter);
            Recording r;
            storeAndSendOn(m_db, m_tid, groupStep, r, entry, parsed, spielende, ResultOver::TakenBack, byeWriter);
            inPlace = fedEntrants(m_db, entry.kid, entry.spielnummer, row->gruppe, row->phase) == before;
            affected = takeBack.affected();
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
                TakeBack takeBack(m_db, entry.kid);
                takeBack.db_zuruecksetzen(entry.spielnummer);
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
    givePlanBack(m_plan, entry, rec, false);
    rec.afterCommit.run();
    return CorrectionOutcome::Corrected;
}

bool spielBeendet(ResultEngine& engine, ResultPlanLink& plan, Prompter& prompter, const ResultEntry& entry,
                  bool next, const std::function<void()>& close)
{
    RecordOutcome outcome = RecordOutcome::Conflict;
    if (!runGuarded(prompter, [&] { outcome = engine.recordResult(entry); }))
        return false;
    if (outcome == RecordOutcome::Conflict) {
        prompter.error(resultConflictMessage());
        close();
        plan.rebuildStates(entry.kid);
        plan.redraw(entry.kid);
        return false;
    }
    plan.rebuildStates(entry.kid);
    close();
    if (next)
        plan.offerNextMatches(entry.kid, engine.lastRecorded().phase);
    return true;
}

bool korrigieren(ResultEngine& engine, ResultPlanLink& plan, Prompter& prompter, const ResultEntry& entry,
                 const QDateTime& spielende, bool next, const std::function<void()>& close)
{
    CorrectionOutcome outcome = CorrectionOutcome::Conflict;
    const auto confirm = [&] {
        return prompter.prompt(PromptKind::Warning, kMehrereSpiele, PromptButtons::OkCancel) == PromptAnswer::Ok;
    };
    if (!runGuarded(prompter, [&] { outcome = engine.correctResult(entry, spielende, confirm); }))
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

} // namespace bw
