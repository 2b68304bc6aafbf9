#include "gif/gifpainter.h"

#include "gif/core/gifextensions.h"
#include "gif/tgifimage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPalette>
#include <QPainter>
#include <QThread>
#include <QTimer>

#include <cmath>
#include <set>

namespace bw {

namespace {
constexpr int kUnitMs = 12;         // one hundredth of a second, as shown
constexpr int kDefaultDelay = 10;   // no control extension, or a delay of 0
constexpr int kMinimumDelay = 3;
constexpr int kMaximumDelayInDraw = 1000;

class SystemTimer : public TGIFTimer {
public:
    SystemTimer()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (m_fn) {
                auto fn = m_fn;
                fn();
            }
        });
    }
    void Start(int ms, std::function<void()> fn) override
    {
        m_fn = std::move(fn);
        m_timer.start(std::max(ms, 0));
    }
    void Stop() override
    {
        m_timer.stop();
        m_fn = nullptr;
    }

private:
    QTimer m_timer;
    std::function<void()> m_fn;
};

class SystemClock : public TGIFAnimationClock {
public:
    SystemClock() { m_elapsed.start(); }
    int64_t Now() override { return m_elapsed.elapsed(); }
    std::unique_ptr<TGIFTimer> CreateTimer() override { return std::make_unique<SystemTimer>(); }
    void Sleep(int ms) override
    {
        QThread::msleep(unsigned(std::max(ms, 0)));
        QCoreApplication::processEvents();
    }

private:
    QElapsedTimer m_elapsed;
};
}

TGIFAnimationClock& TGIFAnimationClock::System()
{
    static SystemClock clock;
    return clock;
}

TGIFPainter::TGIFPainter(TGIFImage* image, QImage* canvas, const QRect& rect, uint16_t options, TGIFPainter** slot)
    : m_image(image), m_canvas(canvas), m_rect(rect), m_options(options), m_rate(image->AnimationRate), m_slot(slot),
      m_clock(*image->Clock), m_timer(m_clock.CreateTimer())
{
    if (m_image->Count() == 1)
        m_options &= uint16_t(~(pfThreaded | pfAnimated));
    if (m_slot)
        *m_slot = this;

    std::set<int> disposals;
    if (m_options & pfClearOnRepeat)
        disposals.insert(2);
    for (int i = 0; i < m_image->Count(); ++i)
        if (const TGIFGraphicControlExtension* gce = m_image->Frame(i).GraphicControlExtension())
            disposals.insert(gce->Disposal());
    const bool restores = disposals.count(2) || disposals.count(3);
    if (disposals.count(2) && (m_options & pfTransparent))
        m_background = m_canvas->copy(m_rect);
    if (restores) {
        m_backup = m_canvas->copy(m_rect).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        m_frameBuffer = QImage(m_rect.size(), QImage::Format_ARGB32_Premultiplied);
        m_frameBuffer.fill(BackgroundColor());
    }
    OnPaintStart = m_image->OnPaintStart;
    OnFramePaint = m_image->OnFramePaint;
    OnFramePainted = m_image->OnFramePainted;
    OnRepeat = m_image->OnRepeat;
    OnPaintEnd = m_image->OnPaintEnd;
}

TGIFPainter::~TGIFPainter()
{
    if (!m_finished) {
        m_terminated = true;
        Finish(false);
    }
}

bool TGIFPainter::Threaded() const { return (m_options & pfThreaded) != 0; }

void TGIFPainter::Start()
{
    ActiveImage = 0;
    if (!Hook(OnPaintStart)) {
        Finish();
        return;
    }
    m_started = false;
    m_passes = 1;
    m_passStart = 0;
    m_loopSeen = false;
    m_delay = Threaded() ? 0 : 1;
    m_previousDisposal = 1;
    m_waitStart = m_clock.Now();
    m_lastWait = 0;
    m_phase = Phase::PassStart;
    Run();
}

void TGIFPainter::Stop()
{
    m_terminated = true;
    m_timer->Stop();
    if (!m_running)
        Finish();
}

bool TGIFPainter::Hook(const TGIFPainterHook& hook)
{
    if (m_terminated)
        return false;
    if (hook)
        hook(*this);
    return !m_terminated;
}

// Goes on from where the painter stood until it must wait or is done. A
// failure ends a timer-driven painter quietly; one inside Draw reaches its caller.
void TGIFPainter::Run()
{
    if (m_finished)
        return;
    try {
        Step();
    } catch (const std::exception&) {
        m_terminated = true;
        m_running = false;
        Finish();
        if (!Threaded())
            throw;
    }
}

void TGIFPainter::Step()
{
    m_running = true;
    while (!m_terminated) {
        if (m_phase == Phase::PassStart) {
            if (m_lastPass || (m_passes == 0 && !(m_options & pfRepeatForever)))
                break;
            ActiveImage = m_passStart;
            if (m_started && !Hook(OnRepeat))
                break;
            m_phase = Phase::Wait;
            continue;
        }
        if (m_phase == Phase::Wait) {
            if (ActiveImage < 0 || ActiveImage >= m_image->Count() || m_image->Frame(ActiveImage).Empty()) {
                EndPass();
                continue;
            }
            m_phase = Phase::Paint;
            if (m_delay <= 0)
                continue;
            // The next frame is rendered before the wait, so the wait covers it.
            m_image->FrameBitmap(ActiveImage);
            const int64_t now = m_clock.Now();
            bool endless = false;
            if (m_rate > 0) {
                // Half of the time the last frame took beyond its wait comes off this one.
                const int64_t over = (now - m_waitStart - m_lastWait) / 2;
                m_delay = std::llround(double(m_delay * kUnitMs - over) * 100.0 / m_rate);
                m_lastWait = m_delay;
            } else if (Threaded()) {
                endless = true;
            } else {
                m_delay = int64_t(kMaximumDelayInDraw) * kUnitMs;
            }
            m_waitStart = now;
            if (Threaded()) {
                if (endless) {
                    m_running = false;
                    return; // until stopped
                }
                m_timer->Start(int(std::max<int64_t>(m_delay, 0)), [this] { Run(); });
                m_running = false;
                return;
            }
            for (int64_t left = std::max<int64_t>(m_delay, 1); left > 0 && !m_terminated;) {
                const int64_t before = m_clock.Now();
                m_clock.Sleep(int(std::min<int64_t>(left, 100)));
                left -= std::max<int64_t>(m_clock.Now() - before, 1);
            }
            continue;
        }
        // Paint
        if (!Hook(OnFramePaint))
            break;
        TGIFSubImage& frame = m_image->Frame(ActiveImage);
        int disposal = 1;
        for (const auto& extension : frame.Extensions()) {
            if (auto* gce = dynamic_cast<TGIFGraphicControlExtension*>(extension.get()))
                disposal = gce->Disposal();
            else if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(extension.get()); loop && !m_loopSeen) {
                m_passes = loop->Loops();
                if ((m_passes == 0 || (m_options & pfRepeatForever)) && Threaded())
                    m_passes = -1;
                m_passStart = ActiveImage;
                m_loopSeen = true;
            }
        }
        PaintFrame(ActiveImage, disposal);
        m_previousDisposal = disposal;
        if (m_terminated)
            break;
        m_delay = kDefaultDelay;
        if (const TGIFGraphicControlExtension* gce = frame.GraphicControlExtension(); gce && gce->Delay() > 0) {
            m_delay = std::max<int64_t>(gce->Delay(), kMinimumDelay);
            if (!Threaded())
                m_delay = std::min<int64_t>(m_delay, kMaximumDelayInDraw);
        }
        const int shown = ActiveImage;
        if (!Hook(OnFramePainted))
            break;
        if (ActiveImage == shown)
            ++ActiveImage;
        if (!(m_options & pfAnimated))
            EndPass();
        else
            m_phase = Phase::Wait;
    }
    m_running = false;
    Finish();
}

void TGIFPainter::EndPass()
{
    if (m_passes > 0)
        --m_passes;
    m_phase = Phase::PassStart;
    if (!((m_options & pfAnimated) && (m_options & pfRepeat)))
        m_lastPass = true;
}

void TGIFPainter::Finish(bool release)
{
    if (m_finished)
        return;
    m_finished = true;
    m_timer->Stop();
    ActiveImage = -1;
    Hook(OnPaintEnd);
    if (m_image)
        m_image->PainterEnded(this);
    m_image = nullptr;
    m_background = QImage();
    m_backup = QImage();
    m_frameBuffer = QImage();
    if (release)
        deleteLater();
}

QColor TGIFPainter::BackgroundColor() const
{
    if (m_image->FillColor)
        return *m_image->FillColor;
    if (m_image->Header().ColorMap().Count() > 0) {
        const uint32_t c = m_image->Header().BackgroundColor();
        return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    }
    return QGuiApplication::palette().color(QPalette::Window);
}

void TGIFPainter::WithCanvas(const std::function<void(QPainter&)>& paint)
{
    if (m_canvasPainter) {
        m_canvasPainter->save();
        paint(*m_canvasPainter);
        m_canvasPainter->restore();
        return;
    }
    QPainter painter(m_canvas);
    paint(painter);
}

void TGIFPainter::CopyToCanvas(const QImage& buffer)
{
    WithCanvas([&](QPainter& painter) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(m_rect, buffer);
    });
}

void TGIFPainter::PaintFrame(int index, int disposal)
{
    if (m_terminated)
        return;
    const bool tiled = m_options & pfTiled;
    const bool transparent = m_options & pfTransparent;
    if (m_backup.isNull()) {
        WithCanvas([&](QPainter& painter) { m_image->DrawFrame(painter, index, m_rect, tiled, transparent); });
    } else {
        if ((m_options & pfClearOnRepeat) && index == 0)
            ClearFrameArea(m_backup, index);
        const QRect local(QPoint(0, 0), m_rect.size());
        if (disposal <= 1 || disposal == 2) {
            {
                QPainter painter(&m_backup);
                m_image->DrawFrame(painter, index, local, tiled, transparent);
            }
            CopyToCanvas(m_backup);
            if (disposal == 2)
                ClearFrameArea(m_backup, index);
        } else if (disposal == 3) {
            if (m_previousDisposal <= 1) {
                WithCanvas([&](QPainter& painter) { m_image->DrawFrame(painter, index, m_rect, tiled, transparent); });
            } else if (m_previousDisposal <= 3) {
                m_frameBuffer = m_backup.copy();
                {
                    QPainter painter(&m_frameBuffer);
                    m_image->DrawFrame(painter, index, local, tiled, transparent);
                }
                CopyToCanvas(m_frameBuffer);
            }
        }
    }
    m_started = true;
    m_image->ReportPainted(this);
}

// Puts the background back where the frame was, in the back-up buffer.
void TGIFPainter::ClearFrameArea(QImage& buffer, int index)
{
    const TGIFSubImage& frame = m_image->Frame(index);
    const bool tiled = m_options & pfTiled;
    std::vector<QRect> areas;
    if (tiled) {
        const int stepX = std::max(1, m_image->Width());
        const int stepY = std::max(1, m_image->Height());
        for (int y = 0; y < buffer.height(); y += stepY)
            for (int x = 0; x < buffer.width(); x += stepX)
                areas.emplace_back(x + frame.Left(), y + frame.Top(), frame.Width(), frame.Height());
    } else {
        areas.push_back(m_image->FrameRectIn(index, buffer.rect()));
    }
    QPainter painter(&buffer);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& area : areas) {
        if ((m_options & pfTransparent) && !m_background.isNull())
            painter.drawImage(area, m_background, area);
        else
            painter.fillRect(area, BackgroundColor());
    }
}

} // namespace bw
