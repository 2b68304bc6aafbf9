#include "output/tpdfform.h"

namespace bw {

Tpdfform::Tpdfform(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("pdfform"));
    setWindowTitle(QStringLiteral("PDF-Export"));
}

} // namespace bw
