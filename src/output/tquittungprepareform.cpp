#include "output/tquittungprepareform.h"

namespace bw {

TQuittungPrepareForm::TQuittungPrepareForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("QuittungPrepareForm"));
    setWindowTitle(QStringLiteral("Quittung drucken"));
}

} // namespace bw
