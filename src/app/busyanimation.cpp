#include "app/busyanimation.h"

#include "gif/tgifimage.h"

#include <QPainter>

namespace bw {

BusyAnimation::BusyAnimation(QWidget* parent) : QWidget(parent) {}

BusyAnimation::~BusyAnimation()
{
    if (m_picture)
        m_picture->StopAllPainters();
}

bool BusyAnimation::load(const QString& path)
{
    auto picture = std::make_unique<TGIFImage>();
    try {
        picture->LoadFromFile(path);
        if (picture->CompositeBitmap().isNull())
            return false;
    } catch (const std::exception&) {
        return false;
    }
    picture->OnChanged = [this] { update(); };
    m_picture = std::move(picture);
    updateGeometry();
    return true;
}

QSize BusyAnimation::sizeHint() const
{
    if (!m_picture)
        return QSize(0, 0);
    return m_picture->CompositeBitmap().size();
}

void BusyAnimation::paintEvent(QPaintEvent*)
{
    if (!m_picture)
        return;
    QPainter painter(this);
    m_picture->Draw(painter, QRect(QPoint(0, 0), sizeHint()));
}

} // namespace bw
