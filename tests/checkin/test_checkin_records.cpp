// Check-in records and team records on both backends: who counts as checked in,
// checking a player in for one class or every non-team class, the tabs and list
// rows of the check-in page, a team check-in with some of its members, the
// "alle" actions, and storing, overwriting and deleting a team. Every write that
// spans several statements is shown to leave the data exactly as before when a
// statement in it fails.
#include "checkinfixture.h"

#include "data/checkinrecords.h"
#include "data/sql.h"
#include "data/teamrecords.h"
#include "platform/apperror.h"
#include "support/testdatabase.h"

#include <QTest>

using namespace bw;
using namespace bw::test;
using namespace bw::test::seed;

namespace {

QStringList names(const QList<Myitem>& items)
{
    QStringList list;
    for (const Myitem& i : items)
        list << i.name;
    return list;
}

} // namespace

class TestCheckInRecords : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestDatabase> m_tdb;
    QSqlDatabase db() const { return m_tdb->db(); }
    bool open()
    {
        QFETCH(Backend, backend);
        m_tdb = std::make_unique<TestDatabase>(backend);
        if (!m_tdb->ready())
            return false;
        seedCheckInTournament(db());
        return true;
    }

private slots:
    void cleanup() { m_tdb.reset(); }

    void playerFlags_data() { addBackendColumn(); addBackendRows(); }
    void playerFlags()
    {
        if (!open())
            return;
        // Not entered: not checked in, whatever else he entered.
        QVERIFY(!istgemeldet(db(), kCramer, kHerrenB, kTid));
        QVERIFY(!istgemeldet(db(), kAbel, kHerrenB, kTid));
        spieleranmeldung(db(), kTid, kAbel, true, kHerrenB);
        QVERIFY(istgemeldet(db(), kAbel, kHerrenB, kTid));
        QVERIFY(!istgemeldet(db(), kAbel, kHerrenB, kOtherTid));
        QCOMPARE(entryFlag(db(), kAbel, kDoppel), 0);

        // Class 0: every class but the team class; the other tournament untouched.
        spieleranmeldung(db(), kTid, kAbel, true, 0);
        QCOMPARE(entryFlag(db(), kAbel, kHerrenB), 1);
        QCOMPARE(entryFlag(db(), kAbel, kDoppel), 1);
        QCOMPARE(entryFlag(db(), kAbel, kTeam), 0);
        spieleranmeldung(db(), kTid, kAbel, false, 0);
        QCOMPARE(entryFlag(db(), kAbel, kHerrenB), 0);
        QCOMPARE(entryFlag(db(), kAbel, kDoppel), 0);
        spieleranmeldung(db(), kOtherTid, kGast, true, 0);
        QCOMPARE(entryFlag(db(), kGast, kOtherClass), 1);
        QCOMPARE(entryFlag(db(), kBerg, kHerrenB), 0);
    }

    void tabsByKindThenName_data() { addBackendColumn(); addBackendRows(); }
    void tabsByKindThenName()
    {
        if (!open())
            return;
        QStringList texts;
        QList<int> kids;
        for (const CheckInTab& t : checkInTabs(db(), kTid)) {
            texts << t.text;
            kids << t.kid;
        }
        QCOMPARE(texts, (QStringList{"Herren A (Einzel)", "Herren B (Einzel)", "Herren (Doppel)", "Mixed (Mixed)",
                                     "Mannschaft (Team)"}));
        QCOMPARE(kids, (QList<int>{kHerrenA, kHerrenB, kDoppel, kMixed, kTeam}));
    }

    // The state of each player on "Alle": gemeldet = every entry checked in (a
    // player in no class counts as checked in), teilgemeldet = at least one.
    void allPlayersStates_data() { addBackendColumn(); addBackendRows(); }
    void allPlayersStates()
    {
        if (!open())
            return;
        spieleranmeldung(db(), kTid, kAbel, true, 0);    // not the team entry: partly
        spieleranmeldung(db(), kTid, kCramer, true, 0);  // Herren A only: partly
        spieleranmeldung(db(), kTid, kCramer, true, kTeam); // and the team: fully
        // An entry of the live link is Null: not checked in.
        execute(db(), QStringLiteral("UPDATE Spieler_im_turnier SET gemeldet=NULL WHERE SID=:s"),
                {{QStringLiteral("s"), kDorn}});
        const QList<Myitem> players = allPlayers(db(), kTid);
        QCOMPARE(names(players), (QStringList{"Abel, Anna", "Berg, Bernd", "Cramer, Carl", "Dorn, Dora",
                                              "Ebert, Emil", "Fuchs, Franz"}));
        const QList<std::pair<bool, bool>> expected{{false, true}, {false, false}, {true, true},
                                                    {false, false}, {false, false}, {true, false}};
        for (int i = 0; i < players.size(); ++i) {
            QCOMPARE(players[i].gemeldet, expected[i].first);
            QCOMPARE(players[i].teilgemeldet, expected[i].second);
        }
        QCOMPARE(playerEntryText(players[0]), QStringLiteral("Abel, Anna (TSV A)"));

        const QList<Myitem> byClub = allPlayers(db(), kTid, CheckInOrder::Club);
        QCOMPARE(names(byClub), (QStringList{"Berg, Bernd", "Dorn, Dora", "Abel, Anna", "Cramer, Carl",
                                             "Ebert, Emil", "Fuchs, Franz"}));

        const QList<Myitem> herrenB = classPlayers(db(), kTid, kHerrenB);
        QCOMPARE(names(herrenB), (QStringList{"Abel, Anna", "Berg, Bernd"}));
        QVERIFY(herrenB[0].gemeldet);
        QVERIFY(!herrenB[1].gemeldet);
    }

    void teamLists_data() { addBackendColumn(); addBackendRows(); }
    void teamLists()
    {
        if (!open())
            return;
        const QList<Myitem> teams = checkInTeams(db(), kTid, 0);
        QCOMPARE(names(teams), (QStringList{"SV Brunnhain", "TSV A"}));
        QCOMPARE(teams[1].ID, kTeamA);
        QCOMPARE(teams[1].partnerID, kTeam);
        QCOMPARE(names(checkInTeams(db(), kTid, kHerrenA)), QStringList());

        QList<int> found;
        for (const TeamMember& m : teamMembers(db(), kTeamA))
            found << m.slot * 10 + m.sid;
        QCOMPARE(found, (QList<int>{11, 22, 33, 44, 55}));
        // A slot whose player no longer exists is left out.
        execute(db(), QStringLiteral("DELETE FROM Spielerdaten WHERE SID=:s"), {{QStringLiteral("s"), kBerg}});
        QCOMPARE(int(teamMembers(db(), kTeamA).size()), 4);
        QVERIFY(teamMembers(db(), kTeamB).isEmpty());
    }

    // A team with two of its four players ticked, on its class tab and on "Alle".
    void teamCheckInWithTickedMembers_data()
    {
        addBackendColumn();
        QTest::addColumn<int>("tabClass");
        for (const char* backend : {"sqlite", "postgresql"}) {
            const Backend b = QLatin1String(backend) == QLatin1String("sqlite") ? Backend::SQLite : Backend::PostgreSQL;
            QTest::addRow("%s class tab", backend) << b << kTeam;
            QTest::addRow("%s Alle", backend) << b << 0;
        }
    }
    void teamCheckInWithTickedMembers()
    {
        if (!open())
            return;
        QFETCH(int, tabClass);
        teamanmeldung(db(), kTid, kTeamA, true, tabClass, {kAbel, kCramer}, kTeam);
        QVERIFY(teamFlag(db(), kTeamA));
        QCOMPARE(entryFlag(db(), kAbel, kTeam), 1);
        QCOMPARE(entryFlag(db(), kCramer, kTeam), 1);
        QCOMPARE(entryFlag(db(), kBerg, kTeam), 0);
        QCOMPARE(entryFlag(db(), kDorn, kTeam), 0);
        // The singles entries stay as they were.
        QCOMPARE(entryFlag(db(), kAbel, kHerrenB), 0);

        teamanmeldung(db(), kTid, kTeamA, false, tabClass, {kAbel}, kTeam);
        QVERIFY(!teamFlag(db(), kTeamA));
        QCOMPARE(entryFlag(db(), kAbel, kTeam), 0);
        QCOMPARE(entryFlag(db(), kCramer, kTeam), 1);
    }

    // A team that is gone, or not in the tab's class, is an error and writes nothing.
    void teamCheckInOfMissingTeam_data() { addBackendColumn(); addBackendRows(); }
    void teamCheckInOfMissingTeam()
    {
        if (!open())
            return;
        const QStringList before = dumpTables(db());
        QVERIFY_THROWS_EXCEPTION(AppError, teamanmeldung(db(), kTid, 99, true, kTeam, {kAbel}, kTeam));
        QVERIFY_THROWS_EXCEPTION(AppError, teamanmeldung(db(), kTid, kTeamA, true, kHerrenA, {kAbel}, kTeam));
        QCOMPARE(dumpTables(db()), before);
    }

    // Every write of several statements: with any one statement failing, the
    // data stays exactly as before.
    void writesAreAtomic_data()
    {
        addBackendColumn();
        QTest::addColumn<QString>("action");
        const QStringList actions{"player in every class", "team with members", "all teams", "all players",
                                  "new team", "overwritten team", "deleted team"};
        for (const char* backend : {"sqlite", "postgresql"}) {
            const Backend b = QLatin1String(backend) == QLatin1String("sqlite") ? Backend::SQLite : Backend::PostgreSQL;
            for (const QString& a : actions)
                QTest::addRow("%s %s", backend, qPrintable(a)) << b << a;
        }
    }
    void writesAreAtomic()
    {
        if (!open())
            return;
        QFETCH(QString, action);
        const QSqlDatabase d = db();
        const QMap<QString, std::function<void()>> actions{
            {"player in every class", [&] { spieleranmeldung(d, kTid, kAbel, true, 0); }},
            {"team with members", [&] { teamanmeldung(d, kTid, kTeamA, true, 0, {kAbel, kBerg, kEbert}, kTeam); }},
            {"all teams", [&] { setTeamsCheckIn(d, kTid, checkInTeams(d, kTid, 0), true, 0); }},
            {"all players", [&] { setPlayersCheckIn(d, kTid, {kAbel, kBerg, kCramer}, true, 0); }},
            {"new team",
             [&] { storeTeam(d, kTid, kTeam, 0, QStringLiteral("Neu"), QStringLiteral("x"), {{kEbert, kDorn}, {}, {}, {}}); }},
            {"overwritten team",
             [&] {
                 storeTeam(d, kTid, kTeam, kTeamA, QStringLiteral("TSV A"), QStringLiteral("x"),
                           {{kEbert, kDorn}, {0}, {0, 0}, {0, 0}});
             }},
            {"deleted team", [&] { bw::deleteTeam(d, kTeam, kTeamA, QStringLiteral("TSV A")); }},
        };
        int runs = 0;
        QCOMPARE(checkAtomic(d, actions.value(action), {}, {}, &runs), QString());
        QVERIFY(runs > 1);
    }

    void allTeamsAndPlayers_data() { addBackendColumn(); addBackendRows(); }
    void allTeamsAndPlayers()
    {
        if (!open())
            return;
        setTeamsCheckIn(db(), kTid, checkInTeams(db(), kTid, 0), true, 0);
        QVERIFY(teamFlag(db(), kTeamA));
        QVERIFY(teamFlag(db(), kTeamB));
        for (int sid : {kAbel, kBerg, kCramer, kDorn, kEbert})
            QCOMPARE(entryFlag(db(), sid, kTeam), 1);
        QCOMPARE(entryFlag(db(), kAbel, kHerrenB), 0);

        QList<int> progress;
        setPlayersCheckIn(db(), kTid, {kAbel, kBerg}, true, kHerrenB, [&](int done, int total) {
            progress << done * 10 + total;
        });
        QCOMPARE(progress, (QList<int>{12, 22}));
        QCOMPARE(entryFlag(db(), kAbel, kHerrenB), 1);
        QCOMPARE(entryFlag(db(), kBerg, kHerrenB), 1);
        QCOMPARE(entryFlag(db(), kAbel, kDoppel), 0);
    }

    // A format of 3 players and 1 reserve: s4 and r2 are stored Null, empty
    // slots 0; the members carry the team's name.
    void storeNewTeam_data() { addBackendColumn(); addBackendRows(); }
    void storeNewTeam()
    {
        if (!open())
            return;
        execute(db(), QStringLiteral("UPDATE Teamsystem SET spieler=3, reserve=1 WHERE KID=:k"),
                {{QStringLiteral("k"), kTeam}});
        QCOMPARE(teamFormatSize(db(), kTeam), std::make_pair(3, 1));
        const int mid = storeTeam(db(), kTid, kTeam, 0, QStringLiteral("Neu"), QStringLiteral("TSV A"),
                                  {{kEbert, 0, kFuchs}, {0}, {kEbert, 0}, {0, 0}});
        QCOMPARE(mid, 3);
        const std::optional<TeamRow> row = readTeam(db(), mid);
        QVERIFY(row);
        QCOMPARE(row->slotColumns,
                 (QList<QVariant>{kEbert, 0, kFuchs, QVariant(), 0, QVariant(), kEbert, 0, 0, 0}));
        QCOMPARE(row->tid, kTid);
        QCOMPARE(row->kid, kTeam);
        QVERIFY(!row->angemeldet);
        QCOMPARE(row->verein, QStringLiteral("TSV A"));
        QCOMPARE(teamNameOf(db(), kEbert, kTeam), QStringLiteral("Neu"));
        QCOMPARE(teamOfPlayer(db(), kTeam, kEbert)->name, QStringLiteral("TSV A")); // reserve there
        QCOMPARE(playersInTeams(db(), kTeam), (QSet<int>{kAbel, kBerg, kCramer, kDorn, kEbert, kFuchs}));
        QCOMPARE(teamByName(db(), kTeam, QStringLiteral("Neu")), std::optional<int>(mid));
        QVERIFY(!teamByName(db(), kDoppel, QStringLiteral("Neu")));
    }

    // Overwriting keeps the tournament, class and check-in state; a player taken
    // out of the team loses its name.
    void overwriteTeam_data() { addBackendColumn(); addBackendRows(); }
    void overwriteTeam()
    {
        if (!open())
            return;
        teamanmeldung(db(), kTid, kTeamA, true, kTeam, {}, kTeam);
        storeTeam(db(), kTid, kTeam, kTeamA, QStringLiteral("TSV A"), QStringLiteral("SV Brunnhain"),
                  {{kAbel, kBerg, kCramer, kEbert}, {0}, {0, 0}, {0, 0}});
        const std::optional<TeamRow> row = readTeam(db(), kTeamA);
        QVERIFY(row->angemeldet);
        QCOMPARE(row->kid, kTeam);
        QCOMPARE(row->verein, QStringLiteral("SV Brunnhain"));
        QCOMPARE(row->slotColumns.mid(0, 6), (QList<QVariant>{kAbel, kBerg, kCramer, kEbert, 0, QVariant()}));
        QCOMPARE(teamNameOf(db(), kDorn, kTeam), QStringLiteral("<null>"));
        QCOMPARE(teamNameOf(db(), kEbert, kTeam), QStringLiteral("TSV A"));
        QCOMPARE(teamNameOf(db(), kAbel, kDoppel), QStringLiteral("TSV A"));
    }

    // Deleting clears the name only in the class's rows that carry it.
    void deleteTeam_data() { addBackendColumn(); addBackendRows(); }
    void deleteTeam()
    {
        if (!open())
            return;
        execute(db(), QStringLiteral("UPDATE Doppelpartner SET mannschaft='SV Brunnhain' WHERE SID=:s AND KID=:k"),
                {{QStringLiteral("s"), kEbert}, {QStringLiteral("k"), kTeam}});
        bw::deleteTeam(db(), kTeam, kTeamA, QStringLiteral("TSV A"));
        QVERIFY(!readTeam(db(), kTeamA));
        for (int sid : {kAbel, kBerg, kCramer, kDorn})
            QCOMPARE(teamNameOf(db(), sid, kTeam), QStringLiteral("<null>"));
        QCOMPARE(teamNameOf(db(), kEbert, kTeam), QStringLiteral("SV Brunnhain"));
        QCOMPARE(teamNameOf(db(), kAbel, kDoppel), QStringLiteral("TSV A"));
        QVERIFY(readTeam(db(), kTeamB));
    }
};

QTEST_GUILESS_MAIN(TestCheckInRecords)
#include "test_checkin_records.moc"
