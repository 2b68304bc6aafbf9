// The busy animation of the navigation column: an animated GIF picture that the
// plan pages show while they work. Without a readable picture it stays empty.
#pragma once

#include <QWidget>
#include <memory>

namespace bw {

class TGIFImage;

class BusyAnimation : public QWidget {
public:
    explicit BusyAnimation(QWidget* parent = nullptr);
    ~BusyAnimation() override;

    // Loads the picture; false (and no picture) when the file cannot be read
    // as a GIF.
    bool load(const QString& path);
    bool hasPicture() const { return m_picture != nullptr; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<TGIFImage> m_picture;
};

} // namespace bw
