#include "output/turkundeprepareform.h"

namespace bw {

TUrkundePrepareForm::TUrkundePrepareForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("UrkundePrepareForm"));
    setWindowTitle(QStringLiteral("UrkundePrepareForm"));
}

} // namespace bw
