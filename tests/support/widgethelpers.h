// Small helpers for form tests: find a child by object name, click it, type.
#pragma once

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
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

// The visible controls below a widget that the layout gave less room than
// they need to show themselves whole (captions cut, fields squeezed), each as
// "objectName (class): width x height < needed"; empty when every one fits.
// A list also needs `listWidth` pixels when that is given.
inline QStringList crampedControls(const QWidget* root, int listWidth = 0)
{
    QStringList cramped;
    for (const QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root) || w->window() != root->window())
            continue;
        // The edit inside a combo or spin box is that box's business.
        if (qobject_cast<const QComboBox*>(w->parentWidget()) || qobject_cast<const QAbstractSpinBox*>(w->parentWidget()))
            continue;
        const bool control = qobject_cast<const QLabel*>(w) || qobject_cast<const QLineEdit*>(w)
                             || qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractButton*>(w)
                             || qobject_cast<const TuiCustomControl*>(w);
        const bool list = qobject_cast<const QAbstractItemView*>(w) != nullptr;
        QSize needed;
        if (control)
            needed = w->minimumSizeHint().expandedTo(w->minimumSize());
        else if (list && listWidth > 0)
            needed = QSize(listWidth, 0);
        else
            continue;
        // A label that wraps its words needs only its height for the width given.
        if (const auto* label = qobject_cast<const QLabel*>(w); label && label->wordWrap())
            needed = QSize(0, label->heightForWidth(label->width()));
        if (w->width() < needed.width() || w->height() < needed.height())
            cramped << QStringLiteral("%1 (%2): %3 x %4 < %5 x %6")
                           .arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()))
                           .arg(w->width())
                           .arg(w->height())
                           .arg(needed.width())
                           .arg(needed.height());
    }
    return cramped;
}

} // namespace bw::test
