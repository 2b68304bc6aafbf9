// TGIFPainter shows the frames of an animated picture one after the other on a
// destination image: each frame's delay (a hundredth of a second counts as
// 12 ms; none or 0 waits 10 units, less than 3 counts as 3), the picture's
// animation rate, the loop count of the NETSCAPE loop extension and each
// frame's disposal method. It runs on the user-interface thread, driven by a
// single-shot timer of an injectable clock, so tests step the time themselves.
#pragma once

#include <QImage>
#include <QObject>
#include <QPainter>
#include <QRect>

#include <cstdint>
#include <functional>
#include <memory>

namespace bw {

class TGIFImage;
class TGIFPainter;

class TGIFTimer {
public:
    virtual ~TGIFTimer() = default;
    // Calls fn once after ms milliseconds, replacing what was started before.
    virtual void Start(int ms, std::function<void()> fn) = 0;
    virtual void Stop() = 0;
};

class TGIFAnimationClock {
public:
    virtual ~TGIFAnimationClock() = default;
    // Milliseconds from any fixed point.
    virtual int64_t Now() = 0;
    virtual std::unique_ptr<TGIFTimer> CreateTimer() = 0;
    // Waits for a painter that runs inside Draw, keeping the events going.
    virtual void Sleep(int ms) = 0;
    // QElapsedTimer and QTimer.
    static TGIFAnimationClock& System();
};

using TGIFPainterHook = std::function<void(TGIFPainter& painter)>;

class TGIFPainter : public QObject {
    Q_OBJECT
public:
    // Paints image's frames into rect of canvas; slot (the picture's draw
    // painter, or null) holds the painter while it lives.
    TGIFPainter(TGIFImage* image, QImage* canvas, const QRect& rect, uint16_t options, TGIFPainter** slot);
    ~TGIFPainter() override;

    // Timer driven: paints the first frame now and the others as their time
    // comes. Without pfThreaded the whole animation runs inside this call.
    void Start();
    // Ends the painter at once; it paints nothing more and calls no hook.
    void Stop();
    // While set, painting onto the canvas goes through this painter (the one
    // Draw was given for the same image).
    void SetCanvasPainter(QPainter* painter) { m_canvasPainter = painter; }

    TGIFImage* Image() const { return m_image; }
    QImage* Canvas() const { return m_canvas; }
    QRect Rect() const { return m_rect; }
    uint16_t Options() const { return m_options; }
    bool Terminated() const { return m_terminated; }
    bool Finished() const { return m_finished; }
    bool Threaded() const;
    // The frame being shown, -1 when not painting; a hook may set it to jump.
    int ActiveImage = -1;
    bool Started() const { return m_started; }
    // What a disposed frame's area is cleared to: the picture's FillColor, else
    // the global colour table's background colour, else the window colour.
    QColor BackgroundColor() const;

    TGIFPainterHook OnPaintStart, OnFramePaint, OnFramePainted, OnRepeat, OnPaintEnd;

private:
    enum class Phase { PassStart, Wait, Paint };
    void Run();
    void Step();
    void EndPass();
    // Ends the painter: hooks, the picture's list and slot; release frees it later.
    void Finish(bool release = true);
    bool Hook(const TGIFPainterHook& hook);
    void PaintFrame(int index, int disposal);
    void ClearFrameArea(QImage& buffer, int index);
    void CopyToCanvas(const QImage& buffer);
    void WithCanvas(const std::function<void(QPainter&)>& paint);

    TGIFImage* m_image;
    QImage* m_canvas;
    QRect m_rect;
    uint16_t m_options;
    int m_rate;
    TGIFPainter** m_slot;
    TGIFAnimationClock& m_clock;
    std::unique_ptr<TGIFTimer> m_timer;

    Phase m_phase = Phase::PassStart;
    bool m_terminated = false;
    bool m_finished = false;
    bool m_running = false;
    bool m_started = false;
    int m_passes = 1;
    bool m_lastPass = false;
    int m_passStart = 0;
    bool m_loopSeen = false;
    int64_t m_delay = 0;
    int m_previousDisposal = 1;
    int64_t m_waitStart = 0;
    int64_t m_lastWait = 0;

    QPainter* m_canvasPainter = nullptr;
    QImage m_background;
    QImage m_backup;
    QImage m_frameBuffer;
};

} // namespace bw
