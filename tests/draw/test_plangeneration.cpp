// Finishing a draw on both backends over the shipped plan files: the numbering
// and sides of group, knock-out and double knock-out phases; the group places
// and tables it saves; a new draw of phase 2 (numbering on, standings by key,
// the finishing rank, the phase before still open); refusals that write
// nothing; every failing statement leaving the old plan; two desks.
#include "finishfixture.h"
#include "matchfixture.h"

#include "data/connection.h"
#include "data/transaction.h"
#include "draw/matchrows.h"
#include "platform/apperror.h"
#include "support/tempprogramfolder.h"
#include "support/testdatabase.h"

#include <QSqlQuery>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace bw;
using namespace bw::test;

namespace {

PlanDefinitions shippedDefinitions(const FinishedDraw& draw)
{
    return readPlanDefinitions(draw, shippedFile("system.txt"), shippedFile("ko_system.txt"));
}

FinishedPlan finish(const QSqlDatabase& db, const FinishedDraw& draw)
{
    return finishDraw(db, draw, shippedDefinitions(draw));
}

struct Row {
    int nr = 0;
    int sid1 = 0;
    QString s1;
    int sid2 = 0;
    QString s2;
    int gid1 = 0, pos1 = 0, gid2 = 0, pos2 = 0;
    int parent1 = 0, parent2 = 0;
    int phase = 0;
    int gruppe = 0;
};

QList<Row> matchRows(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db,
                          s("SELECT spielnummer,SID1,spieler1,SID2,spieler2,parentGID1,parentpos1,parentGID2,"
                            "parentpos2,parentspiel1,parentspiel2,phase,gruppe FROM Spielplan WHERE KID=:k "
                            "ORDER BY spielnummer"),
                          {{s("k"), kid}});
    QList<Row> rows;
    while (q.next()) {
        Row r;
        int c = 0;
        r.nr = q.value(c++).toInt();
        r.sid1 = q.value(c++).toInt();
        r.s1 = q.value(c++).toString();
        r.sid2 = q.value(c++).toInt();
        r.s2 = q.value(c++).toString();
        r.gid1 = q.value(c++).toInt();
        r.pos1 = q.value(c++).toInt();
        r.gid2 = q.value(c++).toInt();
        r.pos2 = q.value(c++).toInt();
        r.parent1 = q.value(c++).toInt();
        r.parent2 = q.value(c++).toInt();
        r.phase = q.value(c++).toInt();
        r.gruppe = q.value(c++).toInt();
        rows << r;
    }
    return rows;
}

Row byNumber(const QList<Row>& rows, int nr)
{
    for (const Row& r : rows) {
        if (r.nr == nr)
            return r;
    }
    return {};
}

QList<GroupPlaceRow> placeRows(const QSqlDatabase& db, int kid, const char* table = "Gruppen")
{
    const QString plattensystem = QString::fromLatin1(table) == QLatin1String("Gruppen") ? s("plattensystem") : s("0");
    QSqlQuery q = execute(db,
                          QStringLiteral("SELECT GID,pos,SID,bez,parentGID,parentpos,%1,phase FROM %2 WHERE KID=:k "
                                         "ORDER BY GID,pos")
                              .arg(plattensystem, QString::fromLatin1(table)),
                          {{s("k"), kid}});
    QList<GroupPlaceRow> rows;
    while (q.next()) {
        rows << GroupPlaceRow{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toString(),
                              q.value(4).toInt(), q.value(5).toInt(), q.value(6).toInt(), q.value(7).toInt()};
    }
    return rows;
}

QList<GroupTableRow> tableRows(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, s("SELECT GID,platte,phase FROM Platten WHERE KID=:k ORDER BY phase,GID,platte"),
                          {{s("k"), kid}});
    QList<GroupTableRow> rows;
    while (q.next())
        rows << GroupTableRow{q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt()};
    return rows;
}

int count(const QSqlDatabase& db, const QString& sql, int kid)
{
    return scalar(db, sql, {{s("k"), kid}}).toInt();
}

void writeClassSettings(const QSqlDatabase& db, int kid, const GroupSettings& settings)
{
    saveGroupSettings(db, kid, settings, {});
}

// A class with the draw's settings stored; the draw then names it.
int classFor(const QSqlDatabase& db, FinishedDraw& draw, ClassKind kind = ClassKind::Einzel,
             const TeamFormat& format = {})
{
    static int classes = 0;
    ClassRecord record;
    record.system = kind;
    record.kbezeichnung = QStringLiteral("Klasse %1").arg(++classes);
    draw.kid = insertClass(db, kTid, record, {}, format);
    draw.tid = kTid;
    draw.kind = kind;
    writeClassSettings(db, draw.kid, draw.settings);
    return draw.kid;
}

QStringList tablesNamed(int n)
{
    QStringList tables;
    for (int i = 1; i <= n; ++i)
        tables << QStringLiteral("Tisch %1").arg(i);
    return tables;
}

// Phase 1 of the class played: every phase-1 match finished, the standings of
// each group ranked in reverse of the drawn order (the last drawn place won).
void playPhaseOne(const QSqlDatabase& db, int kid, int places)
{
    execute(db, s("UPDATE Spielplan SET beendet=1 WHERE KID=:k AND phase=1"), {{s("k"), kid}});
    execute(db, s("UPDATE Tabellen SET pos=:last-pos WHERE KID=:k AND phase=1"),
            {{s("k"), kid}, {s("last"), places - 1}});
}

} // namespace

class TestPlanGeneration : public QObject {
    Q_OBJECT

private slots:
    void parentTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("gid");
        QTest::addColumn<int>("pos");
        QTest::newRow("second") << s("Zweiter Gruppe B") << 1 << 1;
        QTest::newRow("fourth") << s("4. Gruppe C") << 2 << 3;
        QTest::newRow("best-placed") << s("2. Bestplatzierter 3. Platz") << -3 << 1;
        QTest::newRow("twelfth best-placed") << s("12. Bestplatzierter 3. Platz") << -3 << 11;
        QTest::newRow("empty") << QString() << -1 << -1;
        QTest::newRow("bye") << s("Freilos") << 50 << -2;
        QTest::newRow("empty row") << s("3. ") << -2 << 2;
        QTest::newRow("winner") << s("Sieger Gruppe A") << 0 << 0;
        QTest::newRow("third of group 26") << s("Dritter Gruppe [") << 26 << 2;
    }
    void parentTexts()
    {
        QFETCH(QString, text);
        QFETCH(int, gid);
        QFETCH(int, pos);
        QCOMPARE(getparentGID(text), gid);
        QCOMPARE(getparentpos(text), pos);
    }

    // The numbering and the sides of each kind of phase.
    void numbering_data() { addBackendColumn(); addBackendRows(); }
    void numbering()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();

        {   // 3 groups of 4: pairing by pairing over the groups (group B: entrants 1, 4, 7, 10).
            FinishedDraw draw = firstDraw(kTid, 0, {groupPhase(3, 4)}, 12);
            classFor(db, draw);
            const FinishedPlan plan = finish(db, draw);
            QCOMPARE(plan.firstMatch, 1);
            QCOMPARE(plan.lastMatch, 18);
            const QList<Row> rows = matchRows(db, draw.kid);
            QCOMPARE(rows.size(), 18);
            const Row second = byNumber(rows, 2);
            QCOMPARE(second.gruppe, 1);
            QCOMPARE(second.sid1, 101);
            QCOMPARE(second.s1, s("Spieler 001"));
            QCOMPARE(second.s2, s("Spieler 010"));
            QCOMPARE(byNumber(rows, 4).gruppe, 0); // the second pairing (2-3) of group A
            QCOMPARE(byNumber(rows, 4).s1, s("Spieler 005")); // group A: 0, 5, 6, 11
        }
        {   // The same with 2 going on from each group and 2 best-placed into a knock-out of 8.
            FinishedDraw draw = firstDraw(kTid, 0, {groupPhase(3, 4, 2, 2), knockOut()}, 12);
            classFor(db, draw);
            finish(db, draw);
            const QList<Row> rows = matchRows(db, draw.kid);
            QCOMPARE(rows.size(), 25);
            const Row first = byNumber(rows, 19);
            QCOMPARE(first.s1, s("Sieger Gruppe A"));
            QCOMPARE(first.s2, s("Zweiter Gruppe B"));
            QCOMPARE(first.sid1, leererPlatz);
            QCOMPARE((QList<int>{first.gid1, first.pos1, first.gid2, first.pos2}), (QList<int>{0, 0, 1, 1}));
            const Row fourth = byNumber(rows, 22);
            QCOMPARE(fourth.s2, s("2. Bestplatzierter 3. Platz"));
            QCOMPARE(fourth.gid2, -3);
            QCOMPARE(fourth.pos2, 1);
            QCOMPARE(byNumber(rows, 23).s1, winnerPlaceholder(19));
            QCOMPARE(byNumber(rows, 23).s2, winnerPlaceholder(20));
            QCOMPARE(byNumber(rows, 24).s1, winnerPlaceholder(21));
            QCOMPARE(byNumber(rows, 25).s1, winnerPlaceholder(23));
            QCOMPARE(byNumber(rows, 25).s2, winnerPlaceholder(24));
            QCOMPARE(byNumber(rows, 25).parent2, 24);
            QCOMPARE(byNumber(rows, 25).phase, 2);
        }
        {   // A knock-out of 2: one match.
            FinishedDraw draw = firstDraw(kTid, 0, {knockOut()}, 2);
            classFor(db, draw);
            finish(db, draw);
            QCOMPARE(matchRows(db, draw.kid).size(), 1);
        }
        {   // A double knock-out of 8.
            FinishedDraw draw = firstDraw(kTid, 0, {knockOut(PlaySystem::DoppeltesKO)}, 8);
            classFor(db, draw);
            finish(db, draw);
            const QList<Row> rows = matchRows(db, draw.kid);
            QCOMPARE(rows.size(), 14);
            QCOMPARE(byNumber(rows, 5).s1, loserPlaceholder(1));
            QCOMPARE(byNumber(rows, 5).s2, loserPlaceholder(2));
            QCOMPARE(byNumber(rows, 7).s1, winnerPlaceholder(1));
            QCOMPARE(byNumber(rows, 7).s2, winnerPlaceholder(2));
            QCOMPARE(byNumber(rows, 14).nr, 14);
        }
        {   // The same as phase 2 after 4 groups of 4.
            FinishedDraw draw = firstDraw(kTid, 0, {groupPhase(4, 4, 2, 0), knockOut(PlaySystem::DoppeltesKO)}, 16);
            classFor(db, draw);
            finish(db, draw);
            const QList<Row> rows = matchRows(db, draw.kid);
            QCOMPARE(rows.size(), 38);
            QCOMPARE(byNumber(rows, 29).s1, loserPlaceholder(25));
            QCOMPARE(byNumber(rows, 29).s2, loserPlaceholder(26));
            QCOMPARE(byNumber(rows, 29).parent1, 25);
            QCOMPARE(byNumber(rows, 31).s1, winnerPlaceholder(25));
            QCOMPARE(byNumber(rows, 31).s2, winnerPlaceholder(26));
            QCOMPARE(byNumber(rows, 25).s1, s("Sieger Gruppe A"));
        }
    }

    // A knock-out of 5: the empty slots are byes, settled in the same action.
    void byesSettled_data() { addBackendColumn(); addBackendRows(); }
    void byesSettled()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        FinishedDraw draw = firstDraw(kTid, 0, {knockOut()}, 5);
        TeamFormat twoGames;
        twoGames.spieler = 2;
        twoGames.a[0] = twoGames.b[0] = 1;
        twoGames.a[1] = twoGames.b[1] = 2;
        classFor(db, draw, ClassKind::Team, twoGames);
        QVERIFY(finish(db, draw).byeUpdates > 0);
        const QList<Row> rows = matchRows(db, draw.kid);
        QCOMPARE(rows.size(), 7);
        QCOMPARE(byNumber(rows, 2).sid2, Freilos);
        // Matches 2, 3, 4 have a bye: their entrants wait in matches 5 and 6.
        QCOMPARE(byNumber(rows, 5).s2, s("Spieler 001"));
        QCOMPARE(byNumber(rows, 6).s1, s("Spieler 002"));
        QCOMPARE(byNumber(rows, 6).s2, s("Spieler 003"));
        // A team class gets the games of every match.
        QCOMPARE(count(db, s("SELECT COUNT(*) FROM Teamspiele WHERE KID=:k"), draw.kid), 7 * 2);
    }

    void savedPlaces_data() { addBackendColumn(); addBackendRows(); }
    void savedPlaces()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();

        {   // A group of 4 holding 3: four places, the fourth empty.
            FinishedDraw draw = firstDraw(kTid, 0, {groupPhase(1, 4)}, 3);
            classFor(db, draw);
            finish(db, draw);
            for (const char* table : {"Gruppen", "Tabellen"}) {
                const QList<GroupPlaceRow> rows = placeRows(db, draw.kid, table);
                QCOMPARE(rows.size(), 4);
                QCOMPARE(rows[0], (GroupPlaceRow{0, 0, 100, s("Spieler 000"), -1, -1, 0, 1}));
                QCOMPARE(rows[3], (GroupPlaceRow{0, 3, -1, QString(), -1, -1, 0, 1}));
            }
            // Only a group phase: no tables for knock-out plans.
            QCOMPARE(count(db, s("SELECT COUNT(*) FROM Platten WHERE KID=:k AND GID=-1"), draw.kid), 0);
        }
        {   // 4 groups, then 2 groups waiting for their qualifiers, one place left empty; 6 tables.
            FinishedDraw draw = firstDraw(kTid, 0, {groupPhase(4, 3, 1, 1), groupPhase(2, 3)}, 12, tablesNamed(6));
            classFor(db, draw);
            finish(db, draw);
            const QList<GroupPlaceRow> rows = placeRows(db, draw.kid);
            QCOMPARE(rows.size(), 4 * 3 + 2 * 3);
            QCOMPARE(rows[12], (GroupPlaceRow{4, 0, offenerQualifikant, s("Sieger Gruppe A"), 0, 0, 0, 2}));
            QCOMPARE(rows[13], (GroupPlaceRow{4, 1, offenerQualifikant, s("Sieger Gruppe D"), 3, 0, 0, 2}));
            QCOMPARE(rows[14], (GroupPlaceRow{4, 2, offenerQualifikant, s("1. Bestplatzierter 2. Platz"), -3, 0, 0, 2}));
            QCOMPARE(rows[17], (GroupPlaceRow{5, 2, offenerQualifikant, QString(), -2, -1, 0, 2}));
            QCOMPARE(placeRows(db, draw.kid, "Tabellen"), rows);
            const QList<GroupTableRow> tables = tableRows(db, draw.kid);
            QCOMPARE(tables.size(), 36);
            QCOMPARE(int(std::count_if(tables.cbegin(), tables.cend(), [](const GroupTableRow& t) { return t.phase == 1; })), 24);
        }
        {   // Groups, then a knock-out: one knock-out row per table, with phase 2.
            FinishedDraw draw = firstDraw(kTid, 0, {groupPhase(2, 3, 1), knockOut()}, 6, tablesNamed(3));
            classFor(db, draw);
            finish(db, draw);
            QCOMPARE(count(db, s("SELECT COUNT(*) FROM Platten WHERE KID=:k AND GID=-1 AND phase=2"), draw.kid), 3);
        }
        {   // Tables fixed per group.
            FinishedDraw draw = firstDraw(kTid, 0, {groupPhase(2, 3)}, 6, tablesNamed(3));
            draw.tables.plattensystem = 1;
            draw.tables.groupTables = {{s("Tisch 3")}, {s("Tisch 1"), s("Tisch 2")}};
            classFor(db, draw);
            finish(db, draw);
            QCOMPARE(tableRows(db, draw.kid), (QList<GroupTableRow>{{0, s("Tisch 3"), 1}, {1, s("Tisch 1"), 1},
                                                                    {1, s("Tisch 2"), 1}}));
            QCOMPARE(placeRows(db, draw.kid).first().plattensystem, 1);
        }
    }

    // A first draw of a class that has a plan replaces every row of it; a new
    // draw of phase 2 keeps phase 1, numbers on after it, drops the placement
    // matches and takes each entrant's group and finishing rank from his own
    // standings row.
    void redrawOfPhaseTwo_data() { addBackendColumn(); addBackendRows(); }
    void redrawOfPhaseTwo()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        FinishedDraw draw = firstDraw(kTid, 0, {groupPhase(4, 4, 2, 0), knockOut()}, 16);
        classFor(db, draw);
        // Another class of the same entrants (same keys and names), ranked otherwise.
        FinishedDraw other = firstDraw(kTid, 0, {groupPhase(4, 4, 2, 0), knockOut()}, 16);
        classFor(db, other, ClassKind::Doppel);
        finish(db, other);
        finish(db, draw); // a first draw twice: the second replaces the first
        QCOMPARE(matchRows(db, draw.kid).size(), 24 + 7);
        QCOMPARE(placeRows(db, draw.kid).size(), 16);
        {   // a placement match
            MatchRowWriter writer(db, kTid, draw.kid, ClassKind::Einzel, std::nullopt);
            NewMatch placement = match(32, winnerOf(29), winnerOf(30));
            placement.phase = 4;
            placement.platz = 3;
            writer.spielplanfuellen(placement);
        }
        playPhaseOne(db, draw.kid, 4);

        // The redraw: the eight who went on, two of them namesakes.
        FinishedDraw redraw = draw;
        redraw.redrawPhase = 2;
        redraw.phases[0].reset();
        QList<DrawnEntry> entrants;
        for (int g = 0; g < 4; ++g) {
            // Group g holds entrants g, 7 - g, 8 + g, 15 - g (snake fill); places 3 and 2 won.
            entrants << DrawnEntry::entrant(100 + 15 - g, s("Namensvetter")) << entrantNo(8 + g);
        }
        redraw.phases[1] = fill(knockOut(), entrants);
        const QList<GroupPlaceRow> phaseOne = placeRows(db, draw.kid);
        const FinishedPlan plan = finish(db, redraw);
        QCOMPARE(plan.firstMatch, 25);
        QCOMPARE(plan.lastMatch, 31);
        const QList<Row> rows = matchRows(db, draw.kid);
        QCOMPARE(rows.size(), 31);
        QCOMPARE(rows.last().phase, 2); // the placement match is gone
        QCOMPARE(placeRows(db, draw.kid), phaseOne);
        // Each side by his key: the namesakes 115 (group A) and 114 (group B), with
        // their finishing ranks, not their drawn places (115 was drawn to place 3,
        // 108 to place 2 of group A).
        const auto side = [&](int nr, int s) {
            const Row r = byNumber(rows, nr);
            return s == 1 ? QList<int>{r.sid1, r.gid1, r.pos1} : QList<int>{r.sid2, r.gid2, r.pos2};
        };
        QCOMPARE(side(25, 1), (QList<int>{115, 0, 0}));
        QCOMPARE(byNumber(rows, 25).s1, s("Namensvetter"));
        QCOMPARE(side(25, 2), (QList<int>{113, 2, 0}));
        QCOMPARE(side(26, 1), (QList<int>{108, 0, 1}));
        QCOMPARE(side(27, 1), (QList<int>{114, 1, 0}));
        QCOMPARE(byNumber(rows, 31).s1, winnerPlaceholder(29));
        // The other class is as it was.
        QCOMPARE(matchRows(db, other.kid).size(), 31);
    }

    // What a draw refuses writes nothing.
    void refusals_data() { addBackendColumn(); addBackendRows(); }
    void refusals()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        FinishedDraw draw = firstDraw(kTid, 0, {groupPhase(2, 4, 2, 0), groupPhase(1, 4)}, 8);
        classFor(db, draw);
        finish(db, draw);
        playPhaseOne(db, draw.kid, 4);
        const auto refused = [&](const FinishedDraw& d, const QString& message) {
            const QStringList before = dumpTables(db);
            try {
                finish(db, d);
                return QStringLiteral("not refused");
            } catch (const AppError& e) {
                if (e.message() != message)
                    return e.message();
            }
            return dumpTables(db) == before ? QString() : QStringLiteral("rows changed");
        };

        FinishedDraw redraw = draw;
        redraw.redrawPhase = 2;
        redraw.phases[0].reset();
        redraw.phases[1]->groups[0] = {entrantNo(0), entrantNo(3), entrantNo(4), DrawnEntry::empty()};
        redraw.phases[1]->undrawn = {entrantNo(7)};
        QCOMPARE(refused(redraw, kUndrawnMessage), QString());

        // Phase 1 opened again at another desk.
        redraw.phases[1]->undrawn.clear();
        execute(db, s("UPDATE Spielplan SET beendet=0 WHERE KID=:k AND spielnummer=3"), {{s("k"), draw.kid}});
        QCOMPARE(refused(redraw, s("Phase 1 muss abgeschlossen sein um Phase 2 neu auszulosen")), QString());
        execute(db, s("UPDATE Spielplan SET beendet=1 WHERE KID=:k AND spielnummer=3"), {{s("k"), draw.kid}});

        // The settings changed meanwhile.
        FinishedDraw changed = draw;
        changed.settings.phases[1]->teilnehmer = 5;
        changed.phases[1]->groups[0].append(DrawnEntry::empty());
        writeClassSettings(db, draw.kid, changed.settings);
        QVERIFY(!refused(draw, {}).isEmpty());
        writeClassSettings(db, draw.kid, draw.settings);

        // The plan changed since the wizard read it.
        FinishedDraw stale = draw;
        stale.loadedPlan = QByteArray("before");
        QVERIFY(!refused(stale, {}).isEmpty());
        stale.loadedPlan = planStamp(db, draw.kid);
        QCOMPARE(refused(stale, {}), QStringLiteral("not refused"));

        // The new draw of the group phase once phase 1 is played again: group A
        // held 100, 103, 104, 107, ranked in reverse.
        playPhaseOne(db, draw.kid, 4);
        finish(db, redraw);
        const QList<GroupPlaceRow> places = placeRows(db, draw.kid);
        QCOMPARE(places.size(), 12);
        QCOMPARE(places[8], (GroupPlaceRow{2, 0, 100, s("Spieler 000"), 0, 3, 0, 2}));
        QCOMPARE(places[9], (GroupPlaceRow{2, 1, 103, s("Spieler 003"), 0, 2, 0, 2}));
        QCOMPARE(places[11], (GroupPlaceRow{2, 3, offenerQualifikant, QString(), -2, -1, 0, 2}));
        QCOMPARE(placeRows(db, draw.kid, "Tabellen").mid(8), places.mid(8)); // phase 1 ranked
        const Row first = byNumber(matchRows(db, draw.kid), 13); // pairing 1-4 of the shipped order
        QCOMPARE((QList<int>{first.sid1, first.gid1, first.pos1, first.gruppe}), (QList<int>{100, 0, 3, 2}));
        QCOMPARE((QList<int>{first.sid2, first.gid2, first.pos2}), (QList<int>{leererPlatz, -1, -1}));
        QCOMPARE(first.s2, QString());
    }

    // The plan files are read before anything is written.
    void missingPlanFiles()
    {
        TempProgramFolder folder(TempProgramFolder::Content::Empty);
        QVERIFY(folder.write(s("Files/system.txt"), "2:\n1-2\n3:\n2-3;1-3;1-2\n"));
        QVERIFY(folder.write(s("Files/ko_system.txt"), "2:\n1,1,1\n1,-1,-1,-3,-3,0,0,1,0,1\n"));
        const QString groups = folder.file(s("Files/system.txt"));
        const QString ko = folder.file(s("Files/ko_system.txt"));
        const auto message = [&](const FinishedDraw& draw, const QString& groupFile, const QString& koFile) {
            try {
                readPlanDefinitions(draw, groupFile, koFile);
            } catch (const AppError& e) {
                return e.message();
            }
            return QString();
        };
        QCOMPARE(message(firstDraw(kTid, 1, {groupPhase(2, 3)}, 6), groups, ko), QString());
        QCOMPARE(message(firstDraw(kTid, 1, {groupPhase(2, 4)}, 8), groups, ko),
                 s("Für Gruppen mit 4 Teilnehmern fehlt die Spielfolge in Files\\system.txt."));
        QCOMPARE(message(firstDraw(kTid, 1, {groupPhase(2, 3)}, 6), folder.file(s("Files/none.txt")), ko),
                 s("Die Datei Files\\system.txt mit der Spielfolge der Gruppen fehlt."));
        // Groups of one place need no playing order.
        QCOMPARE(message(firstDraw(kTid, 1, {groupPhase(2, 1)}, 2), folder.file(s("Files/none.txt")), ko), QString());
        QCOMPARE(message(firstDraw(kTid, 1, {knockOut(PlaySystem::DoppeltesKO)}, 2), groups, ko), QString());
        QCOMPARE(message(firstDraw(kTid, 1, {knockOut(PlaySystem::DoppeltesKO)}, 3), groups, ko),
                 kDoubleKoMissingMessage);
        QCOMPARE(message(firstDraw(kTid, 1, {knockOut(PlaySystem::DoppeltesKO)}, 2), groups,
                         folder.file(s("Files/none.txt"))),
                 kDoubleKoMissingMessage);
        // More than 256 entrants would need a block of 512 slots, which the shipped file has not.
        const FinishedDraw large = firstDraw(kTid, 1, {knockOut(PlaySystem::DoppeltesKO)}, 257);
        QCOMPARE(message(large, shippedFile("system.txt"), shippedFile("ko_system.txt")), kDoubleKoMissingMessage);
        // A block that breaks the rules.
        QVERIFY(folder.write(s("Files/bad.txt"), "2:\n1,1,1\n2,-1,-1,-3,-3,0,0,1,0,1\n"));
        QVERIFY(message(firstDraw(kTid, 1, {knockOut(PlaySystem::DoppeltesKO)}, 2), groups,
                        folder.file(s("Files/bad.txt")))
                    .startsWith(kDoubleKoMissingMessage));
    }

    // Every failing statement of a first draw over an old plan, and of a new
    // draw of phase 2, leaves the old plan as it was.
    void atomic_data() { addBackendColumn(); addBackendRows(); }
    void atomic()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        FinishedDraw draw = firstDraw(kTid, 0, {groupPhase(2, 3, 1, 1), knockOut()}, 6);
        classFor(db, draw);
        finish(db, draw);
        FinishedDraw again = firstDraw(kTid, draw.kid, {groupPhase(2, 3, 1, 1), knockOut()}, 5);
        again.tid = kTid;
        QString failure = checkAtomic(db, [&] { finish(db, again); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));

        playPhaseOne(db, draw.kid, 3);
        FinishedDraw redraw = again;
        redraw.redrawPhase = 2;
        redraw.phases[0].reset();
        redraw.phases[1] = fill(knockOut(), {entrantNo(0), entrantNo(1), entrantNo(2)});
        failure = checkAtomic(db, [&] { finish(db, redraw); });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(matchRows(db, draw.kid).size(), 6 + 3);
    }

    // Two desks finish the same class at once, each many times: every time one
    // complete plan, never the rows of both.
    void twoDesks()
    {
        TestDatabase tdb(Backend::PostgreSQL);
        if (!tdb.ready())
            return;
        FinishedDraw draw = firstDraw(kTid, 0, {groupPhase(4, 4, 2, 0), knockOut()}, 16);
        classFor(tdb.db(), draw);
        constexpr int rounds = 8;
        std::atomic<int> failures{0};
        QString firstError;
        QList<QThread*> desks;
        for (int d = 0; d < 2; ++d) {
            desks << QThread::create([&, d] {
                try {
                    ScopedConnection desk(tdb.pg()->open(uniqueConnectionName(QStringLiteral("desk"))));
                    FinishedDraw mine = firstDraw(kTid, draw.kid, {groupPhase(4, 4, 2, 0), knockOut()}, 15 + d);
                    mine.tid = kTid;
                    for (int i = 0; i < rounds; ++i) {
                        finish(desk.db(), mine);
                        const int matches = scalar(desk.db(), s("SELECT COUNT(*) FROM Spielplan WHERE KID=:k"),
                                                   {{s("k"), draw.kid}})
                                                .toInt();
                        if (matches != 31)
                            throw AppError(QStringLiteral("%1 matches after a finish").arg(matches));
                    }
                } catch (const std::exception& e) {
                    if (failures++ == 0)
                        firstError = QString::fromUtf8(e.what());
                }
            });
        }
        for (QThread* desk : desks)
            desk->start();
        for (QThread* desk : desks) {
            desk->wait();
            delete desk;
        }
        QVERIFY2(failures == 0, qPrintable(firstError));
        QCOMPARE(placeRows(tdb.db(), draw.kid).size(), 16);
        QCOMPARE(count(tdb.db(), s("SELECT COUNT(DISTINCT spielnummer) FROM Spielplan WHERE KID=:k"), draw.kid), 31);
    }
};

QTEST_GUILESS_MAIN(TestPlanGeneration)
#include "test_plangeneration.moc"
