#include "output/timport_form.h"

namespace bw {

Timport_form::Timport_form(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("import_form"));
    setWindowTitle(QStringLiteral("Importieren"));
}

} // namespace bw
