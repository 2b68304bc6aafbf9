// A Prompter that answers from a script. Every box shown must have been
// expected, in order; a box nobody expected, or an expected box that never came,
// fails the test that owns the fake.
#pragma once

#include "platform/prompter.h"

#include <QList>
#include <QString>

namespace bw::test {

struct ShownPrompt {
    PromptKind kind;
    QString text;
    PromptButtons buttons;
    QString title;
};

class FakePrompter : public Prompter {
public:
    FakePrompter() = default;
    ~FakePrompter() override;

    // Expects the next box to be of this kind with exactly this text, and answers it.
    FakePrompter& expect(PromptKind kind, const QString& text, PromptAnswer answer = PromptAnswer::Ok);
    // Expects a box whose text starts with the given text.
    FakePrompter& expectPrefix(PromptKind kind, const QString& prefix, PromptAnswer answer = PromptAnswer::Ok);

    PromptAnswer prompt(PromptKind kind, const QString& text, PromptButtons buttons,
                        const QString& title = QString()) override;

    // Takes back the last expected box that has not been shown; false when none.
    bool withdraw();

    // Fails the current test when expected boxes were not shown; clears the script.
    // Returns true when all was as expected.
    bool verify();

    const QList<ShownPrompt>& shown() const { return m_shown; }
    int pending() const { return int(m_script.size()); }
    void clear();

private:
    struct Expected {
        PromptKind kind;
        QString text;
        bool prefix;
        PromptAnswer answer;
    };
    QList<Expected> m_script;
    QList<ShownPrompt> m_shown;
    bool m_failed = false;
};

QString kindName(PromptKind kind);

} // namespace bw::test
