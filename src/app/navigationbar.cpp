#include "app/navigationbar.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace bw {

NavigationBar::NavigationBar(const QString& objectName, const QString& caption, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_header = new QToolButton(this);
    m_header->setText(caption);
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_header->setStyleSheet(QStringLiteral(
        "QToolButton { font-weight: bold; text-align: left; padding: 6px;"
        " background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #2EA934, stop:1 white); border: none; }"));
    layout->addWidget(m_header);
    m_body = new QWidget(this);
    m_body->setAutoFillBackground(true);
    QPalette body = m_body->palette();
    body.setColor(QPalette::Window, QColor(0xC6, 0xF3, 0xAF));
    m_body->setPalette(body);
    m_bodyLayout = new QVBoxLayout(m_body);
    m_bodyLayout->setContentsMargins(3, 3, 3, 3);
    m_bodyLayout->setSpacing(0);
    layout->addWidget(m_body);
    connect(m_header, &QToolButton::clicked, this, [this] { setCollapsed(!m_collapsed); });
}

QString NavigationBar::caption() const
{
    return m_header->text();
}

void NavigationBar::setIcon(const QIcon& icon)
{
    m_header->setIcon(icon);
}

int NavigationBar::addItem(const QString& caption, const QIcon& icon)
{
    auto* item = new QToolButton(m_body);
    item->setText(caption);
    item->setIcon(icon);
    item->setAutoRaise(true);
    item->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    item->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    item->setStyleSheet(QStringLiteral("QToolButton { color: #0051E7; text-align: left; border: none; }"
                                       " QToolButton:hover { color: #357CFF; text-decoration: underline; }"
                                       " QToolButton:disabled { color: #808080; }"));
    m_bodyLayout->addWidget(item);
    m_items.append(item);
    connect(item, &QToolButton::clicked, this, [this, item] {
        const int index = int(m_items.indexOf(item));
        if (index >= 0)
            emit itemClick(index);
    });
    return int(m_items.size()) - 1;
}

QString NavigationBar::itemCaption(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index)->text() : QString();
}

void NavigationBar::setItemCaption(int index, const QString& caption)
{
    if (index >= 0 && index < m_items.size())
        m_items.at(index)->setText(caption);
}

bool NavigationBar::itemEnabled(int index) const
{
    return index >= 0 && index < m_items.size() && m_items.at(index)->isEnabled();
}

void NavigationBar::setItemEnabled(int index, bool enabled)
{
    if (index >= 0 && index < m_items.size())
        m_items.at(index)->setEnabled(enabled);
}

void NavigationBar::removeItem(int index)
{
    if (index < 0 || index >= m_items.size())
        return;
    delete m_items.takeAt(index);
}

void NavigationBar::clearItems()
{
    while (!m_items.isEmpty())
        removeItem(int(m_items.size()) - 1);
}

void NavigationBar::setCollapsed(bool collapsed)
{
    m_collapsed = collapsed;
    m_body->setVisible(!collapsed);
}

} // namespace bw
