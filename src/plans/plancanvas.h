// The page of one phase: paints a plan layout's display list, clipped to the
// area to repaint (a page of 32 groups is thousands of pixels high, so there is
// no page-size picture), and carries the layout's controls as named children:
// player labels and icons, looked up per page by name ("status" + n).
#pragma once

#include "plans/groupplanlayout.h"

#include <QHash>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

class QScrollArea;

namespace bw {

// An icon on a plan page: a picture (or none, for a status icon) with a Tag
// and a click.
class PlanIcon : public QLabel {
    Q_OBJECT
public:
    PlanIcon(const plan::ControlSpec& spec, const QPixmap& picture, QWidget* parent);
    int Tag = 0;
    plan::PlanTool tool = plan::PlanTool::None;

    // Shows a match state: the Tag, the picture, or without one the text drawn
    // at (6, 3); the hint shown on hover.
    void showStatus(int tag, const QPixmap& picture, const QString& text, const QString& hint);

signals:
    void OnClick();
    // Any mouse button pressed on the icon, with the pointer on the screen.
    void OnMouseDown(Qt::MouseButton button, QPoint globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// An entrant's name on a plan page: its Tag is the entrant's key (-1 an empty
// slot or a label naming nobody, -2 a bye, -3 an open qualifier). Pressing and
// releasing a mouse button on it show and hide the player card.
class PlanNameLabel : public QLabel {
    Q_OBJECT
public:
    PlanNameLabel(const plan::ControlSpec& spec, QWidget* parent);
    int Tag = 0;

signals:
    void MouseDown(Qt::MouseButton button, QPoint globalPos);
    void MouseUp();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class PlanCanvas : public QWidget {
    Q_OBJECT
public:
    // `pictures` by tool picture name (toolPicture()); every tool the layout
    // uses must be there.
    PlanCanvas(const QString& name, plan::PlanLayout layout, const QHash<QString, QPixmap>& pictures,
               QWidget* parent = nullptr);

    const plan::PlanLayout& layout() const { return m_layout; }
    // The status icon of that name on this page; nullptr when none.
    PlanIcon* statusIcon(const QString& name) const { return m_statusIcons.value(name); }

signals:
    // A tool or group icon: its tool and Tag.
    void toolClicked(plan::PlanTool tool, int tag);
    // A status icon clicked: its name and Tag.
    void statusClicked(const QString& name, int tag);
    // A mouse button pressed on a status icon.
    void statusMouseDown(const QString& name, int tag, Qt::MouseButton button, QPoint globalPos);
    // A mouse button went down or up on a name label.
    void nameMouseDown(const QString& caption, int tag, Qt::MouseButton button, QPoint globalPos);
    void nameMouseUp();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    plan::PlanLayout m_layout;
    QHash<QString, PlanIcon*> m_statusIcons;
};

// Empties a page: the widget it shows is hidden, taken off the page and deleted
// later, so a rebuild may start inside one of its icons' handlers.
void clearPlanPage(QScrollArea* page);

} // namespace bw
