// What the player card, the certificate, the knock-out pools and the call-up
// reminders read, on both backends: classes in German order, Null dates, the
// partner, team clubs, the class's tables, the called matches with their calls.
#include "planfixture.h"

#include "data/planviewrecords.h"
#include "data/sql.h"
#include "plans/playercard.h"
#include "support/testdatabase.h"

#include <QTest>

using namespace bw;
using namespace bw::test;

class TestCardRecords : public QObject {
    Q_OBJECT
private slots:
    void cardLines_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("classes");
        QTest::newRow("picture height") << 340 << 8;
        QTest::newRow("room for one") << 165 << 1;
        QTest::newRow("room for none") << 150 << 0;
    }
    void cardLines()
    {
        QFETCH(int, height);
        QFETCH(int, classes);
        PlayerCardRow row{QStringLiteral("Abel"), QStringLiteral("Eva"), QStringLiteral("TTC"), QDate(2001, 2, 3), {}};
        for (int i = 0; i < 12; ++i)
            row.klassen << QStringLiteral("Klasse %1").arg(i, 2, 10, QLatin1Char('0'));
        const QList<plan::CardLine> lines = plan::playerCardLines(row, height);
        QCOMPARE(lines.size(), 4 + classes);
        QCOMPARE(lines[0], (plan::CardLine{40, QStringLiteral("Abel, Eva")}));
        QCOMPARE(lines[1], (plan::CardLine{65, QStringLiteral("TTC")}));
        QCOMPARE(lines[2], (plan::CardLine{90, QStringLiteral("03.02.2001")}));
        QCOMPARE(lines[3], (plan::CardLine{115, QStringLiteral("Gemeldet für:")}));
        if (classes > 0) {
            QCOMPARE(lines[4], (plan::CardLine{140, QStringLiteral("Klasse 00")}));
            QVERIFY(lines.last().y + 25 <= height);
        }
        // No player: empty lines.
        const QList<plan::CardLine> none = plan::playerCardLines(std::nullopt, height);
        QCOMPARE(none.size(), 4);
        QCOMPARE(none[0].text, QString());
        QCOMPARE(none[2].text, QString());
    }

    void cardPosition_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<int>("cards");
        QTest::addColumn<QPoint>("at");
        const QSize card(250, 340);
        QTest::newRow("at the pointer") << QPoint(100, 300) << 1 << QPoint(100, 200);
        QTest::newRow("near the top") << QPoint(100, 50) << 1 << QPoint(100, 0);
        QTest::newRow("near the bottom") << QPoint(100, 690) << 1 << QPoint(100, 700 - 340);
        QTest::newRow("two near the right edge") << QPoint(900, 300) << 2 << QPoint(1000 - 500, 200);
        QTest::newRow("left of the panel") << QPoint(-20, 300) << 1 << QPoint(0, 200);
    }
    void cardPosition()
    {
        QFETCH(QPoint, pointer);
        QFETCH(int, cards);
        QFETCH(QPoint, at);
        QCOMPARE(plan::cardPosition(pointer, QSize(250, 340), cards, QSize(1000, 700)), at);
    }

    void reads_data() { addBackendColumn(); addBackendRows(); }
    void reads()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        const QVariant nullDate(QMetaType(QMetaType::QDateTime));
        const QVariant nullText(QMetaType(QMetaType::QString));
        insertRow(db, s("Spielerdaten"), {{s("SID"), 1}, {s("TID"), kPlanTid}, {s("nachname"), s("Abel")},
                                          {s("vorname"), s("Eva")}, {s("verein"), s("TTC Nord")},
                                          {s("geb"), QDate(2001, 2, 3)}});
        insertRow(db, s("Spielerdaten"), {{s("SID"), 2}, {s("TID"), kPlanTid}, {s("nachname"), s("Bach")},
                                          {s("vorname"), s("Lena")}, {s("geb"), nullDate}});
        int kid = 1;
        for (const QString& name : {s("Zwerge"), s("Äpfel"), s("damen"), s("Birnen")}) {
            insertRow(db, s("Turnierklassen"), {{s("KID"), kid}, {s("TID"), kPlanTid}, {s("kbezeichnung"), name}});
            insertRow(db, s("Spieler_im_turnier"), {{s("TID"), kPlanTid}, {s("KID"), kid}, {s("SID"), 1}});
            ++kid;
        }
        const std::optional<PlayerCardRow> abel = readPlayerCard(db, 1);
        QVERIFY(abel);
        QCOMPARE(abel->nachname, s("Abel"));
        QCOMPARE(abel->geb, QDate(2001, 2, 3));
        QCOMPARE(abel->klassen, (QStringList{"Äpfel", "Birnen", "damen", "Zwerge"}));
        const std::optional<PlayerCardRow> bach = readPlayerCard(db, 2);
        QVERIFY(bach);
        QVERIFY(!bach->geb.isValid());
        QVERIFY(bach->klassen.isEmpty());
        QVERIFY(!readPlayerCard(db, 3));

        insertRow(db, s("Doppelpartner"), {{s("KID"), 2}, {s("SID"), 1}, {s("partner_SID"), 2}});
        QCOMPARE(readDoublesPartner(db, 1, 2), 2);
        QCOMPARE(readDoublesPartner(db, 1, 3), 0);
        QCOMPARE(readPlayerClub(db, 1), s("TTC Nord"));
        QCOMPARE(readPlayerClub(db, 9), QString());
        insertRow(db, s("Teams"), {{s("TID"), kPlanTid}, {s("KID"), 4}, {s("MID"), 7}, {s("teamname"), s("Erste")},
                                   {s("verein"), s("TTV Team")}});
        QCOMPARE(readTeamClub(db, 7), s("TTV Team"));
        QCOMPARE(readTeamClub(db, 8), QString());

        for (const char* table : {"Tisch 2", "Tisch 10", "Tisch 1", "Tisch 2"})
            insertRow(db, s("Platten"), {{s("KID"), 1}, {s("GID"), -1}, {s("platte"), QString::fromLatin1(table)}});
        insertRow(db, s("Platten"), {{s("KID"), 2}, {s("GID"), -1}, {s("platte"), s("Anderer")}});
        // In the order of the groups' pools: numbers by value.
        QCOMPARE(readClassTableNames(db, 1), (QStringList{"Tisch 1", "Tisch 2", "Tisch 10"}));

        // Called matches in match order with their calls; Null stays Null.
        const QDateTime ten(QDate(2026, 6, 6), QTime(10, 0));
        for (int n : {3, 1, 2}) {
            QVariantMap row{{s("KID"), 1}, {s("spielnummer"), n}, {s("spieler1"), QStringLiteral("A%1").arg(n)},
                            {s("spieler2"), QStringLiteral("B%1").arg(n)}, {s("in_planung"), n != 2},
                            {s("schiri"), n == 3 ? QVariant(s("Sam")) : nullText}};
            for (const char* column : {"aufruf1_sp1", "aufruf1_sp2", "aufruf1_sch", "aufruf2_sp1", "aufruf2_sp2",
                                       "aufruf2_sch", "aufruf3_sp1", "aufruf3_sp2", "aufruf3_sch"})
                row.insert(QString::fromLatin1(column), nullDate);
            row.insert(s("aufruf2_sch"), ten.addSecs(60 * n));
            insertRow(db, s("Spielplan"), row);
        }
        const QList<CalledMatchRow> called = readCalledMatches(db, 1);
        QCOMPARE(called.size(), 2);
        QCOMPARE(called[0].spieler1, s("A1"));
        QVERIFY(!called[0].schiri);
        QCOMPARE(called[0].aufruf[1][2], std::optional<QDateTime>(ten.addSecs(60)));
        QVERIFY(!called[0].aufruf[0][0]);
        QCOMPARE(called[1].spieler2, s("B3"));
        QCOMPARE(called[1].schiri, std::optional<QString>(s("Sam")));
    }
};

QTEST_MAIN(TestCardRecords)
#include "test_cardrecords.moc"
