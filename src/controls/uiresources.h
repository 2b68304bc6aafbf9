// The bitmap resources of the window controls, made in code: the check mark
// "CHECKBOX" and the side bar's roll buttons "EXPAND0".."EXPAND2" and
// "COLLAPSE0".."COLLAPSE2".
#pragma once

#include <QImage>
#include <QString>

namespace uiResources {

// The resource of that name (upper case), or a null image for an unknown name.
// Pictures without an alpha channel: their bottom-left colour is the
// transparent one.
QImage Bitmap(const QString& name);

} // namespace uiResources
