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

#include <optional>

namespace bw {

namespace {

const QString kSchiriPool = QStringLiteral("schiri");
const QString kAlleSchiris = QStringLiteral("alleschiris");
const QString kAllePlatten = QStringLiteral("alleplatten");
const QString kAlleSpieler = QStringLiteral("allespieler");

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

// The resources of a match as the pools take them back.
bool isGroupTablePool(const QString& name)
{
    static const QString prefix = QStringLiteral("platte");
    if (!name.startsWith(prefix) || name.size() == prefix.size())
        return false;
    bool number = false;
    name.mid(prefix.size()).toInt(&number);
    return number;
}

// After the commit: R3 the match's resources back to the pools, R6 the new
// referee into them, R7 the slot labels of the match's page and of the
// placement page.
void givePlanBack(ResultPlanLink& plan, const ResultEntry& entry, const Recording& rec)
{
    const MatchToRecord& m = rec.match;
    const QString gruppe = QString::number(entry.gruppe);
    // The umpire the match was called with, when he is one of the class's: a
    // name typed into the dialog is no umpire of the pools.
    if (!m.schiri.isEmpty() && plan.poolTexts(kAlleSchiris).contains(m.schiri))
        plan.addToPool(kSchiriPool, m.schiri, 0);
    const QString groupPlayers = QStringLiteral("sliste") + gruppe;
    const QString players = plan.hasPool(groupPlayers) ? groupPlayers : kAlleSpieler;
    for (int sid : {m.sid1, m.sid2}) {
        if (sid > 0)
            plan.addToPool(players, QString::number(sid), 0);
    }
    // A table typed by hand is no table of the pools; no table, nothing.
    if (!m.manuell && !m.anPlatte.isEmpty()) {
        if (rec.plattensystem == 1) {
            const QString groupTables = QStringLiteral("platte") + gruppe;
            if (plan.hasPool(groupTables))
                plan.addToPool(groupTables, m.anPlatte, 0);
            else if (plan.hasPool(kAllePlatten))
                plan.addToPool(kAllePlatten, m.anPlatte, 0);
        } else {
            for (const QString& name : plan.poolNames()) {
                if (isGroupTablePool(name))
                    plan.addToPool(name, m.anPlatte, 0);
            }
            if (plan.hasPool(kAllePlatten))
                plan.addToPool(kAllePlatten, m.anPlatte, 0);
        }
    }
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

RecordOutcome ResultEngine::recordResult(const ResultEntry& entry)
{
    const std::optional<Ergebnis> ergebnis = readErgebnis(entry.ergebnis);
    if (!ergebnis)
        throw AppError(QStringLiteral("Wählen Sie ein gültiges Satzergebnis"));
    Saetze saetze;
    for (size_t i = 0; i < saetze.size(); ++i) {
        const SetEntry set = readSetEntry(entry.saetze[i]);
        if (!set.valid)
            throw AppError(QStringLiteral("Keinen korrekten Wert eingegeben (Satz %1: \"%2\")")
                               .arg(i + 1)
                               .arg(entry.saetze[i]));
        saetze[i] = set.value;
    }
    if (entry.gruppe >= 0 && prepareGroupStep)
        prepareGroupStep(m_db, entry, *ergebnis, saetze);
    const QDateTime spielende = m_clock.now();

    Recording rec;
    try {
        MatchSlotWriter byeWriter(m_db, entry.kid); // prepared before the transaction it writes in
        rec = inTransaction(m_db, [&] {
            Recording r;
            lockClassMatches(m_db, entry.kid);
            // R1
            const std::optional<MatchToRecord> match = readMatchToRecord(m_db, entry.kid, entry.spielnummer);
            if (!match || match->beendet || !match->begonnen)
                return r;
            r.match = *match;
            // R2
            r.plattensystem = readPlattensystem(m_db, entry.kid, entry.gruppe);
            // R5
            RecordedResult& res = r.result;
            res.tid = m_tid;
            res.kid = entry.kid;
            res.spielnummer = entry.spielnummer;
            res.gruppe = entry.gruppe;
            res.phase = match->phase;
            res.ergebnis = *ergebnis;
            res.saetze = saetze;
            const bool side1Won = ergebnis->sieger() == 1;
            res.siegerSID = side1Won ? match->sid1 : match->sid2;
            res.sieger = side1Won ? match->spieler1 : match->spieler2;
            res.verliererSID = side1Won ? match->sid2 : match->sid1;
            res.verlierer = side1Won ? match->spieler2 : match->spieler1;
            // R4
            MatchResultRow row;
            row.spielende = spielende;
            row.saetze = saetze;
            row.ergebnis = entry.ergebnis;
            row.siegerSID = res.siegerSID;
            row.verliererSID = res.verliererSID;
            if (!storeMatchResult(m_db, entry.kid, entry.spielnummer, row))
                return r;
            r.stored = true;
            // R6
            if (entry.verliererAlsSchiri)
                r.referee = loserAsReferee(m_db, m_tid, res);
            // R7
            fillWaitingSlots(m_db, entry.kid, winnerPlaceholder(entry.spielnummer), res.siegerSID, res.sieger);
            fillWaitingSlots(m_db, entry.kid, loserPlaceholder(entry.spielnummer), res.verliererSID, res.verlierer);
            freilosebearbeiten(m_db, entry.kid, byeWriter);
            // R8
            if (entry.gruppe >= 0 && groupStep)
                groupStep(m_db, res, r.afterCommit);
            return r;
        });
    } catch (...) {
        // Nothing was stored; the plan shows the database as it is. A failure
        // of that rebuild (the server gone) must not hide the first one.
        try {
            m_plan.rebuildStates(entry.kid);
        } catch (...) {
        }
        throw;
    }
    if (!rec.stored)
        return RecordOutcome::Conflict;
    m_last = rec.result;
    givePlanBack(m_plan, entry, rec);
    rec.afterCommit.run();
    return RecordOutcome::Recorded;
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

} // namespace bw
