// The GIF reader and LZW decoder: tolerance of odd and damaged streams, their
// messages, what a load keeps, and the decoder's faults that were mended.
#include "gif/core/gifexception.h"
#include "gif/core/gifextensions.h"
#include "gif/core/gifpicture.h"
#include "gif/core/gifstream.h"
#include "gif/gifsynth.h"

#include <QtTest>

using namespace bw;
using gifsynth::Bytes;

Q_DECLARE_METATYPE(Bytes)

namespace {

struct Loaded {
    std::unique_ptr<TGIFPicture> picture = std::make_unique<TGIFPicture>();
    QStringList warnings;
    QString error;
    int64_t endPosition = 0;
};

Loaded load(const Bytes& bytes)
{
    Loaded result;
    result.picture->OnDecodeWarning = [&result](const void*, int, const std::string& m) {
        result.warnings << QString::fromStdString(m);
    };
    MemoryByteStream stream(bytes);
    try {
        result.picture->LoadFromStream(stream);
    } catch (const GIFException& e) {
        result.error = e.what();
    }
    result.endPosition = stream.Position();
    result.picture->OnDecodeWarning = nullptr;
    return result;
}

// A 4 x 2 picture with a 4-colour global table and one frame.
gifsynth::File smallFile()
{
    gifsynth::File f;
    f.width = 4;
    f.height = 2;
    f.globalTable = gifsynth::palette(4, 1);
    gifsynth::Frame frame;
    frame.width = 4;
    frame.height = 2;
    frame.pixels = {0, 1, 2, 3, 3, 2, 1, 0};
    f.frames.push_back(frame);
    return f;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Header and global table of smallFile(), without any block.
Bytes smallHeader()
{
    gifsynth::File f = smallFile();
    f.frames.clear();
    f.trailer = false;
    return gifsynth::build(f);
}

// The image of smallFile() from its descriptor to its terminator.
Bytes smallImage()
{
    const Bytes full = gifsynth::build(smallFile());
    const size_t start = smallHeader().size();
    return Bytes(full.begin() + long(start), full.end() - 1);
}

// An image descriptor for w x h without local table, then minimum code size and data.
Bytes image(int w, int h, int minCodeSize, const Bytes& dataBlocks, uint8_t packed = 0)
{
    Bytes out = {',', 0, 0, 0, 0, uint8_t(w), uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8), packed, uint8_t(minCodeSize)};
    return out + dataBlocks;
}

Bytes graphicControl(bool transparent, uint8_t index)
{
    return {'!', 0xF9, 4, uint8_t(transparent ? 1 : 0), 0, 0, index, 0};
}

std::vector<std::pair<int, int>> codes(std::initializer_list<int> values, int width)
{
    std::vector<std::pair<int, int>> out;
    for (int v : values)
        out.push_back({v, width});
    return out;
}

} // namespace

class TestGifReader : public QObject {
    Q_OBJECT
private slots:
    void load_data();
    void load();
    void framesAndExtensions();
    void comments();
    void loopExtension();
    void fillValue_data();
    void fillValue();
    void interlacedRows_data();
    void interlacedRows();
    void minimumCodeSizeOne();
    void fullTableWithoutClear();
    void codeAfterClearBeyondTable();
    void circularEntriesGiveUp();
    void oneByteSubBlocks();
    void codesAfterLastPixelKeepFollowingFrames();
    void minimumCodeSizeTwelve();
    void sizeLimits_data();
    void sizeLimits();
    void colorTable();
    void frameBoundsWarnings();
    void failedLoadRestoresStream();
};

// Whole streams: frames kept, warnings given, error raised.
void TestGifReader::load_data()
{
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<int>("frames");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<QString>("error");

    const Bytes good = gifsynth::build(smallFile());
    const Bytes header = smallHeader();
    const Bytes img = smallImage();
    QTest::newRow("plain") << good << 1 << QStringList() << QString();
    QTest::newRow("signature after four bytes, lower case")
        << Bytes{1, 2, 3, 4} + Bytes{'g', 'i', 'f'} + Bytes(good.begin() + 3, good.end()) << 1 << QStringList() << QString();
    Bytes version = good;
    version[3] = '9', version[4] = '9', version[5] = 'z';
    QTest::newRow("any version") << version << 1 << QStringList() << QString();
    QTest::newRow("bad signature") << Bytes{'P', 'N', 'G', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0} << 0 << QStringList()
                                   << "Invalid GIF signature";
    QTest::newRow("cut in the header") << Bytes(good.begin(), good.begin() + 9) << 0 << QStringList() << "Premature end of data";
    QTest::newRow("cut in the global table") << Bytes(good.begin(), good.begin() + 16) << 0 << QStringList()
                                             << "Premature end of data";
    QTest::newRow("zero bytes between blocks") << header + Bytes{0, 0} + img + Bytes{0} + img + Bytes{0, 0, ';'} << 2
                                               << QStringList() << QString();
    QTest::newRow("no trailer") << header + img << 1 << QStringList() << QString();
    QTest::newRow("unknown block type") << header + img + Bytes{'Q', ';'} << 1
                                        << QStringList{"Unknown GIF block type", "Invalid Image trailer"} << QString();
    QTest::newRow("width 0 takes the logical screen") << header + image(0, 5, 2, gifsynth::subBlocks(gifsynth::packCodes(codes({4, 1, 5}, 3)), 255)) + Bytes{';'}
                                                      << 1 << QStringList{"Image exceeds Logical Screen size"} << QString();
    // An extension no class reads is skipped, as every reader must; only one
    // the stream ends in fails.
    QTest::newRow("extension label 0x02") << header + Bytes{'!', 0x02, 0} + img + Bytes{';'} << 1
                                          << QStringList{"Unknown extension type"} << QString();
    QTest::newRow("flipped control label with its data")
        << header + Bytes{'!', 0xF8, 4, 1, 0, 0, 2, 0} + img + Bytes{';'} << 1 << QStringList{"Unknown extension type"}
        << QString();
    QTest::newRow("unknown extension cut short") << header + img + Bytes{'!', 0x02, 5, 1, 2} << 1 << QStringList()
                                                 << "Unknown extension type";
    QTest::newRow("no label after introducer") << header + Bytes{'!'} << 0 << QStringList() << "Unknown extension type";
    // Fixed-size blocks are read by their size byte and sub-blocks.
    QTest::newRow("control block of 5 bytes") << header + Bytes{'!', 0xF9, 5, 1, 0, 0, 2, 9, 0} + img + Bytes{';'} << 1
                                              << QStringList() << QString();
    QTest::newRow("control block of 3 bytes and a sub-block")
        << header + Bytes{'!', 0xF9, 3, 1, 0, 0, 2, 7, 7, 0} + img + Bytes{';'} << 1 << QStringList() << QString();
    QTest::newRow("control block of 0 bytes") << header + Bytes{'!', 0xF9, 0} + img + Bytes{';'} << 1 << QStringList()
                                              << QString();
    QTest::newRow("control block cut in its sub-blocks") << header + img + Bytes{'!', 0xF9, 4, 1, 0, 0, 2, 3, 1} << 2
                                                         << QStringList{"Premature end of data"} << QString();
    QTest::newRow("text block of 13 bytes")
        << header + Bytes{'!', 0x01, 13, 1, 0, 2, 0, 3, 0, 4, 0, 5, 6, 7, 8, 9, 2, 'h', 'i', 0} + img + Bytes{';'} << 1
        << QStringList() << QString();
    QTest::newRow("text block cut in its header") << header + Bytes{'!', 0x01, 12, 1, 0} << 0 << QStringList()
                                                  << "Premature end of data";
    QTest::newRow("application block size 9")
        << header + Bytes{'!', 0xFF, 9, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 0} + img << 0 << QStringList()
        << "Unsupported Application Extension block size";
    QTest::newRow("short loop sub-block") << header + Bytes{'!', 0xFF, 11} + Bytes{'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'}
                                                 + Bytes{2, 1, 0, 0} + img
                                          << 0 << QStringList() << "Invalid GIF data";
    QTest::newRow("short control extension") << header + Bytes{'!', 0xF9, 4, 0} << 1 << QStringList{"Premature end of data"}
                                             << QString();
    QTest::newRow("junk before the descriptor")
        << header + graphicControl(false, 0) + Bytes{'X'} + Bytes(img.begin() + 1, img.end()) + Bytes{';'} << 1
        << QStringList{"Invalid extension introducer"} << QString();
    QTest::newRow("cut in the image data") << Bytes(good.begin(), good.end() - 3) << 1
                                           << QStringList{"Premature end of data"} << QString();
    QTest::newRow("cut in the descriptor") << Bytes(good.begin(), good.begin() + long(header.size()) + 5) << 0 << QStringList()
                                           << "Premature end of data";
    // Terminator read, but the codes stop before the last pixel.
    QTest::newRow("codes run out") << header + image(4, 2, 2, gifsynth::subBlocks(gifsynth::packCodes(codes({4, 1, 2}, 3)), 255)) + Bytes{';'}
                                   << 1 << QStringList{"Decoder bit buffer under-run"} << QString();
}

void TestGifReader::load()
{
    QFETCH(Bytes, bytes);
    QFETCH(int, frames);
    QFETCH(QStringList, warnings);
    QFETCH(QString, error);
    const Loaded r = ::load(bytes);
    QCOMPARE(r.error, error);
    QCOMPARE(r.warnings, warnings);
    QCOMPARE(r.picture->Count(), frames);
    if (!error.isEmpty())
        QCOMPARE(r.endPosition, int64_t(0));
}

void TestGifReader::framesAndExtensions()
{
    // A comment after the only image is a frame of its own, empty.
    gifsynth::File f = smallFile();
    f.trailingComments = {"after"};
    Loaded r = ::load(gifsynth::build(f));
    QCOMPARE(r.picture->Count(), 2);
    QVERIFY(!r.picture->Frame(0).Empty());
    TGIFSubImage& last = r.picture->Frame(1);
    QVERIFY(last.Empty());
    QCOMPARE(last.Extensions().size(), size_t(1));
    QCOMPARE(dynamic_cast<TGIFCommentExtension&>(*last.Extensions()[0]).Lines(), std::vector<std::string>{"after"});
    QCOMPARE(r.picture->Frame(0).Pixels(), Bytes({0, 1, 2, 3, 3, 2, 1, 0}));

    // Application blocks: identifier size 10 is kept as an unknown one, with its data.
    const Bytes app = Bytes{'!', 0xFF, 10, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 2, 7, 8, 0};
    r = ::load(smallHeader() + app + smallImage() + Bytes{';'});
    QCOMPARE(r.error, QString());
    auto* unknown = dynamic_cast<TGIFUnknownAppExtension*>(r.picture->Frame(0).Extensions().at(0).get());
    QVERIFY(unknown);
    QCOMPARE(unknown->Blocks().size(), size_t(1));
    QCOMPARE(unknown->Blocks()[0].data, Bytes({7, 8}));

    // An identifier no class is registered for.
    const Bytes other = Bytes{'!', 0xFF, 11, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 'M', 'P', 1, 9, 0};
    r = ::load(smallHeader() + other + smallImage() + Bytes{';'});
    QVERIFY(dynamic_cast<TGIFUnknownAppExtension*>(r.picture->Frame(0).Extensions().at(0).get()));

    // The control extension makes the frame transparent with its index.
    r = ::load(smallHeader() + graphicControl(true, 2) + smallImage() + Bytes{';'});
    TGIFSubImage& frame = r.picture->Frame(0);
    QVERIFY(frame.Transparent());
    QVERIFY(frame.GraphicControlExtension());
    QCOMPARE(frame.TransparentIndex(), 2);
    QCOMPARE(frame.RequiredVersion(), TGIFVersion::gv89a);
    // Freeing the control extension takes the transparency with it.
    frame.RemoveExtension(frame.GraphicControlExtension());
    QVERIFY(!frame.Transparent());
    QVERIFY(!frame.GraphicControlExtension());
}

void TestGifReader::comments()
{
    Bytes sub255(255, 'a');
    const Bytes block = Bytes{'!', 0xFE, 255} + sub255 + Bytes{5, 'a', 'b', 0, 'c', 'd', 0};
    const Loaded r = ::load(smallHeader() + block + smallImage() + Bytes{';'});
    const auto& lines = dynamic_cast<TGIFCommentExtension&>(*r.picture->Frame(0).Extensions().at(0)).Lines();
    QCOMPARE(lines.size(), size_t(2));
    QCOMPARE(lines[0].size(), size_t(255));
    QCOMPARE(lines[1], std::string("ab"));
}

void TestGifReader::loopExtension()
{
    const Bytes id = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    const Bytes loop = Bytes{'!', 0xFF, 11} + id + Bytes{3, 1, 5, 0, 3, 1, 7, 0, 5, 2, 0, 1, 0, 0, 0};
    const Loaded r = ::load(smallHeader() + loop + smallImage() + Bytes{';'});
    auto* ns = dynamic_cast<TGIFAppExtNSLoop*>(r.picture->Frame(0).Extensions().at(0).get());
    QVERIFY(ns);
    QCOMPARE(int(ns->Loops()), 7);
    QCOMPARE(ns->BufferSize(), 256u);
}

// Data that ends before the last pixel: the rest keeps the fill value, 0 or the
// transparent index (3).
void TestGifReader::fillValue_data()
{
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<int>("width");
    QTest::addColumn<Bytes>("data");
    QTest::addColumn<Bytes>("decoded");
    const Bytes twoPixels = gifsynth::subBlocks(gifsynth::packCodes(codes({4, 1, 2, 5}, 3)), 255);
    // Code 6 ("1 2") is copied from earlier output right before the end code.
    const Bytes copyAtEnd = gifsynth::subBlocks(gifsynth::packCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {6, 4}, {5, 4}}), 255);
    for (bool transparent : {false, true}) {
        const char* kind = transparent ? "transparent" : "opaque";
        QTest::newRow(qPrintable(QString("%1, two pixels").arg(kind))) << transparent << 4 << twoPixels << Bytes{1, 2};
        QTest::newRow(qPrintable(QString("%1, string copied before the end").arg(kind)))
            << transparent << 16 << copyAtEnd << Bytes{1, 2, 3, 1, 2};
    }
}

void TestGifReader::fillValue()
{
    QFETCH(bool, transparent);
    QFETCH(int, width);
    QFETCH(Bytes, data);
    QFETCH(Bytes, decoded);
    const int height = 8 / std::min(width, 8);
    const Loaded r = ::load(smallHeader() + graphicControl(transparent, 3) + image(width, height, 2, data) + Bytes{';'});
    QCOMPARE(r.warnings, QStringList());
    Bytes expected = decoded;
    expected.resize(size_t(width * height), transparent ? 3 : 0);
    QCOMPARE(r.picture->Frame(0).Pixels(), expected);
}

void TestGifReader::interlacedRows_data()
{
    QTest::addColumn<int>("height");
    for (int h : {1, 2, 3, 5, 9})
        QTest::newRow(qPrintable(QString("height %1").arg(h))) << h;
}

void TestGifReader::interlacedRows()
{
    QFETCH(int, height);
    gifsynth::File f;
    f.width = 3;
    f.height = height;
    f.globalTable = gifsynth::greyPalette(16);
    gifsynth::Frame frame;
    frame.width = 3;
    frame.height = height;
    frame.interlaced = true;
    for (int y = 0; y < height; ++y)
        frame.pixels.insert(frame.pixels.end(), {uint8_t(y), uint8_t(y), uint8_t(15 - y)});
    f.frames.push_back(frame);
    const Loaded r = ::load(gifsynth::build(f));
    QCOMPARE(r.warnings, QStringList());
    QVERIFY(r.picture->Frame(0).Interlaced());
    QCOMPARE(r.picture->Frame(0).Pixels(), frame.pixels);
}

void TestGifReader::minimumCodeSizeOne()
{
    // Clear code 2, end code 3, codes of 2 bits and growing.
    const Bytes pixels = {0, 1, 1, 0, 1, 1, 1, 0};
    const Bytes data = gifsynth::subBlocks(gifsynth::lzwCodes(pixels, 1), 255);
    const Loaded r = ::load(smallHeader() + image(4, 2, 1, data) + Bytes{';'});
    QCOMPARE(r.warnings, QStringList());
    QCOMPARE(r.picture->Frame(0).Pixels(), pixels);
}

void TestGifReader::fullTableWithoutClear()
{
    gifsynth::File f;
    f.width = f.height = 200;
    f.globalTable = gifsynth::palette(256, 3);
    gifsynth::Frame frame;
    frame.width = frame.height = 200;
    frame.pixels = gifsynth::noise(200, 200, 256, 11);
    frame.clearWhenFull = false;
    f.frames.push_back(frame);
    const Loaded r = ::load(gifsynth::build(f));
    QCOMPARE(r.warnings, QStringList());
    QVERIFY(r.picture->Frame(0).Pixels() == frame.pixels);
}

void TestGifReader::codeAfterClearBeyondTable()
{
    // The first code after a clear is a pixel as it stands, even the end code
    // (5) or a code beyond the table (7); later strings built on them read the
    // table's empty entries (0).
    const Bytes data = gifsynth::subBlocks(gifsynth::packCodes({{4, 3}, {5, 3}, {1, 3}, {6, 3}, {4, 4}, {7, 3}, {6, 3}}), 255);
    const Loaded r = ::load(smallHeader() + image(3, 3, 2, data) + Bytes{';'});
    QCOMPARE(r.error, QString());
    QCOMPARE(r.picture->Frame(0).Pixels(), Bytes({5, 1, 0, 0, 1, 7, 0, 0, 7}));
}

void TestGifReader::circularEntriesGiveUp()
{
    // Entries 6 and 7 end up pointing at each other: clear, 7, 6, 7, 6.
    const Bytes data = gifsynth::subBlocks(gifsynth::packCodes({{4, 3}, {7, 3}, {6, 3}, {7, 3}, {6, 4}}), 255);
    const Loaded r = ::load(smallHeader() + image(100, 100, 2, data) + Bytes{';'});
    QCOMPARE(r.error, QString("Circular decoder table entry"));
    QCOMPARE(r.picture->Count(), 0);
}

void TestGifReader::oneByteSubBlocks()
{
    // 9- to 12-bit codes arrive in sub-blocks of one byte each.
    gifsynth::File f;
    f.width = 120;
    f.height = 90;
    f.globalTable = gifsynth::palette(256, 4);
    gifsynth::Frame frame;
    frame.width = 120;
    frame.height = 90;
    frame.pixels = gifsynth::photoLike(120, 90, 256, 5);
    frame.subBlockSize = 1;
    f.frames.push_back(frame);
    const Loaded r = ::load(gifsynth::build(f));
    QCOMPARE(r.warnings, QStringList());
    QVERIFY(r.picture->Frame(0).Pixels() == frame.pixels);
}

void TestGifReader::codesAfterLastPixelKeepFollowingFrames()
{
    // Two pixels, then codes past the last pixel that spread over more
    // sub-blocks, then the end code; a second frame follows.
    Bytes data = gifsynth::packCodes(codes({4, 1, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3}, 3));
    const Bytes blocks = gifsynth::subBlocks(data, 1);
    const Loaded r = ::load(smallHeader() + image(2, 1, 2, blocks) + smallImage() + Bytes{';'});
    QCOMPARE(r.warnings, QStringList());
    QCOMPARE(r.picture->Count(), 2);
    QCOMPARE(r.picture->Frame(0).Pixels(), Bytes({1, 2}));
    QCOMPARE(r.picture->Frame(1).Pixels(), Bytes({0, 1, 2, 3, 3, 2, 1, 0}));
}

void TestGifReader::minimumCodeSizeTwelve()
{
    // Its clear code would lie beyond the table: the frame keeps its fill value.
    const Bytes data = gifsynth::subBlocks(Bytes(40, 0xAB), 255);
    const Loaded r = ::load(smallHeader() + graphicControl(true, 2) + image(4, 2, 12, data) + smallImage() + Bytes{';'});
    QCOMPARE(r.warnings, QStringList{"Invalid GIF data"});
    QCOMPARE(r.picture->Count(), 2);
    QCOMPARE(r.picture->Frame(0).Pixels(), Bytes(8, 2));
    QCOMPARE(r.picture->Frame(1).Pixels(), Bytes({0, 1, 2, 3, 3, 2, 1, 0}));
}

void TestGifReader::sizeLimits_data()
{
    QTest::addColumn<Bytes>("bytes");
    const Bytes end = gifsynth::subBlocks(gifsynth::packCodes(codes({4, 5}, 3)), 255);
    Bytes hugeScreen = smallHeader();
    hugeScreen[6] = hugeScreen[7] = hugeScreen[8] = hugeScreen[9] = 0xFF;
    QTest::newRow("logical screen above 2^28") << hugeScreen + smallImage();
    QTest::newRow("frame above 2^26") << smallHeader() + image(8192, 8193, 2, end);
    Bytes many = smallHeader();
    for (int i = 0; i < 5; ++i)
        many = many + image(8192, 8192, 2, end);
    QTest::newRow("frames together above 2^28") << many;
}

void TestGifReader::sizeLimits()
{
    QFETCH(Bytes, bytes);
    const Loaded r = ::load(bytes);
    QCOMPARE(r.error, QString("Invalid image dimensions"));
}

void TestGifReader::colorTable()
{
    TGIFColorMap map;
    for (int i = 0; i < 256; ++i)
        QCOMPARE(map.AppendColor(uint32_t(i)), i);
    try {
        map.AppendColor(0x123456);
        QFAIL("a 257th colour was taken");
    } catch (const GIFException& e) {
        QCOMPARE(QString(e.what()), QString("Color table overflow"));
    }
    QCOMPARE(map.Count(), 256);

    TGIFColorMap twice;
    twice.AppendColor(0x0000FF);
    twice.AppendColor(0x00FF00);
    twice.AppendColor(0x0000FF);
    QCOMPARE(twice.FindColor(0x0000FF), 2);
    QCOMPARE(twice.FindColor(0xFFFFFF), -1);
    QCOMPARE(twice.ColorAt(1), 0x00FF00u);
    QCOMPARE(twice.ColorAt(7), 0x0000FFu); // entry 0 after a warning
    QCOMPARE(TGIFColorMap::BitsPerPixelFor(5), 3);
    QCOMPARE(TGIFColorMap::BitsPerPixelFor(1), 1);

    TGIFColorMap empty;
    QVERIFY_THROWS_EXCEPTION(GIFException, empty.ColorAt(0));
}

void TestGifReader::frameBoundsWarnings()
{
    TGIFPicture picture;
    QStringList warnings;
    picture.OnDecodeWarning = [&](const void*, int, const std::string& m) { warnings << QString::fromStdString(m); };
    picture.Header().SetWidth(10);
    picture.Header().SetHeight(10);
    auto frame = std::make_unique<TGIFSubImage>(&picture);
    frame->SetWidth(12);
    QCOMPARE(warnings, (QStringList{"Image width too small for contained frames", "Image exceeds Logical Screen size"}));
    QCOMPARE(picture.Width(), 12);
    QCOMPARE(frame->Pixels().size(), size_t(0)); // height still 0
    frame->SetHeight(3);
    QCOMPARE(frame->Pixels().size(), size_t(36));
    QCOMPARE(frame->Pixel(11, 2), uint8_t(0));
    QVERIFY_THROWS_EXCEPTION(GIFException, frame->Pixel(12, 0));
    QVERIFY_THROWS_EXCEPTION(GIFException, frame->Scanline(3));
    picture.AddFrame(std::move(frame));
    QVERIFY_THROWS_EXCEPTION(GIFException, picture.SetWidth(11));
    QCOMPARE(picture.Width(), 12);
}

void TestGifReader::failedLoadRestoresStream()
{
    // The frames read before the failure stay; the stream goes back to the start.
    const Bytes bytes = Bytes{'x', 'y'} + smallHeader() + smallImage() + Bytes{'!', 0x02, 9};
    MemoryByteStream stream(bytes);
    stream.Seek(2);
    TGIFPicture picture;
    QVERIFY_THROWS_EXCEPTION(GIFException, picture.LoadFromStream(stream));
    QCOMPARE(stream.Position(), int64_t(2));
    QCOMPARE(picture.Count(), 1);
}

QTEST_GUILESS_MAIN(TestGifReader)
#include "test_gif_reader.moc"
