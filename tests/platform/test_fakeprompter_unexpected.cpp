// Must fail: a box is shown that the script did not expect.
#include "support/fakeprompter.h"

#include <QTest>

class TestUnexpected : public QObject {
    Q_OBJECT
private slots:
    void unexpectedBoxFails()
    {
        bw::test::FakePrompter prompter;
        prompter.error(QStringLiteral("Nicht erwartet"));
    }
};

QTEST_MAIN(TestUnexpected)
#include "test_fakeprompter_unexpected.moc"
