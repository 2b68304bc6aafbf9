#include "app/navigationbar.h"

#include "controls/uiimagelist.h"


namespace bw {

NavigationBar::NavigationBar(const QString& objectName, const QString& caption, TuiImageList* images, QWidget* parent)
    : TuiSideBar(parent)
{
    setObjectName(objectName);
    SetCaption(caption);
    SetImageList(images);
    // The bar keeps its own fonts; a class item too long for its row keeps
    // its kind at the end (" (Einzel)", " (Doppel)").
    SetItemElideMode(Qt::ElideMiddle);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &TuiCustomSideBar::OnItemClick, this, [this](QObject*, TuiSideBarItem* item) {
        if (item)
            emit itemClick(item->Index());
    });
}

int NavigationBar::addItem(const QString& caption, int imageIndex)
{
    TuiSideBarItem* item = Items()->Add();
    item->SetCaption(caption);
    item->SetImageIndex(imageIndex);
    return item->Index();
}

int NavigationBar::itemCount() const
{
    return Items()->Count();
}

QString NavigationBar::itemCaption(int index) const
{
    const TuiSideBarItem* item = Items()->GetItem(index);
    return item ? item->Caption() : QString();
}

void NavigationBar::setItemCaption(int index, const QString& caption)
{
    if (TuiSideBarItem* item = Items()->GetItem(index))
        item->SetCaption(caption);
}

bool NavigationBar::itemEnabled(int index) const
{
    const TuiSideBarItem* item = Items()->GetItem(index);
    return item && item->Enabled();
}

void NavigationBar::setItemEnabled(int index, bool enabled)
{
    if (TuiSideBarItem* item = Items()->GetItem(index))
        item->SetEnabled(enabled);
}

void NavigationBar::removeItem(int index)
{
    if (index >= 0 && index < Items()->Count())
        Items()->Delete(index);
}

void NavigationBar::clearItems()
{
    Items()->Clear();
}

} // namespace bw
