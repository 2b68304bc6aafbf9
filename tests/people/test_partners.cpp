// Doubles partners on both backends: symmetric pairs, taking a partner over
// from a third player (asked first), a partner not entered in the class, team
// names kept, the partner candidates, one transaction; and the dialog.
#include "controls/uibuttons.h"
#include "data/partnerrecords.h"
#include "data/sql.h"
#include "draw/tdoppelauswahl.h"
#include "peoplefixtures.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"
#include "support/widgethelpers.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

// "KID|SID|partner|team" of every pair row, sorted.
QStringList pairs(const QSqlDatabase& db)
{
    QStringList rows;
    for (const QString& line : dumpTables(db, {s("Doppelpartner")}))
        rows << line.section(QLatin1Char('|'), 1);
    return rows;
}

// Class 1 doubles with players 1..4 entered; 3 and 4 are a pair.
void seedDoubles(const QSqlDatabase& db)
{
    seedClass(db, 1, 1, s("D"), ClassKind::Doppel);
    seedClass(db, 1, 2, s("T"), ClassKind::Team);
    for (int sid = 1; sid <= 5; ++sid) {
        seedPlayer(db, 1, sid, s("P%1").arg(sid), s("v"));
        if (sid <= 4)
            seedEntry(db, 1, 1, sid);
    }
    seedPair(db, 1, 3, 4);
    seedPair(db, 1, 4, 3);
}

} // namespace

class TestPartners : public QObject {
    Q_OBJECT
private slots:
    void store_data()
    {
        addBackendColumn();
        QTest::addColumn<QList<int>>("partners"); // class 1's partner of player 1, per call
        QTest::addColumn<bool>("takeOver");
        QTest::addColumn<QStringList>("expected");
        const QStringList pair34{s("1|3|4|<null>"), s("1|4|3|<null>")};
        const QList<std::tuple<const char*, QList<int>, bool, QStringList>> cases{
            {"free partner", {2}, false, QStringList{s("1|1|2|<null>"), s("1|2|1|<null>")} + pair34},
            {"saved twice", {2, 2}, false, QStringList{s("1|1|2|<null>"), s("1|2|1|<null>")} + pair34},
            {"no partner", {0}, false, QStringList{s("1|1|<null>|<null>")} + pair34},
            {"partner taken, kept", {3}, false, QStringList{s("1|1|<null>|<null>")} + pair34},
            {"partner taken over", {3}, true,
             QStringList{s("1|1|3|<null>"), s("1|3|1|<null>"), s("1|4|<null>|<null>")}},
            {"partner not entered", {5}, false, QStringList{s("1|1|<null>|<null>")} + pair34},
            {"partner changed", {2, 0}, false,
             QStringList{s("1|1|<null>|<null>"), s("1|2|<null>|<null>")} + pair34},
        };
        for (const auto& [name, backend] : {std::pair{"sqlite", Backend::SQLite}, {"postgresql", Backend::PostgreSQL}}) {
            for (const auto& [label, partners, takeOver, expected] : cases)
                QTest::newRow(qPrintable(s(name) + s(" ") + s(label))) << backend << partners << takeOver << expected;
        }
    }
    void store()
    {
        QFETCH(Backend, backend);
        QFETCH(QList<int>, partners);
        QFETCH(bool, takeOver);
        QFETCH(QStringList, expected);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedDoubles(db);
        for (int p : partners) {
            const QList<PartnerLine> lines{{1, p}};
            QSet<std::pair<int, int>> allowed;
            if (takeOver)
                allowed.insert({1, p});
            storePartners(db, 1, lines, allowed);
        }
        QStringList got = pairs(db);
        expected.sort();
        QCOMPARE(got, expected);
    }

    void conflictsAreReported()
    {
        TestDatabase tdb(Backend::SQLite);
        const QSqlDatabase db = tdb.db();
        seedDoubles(db);
        QCOMPARE(partnerConflicts(db, 1, {{1, 3}, {1, 2}}), (QList<PartnerConflict>{{1, 3, 4, s("v P3"), s("v P4")}}));
        QVERIFY(partnerConflicts(db, 4, {{1, 3}}).isEmpty()); // his own partner
    }

    // The team name of a team row stays; rows of classes no longer named go,
    // and nobody names the player as partner any more.
    void teamRowsKeepTheirName()
    {
        TestDatabase tdb(Backend::SQLite);
        const QSqlDatabase db = tdb.db();
        seedDoubles(db);
        seedEntry(db, 1, 2, 1);
        seedPair(db, 2, 1, nullInt(), s("Die Füchse"));
        storePartners(db, 1, {{2, 0}}, {});
        QVERIFY(pairs(db).contains(s("2|1|<null>|Die Füchse")));
        storePartners(db, 3, {}, {});
        QCOMPARE(pairs(db), (QStringList{s("1|4|<null>|<null>"), s("2|1|<null>|Die Füchse")}));
    }

    void failureLeavesTheRowsAsTheyWere_data() { addBackendColumn(); addBackendRows(); }
    void failureLeavesTheRowsAsTheyWere()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        seedDoubles(db);
        seedPair(db, 1, 1, nullInt());
        breakStatementsOn(db, s("Doppelpartner"), s("INSERT"));
        const QStringList before = dumpTables(db);
        QVERIFY_THROWS_EXCEPTION(DbError, storePartners(db, 1, {{1, 3}}, {{1, 3}}));
        QCOMPARE(dumpTables(db), before);
    }

    void candidates()
    {
        TestDatabase tdb(Backend::SQLite);
        const QSqlDatabase db = tdb.db();
        seedDoubles(db);
        seedPair(db, 1, 2, nullInt());
        QCOMPARE(partnerCandidates(db, 1, 1, false, true, false), (QList<int>{2}));
        seedClass(db, 1, 7, s("M"), ClassKind::Mixed);
        seedPlayer(db, 1, 10, s("Frau"), s("A"), s("TTC"), nullInt(), false);
        seedPlayer(db, 1, 11, s("Frau"), s("B"), s("TTC"), nullInt(), false);
        for (int sid : {1, 2, 10, 11})
            seedEntry(db, 1, 7, sid);
        seedPair(db, 7, 2, 11);
        seedPair(db, 7, 11, 2);
        QCOMPARE(partnerCandidates(db, 7, 1, true, true, false), (QList<int>{10, 11})); // paired ones too
        QCOMPARE(partnerCandidates(db, 7, 10, true, false, true), (QList<int>{1, 2}));
        QVERIFY(partnerCandidates(db, 7, 1, true, false, false).isEmpty());
    }

    void dialog()
    {
        TestDatabase tdb(Backend::SQLite);
        const QSqlDatabase db = tdb.db();
        seedDoubles(db);
        seedPair(db, 1, 1, nullInt());
        FakePrompter prompter;
        TDoppelauswahl dialog(nullptr, prompter, [&] { return db; });
        dialog.request = {1, 1, true, false, {{1, s("P1, v")}, {2, s("P2, v")}, {3, s("P3, v")}, {4, s("P4, v")}}};
        dialog.doppelklasse->setText(s("Doppel - D:"));
        dialog.show();
        QStringList offered;
        for (int i = 0; i < dialog.doppelcombo->count(); ++i)
            offered << dialog.doppelcombo->itemText(i);
        QCOMPARE(offered, (QStringList{QString(), s("P2, v")}));
        QSignalSpy chosen(&dialog, &TDoppelauswahl::partnerChosen);
        dialog.doppelcombo->setCurrentIndex(1);
        // Back from another program: the unconfirmed choice stays.
        QEvent deactivate(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(&dialog, &deactivate);
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&dialog, &activate);
        QCOMPARE(dialog.doppelcombo->currentIndex(), 1);
        click(dialog.OK);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first(), (QVariantList{1, 2, s("Doppel - D: P2, v")}));
        QVERIFY(!dialog.isVisible());

        // Storing asks before the player takes a partner away from another.
        // The question names the players, never their keys.
        prompter.expect(PromptKind::Question, s("v P3 spielt schon mit v P4 .Tauschen?"), PromptAnswer::No);
        dialog.partnercheck(db, 1, {{1, 3}});
        QVERIFY(prompter.verify());
        QVERIFY(pairs(db).contains(s("1|1|<null>|<null>")));
        prompter.expect(PromptKind::Question, s("v P3 spielt schon mit v P4 .Tauschen?"), PromptAnswer::Yes);
        dialog.partnercheck(db, 1, {{1, 3}});
        QVERIFY(prompter.verify());
        QVERIFY(pairs(db).contains(s("1|1|3|<null>")));
        QVERIFY(pairs(db).contains(s("1|4|<null>|<null>")));
    }
};

QTEST_MAIN(TestPartners)
#include "test_partners.moc"
