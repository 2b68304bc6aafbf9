#include "output/tpdfform.h"

namespace bw {

Tpdfform::Tpdfform(QWidget* parent, const Clock* clock) : QDialog(parent), PdfListPages(clock)
{
    setObjectName(QStringLiteral("pdfform"));
    setWindowTitle(QStringLiteral("PDF-Export"));
}

} // namespace bw
