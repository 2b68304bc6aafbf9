// A random source that gives queued answers, so a test decides every draw. A
// draw beyond the queue, or an answer that is not below the draw's bound, fails
// the test (and answers 0); answers left over fail it at the end.
#pragma once

#include "platform/clock.h"

#include <QList>

namespace bw::test {

class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom() = default;
    explicit ScriptedRandom(QList<int> answers) : m_answers(std::move(answers)) {}
    ~ScriptedRandom() override;

    ScriptedRandom& answer(int value)
    {
        m_answers.append(value);
        return *this;
    }
    int below(int n) override;

    // The bounds of the draws made so far, in order.
    const QList<int>& bounds() const { return m_bounds; }
    int pending() const { return int(m_answers.size()); }

private:
    QList<int> m_answers;
    QList<int> m_bounds;
};

} // namespace bw::test
