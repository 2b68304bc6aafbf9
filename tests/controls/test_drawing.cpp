// The drawing helpers of the window controls: colour values, gradients, lines
// without their end point, bound lines, greyed and recoloured pictures, and
// caption measuring.
#include "controls/uicoreutils.h"
#include "controls/uiresources.h"

#include <QPainter>
#include <QTest>

using namespace uiCoreUtils;

namespace {

QImage canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The x (or y) ranges of the runs of equal colour along row 0 (or column 0).
QList<QPair<int, int>> runs(const QImage& image, bool horizontal)
{
    QList<QPair<int, int>> found;
    const int length = horizontal ? image.width() : image.height();
    int start = 0;
    for (int i = 1; i <= length; ++i) {
        const auto at = [&](int k) { return horizontal ? image.pixel(k, 0) : image.pixel(0, k); };
        if (i == length || at(i) != at(start)) {
            found.append({start, i});
            start = i;
        }
    }
    return found;
}

using Runs = QList<QPair<int, int>>;

} // namespace

class TestDrawing : public QObject {
    Q_OBJECT
private slots:
    void colorValues_data();
    void colorValues();
    void mulDiv_data();
    void mulDiv();
    void colorRamp();
    void gradientBands_data();
    void gradientBands();
    void gradientDitherRepeatsEvery16Pixels();
    void gradientDegenerateSizes();
    void linesLeaveOutTheirEndPoint_data();
    void linesLeaveOutTheirEndPoint();
    void boundLines();
    void adjustBoundRect_data();
    void adjustBoundRect();
    void grayBitmap_data();
    void grayBitmap();
    void recolorKeepsTheOriginal();
    void checkMarkRows();
    void accelerators_data();
    void accelerators();
    void captionMeasuresEmptyTextAsOneLine();
    void disabledCaptionIsEngraved();
};

void TestDrawing::colorValues_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QColor>("expected");
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Light, QColor(4, 5, 6));
    palette.setColor(QPalette::Active, QPalette::Dark, QColor(7, 8, 9));
    QGuiApplication::setPalette(palette);
    QTest::newRow("rgb stored as bgr") << quint32(0x00735638) << QColor(0x38, 0x56, 0x73);
    QTest::newRow("black") << quint32(0) << QColor(0, 0, 0);
    QTest::newRow("window colour") << quint32(0xFF000005) << QColor(1, 2, 3);
    QTest::newRow("button highlight") << quint32(0xFF000014) << QColor(4, 5, 6);
    QTest::newRow("button shadow") << quint32(0xFF000010) << QColor(7, 8, 9);
    QTest::newRow("none") << quint32(0x1FFFFFFF) << QColor();
    QTest::newRow("default") << quint32(0x20000000) << QColor();
    QTest::newRow("unknown system colour") << quint32(0xFF0000EE) << QColor();
}

void TestDrawing::colorValues()
{
    QFETCH(quint32, value);
    QFETCH(QColor, expected);
    QCOMPARE(ColorFromValue(value), expected);
    if (expected.isValid() && !(value & 0xFF000000u))
        QCOMPARE(ValueFromColor(expected), value);
}

void TestDrawing::mulDiv_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("expected");
    QTest::newRow("rounds down") << 1 << 100 << 32 << 3;
    QTest::newRow("rounds up") << 3 << 100 << 32 << 9;
    QTest::newRow("half away from zero") << 1 << 1 << 2 << 1;
    QTest::newRow("negative half") << -1 << 1 << 2 << -1;
    QTest::newRow("by zero") << 5 << 5 << 0 << 0;
}

void TestDrawing::mulDiv()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(int, expected);
    QCOMPARE(MulDiv(a, b, c), expected);
}

void TestDrawing::colorRamp()
{
    const QVector<QColor> ramp = CreateColorRamp(QColor(0x2EA934), Qt::white, 32);
    QCOMPARE(ramp.size(), 32);
    QCOMPARE(ramp.first(), QColor(0x2EA934));
    QCOMPARE(ramp.last(), QColor(Qt::white));
    // red: 46 + 1 * 209 / 31 = 52.7 -> 53
    QCOMPARE(ramp[1].red(), 53);
    QCOMPARE(CreateColorRamp(Qt::red, Qt::blue, 1), QVector<QColor>{QColor(Qt::red)});
    QVERIFY(CreateColorRamp(Qt::red, Qt::blue, 0).isEmpty());
}

void TestDrawing::gradientBands_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("bands");
    QTest::addColumn<Runs>("firstRuns");
    QTest::addColumn<QColor>("firstColor");
    QTest::newRow("32 bands over 100, horizontal")
        << int(gsHorizontal) << 100 << 32 << Runs{{0, 3}, {3, 6}, {6, 9}} << QColor(Qt::black);
    QTest::newRow("vertical") << int(gsVertical) << 100 << 32 << Runs{{0, 3}, {3, 6}, {6, 9}}
                              << QColor(Qt::black);
    QTest::newRow("reversed starts with B") << int(gsHorizontalReversed) << 100 << 32
                                            << Runs{{0, 3}, {3, 6}} << QColor(Qt::white);
    QTest::newRow("more bands than pixels") << int(gsHorizontal) << 4 << 16
                                            << Runs{{0, 1}, {1, 2}, {2, 3}, {3, 4}}
                                            << QColor(0x111111); // band 0 is empty
}

void TestDrawing::gradientBands()
{
    QFETCH(int, style);
    QFETCH(int, length);
    QFETCH(int, bands);
    QFETCH(Runs, firstRuns);
    QFETCH(QColor, firstColor);
    const bool horizontal = style == gsHorizontal || style == gsHorizontalReversed;
    const QImage image = DrawGradientBitmap(horizontal ? length : 5, horizontal ? 5 : length, Qt::black, Qt::white,
                                            bands, GradientStyle(style), false);
    const Runs found = runs(image, horizontal);
    QCOMPARE(found.mid(0, firstRuns.size()), firstRuns);
    QCOMPARE(image.pixelColor(0, 0), firstColor);
}

void TestDrawing::gradientDitherRepeatsEvery16Pixels()
{
    const QImage horizontal = DrawGradientBitmap(100, 40, QColor(0x2EA934), Qt::white, 32, gsHorizontal, true);
    for (int y = 16; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            QCOMPARE(horizontal.pixel(x, y), horizontal.pixel(x, y % 16));
    const QImage vertical = DrawGradientBitmap(40, 100, Qt::white, QColor(0xEFEBE7), 64, gsVertical, true);
    for (int y = 0; y < 100; ++y)
        for (int x = 16; x < 40; ++x)
            QCOMPARE(vertical.pixel(x, y), vertical.pixel(x % 16, y));
    // The dither only ever paints colours of the ramp.
    const QVector<QColor> ramp = CreateColorRamp(QColor(0x2EA934), Qt::white, 32);
    for (int x = 0; x < 100; ++x)
        QVERIFY(ramp.contains(horizontal.pixelColor(x, 3)));
    // The same gradient always comes out the same.
    QCOMPARE(DrawGradientBitmap(100, 40, QColor(0x2EA934), Qt::white, 32, gsHorizontal, true), horizontal);
}

void TestDrawing::gradientDegenerateSizes()
{
    QVERIFY(DrawGradientBitmap(0, 10, Qt::black, Qt::white, 16, gsVertical, true).isNull());
    QVERIFY(DrawGradientBitmap(10, -4, Qt::black, Qt::white, 16, gsVertical, true).isNull());
    // One band would divide by zero in the ramp and the dither; it is plain colour A.
    const QImage one = DrawGradientBitmap(10, 10, Qt::red, Qt::white, 1, gsHorizontal, true);
    QCOMPARE(one.pixelColor(9, 9), QColor(Qt::red));
    const QImage none = DrawGradientBitmap(10, 10, Qt::red, Qt::white, 0, gsVertical, true);
    QCOMPARE(none.pixelColor(0, 0), QColor(Qt::red));
}

void TestDrawing::linesLeaveOutTheirEndPoint_data()
{
    QTest::addColumn<QLine>("line");
    QTest::addColumn<QList<QPoint>>("painted");
    QTest::addColumn<QPoint>("notPainted");
    QTest::newRow("horizontal") << QLine(1, 2, 6, 2) << QList<QPoint>{{1, 2}, {5, 2}} << QPoint(6, 2);
    QTest::newRow("horizontal backwards") << QLine(6, 2, 1, 2) << QList<QPoint>{{6, 2}, {2, 2}} << QPoint(1, 2);
    QTest::newRow("vertical") << QLine(3, 0, 3, 5) << QList<QPoint>{{3, 0}, {3, 4}} << QPoint(3, 5);
    QTest::newRow("diagonal") << QLine(0, 0, 4, 4) << QList<QPoint>{{0, 0}, {3, 3}} << QPoint(4, 4);
    QTest::newRow("corner stroke") << QLine(0, 1, 2, 0) << QList<QPoint>{{0, 1}} << QPoint(2, 0);
}

void TestDrawing::linesLeaveOutTheirEndPoint()
{
    QFETCH(QLine, line);
    QFETCH(QList<QPoint>, painted);
    QFETCH(QPoint, notPainted);
    QImage image = canvas(8, 8);
    {
        QPainter painter(&image);
        DrawLine(painter, line.x1(), line.y1(), line.x2(), line.y2(), Qt::black);
    }
    for (const QPoint& p : painted)
        QCOMPARE(image.pixelColor(p), QColor(Qt::black));
    QCOMPARE(image.pixelColor(notPainted), QColor(Qt::white));
}

void TestDrawing::boundLines()
{
    QImage image = canvas(10, 8);
    {
        QPainter painter(&image);
        DrawBoundLines(painter, blTop | blRight | blBottom, Qt::black, image.rect());
    }
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(image.pixelColor(9, 0), QColor(Qt::black));
    QCOMPARE(image.pixelColor(9, 4), QColor(Qt::black));
    QCOMPARE(image.pixelColor(4, 7), QColor(Qt::black));
    QCOMPARE(image.pixelColor(0, 4), QColor(Qt::white)); // no left line
    QCOMPARE(image.pixelColor(8, 4), QColor(Qt::white));
}

void TestDrawing::adjustBoundRect_data()
{
    QTest::addColumn<int>("border");
    QTest::addColumn<bool>("show");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QRect>("expected");
    const int trb = int(blTop | blRight | blBottom);
    QTest::newRow("border and three lines") << 5 << true << trb << QRect(5, 6, 100 - 11, 50 - 12);
    QTest::newRow("lines hidden") << 5 << false << trb << QRect(5, 5, 90, 40);
    QTest::newRow("nothing") << 0 << true << 0 << QRect(0, 0, 100, 50);
    // Wider than the rectangle: empty, never negative.
    QTest::newRow("border too wide") << 60 << true << trb << QRect(60, 61, 0, 0);
}

void TestDrawing::adjustBoundRect()
{
    QFETCH(int, border);
    QFETCH(bool, show);
    QFETCH(int, lines);
    QFETCH(QRect, expected);
    QCOMPARE(AdjustBoundRect(border, show, TuiBoundLines(lines), QRect(0, 0, 100, 50)), expected);
}

void TestDrawing::grayBitmap_data()
{
    QTest::addColumn<QColor>("input");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("black") << QColor(Qt::black) << QColor(100, 100, 100);
    QTest::newRow("just below 156") << QColor(155, 155, 155) << QColor(255, 255, 255);
    QTest::newRow("mixed") << QColor(90, 0, 30) << QColor(140, 140, 140);
    QTest::newRow("156 becomes white") << QColor(156, 156, 156) << QColor(Qt::white);
    QTest::newRow("red") << QColor(Qt::red) << QColor(185, 185, 185);
}

void TestDrawing::grayBitmap()
{
    QFETCH(QColor, input);
    QFETCH(QColor, expected);
    QImage source(2, 2, QImage::Format_RGB32);
    source.fill(input);
    const QImage grey = GrayBitmap(source);
    QCOMPARE(grey.pixelColor(1, 1), expected);
    QCOMPARE(source.pixelColor(1, 1), input);
}

void TestDrawing::recolorKeepsTheOriginal()
{
    const QImage mark = uiResources::Bitmap(QStringLiteral("CHECKBOX"));
    const QImage green = RecolorBitmap(mark, QColor(0x21A621));
    QCOMPARE(green.pixelColor(6, 0), QColor(0x21A621));
    QCOMPARE(green.pixelColor(0, 0), QColor(0xC0C0C0));
    QCOMPARE(mark.pixelColor(6, 0), QColor(Qt::black));
}

void TestDrawing::checkMarkRows()
{
    static const char* const rows[] = {"......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X...."};
    const QImage mark = uiResources::Bitmap(QStringLiteral("checkbox"));
    QCOMPARE(mark.size(), QSize(7, 7));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            QCOMPARE(mark.pixelColor(x, y), rows[y][x] == 'X' ? QColor(Qt::black) : QColor(0xC0C0C0));
    QVERIFY(uiResources::Bitmap(QStringLiteral("NOSUCH")).isNull());
}

void TestDrawing::accelerators_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("accelerator");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "Turnierklasse &starten" << "s" << "Turnierklasse starten";
    QTest::newRow("double ampersand") << "A && &B" << "B" << "A & B";
    QTest::newRow("none") << "Abbrechen" << "" << "Abbrechen";
    QTest::newRow("lone ampersand") << "&" << "" << "";
    QTest::newRow("trailing ampersand") << "x&" << "" << "x";
}

void TestDrawing::accelerators()
{
    QFETCH(QString, caption);
    QFETCH(QString, accelerator);
    QFETCH(QString, shown);
    const QChar found = AcceleratorOf(caption);
    QCOMPARE(found.isNull() ? QString() : QString(found), accelerator);
    QCOMPARE(StripAccelerator(caption), shown);
}

void TestDrawing::captionMeasuresEmptyTextAsOneLine()
{
    QImage image = canvas(100, 40);
    QPainter painter(&image);
    const QFont font = FontFromHeight(QStringLiteral("MS Sans Serif"), 13);
    for (const TuiTextFlag flag : {TuiTextFlag::SingleLine, TuiTextFlag::WordBreak}) {
        QRect line(0, 0, 100, 40);
        DrawCaptionText(nullptr, painter, QStringLiteral("X"), font, Qt::black, true, true, line,
                        TuiTextFlag::CalcRect | flag);
        QVERIFY(line.height() > 0);
        for (const QString& text : {QString(), QStringLiteral("&")}) {
            QRect rect(0, 0, 100, 40);
            DrawCaptionText(nullptr, painter, text, font, Qt::black, true, true, rect,
                            TuiTextFlag::CalcRect | flag);
            QCOMPARE(rect.height(), line.height());
            QVERIFY(rect.width() > 0);
        }
    }
    // Without accelerators a lone "&" is a character of its own.
    QRect shown(0, 0, 100, 40);
    DrawCaptionText(nullptr, painter, QStringLiteral("&"), font, Qt::black, true, false, shown, TuiTextFlag::CalcRect);
    QCOMPARE(shown.width(), QFontMetrics(font).horizontalAdvance(QLatin1Char('&')));
}

void TestDrawing::disabledCaptionIsEngraved()
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Light, QColor(Qt::white));
    palette.setColor(QPalette::Active, QPalette::Dark, QColor(0x808080));
    QGuiApplication::setPalette(palette);
    QImage image(60, 30, QImage::Format_RGB32);
    image.fill(Qt::blue);
    {
        QPainter painter(&image);
        QRect rect(5, 5, 50, 20);
        QFont font = FontFromHeight(QStringLiteral("Arial"), 18);
        font.setStyleStrategy(QFont::NoAntialias);
        DrawCaptionText(nullptr, painter, QStringLiteral("H"), font, Qt::black, false, true, rect,
                        TuiTextFlag::SingleLine);
    }
    bool white = false, grey = false, black = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            white |= c == QColor(Qt::white);
            grey |= c == QColor(0x808080);
            black |= c == QColor(Qt::black);
        }
    QVERIFY(white);
    QVERIFY(grey);
    QVERIFY(!black);
}

QTEST_MAIN(TestDrawing)
#include "test_drawing.moc"
