// Colour reduction and dithering: the lookups, the ditherers, the octree
// palette, importing images into frames, and frames rendered dithered.
#include "gif/core/gifextensions.h"
#include "gif/core/gifreduction.h"
#include "gif/core/gifstream.h"
#include "gif/gifimport.h"
#include "gif/gifsynth.h"
#include "gif/tgifimage.h"

#include <QPainter>
#include <QtTest>

using namespace bw;

namespace {
QImage filled(int w, int h, QRgb color, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(w, h, format);
    image.fill(color);
    return image;
}
}

class TestGifReduction : public QObject {
    Q_OBJECT
private slots:
    void lookups_data();
    void lookups();
    void fastLookup();
    void pureRedImportsToItsCubeEntry();
    void floydSteinbergOnGrey();
    void everyDithererKeepsAnExactColour_data();
    void everyDithererKeepsAnExactColour();
    void unknownMethodOrKind();
    void octreePalette();
    void transparentImport();
    void fullTableImportsWithoutTransparency();
    void tooManyColoursWithoutReduction();
    void ditheredRendering();
};

void TestGifReduction::lookups_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("chosenRed");
    QTest::newRow("cube 47 is level 0") << 0 << 47 << 0 << 0 << 0 << 0;
    QTest::newRow("cube 48 is level 1") << 0 << 48 << 0 << 0 << 36 << 51;
    QTest::newRow("cube pure red") << 0 << 255 << 0 << 0 << 180 << 255;
    QTest::newRow("cube white") << 0 << 255 << 255 << 255 << 215 << 255;
    QTest::newRow("mono 127 is black") << 1 << 127 << 127 << 127 << 0 << 0;
    QTest::newRow("mono 128 is white") << 1 << 128 << 128 << 128 << 1 << 255;
    QTest::newRow("grey of red") << 2 << 255 << 0 << 0 << 76 << 76;
}

void TestGifReduction::lookups()
{
    QFETCH(int, kind);
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    QFETCH(int, index);
    QFETCH(int, chosenRed);
    TNetscapeColorLookup cube;
    TMonochromeLookup mono;
    TGrayScaleLookup grey;
    TColorLookup* lookups[] = {&cube, &mono, &grey};
    TGIFRGB chosen;
    QCOMPARE(lookups[kind]->Lookup(r, g, b, chosen), index);
    QCOMPARE(int(chosen.r), chosenRed);
}

void TestGifReduction::fastLookup()
{
    // Entries 1 and 2 share a cell: the first wins. Other colours take the
    // entry with the smallest sum of differences, the first on ties.
    TFastColorLookup lookup({{0, 0, 0}, {200, 200, 200}, {201, 201, 201}, {255, 0, 0}});
    TGIFRGB chosen;
    QCOMPARE(lookup.Lookup(201, 201, 201, chosen), 1);
    QCOMPARE(lookup.Lookup(250, 10, 10, chosen), 3);
    QCOMPARE(chosen, (TGIFRGB{255, 0, 0}));
    QCOMPARE(lookup.Lookup(100, 100, 100, chosen), 0);
    QCOMPARE(lookup.Lookup(101, 101, 101, chosen), 0); // the cell answers as before
}

void TestGifReduction::pureRedImportsToItsCubeEntry()
{
    TGIFImage image;
    image.Assign(filled(3, 2, qRgb(255, 0, 0)));
    QCOMPARE(image.Count(), 1);
    const TGIFSubImage& frame = image.Frame(0);
    QCOMPARE(frame.ColorMap().Count(), 216);
    QCOMPARE(frame.Pixels(), std::vector<uint8_t>(6, 180));
    QVERIFY(!frame.Transparent());
    QCOMPARE(image.Width(), 3);
}

void TestGifReduction::floydSteinbergOnGrey()
{
    const QImage reduced = ReduceToPalette(filled(16, 4, qRgb(128, 128, 128)), 6, 1, {}, 8);
    QCOMPARE(reduced.format(), QImage::Format_Indexed8);
    QSet<int> seen;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x)
            seen << qRed(reduced.pixel(x, y));
    QCOMPARE(seen, (QSet<int>{102, 153}));
}

void TestGifReduction::everyDithererKeepsAnExactColour_data()
{
    QTest::addColumn<int>("kind");
    for (int kind = 0; kind <= 6; ++kind)
        QTest::newRow(qPrintable(QString("kind %1").arg(kind))) << kind;
}

void TestGifReduction::everyDithererKeepsAnExactColour()
{
    QFETCH(int, kind);
    const QImage reduced = ReduceToPalette(filled(9, 5, qRgb(51, 102, 153)), 6, kind, {}, 8);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x)
            QCOMPARE(reduced.pixelIndex(x, y), 36 * 1 + 6 * 2 + 3);
    // A gradient reduced to black and white keeps its mean roughly.
    QImage ramp(64, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 64; ++x)
            ramp.setPixel(x, y, qRgb(x * 4, x * 4, x * 4));
    const QImage mono = ReduceToPalette(ramp, 4, kind, {}, 8);
    int white = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 64; ++x)
            white += mono.pixelIndex(x, y);
    QVERIFY(white > 64 * 8 / 4 && white < 64 * 8 * 3 / 4);
}

void TestGifReduction::unknownMethodOrKind()
{
    QVERIFY(ReduceToPalette(filled(2, 2, qRgb(1, 2, 3)), 10, 0, {}, 8).isNull());
    QVERIFY(ReduceToPalette(filled(2, 2, qRgb(1, 2, 3)), 6, 7, {}, 8).isNull());
    QVERIFY(ReduceToPalette(filled(2, 2, qRgb(1, 2, 3)), 9, 0, {}, 8).isNull());
    QCOMPARE(ReduceToPalette(filled(2, 2, qRgb(1, 2, 3)), 0, 0, {}, 8).format(), QImage::Format_RGB888);
    const QImage custom = ReduceToPalette(filled(2, 2, qRgb(250, 5, 5)), 9, 0, {qRgb(0, 0, 0), qRgb(255, 0, 0)}, 8);
    QCOMPARE(custom.pixelIndex(1, 1), 1);
}

void TestGifReduction::octreePalette()
{
    // Two colours asked for four: both, then black.
    const uint8_t two[] = {255, 0, 0, 0, 0, 255, 255, 0, 0};
    const TGIFPalette p = QuantizedPalette(two, 3, 4, 8, false);
    QCOMPARE(p.size(), size_t(4));
    QVERIFY(std::find(p.begin(), p.end(), TGIFRGB{255, 0, 0}) != p.end());
    QVERIFY(std::find(p.begin(), p.end(), TGIFRGB{0, 0, 255}) != p.end());
    QCOMPARE(p.back(), (TGIFRGB{0, 0, 0}));
    // Reduced to one colour: the average of all pixels.
    const uint8_t grey[] = {100, 100, 100, 200, 200, 200};
    QCOMPARE(QuantizedPalette(grey, 2, 1, 8, false), (TGIFPalette{{150, 150, 150}}));
    // With static colours: 256 entries, the defaults at both ends.
    const TGIFPalette s = QuantizedPalette(two, 3, 256, 8, true);
    QCOMPARE(s.size(), size_t(256));
    QCOMPARE(s[7], (TGIFRGB{192, 192, 192}));
    QCOMPARE(s[255], (TGIFRGB{255, 255, 255}));
    // An image reduced by octree palette keeps its few colours exactly.
    QImage image = filled(4, 4, qRgb(10, 20, 30));
    image.setPixel(0, 0, qRgb(200, 100, 0));
    const QImage reduced = ReduceToPalette(image, 7, 0, {}, 2);
    QCOMPARE(reduced.pixel(0, 0), qRgb(200, 100, 0));
    QCOMPARE(reduced.pixel(3, 3), qRgb(10, 20, 30));
}

void TestGifReduction::transparentImport()
{
    // Green and blue opaque, a transparent corner: the unused cube entries go,
    // black is appended and marks the transparent pixels.
    QImage image = filled(2, 2, qRgba(0, 255, 0, 255), QImage::Format_ARGB32);
    image.setPixel(1, 0, qRgba(0, 0, 255, 255));
    image.setPixel(1, 1, qRgba(0, 0, 0, 0));
    TGIFImage picture;
    picture.Assign(image);
    const TGIFSubImage& frame = picture.Frame(0);
    QVERIFY(frame.Transparent());
    const int t = frame.TransparentIndex();
    QCOMPARE(t, frame.ColorMap().Count() - 1);
    QCOMPARE(frame.ColorMap().Count(), 4); // green, blue, black of the corner, the new black
    QCOMPARE(frame.Pixels()[3], uint8_t(t));
    QVERIFY(frame.Pixels()[0] != t);
    QCOMPARE(picture.FrameBitmap(0).color(t) >> 24, 0u);
}

void TestGifReduction::fullTableImportsWithoutTransparency()
{
    QImage image(256, 1, QImage::Format_Indexed8);
    QVector<QRgb> colors;
    for (int i = 0; i < 256; ++i)
        colors << qRgba(i, 0, 0, i == 0 ? 0 : 255);
    image.setColorTable(colors);
    for (int x = 0; x < 256; ++x)
        image.setPixel(x, 0, uint(x));
    TGIFImage picture;
    picture.Assign(image);
    QVERIFY(!picture.Frame(0).Transparent());
    QCOMPARE(picture.Frame(0).ColorMap().Count(), 256);
}

void TestGifReduction::tooManyColoursWithoutReduction()
{
    QImage image(300, 1, QImage::Format_RGB32);
    for (int x = 0; x < 300; ++x)
        image.setPixel(x, 0, qRgb(x % 256, x / 256, 0));
    TGIFImage picture;
    picture.ReductionMethod = 0;
    try {
        picture.Assign(image);
        QFAIL("300 colours were taken");
    } catch (const GIFException& e) {
        QCOMPARE(QString(e.what()), QString("Color table overflow"));
    }
    QVERIFY(picture.Empty());
    // 200 distinct colours are kept exactly, in order of first appearance.
    QImage fewer = image.copy(0, 0, 200, 1);
    picture.Assign(fewer);
    QCOMPARE(picture.Frame(0).ColorMap().Count(), 200);
    QCOMPARE(picture.Frame(0).Pixels()[150], uint8_t(150));
}

void TestGifReduction::ditheredRendering()
{
    // White is transparent: masked pixels hold the nearest cube entry (215),
    // not one beyond the cube, and the drawing leaves them out.
    gifsynth::File f;
    f.width = 2;
    f.height = 1;
    f.globalTable = {255, 255, 255, 255, 0, 0};
    gifsynth::Frame frame;
    frame.width = 2;
    frame.height = 1;
    frame.pixels = {0, 1};
    frame.transparent = 0;
    f.frames.push_back(frame);
    const gifsynth::Bytes bytes = gifsynth::build(f);
    TGIFImage picture;
    MemoryByteStream stream(bytes);
    picture.LoadFromStream(stream);
    picture.PaintOptions = uint16_t((picture.PaintOptions | pfDithered) & ~pfDitherOnPaletteScreen);
    QVERIFY(picture.DitheringOn());
    const QImage bitmap = picture.FrameBitmap(0);
    QCOMPARE(bitmap.colorCount(), 256);
    QCOMPARE(bitmap.pixelIndex(0, 0), 215);
    QCOMPARE(bitmap.pixelIndex(1, 0), 180);
    QVERIFY(picture.NeedsMask(0));
    QImage canvas = filled(2, 1, qRgb(1, 2, 3));
    QPainter painter(&canvas);
    picture.Draw(painter, canvas.rect());
    painter.end();
    QCOMPARE(canvas.pixel(0, 0), qRgb(1, 2, 3));
    QCOMPARE(canvas.pixel(1, 0), qRgb(255, 0, 0));
    QCOMPARE(picture.Palette().size(), 216);
}

QTEST_MAIN(TestGifReduction)
#include "test_gif_reduction.moc"
