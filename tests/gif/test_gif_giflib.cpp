// Every file of the generated corpus, and the program's status icons, decode to
// exactly the indices giflib produces.
#include "gif/core/gifpicture.h"
#include "gif/core/gifstream.h"
#include "gif/gifsynth.h"
#include "gif/giflibref.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace bw;

class TestGifGiflib : public QObject {
    Q_OBJECT
private slots:
    void sameIndicesAsGiflib_data();
    void sameIndicesAsGiflib();
};

void TestGifGiflib::sameIndicesAsGiflib_data()
{
    QTest::addColumn<QByteArray>("bytes");
    for (const auto& [name, bytes] : gifsynth::corpus())
        QTest::newRow(name.c_str()) << QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    const QDir images(qEnvironmentVariable("BRACKWELL_SOURCE_DIR") + "/resources/Images");
    for (const char* icon : {"GreyDot.gif", "warning.gif", "test3.gif", "test4.gif"}) {
        QFile file(images.filePath(icon));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QTest::newRow(icon) << file.readAll();
    }
}

void TestGifGiflib::sameIndicesAsGiflib()
{
    QFETCH(QByteArray, bytes);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    std::vector<gifsynth::RefFrame> expected;
    std::string error;
    QVERIFY2(gifsynth::giflibDecode(data, size_t(bytes.size()), expected, error), error.c_str());

    TGIFPicture picture;
    std::vector<std::string> warnings;
    picture.OnDecodeWarning = [&](const void*, int, const std::string& m) { warnings.push_back(m); };
    MemoryByteStream stream(data, size_t(bytes.size()));
    picture.LoadFromStream(stream);
    QVERIFY(warnings.empty());
    QCOMPARE(stream.Position(), int64_t(bytes.size()));

    QCOMPARE(picture.Count(), int(expected.size()));
    for (int i = 0; i < picture.Count(); ++i) {
        const TGIFSubImage& frame = picture.Frame(i);
        const gifsynth::RefFrame& ref = expected[size_t(i)];
        QCOMPARE(int(frame.Left()), ref.left);
        QCOMPARE(int(frame.Top()), ref.top);
        QCOMPARE(int(frame.Width()), ref.width);
        QCOMPARE(int(frame.Height()), ref.height);
        QVERIFY2(frame.Pixels() == ref.pixels, qPrintable(QString("frame %1").arg(i)));
    }
}

QTEST_GUILESS_MAIN(TestGifGiflib)
#include "test_gif_giflib.moc"
