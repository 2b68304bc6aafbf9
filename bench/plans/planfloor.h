// What the plan benchmarks share: timing a rebuild with the deletion of what
// it tore down, and the floor's page of plain labels.
#pragma once

#include "benchtiming.h"

#include "plans/groupplanlayout.h"
#include "plans/plancanvas.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QScrollArea>

#include <functional>

namespace bw::timing {

// The work and the deletion of the pages it tore down, which happens once
// control returns to the event loop.
inline double millisWithTeardown(const std::function<void()>& work)
{
    return millis([&] {
        work();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
}

// The floor's page: plain labels with the controls' rectangles and texts.
inline void floorPage(QScrollArea* page, const QList<plan::ControlSpec>& controls, QSize size)
{
    clearPlanPage(page);
    auto* canvas = new QWidget;
    canvas->setFixedSize(size);
    for (const plan::ControlSpec& spec : controls) {
        auto* label = new QLabel(spec.caption, canvas);
        label->setGeometry(spec.rect);
    }
    page->setWidget(canvas);
}

} // namespace bw::timing
