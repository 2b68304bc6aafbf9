#include "plans/tplanung.h"

namespace bw {

Tplanung::Tplanung(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("planung"));
    setWindowTitle(QStringLiteral("Spieleplaner"));
}

} // namespace bw
