// What the programs that draw the pictures of docs/ share: each takes the file
// to write as its one argument, shows what it draws, lets it settle, grabs it
// and saves it. `cmake --build <build> --target docs-pictures` runs them all.
#pragma once

#include <QImage>
#include <QList>

#include <functional>

class QWidget;

namespace bw::docs {

// Lets the event loop run for a while, so layouts, pictures and timers of the
// shown windows come to rest before they are grabbed.
void settle(int ms = 300);

// The widget as it shows after settling.
QImage grabSettled(QWidget& widget);

// Pictures side by side on white, `gap` pixels apart, top-aligned.
QImage sideBySide(const QList<QImage>& pictures, int gap = 12);

// The main of a picture program: runs `draw` and writes its picture to the file
// named by the one argument. Returns the exit code (2 for a wrong call, 1 when
// the picture could not be drawn or written).
int writePicture(int argc, char** argv, const std::function<QImage()>& draw);

} // namespace bw::docs
