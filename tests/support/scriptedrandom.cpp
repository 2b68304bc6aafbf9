#include "support/scriptedrandom.h"

#include <QTest>

namespace bw::test {

ScriptedRandom::~ScriptedRandom()
{
    if (!m_answers.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("%1 scripted random answers were never drawn").arg(m_answers.size())),
                     __FILE__, __LINE__);
}

int ScriptedRandom::below(int n)
{
    m_bounds.append(n);
    if (m_answers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("an unscripted random draw below %1").arg(n)), __FILE__, __LINE__);
        return 0;
    }
    const int value = m_answers.takeFirst();
    if (value < 0 || value >= n) {
        QTest::qFail(qPrintable(QStringLiteral("scripted answer %1 is not below %2").arg(value).arg(n)), __FILE__,
                     __LINE__);
        return 0;
    }
    return value;
}

} // namespace bw::test
