// The phase settings of a class as the group set-up page edits them, without
// widgets: per phase its panel (shown when the class has the phase), the play
// system, whether the four group values are shown, and the values themselves
// (groups, places per group, best per group going on, best-placed going on).
//
// The user's choices run the rules that tie the values together; a value that
// a rule sets on another value runs that value's rule in turn, and a value set
// to what it already is runs nothing:
//
// | Choice | Rule |
// |---|---|
// | play system of phase 1: a knock-out | phases 2 and 3 back to "Gruppenphase" and hidden, all twelve values 0, the phase-1 values hidden |
// | play system of phase 1: "Gruppenphase" | its values shown; with best and best-placed of phase 1 both above 0 also phases 2 and 3 with their values |
// | play system of phase 2: a knock-out | phase 3 back to "Gruppenphase" and hidden, the eight values of phases 2 and 3 0, the phase-2 values hidden |
// | play system of phase 2: "Gruppenphase" | its values shown; with best and best-placed of phase 2 both above 0 also phase 3 with its values |
// | play system of phase 3 | a knock-out: its four values 0 and hidden; "Gruppenphase": its values shown |
// | groups | at least 0; the phase's best-placed lowered to it |
// | places per group | 0 to 13; the phase's best per group lowered to it |
// | best per group | 0 to the places; phase N+1 (N = 1, 2) shown while best or best-placed of phase N is above 0, hidden when both are 0 |
// | best-placed | 0 to the groups; phase N+1 shown and hidden as for best per group |
//
// Loading (load(), reset()) runs no rule, so stored values are shown as stored.
// A phase counts as there while its panel and the panels before it are shown:
// only those phases are saved (the others as Null) and checked before a draw.
#pragma once

#include "data/groupsettings.h"

#include <QString>

#include <array>
#include <optional>

namespace bw {

class GroupSettingsModel {
public:
    enum class Value { Gruppenanzahl = 0, Teilnehmer = 1, Beste = 2, Bestplazierte = 3 };

    static constexpr int kMaxPlaces = 13;
    // Groups over all group phases: group letters run from "A" (65) on, and
    // the 58th, "z", is the best-placed marker of a qualifier text.
    static constexpr int kMaxGroups = 57;

    struct Phase {
        bool panelShown = false;      // spielsystempanelN
        bool valuesShown = true;      // phN_gruppe
        PlaySystem system = PlaySystem::Gruppenphase;
        std::array<int, 4> values{};  // by Value

        bool operator==(const Phase&) const = default;
    };

    GroupSettingsModel() { reset(); }

    // Phases 0, 1, 2 stand for phases 1, 2, 3.
    const Phase& phase(int p) const { return m_phases[size_t(p)]; }
    int value(int p, Value v) const { return phase(p).values[size_t(v)]; }
    // Whether the class has the phase: its panel and those before it are shown.
    bool phaseShown(int p) const;

    // The defaults: phase 1 alone, every phase "Gruppenphase", all values 0;
    // which group values are shown stays.
    void reset();
    // The stored settings as they are, no rule run. A phase the class lacks
    // is hidden with the defaults.
    void load(const GroupSettings& stored);
    // The settings to store: the phases the class has, with the given number of seed slots.
    GroupSettings record(int gesetzt) const;

    // The user's choices; the rules run.
    void choose(int p, PlaySystem system);
    void setValue(int p, Value v, int value);

    // Why these settings cannot hold `entrants` for a draw (the first failing
    // check, its message as shown), or nothing when they can.
    std::optional<QString> drawRefusal(int entrants) const;

private:
    Phase& at(int p) { return m_phases[size_t(p)]; }
    int& ref(int p, Value v) { return at(p).values[size_t(v)]; }
    void change(int p, Value v, int value);
    void changeSystem(int p, PlaySystem system);
    void systemRule(int p);
    void valueRule(int p, Value v);
    // Hides phase p + 1 when nobody goes on from phase p.
    void hideNextWhenNobodyGoesOn(int p);

    std::array<Phase, kPhaseCount> m_phases;
};

} // namespace bw
