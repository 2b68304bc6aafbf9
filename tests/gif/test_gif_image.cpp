// TGIFImage: loading files and devices, rendering frames into QImages with their
// transparency, drawing stretched, tiled and through the mask, copying pictures.
#include "gif/gifsynth.h"
#include "gif/tgifimage.h"

#include "gif/core/gifextensions.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using namespace bw;
using gifsynth::Bytes;

namespace {

QByteArray toQt(const Bytes& b)
{
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
}

void loadBytes(TGIFImage& image, const Bytes& bytes)
{
    QByteArray data = toQt(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    image.LoadFromStream(buffer);
}

// Colours: 0 red, 1 green, 2 blue, 3 white.
const Bytes kRgbw = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};

// A logical screen of screenW x screenH with one frame at (left, top).
gifsynth::File oneFrame(int screenW, int screenH, int left, int top, int w, int h, Bytes pixels, int transparent = -1)
{
    gifsynth::File f;
    f.width = screenW;
    f.height = screenH;
    f.globalTable = kRgbw;
    gifsynth::Frame frame;
    frame.left = left;
    frame.top = top;
    frame.width = w;
    frame.height = h;
    frame.pixels = std::move(pixels);
    frame.transparent = transparent;
    f.frames.push_back(frame);
    return f;
}

QImage canvas(int w, int h, QRgb color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QString statusIcon(const char* name)
{
    return QDir(qEnvironmentVariable("BRACKWELL_SOURCE_DIR") + "/resources/Images").filePath(name);
}

} // namespace

class TestGifImage : public QObject {
    Q_OBJECT
private slots:
    void statusIconsLoad();
    void missingFile();
    void streamPosition();
    void frameBitmapAndMask();
    void transparentWithoutTransparentPixels();
    void drawStretchedThroughMask();
    void drawOpaqueWithoutTransparentFlag();
    void drawTiled();
    void frameRectIn_data();
    void frameRectIn();
    void palettes();
    void renderingProgress();
    void assign();
    void compositeBitmap();
};

void TestGifImage::statusIconsLoad()
{
    for (const char* name : {"GreyDot.gif", "warning.gif", "test3.gif", "test4.gif"}) {
        TGIFImage image;
        image.LoadFromFile(statusIcon(name));
        QCOMPARE(image.Count(), 1);
        QCOMPARE(image.Width(), 16);
        QVERIFY(image.Frame(0).Transparent());
        QVERIFY(image.NeedsMask(0));
        // The corner is transparent, the middle is not.
        QImage drawn = canvas(16, 16, qRgb(1, 2, 3));
        QPainter painter(&drawn);
        image.Draw(painter, drawn.rect());
        painter.end();
        QCOMPARE(drawn.pixel(0, 0), qRgb(1, 2, 3));
        QVERIFY(drawn.pixel(8, 8) != qRgb(1, 2, 3));
    }
}

void TestGifImage::missingFile()
{
    TGIFImage image;
    QVERIFY_THROWS_EXCEPTION(GIFFileError, image.LoadFromFile("/nonexistent/none.gif"));
}

void TestGifImage::streamPosition()
{
    const Bytes good = gifsynth::build(oneFrame(2, 2, 0, 0, 2, 2, {0, 1, 2, 3}));
    // A good picture followed by other data: the device stands after the trailer.
    QByteArray data = toQt(good) + "tail";
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TGIFImage image;
    image.LoadFromStream(buffer);
    QCOMPARE(buffer.pos(), qint64(good.size()));

    // A damaged file: the position goes back to where reading began.
    QTemporaryDir dir;
    QFile file(dir.filePath("bad.gif"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("xxxxGIF89a\x02\x00");
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    file.seek(4);
    QVERIFY_THROWS_EXCEPTION(GIFException, image.LoadFromStream(file));
    QCOMPARE(file.pos(), qint64(4));
    QVERIFY(image.Empty());
}

void TestGifImage::frameBitmapAndMask()
{
    TGIFImage image;
    loadBytes(image, gifsynth::build(oneFrame(3, 2, 0, 0, 3, 2, {0, 1, 2, 3, 2, 1}, 2)));
    const QImage bitmap = image.FrameBitmap(0);
    QCOMPARE(bitmap.format(), QImage::Format_Indexed8);
    QCOMPARE(bitmap.colorCount(), 256);
    QCOMPARE(bitmap.pixelIndex(2, 0), 2);
    QCOMPARE(bitmap.color(0), qRgb(255, 0, 0));
    QCOMPARE(qAlpha(bitmap.color(2)), 0);
    QCOMPARE(bitmap.color(200), qRgb(0, 0, 0));
    QVERIFY(image.NeedsMask(0));
    const QImage mask = image.FrameMask(0);
    QCOMPARE(mask.format(), QImage::Format_Mono);
    QCOMPARE(mask.pixelIndex(2, 0), 1);
    QCOMPARE(mask.pixelIndex(1, 1), 1);
    QCOMPARE(mask.pixelIndex(1, 0), 0);
    QCOMPARE(mask.constScanLine(0)[0], uchar(0x20)); // first pixel in the highest bit
}

void TestGifImage::transparentWithoutTransparentPixels()
{
    TGIFImage image;
    loadBytes(image, gifsynth::build(oneFrame(2, 1, 0, 0, 2, 1, {0, 1}, 3)));
    QVERIFY(image.Frame(0).Transparent());
    QVERIFY(!image.NeedsMask(0));
    QCOMPARE(qAlpha(image.FrameBitmap(0).color(3)), 255);
    QImage drawn = canvas(2, 1, qRgb(9, 9, 9));
    QPainter painter(&drawn);
    image.Draw(painter, drawn.rect());
    painter.end();
    QCOMPARE(drawn.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(drawn.pixel(1, 0), qRgb(0, 255, 0));
}

void TestGifImage::drawStretchedThroughMask()
{
    // A 2 x 2 frame at (2, 2) on a 4 x 4 screen drawn into 8 x 8: each pixel
    // becomes 2 x 2 at (4, 4); index 3 is transparent.
    TGIFImage image;
    loadBytes(image, gifsynth::build(oneFrame(4, 4, 2, 2, 2, 2, {0, 1, 3, 2}, 3)));
    QImage drawn = canvas(8, 8, qRgb(7, 7, 7));
    QPainter painter(&drawn);
    image.Draw(painter, drawn.rect());
    painter.end();
    QCOMPARE(drawn.pixel(3, 3), qRgb(7, 7, 7));
    QCOMPARE(drawn.pixel(4, 4), qRgb(255, 0, 0));
    QCOMPARE(drawn.pixel(5, 5), qRgb(255, 0, 0));
    QCOMPARE(drawn.pixel(6, 4), qRgb(0, 255, 0));
    QCOMPARE(drawn.pixel(4, 6), qRgb(7, 7, 7));
    QCOMPARE(drawn.pixel(7, 7), qRgb(0, 0, 255));
}

void TestGifImage::drawOpaqueWithoutTransparentFlag()
{
    TGIFImage image;
    loadBytes(image, gifsynth::build(oneFrame(2, 1, 0, 0, 2, 1, {3, 0}, 3)));
    image.PaintOptions &= uint16_t(~pfTransparent);
    QImage drawn = canvas(2, 1, qRgb(7, 7, 7));
    QPainter painter(&drawn);
    image.Draw(painter, drawn.rect());
    painter.end();
    QCOMPARE(drawn.pixel(0, 0), qRgb(255, 255, 255));
}

void TestGifImage::drawTiled()
{
    // A 1 x 1 frame at (1, 0) of a 2 x 2 screen repeats every 2 pixels.
    TGIFImage image;
    loadBytes(image, gifsynth::build(oneFrame(2, 2, 1, 0, 1, 1, {2})));
    image.PaintOptions |= pfTiled;
    QImage drawn = canvas(5, 4, qRgb(7, 7, 7));
    QPainter painter(&drawn);
    image.Draw(painter, QRect(0, 0, 5, 4));
    painter.end();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            QCOMPARE(drawn.pixel(x, y), (x % 2 == 1 && y % 2 == 0) ? qRgb(0, 0, 255) : qRgb(7, 7, 7));
}

void TestGifImage::frameRectIn_data()
{
    QTest::addColumn<int>("screenW");
    QTest::addColumn<int>("screenH");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("scaled by the logical screen") << 20 << 10 << QRect(QPoint(6, 22), QPoint(13, 37));
    // A logical screen of 0 x 0: the frame's own size gives the scale.
    QTest::newRow("logical screen 0") << 0 << 0 << QRect(QPoint(30, 40), QPoint(69, 79));
}

void TestGifImage::frameRectIn()
{
    QFETCH(int, screenW);
    QFETCH(int, screenH);
    QFETCH(QRect, expected);
    TGIFImage image;
    auto frame = std::make_unique<TGIFSubImage>(&image);
    frame->SetLeft(3);
    frame->SetTop(3);
    frame->SetWidth(4);
    frame->SetHeight(4);
    image.AddFrame(std::move(frame));
    image.Header().SetWidth(uint16_t(screenW));
    image.Header().SetHeight(uint16_t(screenH));
    QCOMPARE(image.FrameRectIn(0, QRect(0, 10, 40, 40)), expected);
}

void TestGifImage::palettes()
{
    // A frame without its own table is shown with the global table.
    TGIFImage image;
    loadBytes(image, gifsynth::build(oneFrame(1, 1, 0, 0, 1, 1, {1})));
    QCOMPARE(image.FramePalette(0).size(), 4);
    QCOMPARE(image.FramePalette(0)[1], qRgb(0, 255, 0));

    // No table anywhere.
    gifsynth::File bare = oneFrame(1, 1, 0, 0, 1, 1, {0});
    bare.globalTable.clear();
    bare.frames[0].minCodeSize = 2;
    TGIFImage none;
    loadBytes(none, gifsynth::build(bare));
    try {
        none.FrameBitmap(0);
        QFAIL("rendered without colours");
    } catch (const GIFException& e) {
        QCOMPARE(QString(e.what()), QString("No global or local color table defined"));
    }
}

void TestGifImage::renderingProgress()
{
    TGIFImage image;
    loadBytes(image, gifsynth::build(oneFrame(10, 70, 0, 0, 10, 70, Bytes(700, 1))));
    QList<int> percents;
    image.OnProgress = [&](TProgressStage, int percent, bool, const std::string& message) {
        QCOMPARE(message, std::string("Rendering..."));
        percents << percent;
    };
    image.FrameBitmap(0);
    QCOMPARE(percents, (QList<int>{0, 45, 91, 100}));
}

void TestGifImage::assign()
{
    gifsynth::File f = oneFrame(4, 4, 0, 0, 2, 2, {0, 1, 2, 3}, 1);
    f.frames.push_back(f.frames[0]);
    f.frames[1].comments = {"second"};
    f.frames[1].pixels = {3, 3, 3, 3};
    TGIFImage source;
    loadBytes(source, gifsynth::build(f));
    source.PaintOptions = pfTransparent | pfTiled;
    source.FillColor = QColor(Qt::yellow);
    source.AnimationRate = 300;

    TGIFImage copy;
    copy.Assign(&source);
    QCOMPARE(copy.PaintOptions, uint16_t(pfTransparent | pfTiled));
    QCOMPARE(copy.FillColor, std::optional<QColor>(QColor(Qt::yellow)));
    QCOMPARE(copy.AnimationRate, 100);
    QCOMPARE(copy.Count(), 2);
    QCOMPARE(copy.Width(), 4);
    QCOMPARE(copy.Frame(1).Pixels(), Bytes({3, 3, 3, 3}));
    QCOMPARE(copy.Frame(1).Extensions().size(), size_t(2));
    QVERIFY(copy.Frame(0).GraphicControlExtension() != source.Frame(0).GraphicControlExtension());
    QVERIFY(copy.Frame(0).GraphicControlExtension());
    QCOMPARE(copy.Frame(0).TransparentIndex(), 1);
    QVERIFY(copy.Frame(0).Transparent());
    QVERIFY(!copy.Equals(&source));
    QVERIFY(copy.Equals(&copy));

    copy.Assign(nullptr);
    QVERIFY(copy.Empty());
}

void TestGifImage::compositeBitmap()
{
    TGIFImage image;
    loadBytes(image, gifsynth::build(oneFrame(3, 1, 1, 0, 1, 1, {2})));
    const QImage composite = image.CompositeBitmap();
    QCOMPARE(composite.size(), QSize(3, 1));
    QCOMPARE(composite.pixel(1, 0), qRgb(0, 0, 255));
    QCOMPARE(composite.pixel(0, 0), qRgb(0, 0, 0));
}

QTEST_MAIN(TestGifImage)
#include "test_gif_image.moc"
