// The bracket layouts without a GUI: the knock-out bracket's geometry at the
// three zooms, its slot labels and the phase winner; the double knock-out from
// the shipped plan file, its numbers after an earlier phase, label lines, and a
// missing file or block; the pool of all knock-out entrants.
#include "planfixture.h"

#include "plans/bracketlayout.h"

#include <QTest>

using namespace bw;
using namespace bw::plan;
using namespace bw::test;

namespace {

// A knock-out phase of m first-round matches (m a power of two): entrants
// 100 + slot, "Spieler k", matches numbered from `first`, each later match fed
// by the winners of two earlier ones, still open.
QList<PlanMatchRow> koRows(int m, int first = 1, int phase = 1)
{
    QList<PlanMatchRow> rows;
    for (int i = 0; i < m; ++i) {
        PlanMatchRow r;
        r.spielnummer = first + i;
        r.phase = phase;
        r.sid1 = 100 + 2 * i;
        r.sid2 = 101 + 2 * i;
        r.spieler1 = QStringLiteral("Spieler %1").arg(r.sid1);
        r.spieler2 = QStringLiteral("Spieler %1").arg(r.sid2);
        rows.append(r);
    }
    int feeding = first;
    for (int round = m / 2; round >= 1; round /= 2) {
        for (int i = 0; i < round; ++i) {
            PlanMatchRow r;
            r.spielnummer = first + rows.size();
            r.phase = phase;
            r.parentspiel1 = feeding + 2 * i;
            r.parentspiel2 = feeding + 2 * i + 1;
            r.sid1 = r.sid2 = -1;
            r.spieler1 = QStringLiteral("Sieger Spiel %1").arg(r.parentspiel1);
            r.spieler2 = QStringLiteral("Sieger Spiel %1").arg(r.parentspiel2);
            rows.append(r);
        }
        feeding += 2 * round;
    }
    return rows;
}

QList<const ControlSpec*> labelsAt(const PlanLayout& layout, int left)
{
    QList<const ControlSpec*> found;
    for (const ControlSpec& spec : layout.controls)
        if (spec.kind == ControlKind::PlayerLabel && spec.rect.left() == left)
            found.append(&spec);
    return found;
}

QList<int> labelMiddles(const PlanLayout& layout, int left, int R)
{
    QList<int> ys;
    for (const ControlSpec* spec : labelsAt(layout, left))
        ys.append(spec->rect.top() + R / 2 + 1);
    return ys;
}

int countOf(const PlanLayout& layout, ControlKind kind)
{
    int n = 0;
    for (const ControlSpec& spec : layout.controls)
        n += spec.kind == kind ? 1 : 0;
    return n;
}

DoubleKoPlan shippedBlock(int size)
{
    return readDoubleKoPlan(shippedPlanFile("ko_system.txt"), size);
}

} // namespace

class TestBracketLayout : public QObject {
    Q_OBJECT
private slots:
    void knockOutGeometry_data()
    {
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<QList<int>>>("columns"); // slot middles per later column, the winner last
        // M = 1: K 0, the winner right of the only match at L + S + 29; 2S + L wide.
        QTest::newRow("M 1, zoom 1") << 1 << 1 << QSize(2 * 120 + 20, 3 * 16 + 48 + 16)
                                     << QList<QList<int>>{{48 + 8}};
        QTest::newRow("M 1, zoom 2") << 1 << 2 << QSize(2 * 180 + 30, 3 * 24 + 48 + 24)
                                     << QList<QList<int>>{{48 + 12}};
        QTest::newRow("M 1, zoom 3") << 1 << 3 << QSize(2 * 240 + 40, 3 * 30 + 48 + 30)
                                     << QList<QList<int>>{{48 + 15}};
        QTest::newRow("M 4, zoom 2") << 4 << 2 << QSize(750, 360)
                                     << QList<QList<int>>{{60, 132, 204, 276}, {96, 240}, {168}};
        QTest::newRow("M 4, zoom 1") << 4 << 1 << QSize(4 * 120 + 20, 4 * 48 + 48 + 16)
                                     << QList<QList<int>>{{56, 104, 152, 200}, {80, 176}, {128}};
        QTest::newRow("M 4, zoom 3") << 4 << 3 << QSize(4 * 240 + 40, 4 * 90 + 48 + 30)
                                     << QList<QList<int>>{{63, 153, 243, 333}, {108, 288}, {198}};
        QTest::newRow("M 2, zoom 2") << 2 << 2 << QSize(3 * 180 + 30, 2 * 72 + 48 + 24)
                                     << QList<QList<int>>{{60, 132}, {96}};
    }
    void knockOutGeometry()
    {
        QFETCH(int, m);
        QFETCH(int, zoom);
        QFETCH(QSize, size);
        QFETCH(QList<QList<int>>, columns);
        const BracketGeometry g = bracketGeometry(zoom, false);
        const QList<PlanMatchRow> rows = koRows(m);
        const PlanLayout layout = koplanLayout(rows, zoom);
        QCOMPARE(layout.size, size);
        // The first round: two labels per match, its icon right of the match.
        QCOMPARE(labelsAt(layout, g.L + 3).size(), 2 * m);
        const ControlSpec* firstIcon = layout.control(QStringLiteral("status1"));
        QVERIFY(firstIcon);
        QCOMPARE(firstIcon->rect, QRect(g.L + g.S + 1, g.T + g.R / 2 - g.F, 25, 16));
        QCOMPARE(firstIcon->tag, 1);
        for (int c = 0; c < columns.size(); ++c)
            QCOMPARE(labelMiddles(layout, g.L + g.S * (c + 1) + 29, g.R), columns[c]);
        // Every match has its icon; the winner's label is named by the final.
        QCOMPARE(countOf(layout, ControlKind::StatusIcon), rows.size());
        const ControlSpec* winner = layout.control(QStringLiteral("Sieger%1").arg(rows.last().spielnummer));
        QVERIFY(winner);
        QCOMPARE(winner->rect.left(), g.L + g.S * columns.size() + 29);
        QCOMPARE(winner->tag, -1);
        QCOMPARE(winner->fontSize, g.fontSize);
        QCOMPARE(countOf(layout, ControlKind::ToolIcon), 3);
        QCOMPARE(layout.controls.first().rect.topLeft(), QPoint(g.L, 5));
    }

    void knockOutSlotsNameTheirSources()
    {
        const PlanLayout layout = koplanLayout(koRows(4), 2);
        // Match 5 is fed by 1 and 2: its slots at y 60 and 132 carry "Sieger1"
        // and "Sieger2"; its icon sits between them.
        const ControlSpec* slot1 = layout.control(QStringLiteral("Sieger1"));
        const ControlSpec* slot2 = layout.control(QStringLiteral("Sieger2"));
        QVERIFY(slot1 && slot2);
        QCOMPARE(slot1->rect, QRect(30 + 180 + 29, 60 - 12 - 1, 178, 22));
        QCOMPARE(slot2->rect.top(), 132 - 13);
        QCOMPARE(slot1->caption, QStringLiteral("Sieger Spiel 1"));
        QCOMPARE(slot1->tag, -1);
        QCOMPARE(layout.control(QStringLiteral("status5"))->rect.topLeft(), QPoint(30 + 360 + 3, 132 - 36 - 14));
        QCOMPARE(layout.control(QStringLiteral("status7"))->rect.topLeft(), QPoint(30 + 540 + 3, 240 - 72 - 14));
        // A first-round label carries its entrant's key.
        const QList<const ControlSpec*> first = labelsAt(layout, 33);
        QCOMPARE(first[0]->caption, QStringLiteral("Spieler 100"));
        QCOMPARE(first[0]->tag, 100);
        QCOMPARE(first[1]->tag, 101);
        QCOMPARE(first[1]->rect.top(), 2 * 24 + 48 - 13 - 24);
        // Lines: the first match's two slots and the joining line, later columns
        // start after the icon and join their sources.
        QVERIFY(layout.lines.contains(QLine(30, 48, 210, 48)));
        QVERIFY(layout.lines.contains(QLine(30, 72, 210, 72)));
        QVERIFY(layout.lines.contains(QLine(210, 48, 210, 72)));
        QVERIFY(layout.lines.contains(QLine(30 + 180 + 26, 60, 30 + 360, 60)));
        QVERIFY(layout.lines.contains(QLine(30 + 360, 96 - 36, 30 + 360, 96 + 36)));
    }

    void phaseWinner_data()
    {
        QTest::addColumn<bool>("beendet");
        QTest::addColumn<QString>("ergebnis");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("tag");
        QTest::newRow("3:1") << true << "3:1" << "Erster" << 41;
        QTest::newRow("2:3") << true << "2:3" << "Zweiter" << 42;
        QTest::newRow("open final") << false << "" << "Sieger Spiel 7" << -1;
        QTest::newRow("team 10:8") << true << "10:8" << "Erster" << 41;
        QTest::newRow("team 8:10") << true << "8:10" << "Zweiter" << 42;
    }
    void phaseWinner()
    {
        QFETCH(bool, beendet);
        QFETCH(QString, ergebnis);
        QFETCH(QString, shown);
        QFETCH(int, tag);
        QList<PlanMatchRow> rows = koRows(4);
        rows.last().spieler1 = QStringLiteral("Erster");
        rows.last().spieler2 = QStringLiteral("Zweiter");
        rows.last().sid1 = 41;
        rows.last().sid2 = 42;
        rows.last().beendet = beendet;
        rows.last().ergebnis = ergebnis;
        QCOMPARE(bw::plan::phaseWinner(rows.last()).text, shown);
        const ControlSpec* label = koplanLayout(rows, 2).control(QStringLiteral("Sieger7"));
        QCOMPARE(label->caption, shown);
        QCOMPARE(label->tag, tag);
    }

    void noFirstRoundDrawsNothing()
    {
        QList<PlanMatchRow> rows = koRows(2);
        rows.remove(0, 2);
        QCOMPARE(firstRoundMatches(rows), 0);
        const PlanLayout layout = koplanLayout(rows, 2);
        QVERIFY(layout.size.isEmpty());
        QVERIFY(layout.controls.isEmpty());
    }

    void doubleKnockOutOfShippedFile()
    {
        const DoubleKoPlan plan = shippedBlock(8);
        QVERIFY(plan.found());
        QList<PlanMatchRow> rows;
        for (int n = 1; n <= 14; ++n) {
            PlanMatchRow r;
            r.spielnummer = n;
            r.sid1 = 200 + n;
            r.sid2 = n <= 4 ? 300 + n : -1;
            r.spieler1 = QStringLiteral("A%1").arg(n);
            r.spieler2 = QStringLiteral("B%1").arg(n);
            rows.append(r);
        }
        const PlanLayout layout = doubleKoLayout(plan, rows, 0, 2);
        // 5 columns, 36 rows at S 180, R 12, T 48.
        QCOMPARE(layout.size, QSize(6 * 180, 37 * 12 + 48));
        QCOMPARE(countOf(layout, ControlKind::StatusIcon), 14);
        QCOMPARE(countOf(layout, ControlKind::PlayerLabel), 28);
        // Match 1 ("1,-1,-1,-3,-3,0,0,1,0,2"): column 0 without indent, rows 0 and 2.
        const QList<const ControlSpec*> column0 = labelsAt(layout, 30 + 3);
        QCOMPARE(column0[0]->rect, QRect(33, 48 - 13, 178, 22));
        QCOMPARE(column0[0]->caption, QStringLiteral("A1"));
        QCOMPARE(column0[0]->tag, 201);
        QCOMPARE(column0[1]->rect, QRect(33, 2 * 12 + 48 - 13, 178, 22));
        QCOMPARE(column0[1]->tag, 301);
        QCOMPARE(layout.control(QStringLiteral("status1"))->rect, QRect(211, (2 * 12 + 96 - 26) / 2, 25, 16));
        QVERIFY(layout.lines.contains(QLine(30, 48, 210, 48)));
        QVERIFY(layout.lines.contains(QLine(210, 48, 210, 72)));
        // Match 7 ("7,1,2,1,1,0,1,2,1,7"): column 1 indented by 24, rows 1 and 7.
        const ControlSpec* icon7 = layout.control(QStringLiteral("status7"));
        QCOMPARE(icon7->rect.topLeft(), QPoint(2 * 180 + 30 + 1, (8 * 12 + 96 - 26) / 2));
        bool found = false;
        for (const ControlSpec* spec : labelsAt(layout, 180 + 30 + 24 + 3))
            found = found || (spec->caption == QStringLiteral("A7") && spec->rect.top() == 12 + 48 - 13);
        QVERIFY(found);
        QVERIFY(layout.lines.contains(QLine(234, 60, 390, 60)));
        QVERIFY(layout.lines.contains(QLine(234, 7 * 12 + 48, 390, 7 * 12 + 48)));
    }

    void doubleKnockOutAfterEarlierPhase()
    {
        // Phase 2 after 24 matches: file match 1 is match 25; label lines name
        // the earlier matches with the offset too.
        DoubleKoPlan plan;
        plan.lookup = PlanLookup::Found;
        plan.columns = 3;
        plan.rows = 10;
        plan.lines.append({1, -1, -1, -3, -3, 0, 1, 0, 2});
        plan.lines.append({-1, 1, -1, 1, 0, 1, 2, 4, 0});
        plan.lines.append({-1, 1, -1, 0, 0, 1, 2, 8, 0});
        PlanMatchRow r;
        r.spielnummer = 25;
        r.sid1 = 7;
        r.spieler1 = QStringLiteral("Sieben");
        const PlanLayout layout = doubleKoLayout(plan, {r}, 24, 2);
        QVERIFY(layout.control(QStringLiteral("status25")));
        QVERIFY(!layout.control(QStringLiteral("status1")));
        QCOMPARE(labelsAt(layout, 33)[0]->caption, QStringLiteral("Sieben"));
        const QList<const ControlSpec*> labels = labelsAt(layout, 180 + 24 + 30 + 3);
        QCOMPARE(labels.size(), 2);
        QCOMPARE(labels[0]->caption, QStringLiteral("Sieger Spiel 25"));
        QCOMPARE(labels[0]->rect, QRect(237, 4 * 12 + 48 - 13, 178, 22));
        QCOMPARE(labels[0]->tag, -1);
        QCOMPARE(labels[1]->caption, QStringLiteral("Verlierer Spiel 25"));
        QVERIFY(layout.lines.contains(QLine(234, 96, 390, 96)));
        // A match the file names but the class lacks: empty labels, still its icon.
        const PlanLayout missing = doubleKoLayout(plan, {}, 24, 2);
        QCOMPARE(labelsAt(missing, 33)[0]->caption, QString());
        QCOMPARE(labelsAt(missing, 33)[0]->tag, -1);
        QVERIFY(missing.control(QStringLiteral("status25")));
    }

    void doubleKnockOutWithoutPlan_data()
    {
        QTest::addColumn<int>("lookup");
        QTest::newRow("file missing") << int(PlanLookup::FileMissing);
        QTest::newRow("block missing") << int(PlanLookup::BlockMissing);
    }
    void doubleKnockOutWithoutPlan()
    {
        QFETCH(int, lookup);
        DoubleKoPlan plan;
        plan.lookup = PlanLookup(lookup);
        const PlanLayout layout = doubleKoLayout(plan, koRows(4), 0, 2);
        QCOMPARE(layout.size, QSize(700, 500));
        QCOMPARE(layout.controls.size(), 3);
        QCOMPARE(countOf(layout, ControlKind::ToolIcon), 3);
        QVERIFY(layout.lines.isEmpty());
    }

    void allPlayersPoolTakesKnockOutEntrantsOnce()
    {
        QList<PlanMatchRow> rows = koRows(2);
        PlanMatchRow group;
        group.spielnummer = 0;
        group.gruppe = 0;
        group.sid1 = 900;
        group.sid2 = 901;
        rows.prepend(group);
        rows[1].sid2 = 100;  // the same entrant twice
        rows[2].sid1 = -2;   // a bye
        QList<PoolItem> expected;
        for (int sid : {100, 103, 0})
            expected.append({QString::number(sid), sid});
        rows.last().sid1 = 0;
        QCOMPARE(allPlayersPool(rows), expected);
    }
};

QTEST_GUILESS_MAIN(TestBracketLayout)
#include "test_bracketlayout.moc"
