// The phase settings without a database: the rules between the values, what is
// stored of hidden phases, the checks before a draw, and the drawing of partners.
#include "draw/groupsettingsmodel.h"
#include "draw/partnerdraw.h"

#include <QSet>
#include <QTest>

using namespace bw;
using Value = GroupSettingsModel::Value;

namespace {

// One phase as "+G 4/13/2/1": panel shown (+) or hidden (-), play system
// (G, K, D), "~" when its group values are hidden, then groups, places, best
// per group and best-placed.
QString describe(const GroupSettingsModel& m)
{
    QStringList phases;
    for (int p = 0; p < kPhaseCount; ++p) {
        const GroupSettingsModel::Phase& phase = m.phase(p);
        const char system = phase.system == PlaySystem::Gruppenphase  ? 'G'
                            : phase.system == PlaySystem::EinfachesKO ? 'K'
                                                                      : 'D';
        phases << QStringLiteral("%1%2%3 %4/%5/%6/%7")
                      .arg(QLatin1Char(phase.panelShown ? '+' : '-'))
                      .arg(QLatin1Char(system))
                      .arg(phase.valuesShown ? QString() : QStringLiteral("~"))
                      .arg(phase.values[0])
                      .arg(phase.values[1])
                      .arg(phase.values[2])
                      .arg(phase.values[3]);
    }
    return phases.join(QStringLiteral(", "));
}

// Steps as the user takes them: "t1=14" places of phase 1, "g" groups, "b"
// best per group, "p" best-placed, "s2=K" play system of phase 2 (G, K, D).
void apply(GroupSettingsModel& m, const QStringList& steps)
{
    for (const QString& step : steps) {
        const int phase = step.mid(1, 1).toInt() - 1;
        const QString value = step.mid(3);
        switch (step.at(0).toLatin1()) {
        case 's':
            m.choose(phase, value == QLatin1String("G")   ? PlaySystem::Gruppenphase
                            : value == QLatin1String("K") ? PlaySystem::EinfachesKO
                                                          : PlaySystem::DoppeltesKO);
            break;
        case 'g': m.setValue(phase, Value::Gruppenanzahl, value.toInt()); break;
        case 't': m.setValue(phase, Value::Teilnehmer, value.toInt()); break;
        case 'b': m.setValue(phase, Value::Beste, value.toInt()); break;
        case 'p': m.setValue(phase, Value::Bestplazierte, value.toInt()); break;
        default: QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
}

// A stored phase from "G 4/4/2/1"; nothing for an empty text.
std::optional<PhaseSettings> phaseOf(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    const QStringList v = text.mid(2).split(QLatin1Char('/'));
    const PlaySystem system = text.startsWith(QLatin1Char('G'))   ? PlaySystem::Gruppenphase
                              : text.startsWith(QLatin1Char('K')) ? PlaySystem::EinfachesKO
                                                                  : PlaySystem::DoppeltesKO;
    return PhaseSettings{system, v[0].toInt(), v[1].toInt(), v[2].toInt(), v[3].toInt()};
}

// Phase 1 in 4 groups of 4, 2 of each going on plus 1 best-placed; phase 2 in
// 2 groups of 4 sending 1 of each and 1 best-placed on to phase 3.
const QStringList kThreePhases{QStringLiteral("g1=4"), QStringLiteral("t1=4"), QStringLiteral("b1=2"),
                               QStringLiteral("p1=1"), QStringLiteral("g2=2"), QStringLiteral("t2=4"),
                               QStringLiteral("b2=1"), QStringLiteral("p2=1"), QStringLiteral("g3=1"),
                               QStringLiteral("t3=3")};

} // namespace

class TestGroupSettings : public QObject {
    Q_OBJECT

private slots:
    void rules_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, QStringList steps, const char* expected) {
            QTest::newRow(name) << steps << QString::fromLatin1(expected);
        };
        row("start", {}, "+G 0/0/0/0, -G 0/0/0/0, -G 0/0/0/0");
        row("places above 13 stop at 13", {"t1=14"}, "+G 0/13/0/0, -G 0/0/0/0, -G 0/0/0/0");
        row("best per group at most the places", {"t1=3", "b1=5"}, "+G 0/3/3/0, +G 0/0/0/0, -G 0/0/0/0");
        row("fewer places lower best per group, which hides phase 2",
            {"g1=4", "t1=4", "b1=2", "t1=1", "t1=0"}, "+G 4/0/0/0, -G 0/0/0/0, -G 0/0/0/0");
        row("fewer places keep phase 2 while best-placed go on",
            {"g1=4", "t1=4", "b1=2", "p1=1", "t1=0"}, "+G 4/0/0/1, +G 0/0/0/0, -G 0/0/0/0");
        row("best-placed at most the groups", {"g1=4", "p1=5"}, "+G 4/0/0/4, +G 0/0/0/0, -G 0/0/0/0");
        row("fewer groups lower best-placed", {"g1=4", "p1=3", "g1=2"}, "+G 2/0/0/2, +G 0/0/0/0, -G 0/0/0/0");
        row("no groups: nobody placed goes on", {"g1=4", "p1=3", "g1=0"}, "+G 0/0/0/0, -G 0/0/0/0, -G 0/0/0/0");
        row("negative values become 0", {"g1=-1", "t1=-2", "b1=-3", "p1=-4"}, "+G 0/0/0/0, -G 0/0/0/0, -G 0/0/0/0");
        row("three phases", kThreePhases, "+G 4/4/2/1, +G 2/4/1/1, +G 1/3/0/0");
        row("phase 2 without anybody going on hides phase 3", kThreePhases + QStringList{"b2=0", "p2=0"},
            "+G 4/4/2/1, +G 2/4/0/0, -G 1/3/0/0");
        row("knock-out phase 1 zeroes all twelve values and hides phases 2 and 3", kThreePhases + QStringList{"s1=K"},
            "+K~ 0/0/0/0, -G 0/0/0/0, -G 0/0/0/0");
        row("back to groups shows the phase-1 values only", kThreePhases + QStringList{"s1=K", "s1=G"},
            "+G 0/0/0/0, -G 0/0/0/0, -G 0/0/0/0");
        row("groups again with somebody going on brings phases 2 and 3 back",
            {"g1=4", "t1=4", "b1=2", "p1=1", "s1=D", "g1=4", "t1=4", "b1=2", "p1=1", "s1=G"},
            "+G 4/4/2/1, +G 0/0/0/0, +G 0/0/0/0");
        row("knock-out phase 2 ends the class after it", kThreePhases + QStringList{"s3=D", "s2=K"},
            "+G 4/4/2/1, +K~ 0/0/0/0, -G 0/0/0/0");
        row("knock-out phase 3 zeroes its values", kThreePhases + QStringList{"s3=K"},
            "+G 4/4/2/1, +G 2/4/1/1, +K~ 0/0/0/0");
        row("phase 3 without phase 2 is no phase", kThreePhases + QStringList{"b1=0", "p1=0"},
            "+G 4/4/0/0, -G 2/4/1/1, +G 1/3/0/0");
    }

    void rules()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        GroupSettingsModel m;
        apply(m, steps);
        QCOMPARE(describe(m), expected);
    }

    void loadingRunsNoRule()
    {
        GroupSettings stored;
        stored.phases[0] = PhaseSettings{PlaySystem::Gruppenphase, 2, 20, 25, 9};
        stored.phases[2] = PhaseSettings{PlaySystem::DoppeltesKO, 1, 2, 3, 4};
        GroupSettingsModel m;
        apply(m, kThreePhases);
        m.load(stored);
        QCOMPARE(describe(m), QStringLiteral("+G 2/20/25/9, -G 0/0/0/0, +D~ 1/2/3/4"));
        QVERIFY(!m.phaseShown(2));
        // The defaults keep which group values are shown.
        m.reset();
        QCOMPARE(describe(m), QStringLiteral("+G 0/0/0/0, -G 0/0/0/0, -G~ 0/0/0/0"));
    }

    void hiddenPhasesAreStoredAsNull()
    {
        GroupSettingsModel m;
        apply(m, kThreePhases + QStringList{"b1=0", "p1=0"});
        const GroupSettings r = m.record(3);
        QCOMPARE(r.phases[0], (PhaseSettings{PlaySystem::Gruppenphase, 4, 4, 0, 0}));
        QVERIFY(!r.phases[1]);
        QVERIFY(!r.phases[2]);
        QCOMPARE(r.gesetzt, 3);
        QCOMPARE(r.plattenbez, QStringLiteral("Tisch"));

        apply(m, {"b1=1"});
        const GroupSettings all = m.record(0);
        QCOMPARE(all.phases[1], (PhaseSettings{PlaySystem::Gruppenphase, 2, 4, 1, 1}));
        QCOMPARE(all.phases[2], (PhaseSettings{PlaySystem::Gruppenphase, 1, 3, 0, 0}));
    }

    void drawRefusal_data()
    {
        QTest::addColumn<QString>("phase1");
        QTest::addColumn<QString>("phase2");
        QTest::addColumn<QString>("phase3");
        QTest::addColumn<int>("entrants");
        QTest::addColumn<QString>("message");
        const QString tooMany = QStringLiteral("Es sind mehr Spieler als verfügbare\n\rGruppenplätze");
        const QString bestPlaced = QStringLiteral("Bestplazierten muß 0 sein");
        auto row = [](const char* name, const char* p1, const char* p2, const char* p3, int entrants,
                      const QString& message) {
            QTest::newRow(name) << QString::fromLatin1(p1) << QString::fromLatin1(p2) << QString::fromLatin1(p3)
                                << entrants << message;
        };
        row("1: 17 entrants in 4 groups of 4", "G 4/4/0/0", "", "", 17, tooMany + QStringLiteral(" gemeldet"));
        row("1: 16 fit", "G 4/4/0/0", "", "", 16, {});
        row("2: all 3 of 3 go on and 1 best-placed", "G 4/3/3/1", "G 4/4/0/0", "", 12, bestPlaced);
        row("3: nobody for phase 2", "G 4/4/0/0", "G 1/4/0/0", "", 16,
            QStringLiteral("Es sind keine Spieler für Phase 2 gemeldet"));
        row("4: 9 going on to 8 places", "G 4/4/2/1", "G 2/4/0/0", "", 16,
            tooMany + QStringLiteral(" für Phase 2 gemeldet"));
        row("4: 8 going on to 8 places", "G 4/4/2/0", "G 2/4/0/0", "", 16, {});
        row("5: phase 2 all going on and best-placed", "G 4/4/2/0", "G 2/4/4/1", "", 16, bestPlaced);
        row("6: nobody for phase 3", "G 4/4/2/0", "G 2/4/0/0", "G 1/4/0/0", 16,
            QStringLiteral("Es sind keine Spieler für Phase 3 gemeldet"));
        row("7: 5 going on to 4 places", "G 4/4/2/0", "G 2/4/2/1", "G 1/4/0/0", 16,
            tooMany + QStringLiteral(" für Phase 3 gemeldet"));
        row("8: phase 3 all going on and best-placed", "G 4/4/2/0", "G 2/4/2/0", "G 1/4/4/1", 16, bestPlaced);
        row("first failing check wins", "G 4/4/4/1", "G 1/1/0/0", "", 17, tooMany + QStringLiteral(" gemeldet"));
        row("knock-out phase 1 takes any number", "K 0/0/0/0", "", "", 500, {});
        row("knock-out phase 2 needs no places", "G 4/4/2/1", "D 0/0/0/0", "", 16, {});
        row("phase 3 without phase 2 is not checked", "G 4/4/0/0", "", "G 1/1/1/1", 16, {});
        row("57 groups", "G 40/2/1/0", "G 17/3/0/0", "", 80, {});
        row("58 groups over two phases", "G 40/2/1/0", "G 18/3/0/0", "", 80,
            QStringLiteral("Es sind höchstens 57 Gruppen über alle Phasen möglich"));
        row("knock-out phases have no groups", "G 57/2/1/0", "K 0/0/0/0", "", 114, {});
    }

    void drawRefusal()
    {
        QFETCH(QString, phase1);
        QFETCH(QString, phase2);
        QFETCH(QString, phase3);
        QFETCH(int, entrants);
        QFETCH(QString, message);
        GroupSettings stored;
        stored.phases = {phaseOf(phase1), phaseOf(phase2), phaseOf(phase3)};
        GroupSettingsModel m;
        m.load(stored);
        QCOMPARE(m.drawRefusal(entrants).value_or(QString()), message);
    }

    // Every number of players, over many seeds: a doubles class ends with
    // floor(n / 2) pairs, a mixed class with min(men, women) man-woman pairs,
    // and nobody is drawn twice.
    void drawnPartnersOverManySeeds()
    {
        for (quint32 seed = 1; seed <= 200; ++seed) {
            SeededRandom random(seed);
            const int men = int(seed % 6);
            const int women = int(seed / 6 % 5);
            QList<PartnerCandidate> players;
            for (int i = 0; i < men + women; ++i)
                players.append({100 + i, i < men});
            for (bool mixed : {false, true}) {
                const QList<std::pair<int, int>> pairs = drawPartners(players, mixed, random);
                QCOMPARE(pairs.size(), mixed ? std::min(men, women) : (men + women) / 2);
                QSet<int> seen;
                for (const auto& [a, b] : pairs) {
                    QVERIFY(a != b);
                    QVERIFY(!seen.contains(a) && !seen.contains(b));
                    seen << a << b;
                    if (mixed)
                        QVERIFY((a - 100 < men) != (b - 100 < men));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestGroupSettings)
#include "test_groupsettings.moc"
