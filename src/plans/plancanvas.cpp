#include "plans/plancanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>

namespace bw {

PlanIcon::PlanIcon(const plan::ControlSpec& spec, const QPixmap& picture, QWidget* parent)
    : QLabel(parent), Tag(spec.tag), tool(spec.tool)
{
    setObjectName(spec.name);
    setGeometry(spec.rect);
    setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
    if (!picture.isNull())
        setPixmap(picture);
    const QString hint = spec.kind == plan::ControlKind::GroupIcon ? QStringLiteral("Gruppenspielplan anzeigen")
                                                                   : plan::toolHint(spec.tool);
    if (!hint.isEmpty())
        setToolTip(hint);
}

void PlanIcon::showStatus(int tag, const QPixmap& picture, const QString& text, const QString& hint)
{
    Tag = tag;
    if (!picture.isNull()) {
        setContentsMargins(0, 0, 0, 0);
        setAlignment(Qt::AlignCenter);
        setPixmap(picture);
    } else {
        setPixmap(QPixmap());
        setContentsMargins(6, 3, 0, 0);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setText(text);
    }
    setToolTip(hint);
}

void PlanIcon::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    emit OnMouseDown(event->button(), event->globalPosition().toPoint());
}

void PlanIcon::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit OnClick();
}

PlanNameLabel::PlanNameLabel(const plan::ControlSpec& spec, QWidget* parent)
    : QLabel(spec.caption, parent), Tag(spec.tag)
{
    if (!spec.name.isEmpty())
        setObjectName(spec.name);
    setGeometry(spec.rect);
    setProperty("Tag", spec.tag);
    setCursor(Qt::WhatsThisCursor);
    setAttribute(Qt::WA_TranslucentBackground);
    if (spec.fontSize > 0) {
        // A bracket's names in Arial (Liberation Sans here), written from the top.
        QFont arial;
        arial.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
        arial.setPointSize(spec.fontSize);
        setFont(arial);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
}

void PlanNameLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    emit MouseDown(event->button(), event->globalPosition().toPoint());
}

void PlanNameLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    emit MouseUp();
}

PlanCanvas::PlanCanvas(const QString& name, plan::PlanLayout layout, const QHash<QString, QPixmap>& pictures,
                       QWidget* parent)
    : QWidget(parent), m_layout(std::move(layout))
{
    setObjectName(name);
    setFixedSize(m_layout.size);
    setAutoFillBackground(false);
    for (const plan::ControlSpec& spec : m_layout.controls) {
        if (spec.kind == plan::ControlKind::PlayerLabel) {
            auto* label = new PlanNameLabel(spec, this);
            connect(label, &PlanNameLabel::MouseDown, this, [this, label](Qt::MouseButton button, QPoint at) {
                emit nameMouseDown(label->text(), label->Tag, button, at);
            });
            connect(label, &PlanNameLabel::MouseUp, this, &PlanCanvas::nameMouseUp);
            continue;
        }
        auto* icon = new PlanIcon(spec, pictures.value(plan::toolPicture(spec.tool)), this);
        if (spec.kind == plan::ControlKind::StatusIcon) {
            m_statusIcons.insert(spec.name, icon);
            connect(icon, &PlanIcon::OnClick, this, [this, icon] { emit statusClicked(icon->objectName(), icon->Tag); });
            connect(icon, &PlanIcon::OnMouseDown, this, [this, icon](Qt::MouseButton button, QPoint at) {
                emit statusMouseDown(icon->objectName(), icon->Tag, button, at);
            });
        } else {
            connect(icon, &PlanIcon::OnClick, this, [this, icon] { emit toolClicked(icon->tool, icon->Tag); });
        }
    }
}

void PlanCanvas::paintEvent(QPaintEvent* event)
{
    const QRect area = event->rect();
    QPainter painter(this);
    painter.setClipRect(area);
    painter.fillRect(area, Qt::white);
    for (const plan::PlanFill& fill : m_layout.fills)
        if (fill.rect.intersects(area))
            painter.fillRect(fill.rect, fill.color);
    painter.setPen(Qt::black);
    for (const QLine& line : m_layout.lines) {
        const QRect bounds = QRect(line.p1(), line.p2()).normalized().adjusted(-1, -1, 1, 1);
        if (bounds.intersects(area))
            painter.drawLine(line);
    }
    QFont normal = font();
    QFont bold = normal;
    bold.setBold(true);
    const int height = fontMetrics().height() + 2;
    for (const plan::PlanText& text : m_layout.texts) {
        const QRect box(text.at, QSize(width() - text.at.x(), height));
        if (!box.intersects(area))
            continue;
        painter.setFont(text.bold ? bold : normal);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text.text);
    }
}

void clearPlanPage(QScrollArea* page)
{
    if (QWidget* shown = page->takeWidget()) {
        shown->hide();
        shown->setParent(nullptr);
        shown->deleteLater();
    }
}

} // namespace bw
