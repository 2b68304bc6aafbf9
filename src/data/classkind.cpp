#include "data/classkind.h"

namespace bw {

std::optional<ClassKind> classKindOf(const QVariant& stored)
{
    if (stored.isNull())
        return std::nullopt;
    bool ok = false;
    const int value = stored.toInt(&ok);
    for (ClassKind kind : kClassKinds) {
        if (ok && value == storedKind(kind))
            return kind;
    }
    return std::nullopt;
}

QString kindName(ClassKind kind)
{
    switch (kind) {
    case ClassKind::Einzel: return QStringLiteral("Einzel");
    case ClassKind::Doppel: return QStringLiteral("Doppel");
    case ClassKind::Mixed: return QStringLiteral("Mixed");
    case ClassKind::Team: return QStringLiteral("Team");
    }
    return QString();
}

} // namespace bw
