#include "results/tergebnis_team.h"

namespace bw {

Tergebnis_team::Tergebnis_team(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ergebnis_team"));
    setWindowTitle(QStringLiteral("Spielverwaltung"));
}

} // namespace bw
