// The group set-up's data module on both backends: settings and seed slots
// stored and loaded, the entrant lists, seeding, pairing and splitting, random
// pairing, every write checked with failing statements, and two desks at once.
#include "groupfixture.h"

#include "data/concurrency.h"
#include "data/connection.h"
#include "data/groupsettings.h"
#include "data/partnerrecords.h"
#include "data/sql.h"
#include "draw/tgruppe.h"
#include "support/scriptedrandom.h"
#include "support/testdatabase.h"

#include <QSet>
#include <QTest>
#include <QThread>

#include <array>
#include <atomic>


using namespace bw;
using namespace bw::test;
using namespace bw::test::groups;
using Value = GroupSettingsModel::Value;

namespace {

// A database with the group tournament and the data module on it.
struct Fixture {
    explicit Fixture(Backend backend) : tdb(backend)
    {
        if (!tdb.ready())
            return;
        seedGroupTournament(tdb.db());
        ready = true;
    }
    QSqlDatabase db() const { return tdb.db(); }

    TestDatabase tdb;
    bool ready = false;
    Tgruppe gruppe{nullptr, [this] { return tdb.db(); }};
};

QStringList texts(const QList<GroupListEntry>& entries)
{
    QStringList result;
    for (const GroupListEntry& e : entries)
        result << e.text;
    return result;
}

// The entries as "text" with "!" appended for an entrant not checked in.
QStringList checkIn(const QList<GroupListEntry>& entries)
{
    QStringList result;
    for (const GroupListEntry& e : entries)
        result << e.text + (e.item.gemeldet ? QString() : QStringLiteral("!"));
    return result;
}

int rowOf(const QList<GroupListEntry>& entries, const QString& text)
{
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].text == text)
            return i;
    }
    QTest::qFail(qPrintable(QStringLiteral("no entry \"%1\"").arg(text)), __FILE__, __LINE__);
    return -1;
}

QStringList settingsRows(const QSqlDatabase& db, int kid)
{
    QStringList rows;
    for (const QString& line : dumpTables(db, {QStringLiteral("Gruppeneinstellungen")})) {
        if (line.startsWith(QStringLiteral("Gruppeneinstellungen|%1|").arg(kid)))
            rows << line;
    }
    return rows;
}

} // namespace

class TestGroupRecords : public QObject {
    Q_OBJECT

private slots:
    void noSettingsRowGivesTheDefaults_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void noSettingsRowGivesTheDefaults()
    {
        QFETCH(Backend, backend);
        Fixture f(backend);
        if (!f.ready)
            return;
        f.gruppe.settings().setValue(0, Value::Gruppenanzahl, 3);
        f.gruppe.laden(kU18m, ClassKind::Einzel);
        QCOMPARE(f.gruppe.settings().phase(0), (GroupSettingsModel::Phase{true, true, PlaySystem::Gruppenphase, {}}));
        QVERIFY(!f.gruppe.settings().phaseShown(1));
        QVERIFY(!f.gruppe.settings().phaseShown(2));
        QCOMPARE(f.gruppe.gesetztespieleredit(), 0);
        QCOMPARE(checkIn(f.gruppe.gemeldete_spieler()),
                 (QStringList{"Abel, Anton", "Cramer, Carl", "Meier, Max", "Meier, Max", "Norden, Nils",
                              "Otto, Olaf", "Pohl, Paul!"}));
        QCOMPARE(f.gruppe.spieleranzahl(), 7);
        QVERIFY(!f.gruppe.pairsClass());
    }

    // A hidden phase is stored as Null although its values are numbers, and
    // stays hidden when the class is loaded again.
    void settingsRoundTrip_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void settingsRoundTrip()
    {
        QFETCH(Backend, backend);
        Fixture f(backend);
        if (!f.ready)
            return;
        f.gruppe.laden(kU18m, ClassKind::Einzel);
        GroupSettingsModel& m = f.gruppe.settings();
        m.setValue(0, Value::Gruppenanzahl, 2);
        m.setValue(0, Value::Teilnehmer, 4);
        m.setValue(0, Value::Beste, 2);
        m.setValue(1, Value::Gruppenanzahl, 1);
        m.setValue(1, Value::Teilnehmer, 4);
        m.choose(1, PlaySystem::EinfachesKO);
        m.setValue(1, Value::Gruppenanzahl, 3);
        m.setValue(0, Value::Beste, 0); // phase 2 goes, its values stay
        QVERIFY(!m.phaseShown(1));
        f.gruppe.setSeedCount(2);
        f.gruppe.systemspeichern();
        QCOMPARE(settingsRows(f.db(), kU18m),
                 QStringList{"Gruppeneinstellungen|1|0|<null>|<null>|2|<null>|<null>|4|<null>|<null>|0|<null>|<null>|"
                             "0|<null>|<null>|2|Tisch"});

        m.setValue(0, Value::Beste, 1);
        f.gruppe.systemspeichern();
        QCOMPARE(settingsRows(f.db(), kU18m),
                 QStringList{"Gruppeneinstellungen|1|0|1|<null>|2|3|<null>|4|0|<null>|1|0|<null>|0|0|<null>|2|Tisch"});

        f.gruppe.laden(kU18, ClassKind::Einzel);
        f.gruppe.laden(kU18m, ClassKind::Einzel);
        QCOMPARE(f.gruppe.settings().phase(1), (GroupSettingsModel::Phase{true, false, PlaySystem::EinfachesKO,
                                                                          {3, 0, 0, 0}}));
        QVERIFY(!f.gruppe.settings().phaseShown(2));
        QCOMPARE(f.gruppe.gesetztespieleredit(), 2);
        QCOMPARE(readGroupSettings(f.db(), kU18m)->phases[1]->system, PlaySystem::EinfachesKO);
    }

    // Slots of id 0 (never filled) and -1 (emptied) are stored and come back
    // empty; a seed keeps his slot.
    void seedRoundTrip_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void seedRoundTrip()
    {
        QFETCH(Backend, backend);
        Fixture f(backend);
        if (!f.ready)
            return;
        f.gruppe.laden(kU18m, ClassKind::Einzel);
        f.gruppe.setSeedCount(3);
        QVERIFY(f.gruppe.seed(rowOf(f.gruppe.gemeldete_spieler(), QStringLiteral("Otto, Olaf")), 1));
        QVERIFY(f.gruppe.seed(0, 2));
        QVERIFY(f.gruppe.emptySlot(2));
        f.gruppe.systemspeichern();
        QCOMPARE(readSeeds(f.db(), kU18m),
                 (QList<StoredSeed>{{0, {0, 0}}, {1, {kOtto, 0}}, {2, {-1, -1}}}));
        f.gruppe.laden(kU18m, ClassKind::Einzel);
        QCOMPARE(texts(f.gruppe.gesetztespielerliste()), (QStringList{"1. ", "2. Otto, Olaf", "3. "}));
        QCOMPARE(f.gruppe.gesetztespielerliste()[1].item.ID, kOtto);
        QCOMPARE(f.gruppe.gesetztespielerliste()[1].item.gesetzt, 2);
    }

    // Stored seeds that name nobody of the class leave their slot empty: a
    // player who left the class, a pair that was split, 0 and -1, a position
    // beyond the slots.
    void seedsThatNoLongerApply_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void seedsThatNoLongerApply()
    {
        QFETCH(Backend, backend);
        Fixture f(backend);
        if (!f.ready)
            return;
        const QSqlDatabase db = f.db();
        auto settings = [](int count) {
            GroupSettings s;
            s.phases[0] = PhaseSettings{};
            s.gesetzt = count;
            return s;
        };
        saveGroupSettings(db, kU18m, settings(4), {{kHahn, 0}, {kPohl, 0}, {0, 0}, {-1, -1}});
        saveGroupSettings(db, kHerren, settings(4), {{kCramer, kDorn}, {kBerg, kAbel}, {kAbel, 0}, {kEbert, -1}});
        saveGroupSettings(db, kLiga, settings(2), {{kBrunnhain, 0}, {kBrunnhain + 7, 0}});
        insertRow(db, QStringLiteral("Gesetzt"), {{"KID", kU18m}, {"position", 7}, {"SID", kAbel}, {"partner_SID", 0}});

        f.gruppe.laden(kU18m, ClassKind::Einzel);
        QCOMPARE(texts(f.gruppe.gesetztespielerliste()), (QStringList{"1. ", "2. Pohl, Paul", "3. ", "4. "}));
        QVERIFY(!f.gruppe.gesetztespielerliste()[1].item.gemeldet);
        // A pair counts from either side; a player without partner is no pair.
        f.gruppe.laden(kHerren, ClassKind::Doppel);
        QCOMPARE(texts(f.gruppe.gesetztespielerliste()), (QStringList{"1. ", "2. Abel, A. / Berg, B", "3. ", "4. "}));
        f.gruppe.laden(kLiga, ClassKind::Team);
        QCOMPARE(texts(f.gruppe.gesetztespielerliste()), (QStringList{"1. SV Brunnhain", "2. "}));
    }

    // Pairs once and short, players without partner in both lists, a pair
    // whose partner is missing nowhere; checked in for this class only.
    void entrantsOfEveryKind_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void entrantsOfEveryKind()
    {
        QFETCH(Backend, backend);
        Fixture f(backend);
        if (!f.ready)
            return;
        Tgruppe& g = f.gruppe;
        g.laden(kHerren, ClassKind::Doppel);
        QCOMPARE(checkIn(g.gemeldete_spieler()),
                 (QStringList{"Abel, A. / Berg, B", "Cramer, C. / !", "Dorn, D. / ", "Ebert, E. / !"}));
        QCOMPARE(texts(g.ohnepartner()), (QStringList{"Cramer, Carl", "Dorn, Dieter", "Ebert, Emil"}));
        QCOMPARE(g.gemeldete_spieler()[0].item.partnerID, kBerg);
        QCOMPARE(g.gemeldete_spieler()[1].item.partnerID, -1);
        QCOMPARE(g.gemeldete_spieler()[1].item.name, QStringLiteral("Cramer, Carl"));
        QVERIFY(g.pairsClass());

        g.laden(kMixed, ClassKind::Mixed);
        QCOMPARE(texts(g.gemeldete_spieler()),
                 (QStringList{"Fuchs, F. / ", "Graf, G. / ", "Hahn, H. / ", "Igel, I. / Jung, J", "Kurz, K. / ",
                              "Lang, L. / "}));
        QCOMPARE(g.ohnepartner().size(), 5);

        g.laden(kLiga, ClassKind::Team);
        QCOMPARE(checkIn(g.gemeldete_spieler()), (QStringList{"SV Brunnhain!", "TSV A"}));
        QCOMPARE(g.gemeldete_spieler()[1].item.ID, kTeamA);
    }

    void seedCount_data()
    {
        QTest::addColumn<int>("kid");
        QTest::addColumn<QList<int>>("values");
        QTest::addColumn<int>("count");
        QTest::newRow("7 entrants: at most 4") << kU18m << QList<int>{5} << 4;
        QTest::newRow("step by step up to the bound") << kU18m << QList<int>{1, 2, 3, 4, 5} << 4;
        QTest::newRow("0 to 3 typed") << kU18m << QList<int>{3} << 3;
        QTest::newRow("3 down to 1 typed") << kU18m << QList<int>{3, 1} << 1;
        QTest::newRow("below 0") << kU18m << QList<int>{2, -1} << 0;
        QTest::newRow("no entrant: 0") << kLiga + 100 << QList<int>{1} << 0;
        QTest::newRow("1 entrant: 1") << kU18 << QList<int>{3} << 1;
        QTest::newRow("doubles count players without partner") << kHerren << QList<int>{9} << 2;
    }

    void seedCount()
    {
        QFETCH(int, kid);
        QFETCH(QList<int>, values);
        QFETCH(int, count);
        Fixture f(Backend::SQLite);
        f.gruppe.laden(kid, kid == kHerren ? ClassKind::Doppel : ClassKind::Einzel);
        for (int value : values)
            f.gruppe.setSeedCount(value);
        QCOMPARE(f.gruppe.gesetztespieleredit(), count);
        // Slots added by raising the count read "n." with no blank.
        QStringList expected;
        for (int n = 1; n <= count; ++n)
            expected << QString::number(n) + QLatin1Char('.');
        QCOMPARE(texts(f.gruppe.gesetztespielerliste()), expected);
    }

    // Seeding, swapping and emptying slots: each step (entrant text > slot,
    // "swap a b", "empty n") with whether it changes anything, then the slots.
    void seeding_data()
    {
        QTest::addColumn<int>("kid");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QStringList>("seeds");
        auto row = [](const char* name, int kid, QStringList steps, const char* changes, QStringList seeds) {
            QTest::newRow(name) << kid << steps << QString::fromLatin1(changes) << seeds;
        };
        // The slots come from raising the count: empty they read "n."; an
        // empty slot a swap renumbers reads "n. ".
        row("seed", kU18m, {"Otto, Olaf>1"}, "y", {"1.", "2. Otto, Olaf", "3."});
        row("an occupied slot gets the new seed", kU18m, {"Otto, Olaf>1", "Abel, Anton>1"}, "yy",
            {"1.", "2. Abel, Anton", "3."});
        row("seeded once only", kU18m, {"Otto, Olaf>1", "Otto, Olaf>2"}, "yn", {"1.", "2. Otto, Olaf", "3."});
        row("namesakes are two entrants", kU18m, {"Meier, Max>0", "Meier, Max#2>1"}, "yy",
            {"1. Meier, Max", "2. Meier, Max", "3."});
        row("no slot under the drop", kU18m, {"Otto, Olaf>-1", "Otto, Olaf>3"}, "nn", {"1.", "2.", "3."});
        row("a pair can be seeded", kHerren, {"Abel, A. / Berg, B>0"}, "y", {"1. Abel, A. / Berg, B", "2."});
        row("a player without partner cannot", kHerren, {"Dorn, D. / >0"}, "n", {"1.", "2."});
        row("swap", kU18m, {"Otto, Olaf>0", "Abel, Anton>2", "swap 0 2"}, "yyy",
            {"1. Abel, Anton", "2.", "3. Otto, Olaf"});
        row("swap with an empty slot", kU18m, {"Otto, Olaf>0", "swap 0 1"}, "yy", {"1. ", "2. Otto, Olaf", "3."});
        row("swap onto itself", kU18m, {"Otto, Olaf>0", "swap 0 0"}, "yy", {"1. Otto, Olaf", "2.", "3."});
        row("swap without a slot", kU18m, {"Otto, Olaf>0", "swap 0 5"}, "yn", {"1. Otto, Olaf", "2.", "3."});
        row("empty a slot", kU18m, {"Otto, Olaf>0", "empty 0", "Otto, Olaf>2"}, "yyy", {"1.", "2.", "3. Otto, Olaf"});
    }

    void seeding()
    {
        QFETCH(int, kid);
        QFETCH(QStringList, steps);
        QFETCH(QString, changes);
        QFETCH(QStringList, seeds);
        Fixture f(Backend::SQLite);
        Tgruppe& g = f.gruppe;
        g.laden(kid, kid == kHerren ? ClassKind::Doppel : ClassKind::Einzel);
        g.setSeedCount(3);
        QString changed;
        for (const QString& step : steps) {
            bool done = false;
            if (step.startsWith(QStringLiteral("swap ")))
                done = g.swapSlots(step.section(' ', 1, 1).toInt(), step.section(' ', 2, 2).toInt());
            else if (step.startsWith(QStringLiteral("empty ")))
                done = g.emptySlot(step.section(' ', 1, 1).toInt());
            else {
                // "text#2": the second entry of that text.
                const QString text = step.section('>', 0, 0).section('#', 0, 0);
                int row = rowOf(g.gemeldete_spieler(), text);
                if (step.section('>', 0, 0).endsWith(QStringLiteral("#2")))
                    ++row;
                done = g.seed(row, step.section('>', 1).toInt());
            }
            changed += done ? QLatin1Char('y') : QLatin1Char('n');
        }
        QCOMPARE(changed, changes);
        QCOMPARE(texts(g.gesetztespielerliste()), seeds);
        // A seed stays in the entrant list.
        QCOMPARE(g.spieleranzahl(), kid == kHerren ? 4 : 7);
    }

    void emptiedSlotsHoldMinusOne()
    {
        Fixture f(Backend::SQLite);
        f.gruppe.laden(kHerren, ClassKind::Doppel);
        f.gruppe.setSeedCount(2);
        QVERIFY(f.gruppe.seed(0, 0));
        QVERIFY(f.gruppe.emptySlot(0));
        const Myitem& emptied = f.gruppe.gesetztespielerliste()[0].item;
        QCOMPARE(emptied.ID, -1);
        QCOMPARE(emptied.partnerID, -1);
        QCOMPARE(f.gruppe.gesetztespielerliste()[1].item.ID, 0);
    }

    // Pairing and splitting: the player dragged from the list without partner,
    // the entrant dropped on; what comes out and the partner rows after it.
    void pairingAndSplitting_data()
    {
        QTest::addColumn<Backend>("backend");
        QTest::addColumn<int>("kid");
        QTest::addColumn<QString>("action"); // "pair P>T" or "split E"
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QStringList>("entrants");
        QTest::addColumn<QList<int>>("partners"); // per player: sid, partner (0 none)
        for (Backend backend : {Backend::SQLite, Backend::PostgreSQL}) {
            const QString prefix = backend == Backend::SQLite ? QStringLiteral("sqlite ") : QStringLiteral("postgresql ");
            auto row = [&](const char* name, int kid, const char* action, const char* outcome, QStringList entrants,
                           QList<int> partners) {
                QTest::newRow(qPrintable(prefix + QLatin1String(name)))
                    << backend << kid << QString::fromLatin1(action) << QString::fromLatin1(outcome) << entrants
                    << partners;
            };
            row("doubles", kHerren, "pair Cramer, Carl>Ebert, E. / ", "paired",
                {"Abel, A. / Berg, B", "Dorn, D. / ", "Ebert, Emil / Cramer, Carl"}, {kCramer, kEbert, kEbert, kCramer});
            row("mixed man and woman", kMixed, "pair Fuchs, Frieda>Kurz, K. / ", "paired",
                {"Graf, G. / ", "Hahn, H. / ", "Igel, I. / Jung, J", "Kurz, Karl / Fuchs, Frieda", "Lang, L. / "},
                {kFuchs, kKurz, kKurz, kFuchs});
            row("mixed two men", kMixed, "pair Hahn, Hans>Kurz, K. / ", "same sex",
                {"Fuchs, F. / ", "Graf, G. / ", "Hahn, H. / ", "Igel, I. / Jung, J", "Kurz, K. / ", "Lang, L. / "},
                {kHahn, 0, kKurz, 0});
            row("onto himself", kHerren, "pair Dorn, Dieter>Dorn, D. / ", "unchanged",
                {"Abel, A. / Berg, B", "Cramer, C. / ", "Dorn, D. / ", "Ebert, E. / "}, {kDorn, 0});
            row("onto a pair", kHerren, "pair Dorn, Dieter>Abel, A. / Berg, B", "unchanged",
                {"Abel, A. / Berg, B", "Cramer, C. / ", "Dorn, D. / ", "Ebert, E. / "}, {kDorn, 0, kAbel, kBerg});
            row("split", kHerren, "split Abel, A. / Berg, B", "split",
                {"Abel, A. / ", "Berg, B. / ", "Cramer, C. / ", "Dorn, D. / ", "Ebert, E. / "}, {kAbel, 0, kBerg, 0});
            row("split a player without partner", kHerren, "split Dorn, D. / ", "split",
                {"Abel, A. / Berg, B", "Cramer, C. / ", "Dorn, D. / ", "Ebert, E. / "}, {kDorn, 0, kAbel, kBerg});
        }
    }

    void pairingAndSplitting()
    {
        QFETCH(Backend, backend);
        QFETCH(int, kid);
        QFETCH(QString, action);
        QFETCH(QString, outcome);
        QFETCH(QStringList, entrants);
        QFETCH(QList<int>, partners);
        Fixture f(backend);
        if (!f.ready)
            return;
        Tgruppe& g = f.gruppe;
        g.laden(kid, kid == kMixed ? ClassKind::Mixed : ClassKind::Doppel);
        QString result;
        if (action.startsWith(QStringLiteral("pair "))) {
            const QString player = action.mid(5).section('>', 0, 0);
            const QString target = action.mid(5).section('>', 1);
            switch (g.pair(rowOf(g.ohnepartner(), player), rowOf(g.gemeldete_spieler(), target))) {
            case Tgruppe::PairOutcome::Paired: result = QStringLiteral("paired"); break;
            case Tgruppe::PairOutcome::SameSex: result = QStringLiteral("same sex"); break;
            case Tgruppe::PairOutcome::Unchanged: result = QStringLiteral("unchanged"); break;
            }
        } else {
            QVERIFY(g.split(rowOf(g.gemeldete_spieler(), action.mid(6))));
            result = QStringLiteral("split");
        }
        QCOMPARE(result, outcome);
        QCOMPARE(texts(g.gemeldete_spieler()), entrants);
        QCOMPARE(g.spieleranzahl(), entrants.size());
        for (int i = 0; i + 1 < partners.size(); i += 2)
            QCOMPARE(partnerOf(f.db(), kid, partners[i]), partners[i + 1]);
        // The list without partner follows the entrant list.
        int withoutPartner = 0;
        for (const GroupListEntry& e : g.gemeldete_spieler())
            withoutPartner += e.item.partnerID == -1 ? 1 : 0;
        QCOMPARE(g.ohnepartner().size(), withoutPartner);
    }

    // Random pairing with the draws scripted: the pairs the answers name.
    void randomPairing_data()
    {
        addBackendColumn();
        QTest::addColumn<int>("kid");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QList<int>>("bounds");
        QTest::addColumn<QList<int>>("partners");
        QTest::addColumn<int>("pairs");
        for (Backend backend : {Backend::SQLite, Backend::PostgreSQL}) {
            const QString prefix = backend == Backend::SQLite ? QStringLiteral("sqlite ") : QStringLiteral("postgresql ");
            // Cramer draws from Dorn and Ebert; Ebert (or Dorn) is left.
            QTest::newRow(qPrintable(prefix + "3 players: 1 pair")) << backend << kHerren << QList<int>{1}
                                                                       << QList<int>{2}
                                                                       << QList<int>{kCramer, kEbert, kEbert, kCramer,
                                                                                     kDorn, 0}
                                                                       << 1;
            // Fuchs draws from the 3 men, Graf from the 2 left; a man is left.
            QTest::newRow(qPrintable(prefix + "mixed 3 men and 2 women: 2 pairs"))
                << backend << kMixed << QList<int>{2, 0} << QList<int>{3, 2}
                << QList<int>{kFuchs, kLang, kLang, kFuchs, kGraf, kHahn, kHahn, kGraf, kKurz, 0} << 2;
            QTest::newRow(qPrintable(prefix + "nobody without partner")) << backend << kSenioren << QList<int>{}
                                                                        << QList<int>{}
                                                                        << QList<int>{kNorden, kOtto} << 0;
        }
    }

    void randomPairing()
    {
        QFETCH(Backend, backend);
        QFETCH(int, kid);
        QFETCH(QList<int>, answers);
        QFETCH(QList<int>, bounds);
        QFETCH(QList<int>, partners);
        QFETCH(int, pairs);
        Fixture f(backend);
        if (!f.ready)
            return;
        f.gruppe.laden(kid, kid == kMixed ? ClassKind::Mixed : ClassKind::Doppel);
        ScriptedRandom random(answers);
        QCOMPARE(f.gruppe.pairRandomly(random), pairs);
        QCOMPARE(random.bounds(), bounds);
        for (int i = 0; i + 1 < partners.size(); i += 2)
            QCOMPARE(partnerOf(f.db(), kid, partners[i]), partners[i + 1]);
        // The class was loaded anew.
        int withoutPartner = 0;
        for (const GroupListEntry& e : f.gruppe.gemeldete_spieler())
            withoutPartner += e.item.partnerID == -1 ? 1 : 0;
        QCOMPARE(f.gruppe.ohnepartner().size(), withoutPartner);
    }

    // Random pairs are stored symmetric, over many seeds.
    void randomPairsAreSymmetric()
    {
        Fixture f(Backend::SQLite);
        const QSqlDatabase db = f.db();
        const QList<int> players{kFuchs, kGraf, kHahn, kKurz, kLang};
        for (quint32 seed = 1; seed <= 20; ++seed) {
            execute(db, QStringLiteral("UPDATE Doppelpartner SET partner_SID=NULL WHERE KID=:k AND SID IN (6,7,8,11,12)"),
                    {{QStringLiteral("k"), kMixed}});
            f.gruppe.laden(kMixed, ClassKind::Mixed);
            SeededRandom random(seed);
            QCOMPARE(f.gruppe.pairRandomly(random), 2);
            int single = 0;
            for (int sid : players) {
                const int partner = partnerOf(db, kMixed, sid);
                if (partner == 0)
                    ++single;
                else
                    QCOMPARE(partnerOf(db, kMixed, partner), sid);
            }
            QCOMPARE(single, 1);
        }
    }

    // Every write rolls back as a whole when any of its statements fails.
    void writesAreAtomic_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void writesAreAtomic()
    {
        QFETCH(Backend, backend);
        Fixture f(backend);
        if (!f.ready)
            return;
        Tgruppe& g = f.gruppe;
        const QSqlDatabase db = f.db();
        saveGroupSettings(db, kHerren, {}, {{kAbel, kBerg}});
        QString failure = checkAtomic(db, [&] {
            g.laden(kHerren, ClassKind::Doppel);
            g.settings().setValue(0, Value::Gruppenanzahl, 2);
            g.settings().setValue(0, Value::Bestplazierte, 1);
            g.setSeedCount(2);
            g.swapSlots(0, 1);
            g.systemspeichern();
        });
        QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("saving: ") + failure));

        failure = checkAtomic(db, [&] {
            g.laden(kHerren, ClassKind::Doppel);
            QCOMPARE(g.pair(rowOf(g.ohnepartner(), QStringLiteral("Cramer, Carl")),
                            rowOf(g.gemeldete_spieler(), QStringLiteral("Dorn, D. / "))),
                     Tgruppe::PairOutcome::Paired);
        });
        QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("pairing: ") + failure));

        failure = checkAtomic(db, [&] {
            g.laden(kHerren, ClassKind::Doppel);
            g.split(rowOf(g.gemeldete_spieler(), QStringLiteral("Abel, A. / Berg, B")));
        });
        QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("splitting: ") + failure));

        failure = checkAtomic(db, [&] {
            g.laden(kMixed, ClassKind::Mixed);
            SeededRandom random(7);
            QCOMPARE(g.pairRandomly(random), 2);
        });
        QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("random pairing: ") + failure));
    }

    // A pair write that finds a player paired meanwhile changes nothing.
    void pairingGuards_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void pairingGuards()
    {
        QFETCH(Backend, backend);
        Fixture f(backend);
        if (!f.ready)
            return;
        const QSqlDatabase db = f.db();
        const QStringList before = dumpTables(db, {QStringLiteral("Doppelpartner")});
        auto refused = [&](const std::function<void()>& write, const QString& message) {
            try {
                write();
            } catch (const AppError& e) {
                return e.message() == message && dumpTables(db, {QStringLiteral("Doppelpartner")}) == before;
            }
            return false;
        };
        QVERIFY(refused([&] { pairPlayers(db, kHerren, {{kCramer, kDorn}, {kEbert, kAbel}}); },
                        kPartnerTakenMeanwhile));
        QVERIFY(refused([&] { pairPlayers(db, kHerren, {{kCramer, kHahn}}); }, kPartnerTakenMeanwhile));
        QVERIFY(refused([&] { splitPair(db, kHerren, kAbel, kCramer); },
                        StaleRecord::changed(QStringLiteral("Das Doppel")).message()));
        QVERIFY(refused([&] { saveGroupSettings(db, 77, {}, {}); },
                        QStringLiteral("Die Klasse ist nicht mehr in der Datenbank vorhanden.")));
    }

    // Two desks on one server.
    void twoDesksPairOnePlayer()
    {
        Fixture f(Backend::PostgreSQL);
        if (!f.ready)
            return;
        const QSqlDatabase other = f.tdb.open();
        Tgruppe desk2(nullptr, [other] { return other; });
        f.gruppe.laden(kHerren, ClassKind::Doppel);
        desk2.laden(kHerren, ClassKind::Doppel);
        QCOMPARE(f.gruppe.pair(rowOf(f.gruppe.ohnepartner(), QStringLiteral("Cramer, Carl")),
                               rowOf(f.gruppe.gemeldete_spieler(), QStringLiteral("Dorn, D. / "))),
                 Tgruppe::PairOutcome::Paired);
        try {
            desk2.pair(rowOf(desk2.ohnepartner(), QStringLiteral("Cramer, Carl")),
                       rowOf(desk2.gemeldete_spieler(), QStringLiteral("Ebert, E. / ")));
            QFAIL("the second desk paired a player who has a partner");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), kPartnerTakenMeanwhile);
        }
        QCOMPARE(texts(desk2.ohnepartner()), (QStringList{"Cramer, Carl", "Dorn, Dieter", "Ebert, Emil"}));
        QCOMPARE(partnerOf(f.db(), kHerren, kCramer), kDorn);
        QCOMPARE(partnerOf(f.db(), kHerren, kDorn), kCramer);
        QCOMPARE(partnerOf(f.db(), kHerren, kEbert), 0);
    }

    // Two desks save one class over and over at the same time: each save
    // replaces the other's, so there is always one row, and at the end it has
    // the seeds of the desk that wrote it.
    void twoDesksSaveOneClass()
    {
        Fixture f(Backend::PostgreSQL);
        if (!f.ready)
            return;
        constexpr int saves = 30;
        const std::array<int, 2> seeded{kOtto, kPohl};
        std::atomic<int> failures{0};
        QString firstError;
        QList<QThread*> desks;
        for (int d = 0; d < 2; ++d) {
            desks << QThread::create([&, d] {
                try {
                    ScopedConnection desk(f.tdb.pg()->open(uniqueConnectionName(QStringLiteral("desk"))));
                    GroupSettings settings;
                    settings.phases[0] = PhaseSettings{PlaySystem::Gruppenphase, d + 1, 4, 0, 0};
                    settings.gesetzt = d + 1;
                    const QList<SeedSlot> seeds(d + 1, SeedSlot{seeded[size_t(d)], 0});
                    for (int i = 0; i < saves; ++i) {
                        saveGroupSettings(desk.db(), kU18m, settings, seeds);
                        // Whatever the other desk does, the class has one row.
                        const int rows = scalar(desk.db(), QStringLiteral("SELECT COUNT(*) FROM Gruppeneinstellungen "
                                                                          "WHERE KID=:k"),
                                                {{QStringLiteral("k"), kU18m}})
                                             .toInt();
                        if (rows != 1)
                            throw AppError(QStringLiteral("%1 settings rows after a save").arg(rows));
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
        QCOMPARE(settingsRows(f.db(), kU18m).size(), 1);
        const int desk = readGroupSettings(f.db(), kU18m)->gesetzt - 1;
        QList<StoredSeed> seeds;
        for (int position = 0; position <= desk; ++position)
            seeds.append(StoredSeed{position, {seeded[size_t(desk)], 0}});
        QCOMPARE(readSeeds(f.db(), kU18m), seeds);
    }
};

QTEST_GUILESS_MAIN(TestGroupRecords)
#include "test_group_records.moc"
