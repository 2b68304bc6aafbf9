// Small helpers for form tests: find a child by object name, click it, type.
#pragma once

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"

#include <QAbstractButton>
#include <QTest>
#include <QWidget>

namespace bw::test {

// The child of that object name and type; fails the test (and returns nullptr)
// when there is none.
template <typename T = QWidget>
T* child(QObject* parent, const QString& objectName)
{
    T* found = parent ? parent->findChild<T*>(objectName) : nullptr;
    if (!found)
        QTest::qFail(qPrintable(QStringLiteral("No child named %1").arg(objectName)), __FILE__, __LINE__);
    return found;
}

// Clicks a button as a user would (it must be visible and enabled to react).
inline void click(QAbstractButton* button)
{
    if (button)
        QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks a window control (button or check box) as a user would: with the
// mouse when its form shows, else by its click -- and only while it is enabled.
inline void click(TuiCustomControl* control)
{
    if (!control || !control->isEnabled())
        return;
    if (control->isVisible())
        QTest::mouseClick(control, Qt::LeftButton);
    else
        control->Click();
}

// Types text key by key as a user would, umlauts included.
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace bw::test
