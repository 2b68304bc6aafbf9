#include "controls/uiimagelist.h"

int TuiImageList::Add(const QImage& image)
{
    m_images.append(image);
    emit OnChange(this);
    return int(m_images.size()) - 1;
}

QImage TuiImageList::GetImage(int index) const
{
    return index >= 0 && index < m_images.size() ? m_images[index] : QImage();
}

void TuiImageList::Clear()
{
    m_images.clear();
    emit OnChange(this);
}
