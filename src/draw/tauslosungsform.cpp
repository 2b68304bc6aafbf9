#include "draw/tauslosungsform.h"

namespace bw {

Tauslosungsform::Tauslosungsform(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("auslosungsform"));
    setWindowTitle(QStringLiteral("Auslosung"));
}

} // namespace bw
