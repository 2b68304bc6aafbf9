// The result dialogs as a recording double: every mode opened is written down
// as "spielplanen 3", "hint x", ...; the call-up answers from a script (or
// from a hook run while the "dialog" is open), the ticks are plain fields.
#pragma once

#include "plans/matchdialogs.h"

#include <QStringList>

#include <functional>

namespace bw::test {

class RecordingDialogs : public MatchDialogs {
public:
    QStringList calls;
    bool next = true;
    bool next1 = true;
    // Answers of the call-ups in turn; confirmed when the script is used up.
    QList<bool> answers;
    // Runs inside a call-up before it answers (what a confirmed dialog does).
    std::function<void(int spielnummer, bool confirmed)> onCallUp;

    void spielplanen(int n) override { calls << QStringLiteral("spielplanen %1").arg(n); }
    bool spielaufrufen1(int n) override
    {
        calls << QStringLiteral("spielaufrufen1 %1").arg(n);
        const bool confirmed = answers.isEmpty() ? true : answers.takeFirst();
        if (onCallUp)
            onCallUp(n, confirmed);
        return confirmed;
    }
    void spielaufgerufen(int n) override { calls << QStringLiteral("spielaufgerufen %1").arg(n); }
    void setPlatteHint(const QString& hint) override { calls << QStringLiteral("hint ") + hint; }
    void spielstarten(int n) override { calls << QStringLiteral("spielstarten %1").arg(n); }
    void spielbeendet(int n) override { calls << QStringLiteral("spielbeendet %1").arg(n); }
    bool nextTicked() const override { return next; }
    bool next1Ticked() const override { return next1; }
};

} // namespace bw::test
