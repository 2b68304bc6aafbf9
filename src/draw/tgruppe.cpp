#include "draw/tgruppe.h"

namespace bw {

Tgruppe::Tgruppe(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("gruppe"));
}

} // namespace bw
