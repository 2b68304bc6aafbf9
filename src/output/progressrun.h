// The main window's progress bar through one long piece of work: set to its
// range at the start, advanced step by step (each step lets the window paint),
// and back at 0 when the work ends, also on failure.
#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <QProgressBar>

namespace bw {

class ProgressRun {
public:
    ProgressRun(QProgressBar* bar, int maximum) : m_bar(bar)
    {
        if (m_bar) {
            m_bar->setRange(0, std::max(maximum, 1));
            m_bar->setValue(0);
        }
    }
    ~ProgressRun()
    {
        if (m_bar)
            m_bar->setValue(0);
    }
    ProgressRun(const ProgressRun&) = delete;
    ProgressRun& operator=(const ProgressRun&) = delete;

    void set(int value)
    {
        if (!m_bar)
            return;
        m_bar->setValue(std::min(value, m_bar->maximum()));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    void step() { set(m_bar ? m_bar->value() + 1 : 0); }

private:
    QPointer<QProgressBar> m_bar;
};

} // namespace bw
