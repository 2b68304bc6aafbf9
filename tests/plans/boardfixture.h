// A tournament for the planning board's tests: two days, the tables "1", "2",
// "3" and "10", a singles class "Herren", a team class "Mannschaft" and a class
// "Damen" whose colour is none of the board's names, with matches planned on
// either day, at a table the tournament lacks, and waiting in the list.
#pragma once

#include "data/boardrecords.h"
#include "data/dbvalue.h"
#include "data/sql.h"
#include "support/testdatabase.h"

#include <QSqlQuery>

#include <optional>

namespace bw::test {

inline constexpr int kBoardTid = 7;
inline constexpr int kHerren = 1, kMannschaft = 2, kDamen = 3;
inline const QDate kBoardDay1(2026, 6, 6);
inline const QDate kBoardDay2(2026, 6, 7);

struct BoardSeedPlace {
    QDate day;
    QString table;
    QTime time;
    QString schiri;
};

inline void insertBoardMatch(const QSqlDatabase& db, int kid, int snr, const QString& s1, const QString& s2,
                             const std::optional<BoardSeedPlace>& at = {}, int nummer = -1)
{
    const QVariant nullDate(QMetaType::fromType<QDateTime>());
    const QVariant nullText(QMetaType::fromType<QString>());
    QVariantMap row{{s("KID"), kid},        {s("spielnummer"), snr}, {s("spieler1"), s1}, {s("spieler2"), s2},
                    {s("TID"), kBoardTid},  {s("schiri"), nullText}, {s("geplanter_tag"), nullDate},
                    {s("geplanter_tisch"), nullText}, {s("geplante_zeit"), nullDate}};
    if (at) {
        row[s("geplanter_tag")] = at->day.startOfDay();
        row[s("geplanter_tisch")] = at->table;
        row[s("geplante_zeit")] = storedPlanTime(at->time);
        if (!at->schiri.isEmpty())
            row[s("schiri")] = at->schiri;
    }
    if (nummer != -1)
        row[s("nummer")] = nummer;
    insertRow(db, nummer == -1 ? s("Spielplan") : s("Teamspiele"), row);
}

inline void seedBoard(const QSqlDatabase& db)
{
    insertRow(db, s("Turnierdaten"), {{s("TID"), kBoardTid},
                                      {s("tvon"), kBoardDay1.startOfDay()},
                                      {s("tbis"), kBoardDay2.startOfDay()}});
    for (const auto& [kid, name, system, farbe] :
         {std::tuple{kHerren, "Herren", 0, "clCream"}, std::tuple{kMannschaft, "Mannschaft", 3, "clSkyBlue"},
          std::tuple{kDamen, "Damen", 0, "lila"}})
        insertRow(db, s("Turnierklassen"), {{s("KID"), kid}, {s("TID"), kBoardTid}, {s("kbezeichnung"), s(name)},
                                            {s("system"), system}, {s("farbe"), s(farbe)}});
    for (const auto& [kid, table] : {std::pair{kHerren, "1"}, std::pair{kHerren, "2"}, std::pair{kHerren, "10"},
                                     std::pair{kMannschaft, "3"}, std::pair{kMannschaft, "1"}})
        insertRow(db, s("Platten1"), {{s("KID"), kid}, {s("platte"), s(table)}, {s("TID"), kBoardTid}});
    insertRow(db, s("Platten1"), {{s("KID"), 99}, {s("platte"), s("99")}, {s("TID"), kBoardTid + 1}});

    insertBoardMatch(db, kHerren, 1, s("Adler"), s("Brandt"));
    insertBoardMatch(db, kHerren, 2, s("Cramer"), s("Dietz"), BoardSeedPlace{kBoardDay1, s("10"), QTime(9, 35), s("Schmidt")});
    insertBoardMatch(db, kHerren, 3, s("Ernst"), QString());
    insertBoardMatch(db, kHerren, 4, s("Gärtner"), s("Hahn"), BoardSeedPlace{kBoardDay2, s("1"), QTime(10, 0), {}});
    insertBoardMatch(db, kHerren, 5, s("Ihle"), s("Jung"), BoardSeedPlace{kBoardDay1, s("3"), QTime(10, 20), s("Meier")});
    insertBoardMatch(db, kHerren, 6, s("Kühn"), s("Lang"));
    insertBoardMatch(db, kHerren, 7, s("Sieger Spiel 1"), s("Sieger Spiel 2"));
    insertBoardMatch(db, kHerren, 8, s("Otto"), s("Peters"), BoardSeedPlace{kBoardDay1, s("X"), QTime(11, 0), {}});
    insertBoardMatch(db, kHerren, 9, s("Ernst"), s("Frank"), BoardSeedPlace{kBoardDay1, s("10"), QTime(9, 50), {}});
    insertBoardMatch(db, kDamen, 1, s("Quast"), s("Roth"), BoardSeedPlace{kBoardDay1, s("1"), QTime(8, 0), s("Vogt")});
    // The team match's own row: its day and table are set, no time.
    insertBoardMatch(db, kMannschaft, 1, s("Team Nord"), s("Team Süd"), BoardSeedPlace{kBoardDay1, s("2"), QTime(0, 0), {}});
    execute(db, s("UPDATE Spielplan SET geplante_zeit=NULL WHERE KID=:k"), {{s("k"), kMannschaft}});
    insertBoardMatch(db, kMannschaft, 1, s("Nord 1"), s("Süd 1"), {}, 1);
    insertBoardMatch(db, kMannschaft, 1, s("Nord 2"), s("Süd 2"), {}, 2);
}

// The planning columns of a match row (nummer -1) or game as one text:
// "day|table|hh:mm|schiri", Null columns empty.
inline QString storedPlanning(const QSqlDatabase& db, int kid, int snr, int nummer = -1)
{
    QSqlQuery q = nummer == -1
        ? execute(db, s("SELECT geplanter_tag,geplanter_tisch,geplante_zeit,schiri FROM Spielplan "
                        "WHERE KID=:k AND spielnummer=:s"),
                  {{s("k"), kid}, {s("s"), snr}})
        : execute(db, s("SELECT geplanter_tag,geplanter_tisch,geplante_zeit,schiri FROM Teamspiele "
                        "WHERE KID=:k AND spielnummer=:s AND nummer=:n"),
                  {{s("k"), kid}, {s("s"), snr}, {s("n"), nummer}});
    if (!q.next())
        return s("no row");
    const QDateTime day = readWallClock(q.value(0));
    const QDateTime time = readWallClock(q.value(2));
    return QStringList{day.isValid() ? day.date().toString(Qt::ISODate) : QString(), q.value(1).toString(),
                       time.isValid() ? time.time().toString(s("hh:mm")) : QString(), q.value(3).toString()}
        .join(QLatin1Char('|'));
}

} // namespace bw::test
