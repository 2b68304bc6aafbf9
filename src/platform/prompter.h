// Every message box of the program goes through a Prompter: the real one
// (MessageBoxPrompter, platformui/messageboxprompter.h) shows a QMessageBox with
// German buttons, the test fake answers from a script and fails on any box
// nobody expected. This interface needs no widgets, so library code below the
// forms can ask through it.
#pragma once

#include <QString>
#include <functional>

namespace bw {

enum class PromptKind { Error, Warning, Information, Question };

// The button sets the program uses.
enum class PromptButtons { Cancel, Ok, YesNo, OkCancel, YesCancel, YesNoIgnore };

enum class PromptAnswer { Ok, Cancel, Yes, No, Ignore };

class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows one box and returns the button the user chose. Closing the box
    // without a button answers the "negative" button of the set (Cancel, No, or
    // Ignore of Yes/No/Ignore).
    virtual PromptAnswer prompt(PromptKind kind, const QString& text, PromptButtons buttons,
                                const QString& title = QString()) = 0;

    // The common forms, named after what the program does with them.
    void error(const QString& text) { prompt(PromptKind::Error, text, PromptButtons::Ok); }
    // Input checks before saving: a warning with a single Cancel button.
    void warning(const QString& text) { prompt(PromptKind::Warning, text, PromptButtons::Cancel); }
    void information(const QString& text) { prompt(PromptKind::Information, text, PromptButtons::Ok); }
    // Yes/No confirmation; true for Yes.
    bool confirm(const QString& text)
    {
        return prompt(PromptKind::Question, text, PromptButtons::YesNo) == PromptAnswer::Yes;
    }
};

// The default window title of a box of the given kind, as the program shows it.
QString defaultPromptTitle(PromptKind kind);

// Runs an event handler's body; an exception that escapes it is shown as an
// error box with the exception's text and the action ends there, as the user
// expects from any failed action. Returns false when the body threw.
bool runGuarded(Prompter& prompter, const std::function<void()>& body);

} // namespace bw
