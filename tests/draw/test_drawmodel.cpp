// The draw wizard's model without a database: the pages it lays out (groups,
// brackets, qualifier texts, table lists), the steps of its navigation, the
// manual moves with their refusals, and "Alles löschen".
#include "draw/drawmodel.h"

#include <QTest>

using namespace bw;

namespace {

Myitem player(int sid, const QString& name, int seed = -1, int partner = 0)
{
    return Myitem{sid, partner, false, seed, name, QStringLiteral("TTC"), false};
}

auslosungsinfos settings(std::array<int, 3> systems, std::array<int, 3> groups, std::array<int, 3> places,
                         std::array<int, 3> besten = {0, 0, 0}, std::array<int, 3> best = {0, 0, 0})
{
    auslosungsinfos s;
    for (size_t i = 0; i < 3; ++i) {
        s.phase[i] = systems[i];
        const bool there = systems[i] >= 0;
        s.gruppenanzahl[i] = there ? groups[i] : -1;
        s.teilnehmer[i] = there ? places[i] : -1;
        s.besten[i] = there ? besten[i] : -1;
        s.bestplazierten[i] = there ? best[i] : -1;
    }
    return s;
}

QList<Myitem> players(int n, int firstId = 1)
{
    QList<Myitem> list;
    for (int i = 0; i < n; ++i)
        list.append(player(firstId + i, QStringLiteral("Spieler%1, A").arg(firstId + i, 3, 10, QLatin1Char('0'))));
    return list;
}

QStringList texts(const QList<DrawEntry>& entries)
{
    QStringList t;
    for (const DrawEntry& e : entries)
        t << e.text();
    return t;
}

QStringList rowTexts(const QList<DrawEntry>& rows)
{
    QStringList t;
    for (int i = 0; i < rows.size(); ++i)
        t << DrawModel::rowText(i, rows[i]);
    return t;
}

} // namespace

class TestDrawModel : public QObject {
    Q_OBJECT
private slots:
    void groupLayout()
    {
        DrawModel m;
        m.setUp(7, 1, 1, settings({0, -1, -1}, {3, 0, 0}, {4, 0, 0}), {}, {}, players(5));
        const QList<GroupGeometry> g = m.groupGeometry(1);
        QCOMPARE(g.size(), 3);
        // h = 4 rows of 15 px; A and B side by side, C below.
        QCOMPARE(g[0].caption, QStringLiteral("Gruppe A"));
        QCOMPARE(g[0].list, QRect(5, 24, 165, 60));
        QCOMPARE(g[0].captionAt, QPoint(5, 5));
        QCOMPARE(g[1].caption, QStringLiteral("Gruppe B"));
        QCOMPARE(g[1].list, QRect(175, 24, 165, 60));
        QCOMPARE(g[1].captionAt, QPoint(180, 5));
        QCOMPARE(g[2].caption, QStringLiteral("Gruppe C"));
        QCOMPARE(g[2].list, QRect(5, 114, 165, 60));
        QCOMPARE(g[2].captionAt, QPoint(5, 95));
        for (const QList<DrawEntry>& rows : m.phase(1).groups)
            QCOMPARE(rowTexts(rows), (QStringList{"1. ", "2. ", "3. ", "4. "}));
        QCOMPARE(m.registered().size(), 5);
        QVERIFY(m.phase(1).koinfos.isEmpty());
    }

    void bracketSizes_data()
    {
        QTest::addColumn<int>("entrants");
        QTest::addColumn<int>("bracket");
        for (const auto& [e, n] : std::initializer_list<std::pair<int, int>>{
                 {0, 2}, {2, 2}, {3, 4}, {5, 8}, {9, 16}, {129, 256}})
            QTest::addRow("%d", e) << e << n;
    }
    void bracketSizes()
    {
        QFETCH(int, entrants);
        QFETCH(int, bracket);
        DrawModel m;
        // One of the entrants seeded: seeds count like the others.
        QList<Myitem> seeds;
        QList<Myitem> regs = players(entrants);
        if (!regs.isEmpty())
            seeds.append(regs.takeFirst());
        m.setUp(7, 1, 1, settings({1, -1, -1}, {0, 0, 0}, {0, 0, 0}), {}, seeds, regs);
        QCOMPARE(m.phase(1).koinfos.size(), bracket);
        const BracketGeometry g = m.bracketGeometry(1);
        QCOMPARE(g.slotRects.size(), bracket);
        QCOMPARE(g.texts.size(), bracket);
        QCOMPARE(g.texts.first().second, QStringLiteral("Spieler 1"));
        QCOMPARE(g.texts.last().second, QStringLiteral("Spieler %1").arg(bracket));
        int rounds = 0;
        while ((1 << rounds) < bracket)
            ++rounds;
        QCOMPARE(g.size, QSize(90 * rounds + 250, bracket / 2 * 72 + 56));
    }

    void bracketLines()
    {
        DrawModel m;
        m.setUp(7, 1, 1, settings({1, -1, -1}, {0, 0, 0}, {0, 0, 0}), {}, {}, players(5));
        const BracketGeometry g = m.bracketGeometry(1);
        QCOMPARE(g.texts[0], std::make_pair(QPoint(10, 24), QStringLiteral("Spieler 1")));
        QCOMPARE(g.texts[2], std::make_pair(QPoint(10, 96), QStringLiteral("Spieler 3"))); // row 3
        QCOMPARE(g.slotRects[0], QRect(70, 19, 180, 13));
        QCOMPARE(g.slotRects[1], QRect(70, 43, 180, 13));
        QCOMPARE(g.slotRects[2], QRect(70, 91, 180, 13));
        // 8 slot lines, then per round a joint and a line on: 4 + 2 + 1 matches.
        QCOMPARE(g.lines.size(), 8 + 2 * 7);
        QVERIFY(g.lines.contains(QLine(70, 32, 250, 32)));
        QVERIFY(g.lines.contains(QLine(250, 32, 250, 56)));  // first match joined
        QVERIFY(g.lines.contains(QLine(250, 44, 340, 44)));  // its winner
        QVERIFY(g.lines.contains(QLine(340, 44, 340, 116))); // the next round joined
        QVERIFY(g.lines.contains(QLine(430, 152, 520, 152))); // the final's winner: last column
        for (const QLine& l : g.lines)
            QVERIFY(l.x2() <= g.size.width() && l.y2() <= g.size.height());

        // The largest bracket is laid out without a picture of its size.
        DrawModel big;
        big.setUp(7, 1, 1, settings({1, -1, -1}, {0, 0, 0}, {0, 0, 0}), {}, {}, players(1000));
        QCOMPARE(big.bracketGeometry(1).size.height(), 36920);
    }

    void qualifierTexts_data()
    {
        QTest::addColumn<int>("groups");
        QTest::addColumn<int>("besten");
        QTest::addColumn<int>("best");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QList<int>>("parents"); // parentGID, parentpos pairs
        QTest::newRow("2 groups, 2 each, 1 best-placed")
            << 2 << 2 << 1
            << QStringList{"Sieger Gruppe A", "Sieger Gruppe B", "Zweiter Gruppe A", "Zweiter Gruppe B",
                           "1. Bestplatzierter 3. Platz"}
            << QList<int>{0, 0, 1, 0, 0, 1, 1, 1, -3, 0};
        QTest::newRow("ranks 3 and 4") << 1 << 4 << 0
                                       << QStringList{"Sieger Gruppe A", "Zweiter Gruppe A", "Dritter Gruppe A",
                                                      "4. Gruppe A"}
                                       << QList<int>{0, 0, 0, 1, 0, 2, 0, 3};
        QTest::newRow("only best-placed") << 3 << 0 << 2
                                          << QStringList{"1. Bestplatzierter 1. Platz", "2. Bestplatzierter 1. Platz"}
                                          << QList<int>{-3, 0, -3, 1};
    }
    void qualifierTexts()
    {
        QFETCH(int, groups);
        QFETCH(int, besten);
        QFETCH(int, best);
        QFETCH(QStringList, expected);
        QFETCH(QList<int>, parents);
        DrawModel m;
        m.setUp(7, 1, 1, settings({0, 0, -1}, {groups, 2, 0}, {4, 4, 0}, {besten, 0, 0}, {best, 0, 0}), {}, {},
                players(8));
        QCOMPARE(texts(m.phase(2).participants), expected);
        QList<int> actual;
        for (const DrawEntry& e : m.phase(2).participants) {
            actual << e.parentGID << e.parentpos;
            QCOMPARE(e.kind(), DrawEntry::Kind::Qualifier);
        }
        QCOMPARE(actual, parents);
        QCOMPARE(m.phase(2).participantsLoaded, m.phase(2).participants);
    }

    void lettersContinueOverPhases()
    {
        DrawModel m;
        m.setUp(7, 1, 1, settings({0, 0, 1}, {4, 2, 0}, {4, 4, 0}, {2, 2, 0}), {}, {}, players(16));
        QCOMPARE(m.phase(2).firstGroup, 4);
        QCOMPARE(m.groupGeometry(2)[0].caption, QStringLiteral("Gruppe E"));
        QCOMPARE(m.groupGeometry(2)[1].caption, QStringLiteral("Gruppe F"));
        QCOMPARE(m.phase(3).participants.first().text(), QStringLiteral("Sieger Gruppe E"));
        QCOMPARE(m.phase(3).participants.first().parentGID, 4);
        QCOMPARE(m.phase(3).koinfos.size(), 4);
        QCOMPARE(groupLetter(26), QStringLiteral("["));
        // A phase-2 bracket lies further left than phase 1's.
        const BracketGeometry g = m.bracketGeometry(3);
        QCOMPARE(g.slotRects[0], QRect(20, 19, 180, 13));
        QVERIFY(g.texts.isEmpty());
        QCOMPARE(g.size, QSize(20 + 180 + 90 * 2, 32 + 24 + 72 * 2));
    }

    void navigation_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("redraw");
        QTest::addColumn<int>("phases");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("button");
        QTest::addColumn<WizardState>("expected");
        const WizardState tables{4, true, false, true};
        QTest::newRow("start, one phase") << 1 << 1 << 1 << 0 << "" << WizardState{1, false, true, false};
        QTest::newRow("1 phase: on to tables") << 1 << 1 << 1 << 1 << "weiter" << tables;
        QTest::newRow("1 phase: tables back") << 1 << 1 << 1 << 4 << "zurueck" << WizardState{1, false, true, false};
        QTest::newRow("1 phase: back refused") << 1 << 1 << 1 << 1 << "zurueck" << WizardState{1, false, true, false};
        QTest::newRow("1 phase: on refused") << 1 << 1 << 1 << 4 << "weiter" << tables;
        QTest::newRow("2 phases: 1 on") << 1 << 1 << 2 << 1 << "weiter" << WizardState{2, true, true, false};
        QTest::newRow("2 phases: 2 on") << 1 << 1 << 2 << 2 << "weiter" << tables;
        QTest::newRow("2 phases: tables back") << 1 << 1 << 2 << 4 << "zurueck" << WizardState{2, true, true, false};
        QTest::newRow("2 phases: 2 back") << 1 << 1 << 2 << 2 << "zurueck" << WizardState{1, false, true, false};
        QTest::newRow("3 phases: 2 on") << 1 << 1 << 3 << 2 << "weiter" << WizardState{3, true, true, false};
        QTest::newRow("3 phases: 3 on") << 1 << 1 << 3 << 3 << "weiter" << tables;
        QTest::newRow("3 phases: tables back") << 1 << 1 << 3 << 4 << "zurueck" << WizardState{3, true, true, false};
        QTest::newRow("3 phases: 3 back") << 1 << 1 << 3 << 3 << "zurueck" << WizardState{2, true, true, false};
        QTest::newRow("redraw 2: start") << 2 << 2 << 3 << 0 << "" << WizardState{2, false, true, false};
        QTest::newRow("redraw 2: back refused") << 2 << 2 << 3 << 2 << "zurueck" << WizardState{2, false, true, false};
        QTest::newRow("redraw 2: 3 back") << 2 << 2 << 3 << 3 << "zurueck" << WizardState{2, false, true, false};
        QTest::newRow("redraw 2: tables back") << 2 << 2 << 2 << 4 << "zurueck" << WizardState{2, false, true, false};
        QTest::newRow("redraw 3: start") << 2 << 3 << 3 << 0 << "" << WizardState{3, false, true, false};
        QTest::newRow("redraw 3: back refused") << 2 << 3 << 3 << 3 << "zurueck" << WizardState{3, false, true, false};
        QTest::newRow("redraw 3: on") << 2 << 3 << 3 << 3 << "weiter" << tables;
        QTest::newRow("redraw 3: tables back") << 2 << 3 << 3 << 4 << "zurueck" << WizardState{3, false, true, false};
        QTest::newRow("redraw 1 as first draw") << 2 << 1 << 2 << 2 << "zurueck" << WizardState{1, false, true, false};
    }
    void navigation()
    {
        QFETCH(int, mode);
        QFETCH(int, redraw);
        QFETCH(int, phases);
        QFETCH(int, step);
        QFETCH(QString, button);
        QFETCH(WizardState, expected);
        const NavigationFrame frame{mode, redraw, phases >= 2, phases >= 3};
        if (button.isEmpty()) {
            QCOMPARE(startState(frame), expected);
            return;
        }
        // The state on `step` as the wizard shows it.
        WizardState state = startState(frame);
        for (int guard = 0; state.step != step && guard < 4; ++guard)
            state = weiterState(frame, state);
        QCOMPARE(state.step, step);
        QCOMPARE(button == QLatin1String("weiter") ? weiterState(frame, state) : zurueckState(frame, state),
                 expected);
    }

    // The side labels in the highlight colour: on opening the first step's (a
    // redraw: all seven), then each step taken highlights its own and draws
    // the step left black.
    void highlightedLabels_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("redraw");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("expected"); // steps 1..4, "x" highlighted
        QTest::newRow("first draw") << 1 << 1 << QStringList{} << "x...";
        QTest::newRow("first draw: on") << 1 << 1 << QStringList{"weiter"} << ".x..";
        QTest::newRow("first draw: to the tables and back")
            << 1 << 1 << QStringList{"weiter", "weiter", "weiter", "zurueck"} << "..x.";
        QTest::newRow("redraw of phase 1") << 2 << 1 << QStringList{} << "xxxx";
        QTest::newRow("redraw of phase 2") << 2 << 2 << QStringList{} << "xxxx";
        QTest::newRow("redraw of phase 2: on") << 2 << 2 << QStringList{"weiter"} << "x.xx";
        QTest::newRow("redraw of phase 2: on and back") << 2 << 2 << QStringList{"weiter", "zurueck"} << "xx.x";
        QTest::newRow("redraw of phase 3: back refused") << 2 << 3 << QStringList{"zurueck"} << "xxxx";
        QTest::newRow("redraw of phase 3: to the tables") << 2 << 3 << QStringList{"weiter"} << "xx.x";
    }
    void highlightedLabels()
    {
        QFETCH(int, mode);
        QFETCH(int, redraw);
        QFETCH(QStringList, buttons);
        QFETCH(QString, expected);
        DrawModel m;
        m.setUp(7, mode, redraw, settings({0, 0, 0}, {2, 2, 1}, {2, 2, 2}, {1, 1, 0}), {}, {}, players(4));
        for (const QString& b : buttons) {
            if (b == QLatin1String("weiter"))
                m.weiter();
            else
                m.zurueck();
        }
        QString shown;
        for (int step = 1; step <= 4; ++step)
            shown += m.highlighted(step) ? QLatin1Char('x') : QLatin1Char('.');
        QCOMPARE(shown, expected);
    }

    void drops()
    {
        // A doubles class: 2 seeds, 4 registered pairs, 2 groups of 4.
        QList<Myitem> seeds{player(11, QStringLiteral("Aal, B. / Bach, C (1)"), 1, 12),
                            player(13, QStringLiteral("Cohn, D. / Dorn, E (2)"), 2, 14)};
        QList<Myitem> regs;
        for (int i = 0; i < 4; ++i)
            regs << player(20 + i, QStringLiteral("Pair%1, X. / Other, Y").arg(i), -1, 30 + i);
        DrawModel m;
        m.setUp(7, 1, 1, settings({0, -1, -1}, {2, 0, 0}, {4, 0, 0}), {}, seeds, regs);
        const QList<DrawEntry> loaded = m.registered();

        // ListBox1 row 0 into group A row 0.
        QVERIFY(m.dropOnGroupRow(DrawList::ListBox1, 0, {1, 0, 0}));
        QCOMPARE(m.phase(1).groups[0][0].item.ID, 20);
        QCOMPARE(m.registered().size(), 3);
        // Onto an occupied row: nothing.
        QVERIFY(!m.dropOnGroupRow(DrawList::ListBox1, 0, {1, 0, 0}));
        QCOMPARE(m.registered().size(), 3);
        // A row that is not there, a list of another phase: nothing.
        QVERIFY(!m.dropOnGroupRow(DrawList::ListBox1, 0, {1, 0, 4}));
        QVERIFY(!m.dropOnGroupRow(DrawList::ListBox3, 0, {1, 0, 1}));
        // Seed 2 into group B row 2 leaves "2. " in the seed list.
        QVERIFY(m.dropOnGroupRow(DrawList::ListBox2, 1, {1, 1, 2}));
        QCOMPARE(m.listText(DrawList::ListBox2, 1), QStringLiteral("2. "));
        QCOMPARE(DrawModel::rowText(2, m.phase(1).groups[1][2]), QStringLiteral("3. Cohn, D. / Dorn, E (2)"));
        // A placeholder drags nothing.
        QVERIFY(!m.dropOnGroupRow(DrawList::ListBox2, 1, {1, 1, 3}));
        // Delete puts it back in place of its placeholder.
        QVERIFY(m.deleteRow({1, 1, 2}));
        QCOMPARE(m.listText(DrawList::ListBox2, 1), QStringLiteral("2. Cohn, D. / Dorn, E (2)"));
        QVERIFY(m.phase(1).groups[1][2].isEmpty());
        QVERIFY(!m.deleteRow({1, 1, 2})); // an empty row
        // Swapping rows 1 and 3 of a doubles group keeps both whole.
        QVERIFY(m.dropOnGroupRow(DrawList::ListBox1, 0, {1, 0, 2}));
        const DrawEntry a = m.phase(1).groups[0][0];
        const DrawEntry c = m.phase(1).groups[0][2];
        QVERIFY(m.swapRows(1, 0, 0, 2));
        QCOMPARE(m.phase(1).groups[0][0], c);
        QCOMPARE(m.phase(1).groups[0][2], a);
        QCOMPARE(DrawModel::rowText(0, m.phase(1).groups[0][0]), QStringLiteral("1. ") + c.item.name);
        QVERIFY(!m.swapRows(1, 0, 1, 3)); // two empty rows
        // A row back to ListBox1 goes to its sorted place; a seed so returned stays unseeded.
        QVERIFY(m.dropRowOnList({1, 0, 0}, DrawList::ListBox1));
        QVERIFY(m.dropOnGroupRow(DrawList::ListBox2, 0, {1, 1, 0}));
        QVERIFY(m.dropRowOnList({1, 1, 0}, DrawList::ListBox1));
        QCOMPARE(m.registered().first().item.ID, 11);
        QCOMPARE(m.listText(DrawList::ListBox2, 0), QStringLiteral("1. "));
        QVERIFY(!m.dropRowOnList({1, 1, 0}, DrawList::ListBox1)); // empty now
        QVERIFY(!m.dropRowOnList({1, 0, 2}, DrawList::ListBox2));

        // "Alles löschen" restores both lists entry by entry and the groups.
        m.setLosenEnabled(1, false);
        m.allesLoeschen(1);
        QCOMPARE(m.registered(), loaded);
        QCOMPARE(m.seeds(), m.seedsLoaded());
        QCOMPARE(m.seeds().size(), 2);
        QCOMPARE(m.seeds()[0].item.ID, 11);
        for (const QList<DrawEntry>& rows : m.phase(1).groups)
            for (const DrawEntry& r : rows)
                QVERIFY(r.isEmpty());
        QVERIFY(m.phase(1).losenEnabled);
    }

    void slotDrops()
    {
        QList<Myitem> seeds{player(1, QStringLiteral("Aal, Bert (1)"), 1), player(2, QStringLiteral("Bach, C (2)"), 2),
                            player(3, QStringLiteral("Cohn, D (3)"), 3)};
        DrawModel m;
        m.setUp(7, 1, 1, settings({1, -1, -1}, {0, 0, 0}, {0, 0, 0}), {}, seeds, players(3, 10));
        QCOMPARE(m.phase(1).koinfos.size(), 8);
        // Seed 3 onto slot 4; its placeholder reads the seed number alone.
        QVERIFY(m.dropOnSlot(DrawList::ListBox2, 2, {1, 4}));
        QCOMPARE(m.listText(DrawList::ListBox2, 2), QStringLiteral("3"));
        QCOMPARE(m.phase(1).koinfos[4].item.gesetzt, 3);
        QVERIFY(!m.dropOnSlot(DrawList::ListBox1, 0, {1, 4})); // occupied
        // A seed goes back only to the seed list.
        QVERIFY(!m.dropSlotOnList({1, 4}, DrawList::ListBox1));
        QVERIFY(m.dropSlotOnList({1, 4}, DrawList::ListBox2));
        QCOMPARE(m.listText(DrawList::ListBox2, 2), QStringLiteral("3. Cohn, D (3)"));
        // An empty slot drags nothing.
        QVERIFY(!m.dropSlotOnList({1, 4}, DrawList::ListBox1));
        // A bye slot onto ListBox1 is only cleared; an entrant replaces a bye.
        m.placeInSlot(1, 5, DrawEntry::bye());
        QVERIFY(m.dropSlotOnList({1, 5}, DrawList::ListBox1));
        QCOMPARE(m.registered().size(), 3);
        QVERIFY(m.phase(1).koinfos[5].isEmpty());
        m.placeInSlot(1, 5, DrawEntry::bye());
        QVERIFY(m.dropOnSlot(DrawList::ListBox1, 1, {1, 5}));
        QCOMPARE(m.phase(1).koinfos[5].item.ID, 11);
        QVERIFY(m.dropSlotOnList({1, 5}, DrawList::ListBox1));
        QCOMPARE(m.registered()[1].item.ID, 11);
        // A phase-1 slot takes nothing from a later phase's list.
        QVERIFY(!m.dropOnSlot(DrawList::ListBox3, 0, {1, 0}));
    }

    void laterPhaseDrops()
    {
        DrawModel m;
        m.setUp(7, 1, 1, settings({0, 0, 1}, {2, 1, 0}, {4, 4, 0}, {2, 2, 0}), {}, {}, players(8));
        // Phase 2: a group of 4 from 4 qualifiers.
        QVERIFY(m.dropOnGroupRow(DrawList::ListBox3, 2, {2, 0, 0}));
        QCOMPARE(DrawModel::rowText(0, m.phase(2).groups[0][0]), QStringLiteral("1. Zweiter Gruppe A"));
        QCOMPARE(m.phase(2).groups[0][0].parentGID, 0);
        QCOMPARE(m.phase(2).groups[0][0].parentpos, 1);
        QVERIFY(!m.dropOnGroupRow(DrawList::ListBox4, 0, {2, 0, 1}));
        QVERIFY(!m.deleteRow({2, 0, 0})); // Delete works on phase 1 only
        QVERIFY(m.swapRows(2, 0, 0, 3));
        QCOMPARE(m.phase(2).groups[0][3].text(), QStringLiteral("Zweiter Gruppe A"));
        QVERIFY(m.dropRowOnList({2, 0, 3}, DrawList::ListBox3));
        QCOMPARE(m.phase(2).participants.last().text(), QStringLiteral("Zweiter Gruppe A"));
        QVERIFY(!m.dropRowOnList({2, 0, 3}, DrawList::ListBox3));
        // Phase 3: a bracket from the 2 of group C.
        QCOMPARE(m.phase(3).koinfos.size(), 2);
        QVERIFY(m.dropOnSlot(DrawList::ListBox4, 0, {3, 1}));
        QCOMPARE(m.phase(3).koinfos[1].text(), QStringLiteral("Sieger Gruppe C"));
        QVERIFY(m.dropSlotOnList({3, 1}, DrawList::ListBox4));
        QCOMPARE(texts(m.phase(3).participants), (QStringList{"Zweiter Gruppe C", "Sieger Gruppe C"}));
        m.allesLoeschen(3);
        QCOMPARE(texts(m.phase(3).participants), (QStringList{"Sieger Gruppe C", "Zweiter Gruppe C"}));
        m.allesLoeschen(2);
        QCOMPARE(m.phase(2).participants, m.phase(2).participantsLoaded);
    }

    void redrawEntries()
    {
        // Two namesakes in a redraw of phase 2: swaps and returns keep their ids.
        DrawEntry hans1;
        hans1.item = player(5, QStringLiteral("Meier, Hans"));
        hans1.parentGID = 0;
        hans1.parentpos = 0;
        DrawEntry hans2 = hans1;
        hans2.item.ID = 9;
        hans2.parentGID = 1;
        hans2.parentpos = 1;
        DrawModel m;
        m.setUp(7, 2, 2, settings({0, 0, -1}, {2, 1, 0}, {4, 2, 0}, {1, 0, 0}), {}, {}, players(8), {hans1, hans2});
        QCOMPARE(m.phase(2).participants, (QList<DrawEntry>{hans1, hans2}));
        QCOMPARE(m.auslosungsschritt(), 2);
        QVERIFY(m.dropOnGroupRow(DrawList::ListBox3, 1, {2, 0, 0}));
        QVERIFY(m.dropOnGroupRow(DrawList::ListBox3, 0, {2, 0, 1}));
        QVERIFY(m.swapRows(2, 0, 0, 1));
        QCOMPARE(m.phase(2).groups[0][0], hans1);
        QCOMPARE(m.phase(2).groups[0][1], hans2);
        QVERIFY(m.dropRowOnList({2, 0, 1}, DrawList::ListBox3));
        QCOMPARE(m.phase(2).participants, (QList<DrawEntry>{hans2}));
    }

    void tables()
    {
        DrawModel m;
        m.setUp(7, 1, 1, settings({0, 0, 0}, {4, 2, 2}, {4, 4, 4}, {2, 2, 0}), {"1", "2", "3"}, {}, players(16));
        QVERIFY(m.plattenlisten().isEmpty());
        m.setPlattensystem(1);
        QCOMPARE(m.plattenlisten().size(), 8);
        const QList<TableListGeometry> g = m.tableListGeometry(400);
        QCOMPARE(g.first().caption, QStringLiteral("Gruppe A"));
        QCOMPARE(g.last().caption, QStringLiteral("Gruppe H"));
        // 400 px: 5 per row, lists of 3 x 15 px.
        QCOMPARE(g[5].list, QRect(5, 45 + 30 + 24, 70, 45));
        QCOMPARE(g[4].captionAt, QPoint(305, 5));
        // A zero-width box lays out one per row.
        const QList<TableListGeometry> narrow = m.tableListGeometry(0);
        QCOMPARE(narrow[1].list.topLeft(), QPoint(5, 75 + 24));
        // Table 3 onto A and B stays available; the same table twice is there once.
        QVERIFY(m.assignTables({2}, 0));
        QVERIFY(m.assignTables({2, 0}, 1));
        QVERIFY(!m.assignTables({2}, 0));
        QCOMPARE(m.plattenlisten()[0], QStringList{"3"});
        QCOMPARE(m.plattenlisten()[1], (QStringList{"1", "3"}));
        QCOMPARE(m.tables().size(), 3);
        QVERIFY(m.removeTable(1, 0));
        QVERIFY(!m.removeTable(1, 1));
        QCOMPARE(m.plattenlisten()[1], QStringList{"3"});
        for (int i = 0; i < 8; ++i)
            QVERIFY(m.tableListShown(i));
        m.setPlattensystem(0);
        QVERIFY(m.plattenlisten().isEmpty());

        // A redraw of phase 2 hides phase 1's four lists; of phase 3 also phase 2's.
        DrawModel r;
        r.setUp(7, 2, 2, settings({0, 0, 0}, {4, 2, 2}, {4, 4, 4}, {2, 2, 0}), {"1"}, {}, players(16));
        r.setPlattensystem(1);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(r.tableListShown(i), i >= 4);
        r.setUp(7, 2, 3, settings({0, 0, 0}, {4, 2, 2}, {4, 4, 4}, {2, 2, 0}), {"1"}, {}, players(16));
        r.setPlattensystem(1);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(r.tableListShown(i), i >= 6);
        QVERIFY(!r.phase(2).built);
    }
};

QTEST_GUILESS_MAIN(TestDrawModel)
#include "test_drawmodel.moc"
