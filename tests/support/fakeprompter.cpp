#include "fakeprompter.h"

#include <QTest>

namespace bw::test {

QString kindName(PromptKind kind)
{
    switch (kind) {
    case PromptKind::Error: return QStringLiteral("error");
    case PromptKind::Warning: return QStringLiteral("warning");
    case PromptKind::Information: return QStringLiteral("information");
    case PromptKind::Question: return QStringLiteral("question");
    }
    return QString();
}

FakePrompter::~FakePrompter()
{
    // A script left over means a box the test waited for never came.
    if (!m_script.isEmpty() && !m_failed)
        verify();
}

FakePrompter& FakePrompter::expect(PromptKind kind, const QString& text, PromptAnswer answer)
{
    m_script.append({kind, text, false, answer});
    return *this;
}

FakePrompter& FakePrompter::expectPrefix(PromptKind kind, const QString& prefix, PromptAnswer answer)
{
    m_script.append({kind, prefix, true, answer});
    return *this;
}

PromptAnswer FakePrompter::prompt(PromptKind kind, const QString& text, PromptButtons buttons, const QString& title)
{
    m_shown.append({kind, text, buttons, title});
    const auto fallback = buttons == PromptButtons::YesNo         ? PromptAnswer::No
                        : buttons == PromptButtons::YesNoIgnore ? PromptAnswer::Ignore
                        : buttons == PromptButtons::Ok          ? PromptAnswer::Ok
                                                                : PromptAnswer::Cancel;
    if (m_script.isEmpty()) {
        m_failed = true;
        QTest::qFail(qPrintable(QStringLiteral("unexpected %1 box: \"%2\"").arg(kindName(kind), text)), __FILE__, __LINE__);
        return fallback;
    }
    const Expected next = m_script.takeFirst();
    const bool textMatches = next.prefix ? text.startsWith(next.text) : text == next.text;
    if (next.kind != kind || !textMatches) {
        m_failed = true;
        QTest::qFail(qPrintable(QStringLiteral("expected %1 box \"%2\", got %3 box \"%4\"")
                                    .arg(kindName(next.kind), next.text, kindName(kind), text)),
                     __FILE__, __LINE__);
        return fallback;
    }
    return next.answer;
}

bool FakePrompter::withdraw()
{
    if (m_script.isEmpty())
        return false;
    m_script.removeLast();
    return true;
}

bool FakePrompter::verify()
{
    if (m_failed)
        return false;
    if (!m_script.isEmpty()) {
        const Expected first = m_script.first();
        m_script.clear();
        m_failed = true;
        QTest::qFail(qPrintable(QStringLiteral("expected %1 box never shown: \"%2\"").arg(kindName(first.kind), first.text)),
                     __FILE__, __LINE__);
        return false;
    }
    return true;
}

void FakePrompter::clear()
{
    m_script.clear();
    m_shown.clear();
    m_failed = false;
}

} // namespace bw::test
