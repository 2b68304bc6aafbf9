// The Prompter the program runs with: each box is a modal QMessageBox with the
// German buttons of its button set.
#pragma once

#include "platform/prompter.h"

class QWidget;

namespace bw {

class MessageBoxPrompter : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    PromptAnswer prompt(PromptKind kind, const QString& text, PromptButtons buttons,
                        const QString& title = QString()) override;

private:
    QWidget* m_parent;
};

} // namespace bw
