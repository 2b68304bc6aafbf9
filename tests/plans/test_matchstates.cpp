// Match states and pools: the playability check as a table on hand-made pools;
// on classes drawn for real (SQLite, and PostgreSQL where it matters) the class
// start, call-ups demoting what they took, the rebuild after a redraw equal to
// the incremental steps, the offer of next matches, every page showing a
// state; a status icon's click opens the dialog of its state, a mouse button
// pressed on it remembers the match for its context menu.
#include "planfixture.h"
#include "recordingdialogs.h"

#include "data/matchstaterecords.h"
#include "data/planviewrecords.h"
#include "data/sql.h"
#include "platform/apppaths.h"
#include "plans/matchflow.h"
#include "plans/plancanvas.h"
#include "plans/planpanel.h"
#include "plans/tspielplaene.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"
#include "controls/uibuttons.h"

#include <QComboBox>
#include <QLabel>

#include <algorithm>
#include <memory>
#include <QScrollArea>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

struct FlowFixture {
    TestDatabase tdb;
    FakePrompter prompter;
    RecordingDialogs dialogs;
    PlanPanel panel{nullptr};
    Tspielplaene spielplaene{nullptr};

    explicit FlowFixture(Backend backend = Backend::SQLite) : tdb(backend)
    {
        PlanLinks links;
        links.prompter = &prompter;
        links.database = [this] { return tdb.db(); };
        links.firstDay = [] { return QDate(2026, 6, 6); };
        links.programFile = [](const QString& relative) {
            return AppPaths::resolve(TempProgramFolder::sourceDir() + QStringLiteral("/resources"), relative);
        };
        links.dialogs = &dialogs;
        spielplaene.attach(&panel, links);
        panel.resize(1000, 700);
    }

    QSqlDatabase db() { return tdb.db(); }
    PlanSession& session() { return spielplaene.session(); }
    int tag(int n) { return session().states.tag(n); }
    PlanCanvas* canvas(int page) { return qobject_cast<PlanCanvas*>(panel.page(page)->widget()); }
    PlanIcon* icon(int page, const QString& name) { return canvas(page)->findChild<PlanIcon*>(name); }
};

// Every match's number with its group and entrants, by number.
QList<MatchStateRow> rowsOf(const QSqlDatabase& db, int kid)
{
    return readMatchStateRows(db, kid);
}

// The open match of the class between a and b (either side).
MatchStateRow matchOf(const QSqlDatabase& db, int kid, int a, int b)
{
    for (const MatchStateRow& row : readMatchStateRows(db, kid))
        if ((row.sid1 == a && row.sid2 == b) || (row.sid1 == b && row.sid2 == a))
            return row;
    return {};
}

// What the dialogs store on a confirmed call-up, a start and a result (the
// tests stand in for them; the plan only reads these columns).
void storeCall(const QSqlDatabase& db, int kid, int n, const QString& table, const QString& umpire = {})
{
    execute(db, s("UPDATE Spielplan SET in_planung=1,an_platte=:t,schiri=:u WHERE KID=:k AND spielnummer=:n"),
            {{s("t"), table}, {s("u"), umpire.isEmpty() ? QVariant() : QVariant(umpire)}, {s("k"), kid}, {s("n"), n}});
}
void storeStart(const QSqlDatabase& db, int kid, int n)
{
    execute(db, s("UPDATE Spielplan SET in_planung=0,begonnen=1 WHERE KID=:k AND spielnummer=:n"),
            {{s("k"), kid}, {s("n"), n}});
}
void storeResult(const QSqlDatabase& db, int kid, int n, const QString& ergebnis, const QList<int>& saetze)
{
    execute(db, s("UPDATE Spielplan SET in_planung=0,begonnen=0,beendet=1,ergebnis=:e WHERE KID=:k AND spielnummer=:n"),
            {{s("e"), ergebnis}, {s("k"), kid}, {s("n"), n}});
    // Result entry stores all nine sets, the ones not played as Null.
    for (int i = 0; i < 9; ++i)
        execute(db, s("UPDATE Spielplan SET satz%1=:v WHERE KID=:k AND spielnummer=:n").arg(i + 1),
                {{s("v"), i < saetze.size() ? QVariant(saetze[i]) : QVariant(QMetaType::fromType<int>())},
                 {s("k"), kid}, {s("n"), n}});
}

QList<PoolItem> poolOf(const QStringList& texts)
{
    QList<PoolItem> items;
    for (const QString& text : texts)
        items.append({text, 0});
    return items;
}

} // namespace

class TestMatchStates : public QObject {
    Q_OBJECT
private slots:
    void getidTakesTheNumberFromItsFirstDigit()
    {
        QCOMPARE(Tspielplaene::getid(QStringLiteral("status12")), 12);
        QCOMPARE(Tspielplaene::getid(QStringLiteral("statusx12")), 12);
        QCOMPARE(Tspielplaene::getid(QStringLiteral("status")), 0);
    }

    // Playability of an open match as a table: ids x player pool x table pool
    // x which pools exist; the check never demotes.
    void playability_data()
    {
        QTest::addColumn<int>("gruppe");
        QTest::addColumn<int>("sid1");
        QTest::addColumn<int>("sid2");
        QTest::addColumn<QStringList>("pools"); // "name=a,b" (a pool without items: "name=")
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        const QStringList group{"sliste0=11,12", "platte0=T1"};
        QTest::newRow("both free, a table") << 0 << 11 << 12 << group << 1 << 2;
        QTest::newRow("placeholder") << 0 << -1 << 12 << group << 1 << 1;
        QTest::newRow("bye") << 0 << 11 << -2 << group << 1 << 1;
        QTest::newRow("no id") << 0 << 0 << 12 << group << 1 << 1;
        QTest::newRow("one taken") << 0 << 11 << 13 << group << 1 << 1;
        QTest::newRow("table pool empty") << 0 << 11 << 12 << QStringList{"sliste0=11,12", "platte0="} << 1 << 1;
        QTest::newRow("group pool present, class pools full")
            << 0 << 11 << 12 << QStringList{"sliste0=11", "platte0=", "allespieler=11,12", "alleplatten=T1"} << 1 << 1;
        QTest::newRow("no group pools: class pools")
            << 0 << 11 << 12 << QStringList{"allespieler=11,12", "alleplatten=T1"} << 1 << 2;
        QTest::newRow("outside groups") << -1 << 11 << 12 << QStringList{"sliste0=11,12", "platte0=T1"} << 1 << 1;
        QTest::newRow("outside groups, class pools")
            << -1 << 11 << 12 << QStringList{"allespieler=11,12", "alleplatten=T2"} << 1 << 2;
        QTest::newRow("no pools at all") << 0 << 11 << 12 << QStringList{} << 1 << 1;
        QTest::newRow("id text exactly") << 0 << 1 << 12 << QStringList{"sliste0=11,12", "platte0=T1"} << 1 << 1;
        QTest::newRow("never demotes") << 0 << 11 << 13 << group << 2 << 2;
    }

    void playability()
    {
        QFETCH(int, gruppe);
        QFETCH(int, sid1);
        QFETCH(int, sid2);
        QFETCH(QStringList, pools);
        QFETCH(int, before);
        QFETCH(int, after);
        PlanSession session;
        for (const QString& pool : pools) {
            const QString name = pool.section(QLatin1Char('='), 0, 0);
            const QString items = pool.section(QLatin1Char('='), 1);
            session.pools.addIfAbsent(name, poolOf(items.isEmpty() ? QStringList{} : items.split(QLatin1Char(','))));
        }
        QList<int> changed;
        MatchFlow flow(session, [&](int n) { changed << n; });
        session.states.set(7, MatchState{before, {}, {}, {}});
        QCOMPARE(flow.spielmoeglich(1, gruppe, 7, sid1, sid2), before == 1 && after == 2);
        QCOMPARE(session.states.tag(7), after);
        QCOMPARE(changed, after != before ? QList<int>{7} : QList<int>{});
    }

    void poolsTakeAndGiveBack()
    {
        ResourcePools pools;
        pools.addIfAbsent("sliste0", poolOf({"11", "12", "13"}));
        pools.addIfAbsent("platte0", poolOf({"T1", "T2", "T3"}));
        pools.addIfAbsent("platte1", poolOf({"T2", "T3"}));
        pools.addIfAbsent("alleplatten", poolOf({"T1", "T2", "T3"}));
        pools.addIfAbsent("schiri", poolOf({"Berg, Anna", "Ufer, Udo"}));
        QCOMPARE(pools.groupPools("platte"), (QStringList{"platte0", "platte1"}));

        const MatchResources match{0, 11, 12, "T2", "Ufer, Udo"};
        pools.takeCallUp(match);
        QCOMPARE(pools.texts("sliste0"), QStringList{"13"});
        QCOMPARE(pools.texts("platte0"), (QStringList{"T1", "T3"}));
        QCOMPARE(pools.texts("platte1"), QStringList{"T3"}); // every group's pool
        QCOMPARE(pools.texts("alleplatten"), (QStringList{"T1", "T3"}));
        QCOMPARE(pools.texts("schiri"), QStringList{"Berg, Anna"});
        // Taking what is not there changes nothing, nor does a pool that does not exist.
        pools.takeCallUp(match);
        pools.take("sliste9", "11");
        QCOMPARE(pools.texts("sliste0"), QStringList{"13"});
        QVERIFY(!pools.contains("sliste9"));

        // Given back, each once and at its place: the first free table is the same as before.
        pools.giveBack(match, TableReturn::Everywhere);
        pools.giveBack(match, TableReturn::Everywhere);
        QCOMPARE(pools.texts("sliste0"), (QStringList{"11", "12", "13"}));
        QCOMPARE(pools.texts("platte0"), (QStringList{"T1", "T2", "T3"}));
        QCOMPARE(pools.texts("platte1"), (QStringList{"T2", "T3"}));
        QCOMPARE(pools.texts("alleplatten"), (QStringList{"T1", "T2", "T3"}));
        QCOMPARE(pools.texts("schiri"), (QStringList{"Berg, Anna", "Ufer, Udo"}));

        // Tables fixed per group go back to the group only; a match started by hand took none.
        pools.takeCallUp(match);
        pools.giveBack(match, TableReturn::OwnGroup);
        QCOMPARE(pools.texts("platte0"), (QStringList{"T1", "T2", "T3"}));
        QCOMPARE(pools.texts("platte1"), QStringList{"T3"});
        QCOMPARE(pools.texts("alleplatten"), (QStringList{"T1", "T3"}));
        pools.giveBack(MatchResources{0, 11, 12, "T1", {}}, TableReturn::None);
        QCOMPARE(pools.texts("alleplatten"), (QStringList{"T1", "T3"}));
        // A text the pool was not made with goes last.
        pools.giveBack("schiri", "Adler, Ada");
        QCOMPARE(pools.texts("schiri"), (QStringList{"Berg, Anna", "Ufer, Udo", "Adler, Ada"}));
    }

    void lookOfTheStates()
    {
        const MatchState finished{kBeendet, "3:1", "+7, -9, -0", "-7, +9, +0"};
        QCOMPARE(statusLook(finished, false), (StatusLook{5, {}, "3:1", "+7, -9, -0"}));
        QCOMPARE(statusLook(finished, true), (StatusLook{5, {}, "1:3", "-7, +9, +0"}));
        QCOMPARE(statusLook(MatchState{}, true), (StatusLook{1, "images\\GreyDot.gif", {}, {}}));
        QCOMPARE(statusLook(MatchState{kSpielbar, {}, {}, {}}, false).picture, QStringLiteral("images\\warning.gif"));
        QCOMPARE(statusLook(MatchState{kAufgerufen, {}, {}, {}}, false).picture, QStringLiteral("images\\test3.gif"));
        QCOMPARE(statusLook(MatchState{kLaeuft, {}, {}, {}}, true).picture, QStringLiteral("images\\test4.gif"));
        QCOMPARE(mirroredErgebnis("0:3"), QStringLiteral("3:0"));

        // A finished row's hints come from the score model.
        MatchStateRow row;
        row.ergebnis = "3:1";
        row.saetze = {7, -9, -100, std::nullopt, 4};
        const MatchState fromRow = finishedState(row);
        QCOMPARE(fromRow.hint, QStringLiteral("+7, -9, -0, +4"));
        QCOMPARE(fromRow.mirroredHint, QStringLiteral("-7, +9, +0, -4"));
        QCOMPARE(statusLook(fromRow, true).text, QStringLiteral("1:3"));
        QCOMPARE(mirroredErgebnis("5:10"), QStringLiteral("10:5"));
    }

    // The class start marks every phase-1 match with two entrant texts playable,
    // then the demotion takes back those with a bye or a placeholder; nothing is written.
    void classStartMarksThenDemotes()
    {
        FlowFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("U18"), {groupPhase(2, 4)}, 8);
        const QList<MatchStateRow> rows = rowsOf(f.db(), kid);
        const int bye = rows[0].spielnummer;
        const int placeholder = rows[1].spielnummer;
        execute(f.db(), s("UPDATE Spielplan SET SID2=-2,spieler2='Freilos' WHERE KID=:k AND spielnummer=:n"),
                {{s("k"), kid}, {s("n"), bye}});
        execute(f.db(), s("UPDATE Spielplan SET SID1=-1,spieler1='Sieger Spiel 9' WHERE KID=:k AND spielnummer=:n"),
                {{s("k"), kid}, {s("n"), placeholder}});
        f.panel.GruppeDarBox->setCurrentIndex(0);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("U18 (Einzel)"));
        QVERIFY(f.panel.turniergo->isEnabled());
        const QStringList dump = dumpTables(f.db());

        // The steps on the model: marked, then demoted.
        PlanSession session;
        session.kid = kid;
        session.pools = f.session().pools;
        QList<QPair<int, int>> steps;
        MatchFlow flow(session, [&](int n) { steps.append({n, session.states.tag(n)}); });
        flow.markStart(f.db());
        QVERIFY(steps.contains(QPair<int, int>{bye, 2}));
        QVERIFY(steps.contains(QPair<int, int>{placeholder, 2}));
        flow.planupdate(f.db());
        QCOMPARE(session.states.tag(bye), 1);
        QCOMPARE(session.states.tag(placeholder), 1);

        // The start button: every call-up of the offer cancelled.
        f.dialogs.answers = QList<bool>(rows.size(), false);
        f.panel.sp_contol->setCurrentIndex(2);
        f.spielplaene.turniergo(kid);
        QCOMPARE(f.panel.sp_contol->currentIndex(), 0);
        QVERIFY(!f.panel.turniergo->isEnabled());
        QStringList offered;
        for (const MatchStateRow& row : rows)
            if (row.spielnummer != bye && row.spielnummer != placeholder)
                offered << QStringLiteral("spielaufrufen1 %1").arg(row.spielnummer);
        QCOMPARE(f.dialogs.calls, offered);
        for (const MatchStateRow& row : rows) {
            const bool open = row.spielnummer != bye && row.spielnummer != placeholder;
            QCOMPARE(f.tag(row.spielnummer), open ? 2 : 1);
            if (!open)
                continue; // no cell names a bye or a placeholder
            QCOMPARE(f.icon(0, QStringLiteral("status%1").arg(row.spielnummer))->Tag, 2);
            QCOMPARE(f.icon(0, QStringLiteral("statusx%1").arg(row.spielnummer))->Tag, 2);
        }
        QCOMPARE(dumpTables(f.db()), dump);
        QVERIFY(f.prompter.verify());
    }

    // Two open matches of a group share an entrant: the call-up of one demotes
    // the other; its result given back and a rebuild make it playable again.
    void callUpDemotesWhatItTook()
    {
        FlowFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("U18"), {groupPhase(2, 4)}, 8);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("U18 (Einzel)"));
        f.dialogs.answers = QList<bool>(20, false);
        f.spielplaene.turniergo(kid);
        // Group A holds 100, 103, 104, 107.
        const MatchStateRow first = matchOf(f.db(), kid, 100, 103);
        const MatchStateRow shared = matchOf(f.db(), kid, 100, 104);
        const MatchStateRow other = matchOf(f.db(), kid, 104, 107);
        const MatchStateRow groupB = matchOf(f.db(), kid, 101, 102);
        QCOMPARE(f.tag(shared.spielnummer), 2);

        storeCall(f.db(), kid, first.spielnummer, "T1");
        f.spielplaene.aufgerufen(first.spielnummer, {first.gruppe, first.sid1, first.sid2, "T1", {}});
        QCOMPARE(f.tag(first.spielnummer), 3);
        QCOMPARE(f.icon(0, QStringLiteral("status%1").arg(first.spielnummer))->Tag, 3);
        QCOMPARE(f.tag(shared.spielnummer), 1);
        QCOMPARE(f.tag(other.spielnummer), 2);
        // The called table left every group's pool (tables are shared by both groups).
        QCOMPARE(f.session().pools.texts("platte0"), QStringList{"T2"});
        QCOMPARE(f.session().pools.texts("platte1"), QStringList{"T2"});

        // The second table called in the other group: no group has a table left.
        storeCall(f.db(), kid, groupB.spielnummer, "T2");
        f.spielplaene.aufgerufen(groupB.spielnummer, {groupB.gruppe, groupB.sid1, groupB.sid2, "T2", {}});
        for (const MatchStateRow& row : rowsOf(f.db(), kid))
            if (row.open())
                QCOMPARE(f.tag(row.spielnummer), 1);

        storeStart(f.db(), kid, first.spielnummer);
        f.spielplaene.gestartet(first.spielnummer);
        QCOMPARE(f.tag(first.spielnummer), 4);
        storeResult(f.db(), kid, first.spielnummer, "3:1", {7, -9, -100});
        f.session().pools.giveBack({first.gruppe, first.sid1, first.sid2, "T1", {}}, TableReturn::Everywhere);
        f.spielplaene.statusladen(kid);
        QCOMPARE(f.tag(first.spielnummer), 5);
        QCOMPARE(f.icon(0, QStringLiteral("status%1").arg(first.spielnummer))->text(), QStringLiteral("3:1"));
        QCOMPARE(f.icon(0, QStringLiteral("status%1").arg(first.spielnummer))->toolTip(), QStringLiteral("+7, -9, -0"));
        QCOMPARE(f.tag(shared.spielnummer), 2);
        QVERIFY(f.prompter.verify());
    }

    void groupWithoutTablesIsNeverPlayable()
    {
        FlowFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("U18"), {groupPhase(2, 4)}, 8);
        execute(f.db(), s("DELETE FROM Platten WHERE KID=:k AND GID=1"), {{s("k"), kid}});
        f.spielplaene.openClass(kPlanTid, QStringLiteral("U18 (Einzel)"));
        f.dialogs.answers = QList<bool>(20, false);
        f.spielplaene.turniergo(kid);
        for (const MatchStateRow& row : rowsOf(f.db(), kid))
            QCOMPARE(f.tag(row.spielnummer), row.gruppe == 1 ? 1 : 2);
        QCOMPARE(f.dialogs.calls.size(), 6); // group A's six matches only
    }

    // A redraw rebuilds states and pools from the database: equal to what the
    // incremental steps left, on both backends.
    void rebuildEqualsIncrementalSteps_data() { addBackendColumn(); addBackendRows(); }
    void rebuildEqualsIncrementalSteps()
    {
        QFETCH(Backend, backend);
        FlowFixture f(backend);
        if (!f.tdb.ready())
            return;
        const int kid = drawnClass(f.db(), QStringLiteral("U18"), {groupPhase(2, 4)}, 8);
        insertRow(f.db(), "Schiri", {{"SCHIRIID", 1}, {"TID", kPlanTid}, {"snname", "Ufer"}, {"svname", "Udo"}, {"sangemeldet", 1}});
        insertRow(f.db(), "Schiri_im_turnier", {{"SCHIRIID", 1}, {"KID", kid}, {"TID", kPlanTid}});
        f.panel.GruppeDarBox->setCurrentIndex(0);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("U18 (Einzel)"));
        QCOMPARE(f.session().pools.texts("schiri"), QStringList{"Ufer, Udo"});
        // A class never called: all waiting, the start button enabled.
        QVERIFY(f.panel.turniergo->isEnabled());
        for (const MatchStateRow& row : rowsOf(f.db(), kid))
            QCOMPARE(f.tag(row.spielnummer), 1);

        f.dialogs.answers = QList<bool>(20, false);
        f.spielplaene.turniergo(kid);
        const MatchStateRow a = matchOf(f.db(), kid, 100, 103);
        const MatchStateRow b = matchOf(f.db(), kid, 101, 102);
        const MatchStateRow c = matchOf(f.db(), kid, 104, 107);
        storeCall(f.db(), kid, a.spielnummer, "T1", "Ufer, Udo");
        f.spielplaene.aufgerufen(a.spielnummer, {a.gruppe, a.sid1, a.sid2, "T1", "Ufer, Udo"});
        storeCall(f.db(), kid, b.spielnummer, "T2");
        f.spielplaene.aufgerufen(b.spielnummer, {b.gruppe, b.sid1, b.sid2, "T2", {}});
        storeStart(f.db(), kid, b.spielnummer);
        f.spielplaene.gestartet(b.spielnummer);
        // c was finished earlier (its resources are back).
        storeResult(f.db(), kid, c.spielnummer, "0:3", {-5, -100, -11});
        f.spielplaene.statusladen(kid);

        QMap<QString, QStringList> incremental;
        for (const QString& name : f.session().pools.names())
            incremental.insert(name, f.session().pools.texts(name));
        QMap<int, MatchState> states;
        const QList<MatchStateRow> rows = rowsOf(f.db(), kid);
        for (const MatchStateRow& row : rows)
            states.insert(row.spielnummer, f.session().states.state(row.spielnummer));

        f.panel.GruppeDarBox->setCurrentIndex(1); // drawn again as "Liste"
        f.spielplaene.GruppeDarBoxChange();
        QVERIFY(!f.panel.turniergo->isEnabled());
        QMap<QString, QStringList> rebuilt;
        for (const QString& name : f.session().pools.names())
            rebuilt.insert(name, f.session().pools.texts(name));
        QCOMPARE(rebuilt, incremental);
        QVERIFY(!rebuilt.value("platte0").contains("T1"));
        QVERIFY(rebuilt.value("schiri").isEmpty());
        for (const MatchStateRow& row : rows)
            QCOMPARE(f.session().states.state(row.spielnummer), states.value(row.spielnummer));
        QCOMPARE(f.tag(a.spielnummer), 3);
        QCOMPARE(f.tag(b.spielnummer), 4);
        QCOMPARE(f.tag(c.spielnummer), 5);
        PlanIcon* finished = f.icon(0, QStringLiteral("status%1").arg(c.spielnummer));
        QCOMPARE(finished->text(), QStringLiteral("0:3"));
        QCOMPARE(finished->toolTip(), QStringLiteral("-5, -0, -11"));
        QVERIFY(finished->pixmap().isNull());
        QCOMPARE(f.icon(0, QStringLiteral("status%1").arg(a.spielnummer))->Tag, 3);
        QVERIFY(f.prompter.verify());
    }

    // A knock-out entrant called to a table is not free after a rebuild: the
    // rebuild takes him out of the class's player pool too.
    void rebuildTakesKnockOutEntrantsOut_data() { addBackendColumn(); addBackendRows(); }
    void rebuildTakesKnockOutEntrantsOut()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const int kid = drawnClass(tdb.db(), QStringLiteral("KO"), {knockOut()}, 8);
        PlanSession session;
        session.kid = kid;
        QStringList ids;
        for (const MatchStateRow& row : readMatchStateRows(tdb.db(), kid))
            for (int sid : {row.sid1, row.sid2})
                if (sid >= 0 && !ids.contains(QString::number(sid)))
                    ids << QString::number(sid);
        session.pools.addIfAbsent("allespieler", poolOf(ids));
        session.pools.addIfAbsent("alleplatten", poolOf({"T1", "T2"}));
        const MatchStateRow first = readMatchStateRows(tdb.db(), kid).first();
        storeCall(tdb.db(), kid, first.spielnummer, "T2");
        MatchFlow flow(session, {});
        QVERIFY(flow.statusladen(tdb.db()));
        QVERIFY(!session.pools.holds("allespieler", QString::number(first.sid1)));
        QVERIFY(!session.pools.holds("allespieler", QString::number(first.sid2)));
        QCOMPARE(session.pools.texts("alleplatten"), QStringList{"T1"});
        QCOMPARE(session.states.tag(first.spielnummer), 3);
        // The other first-round matches are playable on the table left.
        const MatchStateRow second = readMatchStateRows(tdb.db(), kid).at(1);
        QCOMPARE(session.states.tag(second.spielnummer), 2);

        // The last table called by a later match: no earlier open match is
        // playable on it, though the rebuild meets the earlier one first.
        const MatchStateRow fourth = readMatchStateRows(tdb.db(), kid).at(3);
        storeCall(tdb.db(), kid, fourth.spielnummer, "T1");
        PlanSession again;
        again.kid = kid;
        again.pools.addIfAbsent("allespieler", poolOf(ids));
        again.pools.addIfAbsent("alleplatten", poolOf({"T1", "T2"}));
        MatchFlow(again, {}).statusladen(tdb.db());
        QVERIFY(again.pools.texts("alleplatten").isEmpty());
        QCOMPARE(again.states.tag(second.spielnummer), 1);
        QCOMPARE(again.states.tag(fourth.spielnummer), 3);
    }

    // The offer of next matches: only the given phase, by match number even
    // when the rows were updated out of order; an open bye of phase 1 does not
    // end it; a cancelled call-up goes on, unticking "aufrufen" ends it, and a
    // confirmed call-up takes what the later matches then lack.
    void offerOfNextMatches_data() { addBackendColumn(); addBackendRows(); }
    void offerOfNextMatches()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const int kid = drawnClass(db, QStringLiteral("Zwei"), {groupPhase(2, 4, 2), groupPhase(1, 4)}, 8);
        // Phase 2's qualifiers known (keys by their source group and place), its rows
        // updated from the last to the first; phase 1 played but for one open
        // match against a bye, whose empty side keeps its group open no longer.
        QList<int> phase2;
        for (const MatchStateRow& row : readMatchStateRows(db, kid))
            if (row.phase == 2)
                phase2.prepend(row.spielnummer);
        for (int n : phase2)
            execute(db, s("UPDATE Spielplan SET SID1=200+10*parentGID1+parentpos1,SID2=200+10*parentGID2+parentpos2 "
                          "WHERE KID=:k AND spielnummer=:n"),
                    {{s("k"), kid}, {s("n"), n}});
        std::sort(phase2.begin(), phase2.end());
        execute(db, s("UPDATE Spielplan SET beendet=1 WHERE KID=:k AND phase=1"), {{s("k"), kid}});
        const int bye = readMatchStateRows(db, kid).first().spielnummer;
        execute(db, s("UPDATE Spielplan SET beendet=0,SID2=-2,spieler2='' WHERE KID=:k AND spielnummer=:n"),
                {{s("k"), kid}, {s("n"), bye}});

        QHash<int, MatchStateRow> rows;
        QStringList entrants;
        for (const MatchStateRow& row : readMatchStateRows(db, kid)) {
            rows.insert(row.spielnummer, row);
            for (int sid : {row.sid1, row.sid2})
                if (row.phase == 2 && !entrants.contains(QString::number(sid)))
                    entrants << QString::number(sid);
        }
        QCOMPARE(entrants.size(), 4);
        const int gruppe = rows.value(phase2.first()).gruppe;
        auto session = [&] {
            auto made = std::make_unique<PlanSession>();
            made->kid = kid;
            made->pools.addIfAbsent(QStringLiteral("sliste%1").arg(gruppe), poolOf(entrants));
            made->pools.addIfAbsent(QStringLiteral("platte%1").arg(gruppe), poolOf({"T1", "T2"}));
            return made;
        };
        auto calls = [](const QList<int>& numbers) {
            QStringList list;
            for (int n : numbers)
                list << QStringLiteral("spielaufrufen1 %1").arg(n);
            return list;
        };

        {   // Every call-up cancelled: all six by number.
            auto s1 = session();
            RecordingDialogs dialogs;
            dialogs.answers = QList<bool>(6, false);
            MatchFlow(*s1, {}).possiblegames(db, 2, dialogs);
            QCOMPARE(dialogs.calls, calls(phase2));
        }
        {   // Not ticked: nothing offered.
            auto s1 = session();
            RecordingDialogs dialogs;
            dialogs.next = false;
            MatchFlow(*s1, {}).possiblegames(db, 2, dialogs);
            QVERIFY(dialogs.calls.isEmpty());
        }
        {   // "nächstes mögliches Spiel aufrufen" unticked in the first call-up.
            auto s1 = session();
            RecordingDialogs dialogs;
            dialogs.answers = {false};
            dialogs.onCallUp = [&](int, bool) { dialogs.next1 = false; };
            MatchFlow(*s1, {}).possiblegames(db, 2, dialogs);
            QCOMPARE(dialogs.calls, calls({phase2.first()}));
        }
        {   // The first cancelled, then each confirmed call-up takes its entrants and a table.
            auto s1 = session();
            RecordingDialogs dialogs;
            dialogs.answers = {false};
            QStringList tables{"T1", "T2"};
            dialogs.onCallUp = [&](int n, bool confirmed) {
                if (!confirmed)
                    return;
                const MatchStateRow& row = rows[n];
                s1->pools.takeCallUp({row.gruppe, row.sid1, row.sid2, tables.takeFirst(), {}});
            };
            MatchFlow(*s1, {}).possiblegames(db, 2, dialogs);
            QVERIFY(dialogs.calls.size() >= 2);
            QCOMPARE(dialogs.calls.mid(0, 2), calls(phase2.mid(0, 2)));
            // The confirmed second match took two entrants: no later offer names either.
            const MatchStateRow taken = rows[phase2[1]];
            for (const QString& call : dialogs.calls.mid(2)) {
                const MatchStateRow& later = rows[call.section(' ', 1).toInt()];
                QVERIFY(later.sid1 != taken.sid1 && later.sid1 != taken.sid2);
                QVERIFY(later.sid2 != taken.sid1 && later.sid2 != taken.sid2);
            }
            QVERIFY(dialogs.calls.size() < 6);
        }
    }

    // A state shows on every page that shows the match (the final of a
    // knock-out class stands on its bracket and on the placement page).
    void stateShowsOnEveryPage()
    {
        FlowFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("U18"), {groupPhase(1, 4)}, 4);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("U18 (Einzel)"));
        const int n = rowsOf(f.db(), kid).first().spielnummer;
        plan::PlanLayout layout;
        layout.size = QSize(200, 100);
        layout.controls.append({plan::ControlKind::StatusIcon, QStringLiteral("status%1").arg(n), QRect(10, 10, 25, 16), {}, 1, plan::PlanTool::None});
        auto* placement = new PlanCanvas(QStringLiteral("sp4"), layout, {});
        f.panel.page(3)->setWidget(placement);
        storeCall(f.db(), kid, n, "T1");
        const MatchStateRow row = rowsOf(f.db(), kid).first();
        f.spielplaene.aufgerufen(n, {row.gruppe, row.sid1, row.sid2, "T1", {}});
        QCOMPARE(f.icon(0, QStringLiteral("status%1").arg(n))->Tag, 3);
        QCOMPARE(placement->statusIcon(QStringLiteral("status%1").arg(n))->Tag, 3);
        QVERIFY(!placement->statusIcon(QStringLiteral("status%1").arg(n))->pixmap().isNull());
        QVERIFY(f.prompter.verify());
    }

    // The first free table is the same on both backends: tables in German
    // order, numbers by value, whatever the server's collation.
    void tablePoolOrder_data() { addBackendColumn(); addBackendRows(); }
    void tablePoolOrder()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        for (const char* table : {"Tisch 10", "tisch 3", "Tisch 2", "Äußerer Tisch", "Tisch 1", "Zelt"})
            insertRow(tdb.db(), "Platten", {{"KID", 4}, {"GID", 0}, {"platte", table}});
        insertRow(tdb.db(), "Platten", {{"KID", 4}, {"GID", 1}, {"platte", "Tisch 2"}});
        const QHash<int, QStringList> tables = readGroupTableNames(tdb.db(), 4);
        QCOMPARE(tables.value(0), (QStringList{"Äußerer Tisch", "Tisch 1", "Tisch 2", "tisch 3", "Tisch 10", "Zelt"}));
        QCOMPARE(tables.value(1), QStringList{"Tisch 2"});
    }

    // What result entry reaches of the plan: pools given back with their key
    // and each text once, slot labels relabelled on their page, and nothing
    // done for a class that is not shown.
    void resultLink()
    {
        FlowFixture f;
        const int kid = drawnClass(f.db(), QStringLiteral("Zwei"), {groupPhase(2, 4, 2), groupPhase(1, 4)}, 8);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("Zwei (Einzel)"));
        ResultPlanLink& link = f.spielplaene;
        QVERIFY(link.hasPool("sliste0"));
        QVERIFY(link.poolNames().contains("platte2"));
        link.addToPool("schiri", "Ufer, Udo", 4);
        link.addToPool("schiri", "Ufer, Udo", 4);
        QCOMPARE(link.poolTexts("schiri"), QStringList{"Ufer, Udo"});
        QCOMPARE(f.session().pools.items("schiri").first().id, 4);
        link.addToPool("sliste9", "5", 0);
        QVERIFY(!link.hasPool("sliste9"));

        QLabel* slot = nullptr;
        for (QLabel* label : f.canvas(1)->findChildren<QLabel*>())
            if (label->text() == QStringLiteral("Sieger Gruppe A"))
                slot = label;
        QVERIFY(slot);
        link.relabelSlots(2, "Sieger Gruppe A", "Spieler 000", 100);
        QCOMPARE(slot->text(), QStringLiteral("Spieler 000"));
        QCOMPARE(slot->property("Tag").toInt(), 100);

        // Another class's result: the plan shown stays as it is.
        storeCall(f.db(), kid, 1, "T1");
        link.rebuildStates(kid + 1);
        link.offerNextMatches(kid + 1, 1);
        QCOMPARE(f.tag(1), 1);
        QVERIFY(f.dialogs.calls.isEmpty());
        link.rebuildStates(kid);
        QCOMPARE(f.tag(1), 3);
    }

    void clickOpensTheDialogOfTheState_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("tag");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("waiting") << "status3" << 1 << QStringList{"spielplanen 3"};
        QTest::newRow("playable") << "status3" << 2 << QStringList{"spielaufrufen1 3"};
        QTest::newRow("called") << "statusx3" << 3 << QStringList{"spielaufgerufen 3"};
        QTest::newRow("running") << "status3" << 4 << QStringList{"hint 3", "spielstarten 3"};
        QTest::newRow("running mirrored") << "statusx3" << 4 << QStringList{"hint x", "spielstarten 3"};
        QTest::newRow("finished") << "statusx3" << 5 << QStringList{"spielbeendet 3"};
        QTest::newRow("no state") << "status3" << 0 << QStringList{};
    }

    void clickOpensTheDialogOfTheState()
    {
        QFETCH(QString, name);
        QFETCH(int, tag);
        QFETCH(QStringList, calls);
        FlowFixture f;
        drawnClass(f.db(), QStringLiteral("U18"), {groupPhase(2, 4)}, 8);
        f.panel.GruppeDarBox->setCurrentIndex(0); // "Matrix": mirrored icons too
        f.spielplaene.openClass(kPlanTid, QStringLiteral("U18 (Einzel)"));
        PlanIcon* icon = f.icon(0, name);
        QVERIFY(icon);
        icon->Tag = tag;
        QTest::mouseClick(icon, Qt::LeftButton);
        QCOMPARE(f.dialogs.calls, calls);
        QVERIFY(f.prompter.verify());
    }

    void mouseDownRemembersTheMatchAndOpensTheMenuOnTheRightButton()
    {
        FlowFixture f;
        drawnClass(f.db(), QStringLiteral("U18"), {groupPhase(2, 4)}, 8);
        f.panel.GruppeDarBox->setCurrentIndex(0);
        f.spielplaene.openClass(kPlanTid, QStringLiteral("U18 (Einzel)"));
        PlanPopupMenu* menu = f.spielplaene.PopupMenu1;
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->Spielmauellstarten1->text(), QStringLiteral("Spiel manuell starten"));
        QCOMPARE(menu->Spielzurcksetzen1->text(), QStringLiteral("Spiel zurücksetzen"));

        PlanIcon* left = f.icon(0, QStringLiteral("statusx5"));
        left->Tag = 4;
        QTest::mousePress(left, Qt::LeftButton);
        QCOMPARE(f.spielplaene.session().popupspielnummer, 5);
        QCOMPARE(menu->Tag, 4);
        QVERIFY(!menu->isVisible());
        QTest::mouseRelease(left, Qt::LeftButton);
        QCOMPARE(f.dialogs.calls, QStringList({"hint x", "spielstarten 5"}));
        f.dialogs.calls.clear();

        PlanIcon* right = f.icon(0, QStringLiteral("status2"));
        right->Tag = 3;
        QTest::mousePress(right, Qt::RightButton);
        QCOMPARE(f.spielplaene.session().popupspielnummer, 2);
        QCOMPARE(menu->Tag, 3);
        QVERIFY(menu->isVisible());
        menu->hide();
        // A right click opens no dialog.
        QTest::mouseRelease(right, Qt::RightButton);
        QVERIFY(f.dialogs.calls.isEmpty());
    }
};

QTEST_MAIN(TestMatchStates)
#include "test_matchstates.moc"
