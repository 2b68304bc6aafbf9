#include "support/pagewrite.h"

#include "data/faultinjection.h"
#include "support/testdatabase.h"

namespace bw::test {

QString checkPageWrite(const QSqlDatabase& db, FakePrompter& prompter, const std::function<void()>& action,
                       const std::function<QString()>& consistent, const std::function<void(int)>& beforeRun,
                       int* runs)
{
    const QStringList before = dumpTables(db);
    for (int n = 1; n < 100000; ++n) {
        if (runs)
            *runs = n;
        if (beforeRun)
            beforeRun(n);
        prompter.expectPrefix(PromptKind::Error, QString());
        FaultInjection::failStatement(db, n);
        action();
        const bool fired = FaultInjection::fired(db);
        FaultInjection::clear(db);
        const bool errorShown = !prompter.withdraw();
        if (!fired)
            return errorShown ? QStringLiteral("an error box without an injected fault") : QString();
        if (!errorShown)
            return QStringLiteral("statement %1 failed, but the page showed no error").arg(n);
        if (dumpTables(db) != before)
            return QString(); // the write was committed; what failed came after it
        const QString wrong = consistent();
        if (!wrong.isEmpty())
            return QStringLiteral("statement %1 failed, and then %2").arg(n).arg(wrong);
    }
    return QStringLiteral("the write never completed");
}

} // namespace bw::test
