// The kind of a competition class: what it plays. Stored as 0..3 in
// Turnierklassen.system; every switch on a class's kind goes through ClassKind.
#pragma once

#include <QString>
#include <QVariant>

#include <array>
#include <optional>

namespace bw {

enum class ClassKind { Einzel = 0, Doppel = 1, Mixed = 2, Team = 3 };

// Every kind in stored order: the order of the class page's lists and radio
// buttons and of the check-in tabs.
inline constexpr std::array<ClassKind, 4> kClassKinds{ClassKind::Einzel, ClassKind::Doppel, ClassKind::Mixed,
                                                      ClassKind::Team};

// The kind's place in kClassKinds, for arrays by kind.
constexpr size_t kindIndex(ClassKind kind)
{
    return size_t(kind);
}

// The value bound for Turnierklassen.system.
constexpr int storedKind(ClassKind kind)
{
    return int(kind);
}

// The kind a stored value names; nothing for Null or another number.
std::optional<ClassKind> classKindOf(const QVariant& stored);

// "Einzel", "Doppel", "Mixed", "Team".
QString kindName(ClassKind kind);

} // namespace bw
