#include "plans/tspielplan_form.h"

namespace bw {

Tspielplan_form::Tspielplan_form(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("spielplan_form"));
    setWindowTitle(QStringLiteral("Spielplan"));
}

} // namespace bw
