#include "output/tdruck_form.h"

namespace bw {

Tdruck_form::Tdruck_form(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("druck_form"));
    setWindowTitle(QStringLiteral("Drucken"));
}

} // namespace bw
