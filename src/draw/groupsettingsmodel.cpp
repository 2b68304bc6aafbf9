#include "draw/groupsettingsmodel.h"

namespace bw {

namespace {

using Value = GroupSettingsModel::Value;

constexpr std::array<Value, 4> kValues{Value::Gruppenanzahl, Value::Teilnehmer, Value::Beste, Value::Bestplazierte};

// The capacity messages keep their two lines apart with a line feed and a
// carriage return.
QString tooManyEntrants(const QString& secondLine)
{
    return QStringLiteral("Es sind mehr Spieler als verfügbare\n\r") + secondLine;
}

} // namespace

bool GroupSettingsModel::phaseShown(int p) const
{
    for (int q = 0; q <= p; ++q) {
        if (!phase(q).panelShown)
            return false;
    }
    return true;
}

void GroupSettingsModel::reset()
{
    for (int p = 0; p < kPhaseCount; ++p) {
        Phase& phase = at(p);
        phase.panelShown = p == 0;
        phase.system = PlaySystem::Gruppenphase;
        phase.values = {};
    }
}

void GroupSettingsModel::load(const GroupSettings& stored)
{
    reset();
    for (int p = 0; p < kPhaseCount; ++p) {
        Phase& phase = at(p);
        const std::optional<PhaseSettings>& s = stored.phases[size_t(p)];
        // Phase 1 is always there; a class without it shows the defaults.
        phase.panelShown = p == 0 || s.has_value();
        phase.valuesShown = !s || s->system == PlaySystem::Gruppenphase;
        if (s) {
            phase.system = s->system;
            phase.values = {s->gruppenanzahl, s->teilnehmer, s->besten, s->bestplazierten};
        }
    }
}

GroupSettings GroupSettingsModel::record(int gesetzt) const
{
    GroupSettings settings;
    for (int p = 0; p < kPhaseCount; ++p) {
        if (!phaseShown(p))
            continue;
        const Phase& phase = this->phase(p);
        settings.phases[size_t(p)] =
            PhaseSettings{phase.system, phase.values[0], phase.values[1], phase.values[2], phase.values[3]};
    }
    settings.gesetzt = gesetzt;
    settings.plattenbez = kDefaultTableName;
    return settings;
}

void GroupSettingsModel::choose(int p, PlaySystem system)
{
    changeSystem(p, system);
}

void GroupSettingsModel::setValue(int p, Value v, int value)
{
    change(p, v, value);
}

void GroupSettingsModel::change(int p, Value v, int value)
{
    if (ref(p, v) == value)
        return;
    ref(p, v) = value;
    valueRule(p, v);
}

void GroupSettingsModel::changeSystem(int p, PlaySystem system)
{
    if (phase(p).system == system)
        return;
    at(p).system = system;
    systemRule(p);
}

void GroupSettingsModel::systemRule(int p)
{
    Phase& phase = at(p);
    if (phase.system == PlaySystem::Gruppenphase) {
        phase.valuesShown = true;
        // The phases after it come back only while somebody goes on, by
        // best per group and best-placed alike.
        if (p + 1 < kPhaseCount && value(p, Value::Beste) != 0 && value(p, Value::Bestplazierte) != 0) {
            for (int q = p + 1; q < kPhaseCount; ++q) {
                at(q).panelShown = true;
                at(q).valuesShown = true;
            }
        }
        return;
    }
    // A knock-out ends the class: the phases after it go, and this phase's
    // group values and those after it become 0.
    for (int q = p + 1; q < kPhaseCount; ++q)
        changeSystem(q, PlaySystem::Gruppenphase);
    for (int q = p + 1; q < kPhaseCount; ++q)
        at(q).panelShown = false;
    for (int q = p; q < kPhaseCount; ++q) {
        for (Value v : kValues)
            change(q, v, 0);
    }
    phase.valuesShown = false;
}

void GroupSettingsModel::hideNextWhenNobodyGoesOn(int p)
{
    if (value(p, Value::Beste) == 0 && value(p, Value::Bestplazierte) == 0)
        at(p + 1).panelShown = false;
}

void GroupSettingsModel::valueRule(int p, Value v)
{
    const bool hasNext = p + 1 < kPhaseCount;
    switch (v) {
    case Value::Gruppenanzahl:
        if (value(p, v) < 0)
            change(p, v, 0);
        if (value(p, Value::Bestplazierte) > value(p, v))
            change(p, Value::Bestplazierte, value(p, v));
        break;
    case Value::Teilnehmer:
        if (value(p, v) > kMaxPlaces)
            change(p, v, kMaxPlaces);
        if (value(p, v) < 0)
            change(p, v, 0);
        if (value(p, Value::Beste) > value(p, v))
            change(p, Value::Beste, value(p, v));
        break;
    case Value::Beste:
        // Phase 2 shows phase 3 before correcting the value, phase 1 shows
        // phase 2 after it; the outcome is the same.
        if (p == 1 && value(p, v) > 0)
            at(p + 1).panelShown = true;
        if (value(p, v) < 0)
            change(p, v, 0);
        if (value(p, v) > value(p, Value::Teilnehmer))
            change(p, v, value(p, Value::Teilnehmer));
        if (hasNext)
            hideNextWhenNobodyGoesOn(p);
        if (p == 0 && value(p, v) > 0)
            at(p + 1).panelShown = true;
        break;
    case Value::Bestplazierte:
        if (p == 0 && value(p, v) > 0)
            at(p + 1).panelShown = true;
        if (value(p, v) < 0)
            change(p, v, 0);
        if (value(p, v) > value(p, Value::Gruppenanzahl))
            change(p, v, value(p, Value::Gruppenanzahl));
        if (hasNext)
            hideNextWhenNobodyGoesOn(p);
        if (p == 1 && value(p, v) > 0)
            at(p + 1).panelShown = true;
        break;
    }
}

std::optional<QString> GroupSettingsModel::drawRefusal(int entrants) const
{
    const QString bestPlacedMustBeZero = QStringLiteral("Bestplazierten muß 0 sein");
    auto places = [this](int p) { return value(p, Value::Teilnehmer) * value(p, Value::Gruppenanzahl); };
    auto goingOn = [this](int p) {
        return value(p, Value::Beste) * value(p, Value::Gruppenanzahl) + value(p, Value::Bestplazierte);
    };
    auto everybodyGoesOnAndMore = [this](int p) {
        return value(p, Value::Beste) == value(p, Value::Teilnehmer) && value(p, Value::Bestplazierte) > 0;
    };
    auto playedInGroups = [this](int p) { return phase(p).system == PlaySystem::Gruppenphase; };

    if (playedInGroups(0)) {
        if (places(0) < entrants)
            return tooManyEntrants(QStringLiteral("Gruppenplätze gemeldet"));
        if (everybodyGoesOnAndMore(0))
            return bestPlacedMustBeZero;
    }
    for (int p = 1; p < kPhaseCount; ++p) {
        if (!phaseShown(p))
            break;
        if (value(p - 1, Value::Beste) == 0 && value(p - 1, Value::Bestplazierte) == 0)
            return QStringLiteral("Es sind keine Spieler für Phase %1 gemeldet").arg(p + 1);
        if (playedInGroups(p)) {
            if (places(p) < goingOn(p - 1))
                return tooManyEntrants(QStringLiteral("Gruppenplätze für Phase %1 gemeldet").arg(p + 1));
            if (everybodyGoesOnAndMore(p))
                return bestPlacedMustBeZero;
        }
    }
    int groups = 0;
    for (int p = 0; p < kPhaseCount && phaseShown(p); ++p) {
        if (playedInGroups(p))
            groups += value(p, Value::Gruppenanzahl);
    }
    if (groups > kMaxGroups)
        return QStringLiteral("Es sind höchstens %1 Gruppen über alle Phasen möglich").arg(kMaxGroups);
    return std::nullopt;
}

} // namespace bw
