#include "output/tdrucken.h"

namespace bw {

Tdrucken::Tdrucken(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("drucken"));
}

} // namespace bw
