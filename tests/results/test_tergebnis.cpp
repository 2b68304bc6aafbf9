// The match dialog: its set entries and checks.
#include "results/setentry.h"

#include <QLineEdit>
#include <QTest>

using namespace bw;

class TestTergebnis : public QObject {
    Q_OBJECT
private slots:
    void setEntry_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("typeable");
        QTest::addColumn<bool>("number");
        QTest::newRow("empty") << "" << true << false;
        QTest::newRow("plus alone") << "+" << true << false;
        QTest::newRow("minus alone") << "-" << true << false;
        QTest::newRow("+9") << "+9" << true << true;
        QTest::newRow("-0") << "-0" << true << true;
        QTest::newRow("11") << "11" << true << true;
        QTest::newRow("-11") << "-11" << true << true;
        QTest::newRow("three digits") << "111" << false << false;
        QTest::newRow("sign after digit") << "1-" << false << false;
        QTest::newRow("two signs") << "+-1" << false << false;
        QTest::newRow("letter") << "a" << false << false;
        QTest::newRow("blank") << " 1" << false << true;
    }
    void setEntry()
    {
        QFETCH(QString, text);
        QFETCH(bool, typeable);
        QFETCH(bool, number);
        SetEntryValidator validator;
        QString input = text;
        int pos = 0;
        QCOMPARE(validator.validate(input, pos) == QValidator::Acceptable, typeable);
        QCOMPARE(isSetEntryNumber(text), number);

        // Typed into an entry, what the validator refuses never arrives.
        QLineEdit edit;
        edit.setValidator(&validator);
        QTest::keyClicks(&edit, QStringLiteral("+123"));
        QCOMPARE(edit.text(), QStringLiteral("+12"));
    }
};

QTEST_MAIN(TestTergebnis)
#include "test_tergebnis.moc"
