#include "results/tergebnis.h"

namespace bw {

Tergebnis::Tergebnis(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ergebnis"));
    setWindowTitle(QStringLiteral("Spielverwaltung"));
}

} // namespace bw
