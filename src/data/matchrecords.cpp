#include "data/matchrecords.h"

#include "data/schema.h"
#include "data/transaction.h"
#include "platform/apperror.h"

#include <QSqlQuery>

namespace bw {

namespace {

// Second half of the advisory lock key is the class; the first half sets these
// locks apart from the key locks of keys.cpp.
constexpr int kClassLockSpace = 0x424D;

// The values every new match row and game has, bound once.
void bindFixedResultColumns(PreparedStatement& insert, int tid, int kid)
{
    insert.bind(s("kid"), kid);
    insert.bind(s("tid"), tid);
    for (int set = 1; set <= 9; ++set)
        insert.bind(QStringLiteral("satz%1").arg(set), 0);
    insert.bind(s("ergebnis"), s("0:0"));
    for (const char* flag : {"beendet", "in_planung", "begonnen", "manuell"})
        insert.bind(s(flag), false);
    for (const char* unset : {"spielstart", "spielende", "geplanter_tag", "geplanter_tisch", "geplante_zeit", "schiri",
                              "an_platte"})
        insert.bind(s(unset), QVariant());
    insert.bind(s("siegersid"), -1);
    insert.bind(s("verlierersid"), -1);
}

void bindSources(PreparedStatement& insert, const NewMatch& m)
{
    insert.bind(s("spielnummer"), m.spielnummer);
    insert.bind(s("spieler1"), m.spieler1);
    insert.bind(s("spieler2"), m.spieler2);
    insert.bind(s("parentspiel1"), m.parentspiel1);
    insert.bind(s("parentsieger1"), m.parentsieger1);
    insert.bind(s("parentspiel2"), m.parentspiel2);
    insert.bind(s("parentsieger2"), m.parentsieger2);
    insert.bind(s("parentgid1"), m.parentGID1);
    insert.bind(s("parentpos1"), m.parentpos1);
    insert.bind(s("parentgid2"), m.parentGID2);
    insert.bind(s("parentpos2"), m.parentpos2);
    insert.bind(s("phase"), m.phase);
    insert.bind(s("gruppe"), m.gruppe);
}

int intOr(const QVariant& value, int null)
{
    return value.isNull() ? null : value.toInt();
}

// Rows of "number, [nummer,] id1, text1, gid1, pos1, id2, text2, gid2, pos2, winner, loser".
QList<MatchSlots> readSlots(QSqlQuery q, bool games)
{
    QList<MatchSlots> rows;
    while (q.next()) {
        MatchSlots row;
        int c = 0;
        row.spielnummer = q.value(c++).toInt();
        if (games)
            row.nummer = q.value(c++).toInt();
        for (MatchSide& side : row.sides) {
            side.id = intOr(q.value(c++), leererPlatz);
            side.text = q.value(c++).toString();
            side.parentGID = intOr(q.value(c++), -1);
            side.parentpos = intOr(q.value(c++), -1);
        }
        row.siegerSID = intOr(q.value(c++), -1);
        row.verliererSID = intOr(q.value(c++), -1);
        rows.append(row);
    }
    return rows;
}

} // namespace

QString winnerPlaceholder(int spielnummer)
{
    return QStringLiteral("Sieger Spiel %1").arg(spielnummer);
}

QString loserPlaceholder(int spielnummer)
{
    return QStringLiteral("Verlierer Spiel %1").arg(spielnummer);
}

MatchInserter::MatchInserter(const QSqlDatabase& db, int tid, int kid)
    : m_db(db), m_tid(tid), m_kid(kid), m_match(db, positionalInsert(s("Spielplan")))
{
    bindFixedResultColumns(m_match, tid, kid);
    m_match.bind(s("bemerkung"), QVariant());
    for (const char* call : {"aufruf1_sp1", "aufruf1_sp2", "aufruf1_sch", "aufruf2_sp1", "aufruf2_sp2", "aufruf2_sch",
                             "aufruf3_sp1", "aufruf3_sp2", "aufruf3_sch"})
        m_match.bind(s(call), QVariant());
}

void MatchInserter::insertMatch(const NewMatch& m)
{
    bindSources(m_match, m);
    m_match.bind(s("sid1"), m.sid1);
    m_match.bind(s("sid2"), m.sid2);
    m_match.bind(s("platz"), m.platz);
    m_match.exec();
}

void MatchInserter::insertGame(const NewMatch& m, int nummer)
{
    if (!m_game) {
        m_game.emplace(m_db, positionalInsert(s("Teamspiele")));
        bindFixedResultColumns(*m_game, m_tid, m_kid);
        m_game->bind(s("sid1"), -1);
        m_game->bind(s("sid2"), -1);
        for (const char* lineup : {"sbez1", "sbez2", "p1", "p2"})
            m_game->bind(s(lineup), QVariant());
    }
    bindSources(*m_game, m);
    m_game->bind(s("nummer"), nummer);
    m_game->bind(s("mid1"), m.sid1);
    m_game->bind(s("mid2"), m.sid2);
    m_game->exec();
}

QList<MatchSlots> readMatchSlots(const QSqlDatabase& db, int kid)
{
    return readSlots(execute(db,
                             s("SELECT spielnummer,SID1,spieler1,parentGID1,parentpos1,SID2,spieler2,parentGID2,"
                               "parentpos2,siegerSID,verliererSID FROM Spielplan WHERE KID=:kid ORDER BY spielnummer"),
                             {{s("kid"), kid}}),
                     false);
}

QList<MatchSlots> readGameSlots(const QSqlDatabase& db, int kid)
{
    return readSlots(execute(db,
                             s("SELECT spielnummer,nummer,MID1,spieler1,parentGID1,parentpos1,MID2,spieler2,parentGID2,"
                               "parentpos2,siegerSID,verliererSID FROM Teamspiele WHERE KID=:kid "
                               "ORDER BY spielnummer,nummer"),
                             {{s("kid"), kid}}),
                     true);
}

void lockClassMatches(const QSqlDatabase& db, int kid)
{
    if (!Transaction::active(db))
        throw AppError(QStringLiteral("Sperre der Spiele einer Klasse außerhalb einer Transaktion"));
    if (backendOf(db) == Backend::PostgreSQL)
        execute(db, s("SELECT pg_advisory_xact_lock(:space, :kid)"), {{s("space"), kClassLockSpace}, {s("kid"), kid}});
}

MatchSlotWriter::MatchSlotWriter(const QSqlDatabase& db, int kid) : m_db(db), m_kid(kid)
{
}

PreparedStatement& MatchSlotWriter::statement(int index)
{
    auto& prepared = m_prepared[size_t(index)];
    if (prepared)
        return *prepared;
    // 0, 1: side 1 and 2 of a match row, 2 its outcome; 3..5 the same of a game.
    const bool game = index >= 3;
    const QString table = game ? s("Teamspiele") : s("Spielplan");
    const QString id = game ? s("MID") : s("SID");
    const QString row = game ? s("KID=:kid AND spielnummer=:nr AND nummer=:game") : s("KID=:kid AND spielnummer=:nr");
    const int kind = index % 3;
    if (kind < 2) {
        prepared.emplace(m_db, QStringLiteral("UPDATE %1 SET %2%3=:id,spieler%3=:text,parentGID%3=:pg,parentpos%3=:pp "
                                              "WHERE %4 AND spieler%3=:expected")
                                   .arg(table, id, QString::number(kind + 1), row));
    } else {
        prepared.emplace(m_db, QStringLiteral("UPDATE %1 SET siegerSID=:winner,verliererSID=:loser "
                                              "WHERE %2 AND %3=:id1 AND %4=:id2")
                                   .arg(table, row, id + QLatin1Char('1'), id + QLatin1Char('2')));
    }
    return *prepared;
}

bool MatchSlotWriter::run(int index, const MatchSlots& row, SqlParams params)
{
    params.insert(s("kid"), m_kid);
    params.insert(s("nr"), row.spielnummer);
    if (row.nummer > 0)
        params.insert(s("game"), row.nummer);
    PreparedStatement& update = statement(index);
    update.exec(params);
    ++m_statements;
    return update.rowsAffected() > 0;
}

bool MatchSlotWriter::writeSide(const MatchSlots& row, int side, const QString& expected)
{
    const MatchSide& value = row.sides[size_t(side)];
    return run((row.nummer > 0 ? 3 : 0) + side, row,
               {{s("id"), value.id},
                {s("text"), value.text},
                {s("pg"), value.parentGID},
                {s("pp"), value.parentpos},
                {s("expected"), expected}});
}

bool MatchSlotWriter::writeOutcome(const MatchSlots& row)
{
    return run(row.nummer > 0 ? 5 : 2, row,
               {{s("winner"), row.siegerSID},
                {s("loser"), row.verliererSID},
                {s("id1"), row.sides[0].id},
                {s("id2"), row.sides[1].id}});
}

} // namespace bw
