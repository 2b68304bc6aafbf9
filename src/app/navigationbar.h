// A collapsible group of the navigation column: a header with the caption and
// a list of link items below it, each with a picture and a caption. A click on
// an enabled item reports its index.
#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>

class QToolButton;
class QVBoxLayout;

namespace bw {

class NavigationBar : public QWidget {
    Q_OBJECT
public:
    NavigationBar(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

    QString caption() const;
    void setIcon(const QIcon& icon);

    // Appends an item and answers its index.
    int addItem(const QString& caption, const QIcon& icon = QIcon());
    int itemCount() const { return int(m_items.size()); }
    QString itemCaption(int index) const;
    void setItemCaption(int index, const QString& caption);
    bool itemEnabled(int index) const;
    void setItemEnabled(int index, bool enabled);
    void removeItem(int index);
    void clearItems();
    QToolButton* itemButton(int index) const { return m_items.value(index); }

    bool collapsed() const { return m_collapsed; }
    void setCollapsed(bool collapsed);

signals:
    void itemClick(int index);

private:
    QToolButton* m_header;
    QWidget* m_body;
    QVBoxLayout* m_bodyLayout;
    QList<QToolButton*> m_items;
    bool m_collapsed = false;
};

} // namespace bw
