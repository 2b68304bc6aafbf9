#include "docpicture.h"

#include <QEventLoop>
#include <QPainter>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

namespace bw::docs {

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QImage grabSettled(QWidget& widget)
{
    if (!widget.isVisible())
        widget.show();
    settle();
    return widget.grab().toImage();
}

QImage sideBySide(const QList<QImage>& pictures, int gap)
{
    int width = 0;
    int height = 0;
    for (const QImage& picture : pictures) {
        width += picture.width() + (width > 0 ? gap : 0);
        height = std::max(height, picture.height());
    }
    QImage all(width, height, QImage::Format_RGB32);
    all.fill(Qt::white);
    QPainter painter(&all);
    int x = 0;
    for (const QImage& picture : pictures) {
        painter.drawImage(x, 0, picture);
        x += picture.width() + gap;
    }
    return all;
}

int writePicture(int argc, char** argv, const std::function<QImage()>& draw)
{
    if (argc != 2) {
        QTextStream(stderr) << "usage: " << argv[0] << " <file.png>\n";
        return 2;
    }
    const QImage picture = draw();
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]))) {
        QTextStream(stderr) << argv[0] << ": could not write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}

} // namespace bw::docs
