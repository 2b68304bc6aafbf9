#include "data/partnerrecords.h"

#include "data/concurrency.h"
#include "data/sql.h"
#include "data/transaction.h"

#include <QHash>
#include <QSqlQuery>

namespace bw {

namespace {

struct PairState {
    bool exists = false;
    std::optional<int> partner;
};

PairState pairState(const QSqlDatabase& db, int sid, int kid)
{
    QSqlQuery q = execute(db, s("SELECT partner_SID FROM Doppelpartner WHERE SID=:sid AND KID=:kid"),
                          {{s("sid"), sid}, {s("kid"), kid}});
    PairState state;
    if (q.next()) {
        state.exists = true;
        if (!q.value(0).isNull())
            state.partner = q.value(0).toInt();
    }
    return state;
}

// Whether the partner has a class entry of his own there.
bool enteredIn(const QSqlDatabase& db, int sid, int kid)
{
    return !scalar(db, s("SELECT SID FROM Spieler_im_turnier WHERE SID=:sid AND KID=:kid"),
                   {{s("sid"), sid}, {s("kid"), kid}})
                .isNull();
}

void insertRow(const QSqlDatabase& db, int kid, int sid, int partner, const QVariant& team)
{
    execute(db, s("INSERT INTO Doppelpartner VALUES (:kid,:sid,:partner,:team)"),
            {{s("kid"), kid},
             {s("sid"), sid},
             {s("partner"), partner > 0 ? QVariant(partner) : QVariant(QMetaType::fromType<int>())},
             {s("team"), team.isNull() ? QVariant(QMetaType::fromType<QString>()) : team}});
}

QVariant teamName(const QSqlDatabase& db, int sid, int kid)
{
    return scalar(db, s("SELECT mannschaft FROM Doppelpartner WHERE SID=:sid AND KID=:kid"),
                  {{s("sid"), sid}, {s("kid"), kid}});
}

void writePartners(const QSqlDatabase& db, int sid, const QList<PartnerLine>& lines,
                   const QSet<std::pair<int, int>>& takeOver)
{
    // The player, each class and each partner are locked before a row names
    // them, so a desk deleting one meanwhile takes the new rows with it.
    if (!lockRow(db, s("Spielerdaten"), sid, RowLock::Share))
        throw StaleRecord::gone(s("Der Spieler"));
    QHash<int, QVariant> teams;
    {
        QSqlQuery q = execute(db, s("SELECT KID,mannschaft FROM Doppelpartner WHERE SID=:sid"), {{s("sid"), sid}});
        while (q.next())
            teams.insert(q.value(0).toInt(), q.value(1));
    }
    execute(db, s("DELETE FROM Doppelpartner WHERE SID=:sid"), {{s("sid"), sid}});
    execute(db, s("UPDATE Doppelpartner SET partner_SID=NULL WHERE partner_SID=:sid"), {{s("sid"), sid}});

    QSet<int> done;
    for (const PartnerLine& line : lines) {
        const int kid = line.kid;
        if (kid <= 0 || done.contains(kid))
            continue;
        done.insert(kid);
        if (!lockRow(db, s("Turnierklassen"), kid, RowLock::Share))
            throw StaleRecord::gone(s("Die Klasse"));
        const int p = line.partnerSid;
        bool paired = false;
        if (p > 0 && p != sid && lockRow(db, s("Spielerdaten"), p, RowLock::Share) && enteredIn(db, p, kid)) {
            const PairState state = pairState(db, p, kid);
            paired = !state.partner || *state.partner == sid || takeOver.contains({kid, p});
        }
        if (!paired) {
            insertRow(db, kid, sid, 0, teams.value(kid));
            continue;
        }
        // Whoever played with the partner is left without partner.
        const QVariant partnerTeam = teamName(db, p, kid);
        execute(db, s("UPDATE Doppelpartner SET partner_SID=NULL WHERE partner_SID=:p AND KID=:kid"),
                {{s("p"), p}, {s("kid"), kid}});
        execute(db, s("DELETE FROM Doppelpartner WHERE SID=:p AND KID=:kid"), {{s("p"), p}, {s("kid"), kid}});
        insertRow(db, kid, sid, p, teams.value(kid));
        insertRow(db, kid, p, sid, partnerTeam);
    }
}


} // namespace

namespace {

// "Vorname Nachname" of a player; empty when he is gone.
QString spokenName(const QSqlDatabase& db, int sid)
{
    QSqlQuery q = execute(db, s("SELECT vorname, nachname FROM Spielerdaten WHERE SID=:sid"), {{s("sid"), sid}});
    if (!q.next())
        return QString();
    return (q.value(0).toString().trimmed() + QLatin1Char(' ') + q.value(1).toString().trimmed()).trimmed();
}

} // namespace

QList<PartnerConflict> partnerConflicts(const QSqlDatabase& db, int sid, const QList<PartnerLine>& lines)
{
    QList<PartnerConflict> conflicts;
    for (const PartnerLine& line : lines) {
        if (line.kid <= 0 || line.partnerSid <= 0 || line.partnerSid == sid)
            continue;
        const PairState state = pairState(db, line.partnerSid, line.kid);
        if (state.partner && *state.partner != sid)
            conflicts.append({line.kid, line.partnerSid, *state.partner, spokenName(db, line.partnerSid),
                              spokenName(db, *state.partner)});
    }
    return conflicts;
}

void storePartners(const QSqlDatabase& db, int sid, const QList<PartnerLine>& lines,
                   const QSet<std::pair<int, int>>& takeOver)
{
    inTransaction(db, [&] { writePartners(db, sid, lines, takeOver); });
}

std::optional<int> currentPartner(const QSqlDatabase& db, int sid, int kid)
{
    return pairState(db, sid, kid).partner;
}

QList<int> partnerCandidates(const QSqlDatabase& db, int kid, int sid, bool mixed, bool mann, bool frau)
{
    QList<int> result;
    QSqlQuery q;
    if (!mixed) {
        q = execute(db, s("SELECT st.SID FROM Spieler_im_turnier st LEFT JOIN Doppelpartner d "
                          "ON d.SID=st.SID AND d.KID=st.KID WHERE st.KID=:kid AND d.partner_SID IS NULL "
                          "ORDER BY st.SID"),
                    {{s("kid"), kid}});
    } else {
        if (mann == frau)
            return result;
        q = execute(db, s("SELECT s.SID FROM Spieler_im_turnier st INNER JOIN Spielerdaten s "
                          "ON st.SID=s.SID WHERE st.KID=:kid AND s.mann=:m AND s.frau=:f ORDER BY s.SID"),
                    {{s("kid"), kid}, {s("m"), !mann}, {s("f"), !frau}});
    }
    while (q.next()) {
        const int candidate = q.value(0).toInt();
        if (candidate != sid && !result.contains(candidate))
            result.append(candidate);
    }
    return result;
}

namespace {

// Sets the partner of a player's row from `from` (Null when nothing) to `to`
// (Null when nothing); true when a row changed.
bool changePartner(const QSqlDatabase& db, int kid, int sid, std::optional<int> from, std::optional<int> to)
{
    const QVariant noPartner(QMetaType::fromType<int>());
    SqlParams p{{s("kid"), kid}, {s("sid"), sid}, {s("to"), to ? QVariant(*to) : noPartner}};
    QString sql = s("UPDATE Doppelpartner SET partner_SID=:to WHERE KID=:kid AND SID=:sid AND ");
    if (from) {
        sql += s("partner_SID=:from");
        p.insert(s("from"), *from);
    } else {
        sql += s("partner_SID IS NULL");
    }
    return execute(db, sql, p).numRowsAffected() > 0;
}

} // namespace

void pairPlayers(const QSqlDatabase& db, int kid, const QList<std::pair<int, int>>& pairs)
{
    inTransaction(db, [&] {
        for (const auto& [a, b] : pairs) {
            if (a == b || !changePartner(db, kid, a, std::nullopt, b) || !changePartner(db, kid, b, std::nullopt, a))
                throw AppError(kPartnerTakenMeanwhile);
        }
    });
}

void splitPair(const QSqlDatabase& db, int kid, int a, int b)
{
    inTransaction(db, [&] {
        if (!changePartner(db, kid, a, b, std::nullopt) || !changePartner(db, kid, b, a, std::nullopt))
            throw StaleRecord::changed(s("Das Doppel"));
    });
}

} // namespace bw
