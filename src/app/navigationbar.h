// A side bar of the navigation column, with the index-based access the main
// window and its pages use: items by position, their captions and enabled
// state, and the item click as the clicked item's position.
#pragma once

#include "controls/uisidebar.h"

class TuiImageList;

namespace bw {

class NavigationBar : public TuiSideBar {
    Q_OBJECT
public:
    NavigationBar(const QString& objectName, const QString& caption, TuiImageList* images, QWidget* parent = nullptr);

    // Appends an item with a picture of the bar's image list; answers its position.
    int addItem(const QString& caption, int imageIndex = -1);
    int itemCount() const;
    QString itemCaption(int index) const;
    void setItemCaption(int index, const QString& caption);
    bool itemEnabled(int index) const;
    void setItemEnabled(int index, bool enabled);
    void removeItem(int index);
    void clearItems();

    // The state the bar is in or rolling towards.
    bool collapsed() const { return TargetCollapsed(); }
    void setCollapsed(bool collapsed) { SetCollapsed(collapsed); }

signals:
    void itemClick(int index);
};

} // namespace bw
