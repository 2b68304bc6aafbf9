#include "output/texportform.h"

namespace bw {

Texportform::Texportform(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("exportform"));
    setWindowTitle(QStringLiteral("HTML-Export"));
}

} // namespace bw
