#include "results/tvergleich.h"

namespace bw {

Tvergleich::Tvergleich(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("vergleich"));
    setWindowTitle(QStringLiteral("Direkter Vergleich"));
}

} // namespace bw
