// The animation painter with a clock the test steps: frame delays and their
// units, the animation rate, loop counts, disposal methods, and stopping.
#include "gif/core/gifstream.h"
#include "gif/gifpainter.h"
#include "gif/gifsynth.h"
#include "gif/tgifimage.h"

#include <QPainter>
#include <QtTest>

#include <algorithm>

using namespace bw;
using gifsynth::Bytes;

namespace {

class FakeClock : public TGIFAnimationClock {
public:
    struct Timer : TGIFTimer {
        explicit Timer(FakeClock* c) : clock(c) { clock->timers.push_back(this); }
        ~Timer() override
        {
            if (clock)
                clock->timers.erase(std::find(clock->timers.begin(), clock->timers.end(), this));
        }
        void Start(int ms, std::function<void()> f) override
        {
            active = true;
            due = clock->now + ms;
            fn = std::move(f);
        }
        void Stop() override { active = false; }
        FakeClock* clock;
        bool active = false;
        int64_t due = 0;
        std::function<void()> fn;
    };

    ~FakeClock() override
    {
        for (Timer* t : timers)
            t->clock = nullptr;
    }
    int64_t Now() override { return now; }
    std::unique_ptr<TGIFTimer> CreateTimer() override { return std::make_unique<Timer>(this); }
    void Sleep(int ms) override { now += ms; }

    // Milliseconds until the next timer fires, -1 when none waits.
    int64_t NextDue() const
    {
        int64_t best = -1;
        for (const Timer* t : timers)
            if (t->active && (best < 0 || t->due - now < best))
                best = t->due - now;
        return best;
    }
    void Advance(int64_t ms)
    {
        const int64_t target = now + ms;
        for (;;) {
            Timer* next = nullptr;
            for (Timer* t : timers)
                if (t->active && t->due <= target && (!next || t->due < next->due))
                    next = t;
            if (!next)
                break;
            now = std::max(now, next->due); // a timer already overdue fires late
            next->active = false;
            auto fn = next->fn;
            fn();
        }
        now = target;
    }

    int64_t now = 1000;
    std::vector<Timer*> timers;
};

// A frame of a 4 x 1 screen: a strip of one colour (0 red, 1 green, 2 blue,
// 3 white).
struct Strip {
    int left;
    int width;
    uint8_t color;
    int delay;
    int disposal;
};

Bytes animation(const std::vector<Strip>& strips, int loops)
{
    gifsynth::File f;
    f.width = 4;
    f.height = 1;
    f.globalTable = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    f.loops = loops;
    for (const Strip& strip : strips) {
        gifsynth::Frame frame;
        frame.left = strip.left;
        frame.width = strip.width;
        frame.height = 1;
        frame.pixels.assign(size_t(strip.width), strip.color);
        frame.delay = strip.delay;
        frame.disposal = strip.disposal;
        f.frames.push_back(frame);
    }
    return gifsynth::build(f);
}

struct Fixture {
    FakeClock clock;
    TGIFImage picture;
    QImage canvas{4, 1, QImage::Format_RGB32};
    QList<int> painted;
    int changes = 0;

    explicit Fixture(const Bytes& bytes)
    {
        MemoryByteStream stream(bytes);
        picture.LoadFromStream(stream);
        picture.Clock = &clock;
        picture.OnFramePainted = [this](TGIFPainter& p) { painted << p.ActiveImage; };
        picture.OnChanged = [this] { ++changes; };
        canvas.fill(qRgb(9, 9, 9));
    }
    ~Fixture()
    {
        picture.StopAllPainters();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void draw(const QRect& r = QRect(0, 0, 4, 1))
    {
        QPainter painter(&canvas);
        picture.Draw(painter, r);
    }
    QRgb shown(int x) const { return picture.BackBuffer()->pixel(x, 0); }
};

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlue = qRgb(0, 0, 255);

} // namespace

class TestGifPainter : public QObject {
    Q_OBJECT
private slots:
    void delaysInTwelveMillisecondUnits();
    void shortestAndDefaultDelay_data();
    void shortestAndDefaultDelay();
    void rate();
    void loopCounts_data();
    void loopCounts();
    void disposalRestoresBackground();
    void disposalRestoresPrevious();
    void backgroundWithoutGlobalColours();
    void freeingThePictureStopsIt();
    void drawAgain();
    void insideDrawWithoutThread();
};

void TestGifPainter::delaysInTwelveMillisecondUnits()
{
    Fixture f(animation({{0, 4, 0, 50, 1}, {0, 4, 1, 100, 1}}, 0));
    f.draw();
    QCOMPARE(f.canvas.pixel(0, 0), kRed);
    QCOMPARE(f.painted, QList<int>{0});
    QCOMPARE(f.clock.NextDue(), 600);
    f.clock.Advance(599);
    QCOMPARE(f.painted, QList<int>{0});
    f.clock.Advance(1);
    QCOMPARE(f.painted, (QList<int>{0, 1}));
    QCOMPARE(f.shown(0), kGreen);
    QVERIFY(f.changes >= 1);
    QCOMPARE(f.clock.NextDue(), 1200);
    // A wait that ran 100 ms late: half of it comes off the next one.
    f.clock.now += 1300;
    f.clock.Advance(0);
    QCOMPARE(f.painted, (QList<int>{0, 1, 0}));
    QCOMPARE(f.shown(0), kRed);
    QCOMPARE(f.clock.NextDue(), 550);
    // The canvas shows the back buffer when drawn again.
    f.draw();
    QCOMPARE(f.canvas.pixel(0, 0), kRed);
}

void TestGifPainter::shortestAndDefaultDelay_data()
{
    QTest::addColumn<int>("delay");
    QTest::addColumn<int>("wait");
    QTest::newRow("delay 1 counts as 3") << 1 << 36;
    QTest::newRow("delay 0 counts as 10") << 0 << 120;
    QTest::newRow("delay 3") << 3 << 36;
}

void TestGifPainter::shortestAndDefaultDelay()
{
    QFETCH(int, delay);
    QFETCH(int, wait);
    Fixture f(animation({{0, 4, 0, delay, 1}, {0, 4, 1, delay, 1}}, 0));
    f.draw();
    QCOMPARE(f.clock.NextDue(), wait);
}

void TestGifPainter::rate()
{
    Fixture twice(animation({{0, 4, 0, 50, 1}, {0, 4, 1, 100, 1}}, 0));
    twice.picture.AnimationRate = 200;
    twice.draw();
    QCOMPARE(twice.clock.NextDue(), 300);

    // Rate 0: the first frame, then nothing until the painter is stopped.
    Fixture still(animation({{0, 4, 0, 50, 1}, {0, 4, 1, 100, 1}}, 0));
    still.picture.AnimationRate = 0;
    still.draw();
    QCOMPARE(still.painted, QList<int>{0});
    QCOMPARE(still.clock.NextDue(), -1);
    QVERIFY(still.picture.DrawPainter());
    still.picture.StopDrawPainter();
    QVERIFY(!still.picture.DrawPainter());
    QVERIFY(still.picture.Painters().empty());
}

void TestGifPainter::loopCounts_data()
{
    QTest::addColumn<int>("loops");
    QTest::addColumn<QList<int>>("frames");
    QTest::newRow("no loop extension: once") << -1 << QList<int>{0, 1};
    QTest::newRow("loop count 2: twice") << 2 << QList<int>{0, 1, 0, 1};
    QTest::newRow("loop count 0: without end") << 0 << QList<int>{0, 1, 0, 1, 0, 1, 0, 1, 0, 1};
}

void TestGifPainter::loopCounts()
{
    QFETCH(int, loops);
    QFETCH(QList<int>, frames);
    Fixture f(animation({{0, 4, 0, 10, 1}, {0, 4, 1, 10, 1}}, loops));
    int ended = 0;
    f.picture.OnPaintEnd = [&](TGIFPainter&) { ++ended; };
    f.draw();
    f.clock.Advance(120 * 9);
    QCOMPARE(f.painted, frames);
    if (loops != 0) {
        QCOMPARE(ended, 1);
        QVERIFY(!f.picture.DrawPainter());
        QCOMPARE(f.shown(0), kGreen); // the last frame stays
    } else {
        QCOMPARE(ended, 0);
        QVERIFY(f.picture.DrawPainter());
    }
}

void TestGifPainter::disposalRestoresBackground()
{
    // Frame 0 (disposal 2) covers the left half; frame 1 the right half. When
    // frame 1 shows, the left half is the background again.
    Fixture f(animation({{0, 2, 0, 10, 2}, {2, 2, 2, 10, 1}}, -1));
    f.draw();
    QCOMPARE(f.shown(0), kRed);
    f.clock.Advance(120);
    QCOMPARE(f.shown(2), kBlue);
    QCOMPARE(f.shown(0), qRgb(9, 9, 9));
}

void TestGifPainter::disposalRestoresPrevious()
{
    // Frame 1 (disposal 3) is shown, but frame 2 is composed on the state before it.
    Fixture f(animation({{0, 4, 0, 10, 1}, {0, 2, 1, 10, 3}, {2, 2, 2, 10, 1}}, -1));
    f.draw();
    f.clock.Advance(120);
    QCOMPARE(f.canvas.pixel(0, 0), kRed); // the canvas itself was not drawn again
    QCOMPARE(f.shown(0), kGreen);
    f.clock.Advance(120);
    QCOMPARE(f.shown(0), kRed);
    QCOMPARE(f.shown(2), kBlue);
}

void TestGifPainter::backgroundWithoutGlobalColours()
{
    // No fill colour and no global colour table: the background is the
    // window colour of the desktop's palette.
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Window, QColor(12, 34, 56));
    QGuiApplication::setPalette(palette);
    gifsynth::File file;
    file.width = 4;
    file.height = 1;
    for (int i = 0; i < 2; ++i) {
        gifsynth::Frame frame;
        frame.width = 2;
        frame.height = 1;
        frame.left = 2 * i;
        frame.localTable = {255, 0, 0, 0, 255, 0};
        frame.pixels.assign(2, uint8_t(i));
        frame.delay = 10;
        frame.disposal = 2;
        file.frames.push_back(frame);
    }
    Fixture f(gifsynth::build(file));
    f.draw();
    QVERIFY(f.picture.DrawPainter());
    QCOMPARE(f.picture.DrawPainter()->BackgroundColor(), QColor(12, 34, 56));
    f.picture.FillColor = QColor(Qt::yellow);
    QCOMPARE(f.picture.DrawPainter()->BackgroundColor(), QColor(Qt::yellow));
}

void TestGifPainter::freeingThePictureStopsIt()
{
    FakeClock clock;
    QList<int> painted;
    {
        TGIFImage picture;
        const Bytes bytes = animation({{0, 4, 0, 1000, 1}, {0, 4, 1, 1000, 1}}, 0);
        MemoryByteStream stream(bytes);
        picture.LoadFromStream(stream);
        picture.Clock = &clock;
        picture.OnFramePainted = [&](TGIFPainter& p) { painted << p.ActiveImage; };
        QImage canvas(4, 1, QImage::Format_RGB32);
        QPainter painter(&canvas);
        picture.Draw(painter, canvas.rect());
        QCOMPARE(clock.NextDue(), 12000);
        clock.Advance(500);
    }
    QCOMPARE(clock.NextDue(), -1);
    clock.Advance(20000);
    QCOMPARE(painted, QList<int>{0});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(clock.timers.empty());
}

void TestGifPainter::drawAgain()
{
    // Painting straight onto an image: the same rectangle keeps the painter,
    // another one replaces it.
    Fixture f(animation({{0, 4, 0, 10, 1}, {0, 4, 1, 10, 1}}, 0));
    f.picture.PaintOptions |= pfDirect;
    f.draw();
    TGIFPainter* first = f.picture.DrawPainter();
    QVERIFY(first);
    f.draw();
    QCOMPARE(f.picture.DrawPainter(), first);
    f.clock.Advance(120);
    QCOMPARE(f.canvas.pixel(0, 0), kGreen);
    f.draw(QRect(0, 0, 2, 1));
    QVERIFY(f.picture.DrawPainter() != first);
    QCOMPARE(f.picture.Painters().size(), size_t(1));
}

void TestGifPainter::insideDrawWithoutThread()
{
    // Without pfThreaded the animation plays once inside Draw (after one unit
    // before the first frame).
    Fixture f(animation({{0, 4, 0, 10, 1}, {0, 4, 1, 10, 1}}, 0));
    f.picture.PaintOptions &= uint16_t(~pfThreaded);
    f.draw();
    QCOMPARE(f.painted, (QList<int>{0, 1}));
    QCOMPARE(f.clock.now, 1000 + 12 + 120);
    QVERIFY(!f.picture.DrawPainter());
    QCOMPARE(f.canvas.pixel(0, 0), kGreen);
}

QTEST_MAIN(TestGifPainter)
#include "test_gif_painter.moc"
