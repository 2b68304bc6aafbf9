// Writing GIF streams: version rule, tables, extensions written back as read,
// both encoders, and round trips of the decoder's corpus checked by our reader
// and by giflib.
#include "gif/core/gifencoder.h"
#include "gif/core/gifexception.h"
#include "gif/core/gifextensions.h"
#include "gif/core/gifpicture.h"
#include "gif/core/gifstream.h"
#include "gif/gifsynth.h"
#include "gif/giflibref.h"

#include <QtTest>

using namespace bw;
using gifsynth::Bytes;

Q_DECLARE_METATYPE(Bytes)

namespace {

std::unique_ptr<TGIFPicture> load(const Bytes& bytes)
{
    auto picture = std::make_unique<TGIFPicture>();
    MemoryByteStream stream(bytes);
    picture->LoadFromStream(stream);
    return picture;
}

Bytes save(TGIFPicture& picture)
{
    MemoryByteStream stream;
    picture.SaveToStream(stream);
    return stream.Bytes();
}

// A picture of one frame w x h with a global table of the given size.
std::unique_ptr<TGIFPicture> made(int w, int h, int colors, const Bytes& pixels)
{
    auto picture = std::make_unique<TGIFPicture>();
    for (int i = 0; i < colors; ++i)
        picture->Header().ColorMap().AppendColor(uint32_t(i * 0x010101));
    auto frame = std::make_unique<TGIFSubImage>(picture.get());
    frame->SetWidth(uint16_t(w));
    frame->SetHeight(uint16_t(h));
    frame->Pixels() = pixels;
    picture->AddFrame(std::move(frame));
    return picture;
}

bool contains(const Bytes& haystack, const Bytes& needle)
{
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

} // namespace

class TestGifWriter : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void sameImageDataAsGiflib_data();
    void sameImageDataAsGiflib();
    void version();
    void tablePaddedToPowerOfTwo();
    void minimumCodeSize();
    void interlacedLocalTableFrame();
    void extensionsWrittenAsRead();
    void oddFixedBlocksWrittenInFormat();
    void commentLines();
    void loopExtension();
    void failures();
};

void TestGifWriter::roundTrip_data()
{
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<int>("compression");
    for (const auto& [name, bytes] : gifsynth::corpus()) {
        QTest::newRow(("lzw " + name).c_str()) << bytes << 0;
        QTest::newRow(("rle " + name).c_str()) << bytes << 1;
    }
    const Bytes flat(4000 * 500, 7);
    Bytes stripes;
    for (int i = 0; i < 300 * 300; ++i)
        stripes.push_back(uint8_t((i / 37) % 3));
    for (int kind : {0, 1}) {
        const QString k = kind ? "rle " : "lzw ";
        MemoryByteStream s;
        made(4000, 500, 16, flat)->SaveToStream(s);
        QTest::newRow(qPrintable(k + "one colour")) << s.Bytes() << kind;
        MemoryByteStream t;
        made(300, 300, 4, stripes)->SaveToStream(t);
        QTest::newRow(qPrintable(k + "runs")) << t.Bytes() << kind;
    }
}

void TestGifWriter::roundTrip()
{
    QFETCH(Bytes, bytes);
    QFETCH(int, compression);
    auto original = load(bytes);
    original->CompressionKind = compression;
    const Bytes written = save(*original);
    auto back = load(written);
    std::vector<gifsynth::RefFrame> ref;
    std::string error;
    QVERIFY2(gifsynth::giflibDecode(written.data(), written.size(), ref, error), error.c_str());
    const auto reference = load(bytes);
    QCOMPARE(back->Count(), reference->Count());
    QCOMPARE(int(ref.size()), reference->Count());
    for (int i = 0; i < back->Count(); ++i) {
        QVERIFY2(back->Frame(i).Pixels() == reference->Frame(i).Pixels(), qPrintable(QString("frame %1").arg(i)));
        QVERIFY2(ref[size_t(i)].pixels == reference->Frame(i).Pixels(), qPrintable(QString("giflib frame %1").arg(i)));
    }
}

// The LZW encoder writes what giflib's encoder writes, byte for byte: pictures of
// every kind and code size, runs across row ends and tables that fill up.
void TestGifWriter::sameImageDataAsGiflib_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bits");
    QTest::addColumn<Bytes>("pixels");
    QTest::newRow("noise, 8 bits, table full many times") << 300 << 300 << 8 << gifsynth::noise(300, 300, 256, 1);
    QTest::newRow("photo, 8 bits") << 320 << 240 << 8 << gifsynth::photoLike(320, 240, 256, 2);
    QTest::newRow("one colour, 8 bits") << 2000 << 1000 << 8 << Bytes(2000 * 1000, 200);
    QTest::newRow("flat areas, 2 bits") << 640 << 480 << 2 << gifsynth::flatAreas(640, 480, 4, 3);
    QTest::newRow("screen, 4 bits") << 640 << 480 << 4 << gifsynth::screenLike(640, 480, 16, 4);
    QTest::newRow("one column: runs across rows") << 1 << 5000 << 3 << gifsynth::flatAreas(1, 5000, 8, 5);
    QTest::newRow("two colours of one bit") << 97 << 61 << 1 << gifsynth::photoLike(97, 61, 2, 6);
    for (int bits = 5; bits <= 7; ++bits)
        QTest::newRow(qPrintable(QString("photo, %1 bits").arg(bits)))
            << 97 << 61 << bits << gifsynth::photoLike(97, 61, 1 << bits, uint32_t(bits));
}

void TestGifWriter::sameImageDataAsGiflib()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bits);
    QFETCH(Bytes, pixels);
    MemoryByteStream ours;
    CompressPixels(ours, TGIFCompression::LZW, bits, 1 << bits, pixels.data(), false, height, width);
    QVERIFY(ours.Bytes() == gifsynth::giflibEncode(pixels.data(), width, height, bits));
}

void TestGifWriter::version()
{
    auto picture = made(2, 2, 4, {0, 1, 2, 3});
    const Bytes plain = save(*picture);
    QCOMPARE(Bytes(plain.begin(), plain.begin() + 6), Bytes({'G', 'I', 'F', '8', '7', 'a'}));
    auto comment = std::make_unique<TGIFCommentExtension>(&picture->Frame(0));
    comment->Lines() = {"hi"};
    picture->Frame(0).AddExtension(std::move(comment));
    QCOMPARE(save(*picture)[4], uint8_t('9'));

    auto sorted = made(2, 2, 4, {0, 1, 2, 3});
    sorted->Header().ColorMap().SetSorted(true);
    const Bytes b = save(*sorted);
    QCOMPARE(b[4], uint8_t('9'));
    QCOMPARE(b[10] & 0x08, 0x08);
}

void TestGifWriter::tablePaddedToPowerOfTwo()
{
    auto picture = made(1, 1, 5, {4});
    const Bytes b = save(*picture);
    QCOMPARE(b[10] & 0x87, 0x82); // table present, size field 2 (8 entries)
    QCOMPARE(Bytes(b.begin() + 13 + 15, b.begin() + 13 + 24), Bytes(9, 0));
    QCOMPARE(b[13 + 24], uint8_t(','));
    QCOMPARE(load(b)->Header().ColorMap().Count(), 8);
}

void TestGifWriter::minimumCodeSize()
{
    auto picture = made(3, 1, 2, {0, 1, 0});
    const Bytes b = save(*picture);
    const size_t descriptor = 13 + 6;
    QCOMPARE(b[descriptor], uint8_t(','));
    QCOMPARE(b[descriptor + 10], uint8_t(2));
}

void TestGifWriter::interlacedLocalTableFrame()
{
    // An interlaced frame with its own table is written without interlace; its
    // rows must be sent in plain order then, not scrambled.
    gifsynth::File f;
    f.width = 4;
    f.height = 3;
    gifsynth::Frame frame;
    frame.width = 4;
    frame.height = 3;
    frame.interlaced = true;
    frame.localTable = gifsynth::palette(4, 3);
    frame.pixels = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2};
    f.frames.push_back(frame);
    auto picture = load(gifsynth::build(f));
    QVERIFY(picture->Frame(0).Interlaced());
    auto back = load(save(*picture));
    QVERIFY(!picture->Frame(0).Interlaced());
    QVERIFY(!back->Frame(0).Interlaced());
    QCOMPARE(back->Frame(0).Pixels(), frame.pixels);

    // Without a local table the flag stays and all three rows come back.
    f.globalTable = frame.localTable;
    f.frames[0].localTable.clear();
    picture = load(gifsynth::build(f));
    back = load(save(*picture));
    QVERIFY(back->Frame(0).Interlaced());
    QCOMPARE(back->Frame(0).Pixels(), frame.pixels);
}

void TestGifWriter::extensionsWrittenAsRead()
{
    const Bytes header = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
    const Bytes gce = {'!', 0xF9, 4, 0x0D, 0x34, 0x12, 1, 0};
    const Bytes text = {'!', 0x01, 12, 1, 0, 2, 0, 3, 0, 4, 0, 5, 6, 7, 8, 3, 'a', 'b', 'c', 0};
    const Bytes app = {'!', 0xFF, 11, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 'M', 'P', 2, 9, 8, 1, 7, 0};
    const Bytes image = {',', 0, 0, 0, 0, 2, 0, 1, 0, 0, 2, 2, 0x4C, 0x01, 0};
    Bytes file = header;
    for (const Bytes* block : {&gce, &text, &app, &image})
        file.insert(file.end(), block->begin(), block->end());
    file.push_back(';');
    auto picture = load(file);
    const Bytes out = save(*picture);
    QVERIFY(contains(out, gce));
    QVERIFY(contains(out, text));
    QVERIFY(contains(out, app));
    // Writing again what was written gives the same bytes.
    QCOMPARE(save(*load(out)), out);

    // An identification block of 12 bytes starting with a registered name stays
    // 12 bytes long: written as 11 it would be read as a loop extension.
    const Bytes odd = {'!', 0xFF, 12, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 2, 0};
    Bytes withOdd = header;
    withOdd.insert(withOdd.end(), odd.begin(), odd.end());
    withOdd.insert(withOdd.end(), image.begin(), image.end());
    withOdd.push_back(';');
    const Bytes oddOut = save(*load(withOdd));
    QVERIFY(contains(oddOut, odd));
    auto again = load(oddOut);
    QVERIFY(dynamic_cast<TGIFUnknownAppExtension*>(again->Frame(0).Extensions().at(0).get()));
}

// Control and text blocks of another size than the format's are read by their
// size byte and written back with the format's sizes and terminators.
void TestGifWriter::oddFixedBlocksWrittenInFormat()
{
    const Bytes header = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
    const Bytes gce = {'!', 0xF9, 6, 0x0D, 0x34, 0x12, 1, 0xAA, 0xBB, 2, 9, 9, 0};
    const Bytes text = {'!', 0x01, 14, 1, 0, 2, 0, 3, 0, 4, 0, 5, 6, 7, 8, 0xCC, 0xDD, 3, 'a', 'b', 'c', 0};
    const Bytes image = {',', 0, 0, 0, 0, 2, 0, 1, 0, 0, 2, 2, 0x4C, 0x01, 0};
    Bytes file = header;
    for (const Bytes* block : {&gce, &text, &image})
        file.insert(file.end(), block->begin(), block->end());
    file.push_back(';');
    auto picture = load(file);
    QCOMPARE(picture->Count(), 1);
    TGIFGraphicControlExtension* control = picture->Frame(0).GraphicControlExtension();
    QVERIFY(control);
    QCOMPARE(int(control->Delay()), 0x1234);
    QCOMPARE(int(control->TransparentColorIndex()), 1);
    QCOMPARE(control->Disposal(), 3);

    const Bytes out = save(*picture);
    QVERIFY(contains(out, {'!', 0xF9, 4, 0x0D, 0x34, 0x12, 1, 0, '!', 0x01, 12, 1, 0, 2, 0, 3, 0, 4, 0, 5, 6, 7, 8, 3, 'a', 'b', 'c', 0, ','}));
    std::vector<gifsynth::RefFrame> ref;
    std::string error;
    QVERIFY2(gifsynth::giflibDecode(out.data(), out.size(), ref, error), error.c_str());
    QCOMPARE(ref.size(), size_t(1));
    QCOMPARE(ref[0].delay, 0x1234);
    QCOMPARE(ref[0].transparent, 1);
    QCOMPARE(ref[0].pixels, picture->Frame(0).Pixels());
}

void TestGifWriter::commentLines()
{
    auto picture = made(1, 1, 2, {0});
    auto comment = std::make_unique<TGIFCommentExtension>(&picture->Frame(0));
    comment->Lines() = {std::string(300, 'x'), ""};
    picture->Frame(0).AddExtension(std::move(comment));
    const Bytes b = save(*picture);
    Bytes expected = {'!', 0xFE, 255};
    expected.insert(expected.end(), 255, 'x');
    expected.push_back(45);
    expected.insert(expected.end(), 45, 'x');
    expected.push_back(0);
    expected.push_back(',');
    QVERIFY(contains(b, expected));
}

void TestGifWriter::loopExtension()
{
    auto picture = made(1, 1, 2, {0});
    auto loop = std::make_unique<TGIFAppExtNSLoop>(&picture->Frame(0));
    loop->SetLoops(3);
    TGIFAppExtNSLoop* raw = loop.get();
    picture->Frame(0).AddExtension(std::move(loop));
    const Bytes id = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    Bytes expected = Bytes{'!', 0xFF, 11};
    expected.insert(expected.end(), id.begin(), id.end());
    Bytes onlyLoop = expected;
    onlyLoop.insert(onlyLoop.end(), {3, 1, 3, 0, 0, ','});
    QVERIFY(contains(save(*picture), onlyLoop));
    raw->SetBufferSize(0x01020304);
    expected.insert(expected.end(), {3, 1, 3, 0, 5, 2, 4, 3, 2, 1, 0});
    QVERIFY(contains(save(*picture), expected));
}

void TestGifWriter::failures()
{
    TGIFPicture empty;
    MemoryByteStream s;
    try {
        empty.SaveToStream(s);
        QFAIL("an empty picture was written");
    } catch (const GIFException& e) {
        QCOMPARE(QString(e.what()), QString("Unsupported GIF version"));
    }
    // A frame with its own table of 3 colours: 3 is not a colour of it.
    auto picture = made(2, 1, 4, {0, 3});
    for (int i = 0; i < 3; ++i)
        picture->Frame(0).ColorMap().AppendColor(0);
    try {
        save(*picture);
        QFAIL("a pixel beyond the table was written");
    } catch (const GIFException& e) {
        QCOMPARE(QString(e.what()), QString("Color not in color table"));
    }
}

QTEST_GUILESS_MAIN(TestGifWriter)
#include "test_gif_writer.moc"
