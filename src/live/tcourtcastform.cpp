#include "live/tcourtcastform.h"

namespace bw {

TCourtcastForm::TCourtcastForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CourtcastForm"));
    setWindowTitle(QStringLiteral("Courtcast Anbindung"));
}

} // namespace bw
