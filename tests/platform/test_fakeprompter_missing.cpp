// Must fail: the script expects a box that never comes.
#include "support/fakeprompter.h"

#include <QTest>

class TestMissing : public QObject {
    Q_OBJECT
private slots:
    void missingBoxFails()
    {
        bw::test::FakePrompter prompter;
        prompter.expect(bw::PromptKind::Information, QStringLiteral("Kommt nie"));
    }
};

QTEST_MAIN(TestMissing)
#include "test_fakeprompter_missing.moc"
