#include "plans/tspielplaene.h"

namespace bw {

Tspielplaene::Tspielplaene(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("spielplaene"));
}

} // namespace bw
