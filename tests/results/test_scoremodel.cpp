// The score model: set entries read and shown again, the points of both sides,
// the set hints and the result text.
#include "results/scoremodel.h"

#include <QTest>

using namespace bw;

Q_DECLARE_METATYPE(bw::Satzwert)

class TestScoreModel : public QObject {
    Q_OBJECT

private slots:
    void entries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<Satzwert>("stored");
        QTest::addColumn<int>("points1"); // -1: no set
        QTest::addColumn<int>("points2");
        QTest::addColumn<QString>("shown");
        QTest::newRow("+9") << "+9" << Satzwert(9) << 11 << 9 << "+9";
        QTest::newRow("9") << "9" << Satzwert(9) << 11 << 9 << "+9";
        QTest::newRow("+0") << "+0" << Satzwert(0) << 11 << 0 << "+0";
        QTest::newRow("0") << "0" << Satzwert(0) << 11 << 0 << "+0";
        QTest::newRow("-7") << "-7" << Satzwert(-7) << 7 << 11 << "-7";
        QTest::newRow("-0") << "-0" << Satzwert(kSatzOhnePunkt) << 0 << 11 << "-0";
        QTest::newRow("-00") << "-00" << Satzwert(kSatzOhnePunkt) << 0 << 11 << "-0";
        QTest::newRow("+12") << "+12" << Satzwert(12) << 14 << 12 << "+12";
        QTest::newRow("-13") << "-13" << Satzwert(-13) << 13 << 15 << "-13";
        QTest::newRow("-9 deuce edge") << "-9" << Satzwert(-9) << 9 << 11 << "-9";
        QTest::newRow("10 deuce") << "10" << Satzwert(10) << 12 << 10 << "+10";
        QTest::newRow("blanks") << " -7 " << Satzwert(-7) << 7 << 11 << "-7";
        QTest::newRow("blank") << "" << Satzwert() << -1 << -1 << "";
        QTest::newRow("blanks only") << "   " << Satzwert() << -1 << -1 << "";
        QTest::newRow("99") << "-99" << Satzwert(-99) << 99 << 101 << "-99";
    }
    void entries()
    {
        QFETCH(QString, entry);
        QFETCH(Satzwert, stored);
        QFETCH(int, points1);
        QFETCH(int, points2);
        QFETCH(QString, shown);

        const SetEntry read = readSetEntry(entry);
        QVERIFY(read.valid);
        QCOMPARE(read.value, stored);
        const std::optional<SetPoints> points = setPoints(read.value);
        QCOMPARE(points.has_value(), points1 >= 0);
        if (points)
            QCOMPARE(*points, (SetPoints{points1, points2}));
        QCOMPARE(setEntryText(read.value), shown);
        // What is shown reads back as what was stored.
        QCOMPARE(readSetEntry(shown).value, stored);
    }

    void invalidEntries_data()
    {
        QTest::addColumn<QString>("entry");
        for (const char* text : {"+", "-", "x", "1x", "+-3", "- 3", "1 2", "3.5", "100", "-100", "--0", "٣"})
            QTest::newRow(text) << QString::fromUtf8(text);
    }
    void invalidEntries()
    {
        QFETCH(QString, entry);
        const SetEntry read = readSetEntry(entry);
        QVERIFY(!read.valid);
        QVERIFY(!read.value);
    }

    void hints()
    {
        Saetze saetze{};
        saetze[0] = 7;
        saetze[1] = -9;
        saetze[3] = kSatzOhnePunkt; // a gap stays out
        QCOMPARE(setHint(saetze), QStringLiteral("+7, -9, -0"));
        QCOMPARE(mirroredSetHint(saetze), QStringLiteral("-7, +9, +0"));
        saetze[8] = 0;
        QCOMPARE(setHint(saetze), QStringLiteral("+7, -9, -0, +0"));
        QCOMPARE(mirroredSetHint(saetze), QStringLiteral("-7, +9, +0, -0"));
        QCOMPARE(setHint(Saetze{}), QString());
        QCOMPARE(matchPoints(saetze), (SetPoints{11 + 9 + 0 + 11, 7 + 11 + 11 + 0}));
    }

    void results_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("sieger");
        QTest::newRow("3:2") << "3:2" << 3 << 2 << 1;
        QTest::newRow("2:3") << "2:3" << 2 << 3 << 2;
        QTest::newRow("3:0") << "3:0" << 3 << 0 << 1;
        QTest::newRow("0:3") << "0:3" << 0 << 3 << 2;
        QTest::newRow("5:4 team") << "5:4" << 5 << 4 << 1;
    }
    void results()
    {
        QFETCH(QString, text);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, sieger);
        const std::optional<Ergebnis> e = readErgebnis(text);
        QVERIFY(e);
        QCOMPARE(*e, (Ergebnis{a, b}));
        QCOMPARE(e->sieger(), sieger);
        QCOMPARE(e->verlierer(), 3 - sieger);
        QCOMPARE(e->text(), text);
        QCOMPARE(e->mirrored().text(), QString(text.at(2)) + u':' + text.at(0));
    }

    void invalidResults()
    {
        for (const QString& text : {QString(), QStringLiteral("3"), QStringLiteral("3-1"), QStringLiteral("10:2"),
                                    QStringLiteral(" 3:1"), QStringLiteral("a:1"), QStringLiteral("3:")})
            QVERIFY2(!readErgebnis(text), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestScoreModel)
#include "test_scoremodel.moc"
