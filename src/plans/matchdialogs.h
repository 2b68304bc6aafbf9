// The result dialogs as the plan reaches them: a click on a status icon opens
// the dialog in the mode of the match's state, and the offer of next matches
// calls matches up through it and reads its two "next" ticks. The dialogs of
// the singles and the team classes stand behind it alike; the implementation
// chooses by the class shown. The match number is always one of the class
// shown on the plan panel.
#pragma once

#include <QString>

namespace bw {

// A match whose sides cannot meet is not started by hand.
inline const QString kNichtStartbar = QStringLiteral("Dieses Spiel kann nicht gestartet werden");

class MatchDialogs {
public:
    virtual ~MatchDialogs() = default;

    // Waiting match: the planning mode ("Übernehmen"), non-modal.
    virtual void spielplanen(int spielnummer) = 0;
    // Playable match: the call-up mode ("Aufrufen"), modal; returns when the
    // dialog is closed, whether the user confirmed the call-up.
    virtual bool spielaufrufen1(int spielnummer) = 0;
    // Called match: "Spiel starten", non-modal.
    virtual void spielaufgerufen(int spielnummer) = 0;
    // Puts the hint of the caption `platte` of both result dialogs before a
    // running match opens: the seventh character of the clicked icon's name,
    // "x" exactly for the mirrored icon, whose result the action then writes.
    virtual void setPlatteHint(const QString& hint) = 0;
    // Running match: result entry ("Spiel beendet"), non-modal, then focused.
    virtual void spielstarten(int spielnummer) = 0;
    // Finished match: "Korrigieren", non-modal, then focused.
    virtual void spielbeendet(int spielnummer) = 0;
    // "Spiel manuell starten": the call-up of a match the pools do not allow,
    // a typed table accepted; modal. Returns whether the call-up was stored.
    virtual bool spielmanuellstarten(int) { return false; }

    // "nächstes mögliches Spiel anzeigen" (`next`) ticked in both result dialogs.
    virtual bool nextTicked() const = 0;
    // "nächstes mögliches Spiel aufrufen" (`next1`) ticked in both result dialogs.
    virtual bool next1Ticked() const = 0;
};

} // namespace bw
