// The set entries of the result dialogs: at most three characters, an optional
// sign and up to two digits ("+9", "-7", "11"). What the user may type is held
// by SetEntryValidator; whether a finished entry is a number is asked when the
// entry is left (isSetEntryNumber).
#pragma once

#include <QValidator>

namespace bw {

class SetEntryValidator : public QValidator {
public:
    explicit SetEntryValidator(QObject* parent = nullptr) : QValidator(parent) {}
    // Acceptable: empty, a sign alone, or a sign and up to two digits; anything
    // else is Invalid, so it cannot be typed or pasted.
    State validate(QString& input, int& pos) const override;
};

// Whether a set entry's text is an integer: empty or a sign alone is not.
bool isSetEntryNumber(const QString& text);

} // namespace bw
