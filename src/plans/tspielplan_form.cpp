#include "plans/tspielplan_form.h"

#include <QLabel>

namespace bw {

Tspielplan_form::Tspielplan_form(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("spielplan_form"));
    setWindowTitle(QStringLiteral("Spielplan"));
    StaticText1 = new QLabel(this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setProperty("Tag", -1);
}

} // namespace bw
