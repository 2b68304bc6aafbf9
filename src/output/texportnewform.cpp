#include "output/texportnewform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace bw {

namespace {

// A 30 x 30 rounded badge with a short white text, the picture of an export kind.
QPixmap badge(const QColor& colour, const QString& text)
{
    QImage image(30, 30, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(130));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(1.5, 1.5, 27, 27), 4, 4);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 30, 30), Qt::AlignCenter, text);
    p.end();
    return QPixmap::fromImage(image);
}

} // namespace

TExportNewForm::TExportNewForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ExportNewForm"));
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);
    Images_Excel = new QLabel(Panel1);
    Images_Excel->setObjectName(QStringLiteral("Images_Excel"));
    Images_Excel->setPixmap(badge(QColor(0x1D, 0x6F, 0x42), QStringLiteral("XLS")));
    Images_PDF = new QLabel(Panel1);
    Images_PDF->setObjectName(QStringLiteral("Images_PDF"));
    Images_PDF->setPixmap(badge(QColor(0xC0, 0x20, 0x20), QStringLiteral("PDF")));
    auto* row = new QHBoxLayout(Panel1);
    row->addWidget(Images_Excel);
    row->addWidget(Images_PDF);
    row->addStretch();
    auto* column = new QVBoxLayout(this);
    column->addWidget(Panel1);
    column->addStretch();
}

} // namespace bw
