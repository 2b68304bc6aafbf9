// A list of small pictures of one size that controls draw by index (the side
// bar's items take theirs from one).
#pragma once

#include <QImage>
#include <QList>
#include <QObject>

class TuiImageList : public QObject {
    Q_OBJECT
public:
    explicit TuiImageList(QObject* parent = nullptr)
        : QObject(parent)
    {
    }

    // Appends a picture and answers its index.
    int Add(const QImage& image);
    int Count() const { return int(m_images.size()); }
    // The picture at index, or a null image outside the list.
    QImage GetImage(int index) const;
    void Clear();

signals:
    void OnChange(QObject* sender);

private:
    QList<QImage> m_images;
};
