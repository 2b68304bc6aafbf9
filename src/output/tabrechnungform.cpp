#include "output/tabrechnungform.h"

namespace bw {

TAbrechnungForm::TAbrechnungForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AbrechnungForm"));
    setWindowTitle(QStringLiteral("Finanzielle Turnierabrechnung"));
}

} // namespace bw
