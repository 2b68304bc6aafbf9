// The collapsible side bar: its heights, the roll animation paced by its step
// timer (a hand-fired one, so no test waits for a roll), turning a roll round,
// item clicks with the veto, hidden and disabled items, the pointer's row, and
// the pixels of header and roll button.
#define QTEST_QPA_MOUSE_HANDLING

#include "controls/uisidebar.h"

#include <QApplication>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor kFormColor(0xECE9D8);
const QColor kChevron(0x0038A5);

// Records every height the bar takes.
class HeightLog : public QObject {
public:
    explicit HeightLog(QWidget* bar)
    {
        bar->installEventFilter(this);
    }
    QList<int> heights;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            heights.append(static_cast<QResizeEvent*>(event)->size().height());
        return false;
    }
};

// Paces a roll by hand: Fire() runs the pending step at once.
class ManualStepTimer : public TuiStepTimer {
public:
    void Start(int ms, std::function<void()> step) override
    {
        intervals.append(ms);
        m_step = std::move(step);
    }
    void Stop() override { m_step = nullptr; }
    bool Pending() const { return bool(m_step); }
    // Runs the pending step; false when none was pending.
    bool Fire()
    {
        auto step = std::exchange(m_step, nullptr);
        if (!step)
            return false;
        step();
        return true;
    }
    // Fires until the bar is at rest; false when it does not come to rest.
    bool RollToEnd(TuiCustomSideBar* bar)
    {
        for (int i = 0; i < 1000 && bar->IsRolling(); ++i)
            Fire();
        return !bar->IsRolling();
    }

    QList<int> intervals;

private:
    std::function<void()> m_step;
};

// A form holding one bar with items "Eins", "Zwei", ..., its roll paced by hand.
struct Form {
    ManualStepTimer timer; // outlives the bar
    QWidget window;
    TuiSideBar* bar;

    explicit Form(int items)
    {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, kFormColor);
        window.setPalette(palette);
        window.resize(250, 400);
        bar = new TuiSideBar(&window);
        bar->move(10, 10);
        bar->SetStepTimer(&timer);
        bar->SetCaption(QStringLiteral("Turnierdaten"));
        const QStringList captions{"Eins", "Zwei", "Drei", "Vier", "Fünf", "Sechs"};
        for (int i = 0; i < items; ++i)
            bar->Items()->Add()->SetCaption(captions.value(i, QStringLiteral("Mehr")));
    }

    bool show()
    {
        window.show();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        QTest::mouseMove(&window, QPoint(240, 390));
        return true;
    }

    bool rollToEnd() { return timer.RollToEnd(bar); }
};

QPoint itemPoint(TuiCustomSideBar* bar, int visibleIndex)
{
    return bar->GetItemRect(visibleIndex).center();
}

} // namespace

class TestSideBar : public QObject {
    Q_OBJECT
private slots:
    void heights_data();
    void heights();
    void rollSequence_data();
    void rollSequence();
    void secondRequestWhileRollingChangesNothing();
    void reversingMidRoll();
    void barFreedMidRoll();
    void ownTimerPacesTheRoll();
    void headerClickRolls();
    void itemClickCarriesTheItem();
    void vetoStopsEveryClick();
    void disabledItemDoesNotLightUp();
    void hiddenItemsCloseTheGap();
    void pointerRow_data();
    void pointerRow();
    void itemsCollection();
    void namesAndCaptions();
    void headerAndRollButtonPixels();
    void narrowBarHasNoRollButton();
    void barsBelowMoveWithTheRoll();
};

void TestSideBar::heights_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("itemHeight");
    QTest::addColumn<int>("expanded");
    QTest::newRow("four items") << 4 << 20 << 123;
    QTest::newRow("one item") << 1 << 20 << 63;
    QTest::newRow("no items") << 0 << 20 << 35;
    QTest::newRow("taller rows") << 2 << 25 << 93;
}

void TestSideBar::heights()
{
    QFETCH(int, items);
    QFETCH(int, itemHeight);
    QFETCH(int, expanded);
    Form form(items);
    form.bar->SetItemHeight(itemHeight);
    QVERIFY(form.show());
    QCOMPARE(form.bar->height(), expanded);
    QCOMPARE(form.bar->width(), 153);
    form.bar->SetCollapsed(true);
    QVERIFY(form.rollToEnd());
    QVERIFY(form.bar->Collapsed());
    QCOMPARE(form.bar->height(), 35);
    form.bar->SetCollapsed(false);
    QVERIFY(form.rollToEnd());
    QCOMPARE(form.bar->height(), expanded);
}

void TestSideBar::rollSequence_data()
{
    QTest::addColumn<int>("itemHeight");
    QTest::addColumn<QList<int>>("collapse");
    QTest::addColumn<QList<int>>("expand");
    // Four items: while rolling up the header counts 35, while rolling down 43.
    QTest::newRow("item height 20") << 20 << QList<int>{103, 91, 79, 67, 55, 43, 35}
                                    << QList<int>{55, 67, 79, 91, 103, 115, 123};
    QTest::newRow("item height 7") << 7 << QList<int>{51, 39, 35} << QList<int>{55, 67, 71};
}

void TestSideBar::rollSequence()
{
    QFETCH(int, itemHeight);
    QFETCH(QList<int>, collapse);
    QFETCH(QList<int>, expand);
    Form form(4);
    form.bar->SetItemHeight(itemHeight);
    QVERIFY(form.show());
    HeightLog log(form.bar);
    form.bar->SetCollapsed(true);
    // The call returns at once; the first step is taken, the rest follow.
    QVERIFY(form.bar->IsRolling());
    QVERIFY(!form.bar->Collapsed());
    QCOMPARE(form.bar->RollHeight(), std::max(0, itemHeight - 3));
    QVERIFY(form.rollToEnd());
    QCOMPARE(log.heights, collapse);
    // One step every 25 milliseconds.
    QVERIFY(!form.timer.intervals.isEmpty());
    QVERIFY(std::all_of(form.timer.intervals.begin(), form.timer.intervals.end(),
                        [](int ms) { return ms == TuiCustomSideBar::kRollInterval; }));
    QCOMPARE(form.bar->RollHeight(), 0);
    QVERIFY(form.bar->Collapsed());
    QVERIFY(!form.bar->Rolling());

    log.heights.clear();
    form.bar->SetCollapsed(false);
    QVERIFY(form.rollToEnd());
    QCOMPARE(log.heights, expand);
    QCOMPARE(form.bar->RollHeight(), itemHeight);
    QVERIFY(!form.bar->Collapsed());
}

void TestSideBar::secondRequestWhileRollingChangesNothing()
{
    Form form(4);
    QVERIFY(form.show());
    HeightLog log(form.bar);
    form.bar->SetCollapsed(true);
    QVERIFY(form.timer.Fire());
    form.bar->SetCollapsed(true);
    form.bar->SetCollapsed(true);
    QVERIFY(form.rollToEnd());
    QCOMPARE(log.heights, (QList<int>{103, 91, 79, 67, 55, 43, 35}));
    // At rest a request for the present state does nothing at all.
    form.bar->SetCollapsed(true);
    QVERIFY(!form.bar->IsRolling());
}

void TestSideBar::reversingMidRoll()
{
    Form form(4);
    QVERIFY(form.show());
    HeightLog log(form.bar);
    QList<int> rollHeights;
    form.bar->SetCollapsed(true);
    while (form.bar->RollHeight() > 11)
        QVERIFY(form.timer.Fire());
    form.bar->SetCollapsed(false);
    QVERIFY(form.bar->TargetCollapsed() == false);
    QVERIFY(form.rollToEnd());
    QVERIFY(!form.bar->Collapsed());
    QCOMPARE(form.bar->RollHeight(), 20);
    QCOMPARE(form.bar->height(), 123);
    // Down in steps of 3 pixels a row, then up again, never through 0; at rest
    // the header counts its full 43 again.
    const QList<int> heights = log.heights;
    QVERIFY(!heights.contains(35));
    const int lowest = int(std::min_element(heights.begin(), heights.end()) - heights.begin());
    for (int i = 1; i + 1 < heights.size(); ++i) {
        QCOMPARE(qAbs(heights[i] - heights[i - 1]), 12);
        QVERIFY((heights[i] < heights[i - 1]) == (i <= lowest));
    }
    QCOMPARE(heights.last(), 123);
    QVERIFY(lowest > 0 && lowest < heights.size() - 1);

    // And the other way: rolling down, turned round to roll up.
    form.bar->SetCollapsed(true);
    QVERIFY(form.rollToEnd());
    form.bar->SetCollapsed(false);
    while (form.bar->RollHeight() < 9)
        QVERIFY(form.timer.Fire());
    form.bar->SetCollapsed(true);
    QVERIFY(form.rollToEnd());
    QVERIFY(form.bar->Collapsed());
    QCOMPARE(form.bar->height(), 35);
}

void TestSideBar::barFreedMidRoll()
{
    ManualStepTimer timer;
    auto* bar = new TuiSideBar;
    bar->SetStepTimer(&timer);
    bar->Items()->Add();
    bar->show();
    bar->SetCollapsed(true);
    QVERIFY(bar->IsRolling());
    QVERIFY(timer.Pending());
    delete bar;
    QVERIFY(!timer.Pending()); // no step may reach the freed bar
}

// Without a step timer of its own choosing the bar rolls on its QTimer, and a
// timer set mid-roll takes the pending step over.
void TestSideBar::ownTimerPacesTheRoll()
{
    TuiSideBar bar;
    bar.Items()->Add();
    bar.show();
    bar.SetCollapsed(true);
    QVERIFY(QTest::qWaitFor([&] { return !bar.IsRolling(); }, 5000));
    QVERIFY(bar.Collapsed());
    bar.SetCollapsed(false);
    ManualStepTimer timer;
    bar.SetStepTimer(&timer);
    QVERIFY(timer.Pending());
    QVERIFY(timer.RollToEnd(&bar));
    QVERIFY(!bar.Collapsed());
    bar.SetStepTimer(nullptr);
    QVERIFY(!timer.Pending());
}

void TestSideBar::headerClickRolls()
{
    Form form(3);
    QVERIFY(form.show());
    QSignalSpy itemClicks(form.bar, &TuiCustomSideBar::OnItemClick);
    QSignalSpy barClicks(form.bar, &TuiCustomControl::OnClick);
    QTest::mouseMove(form.bar, QPoint(40, 20));
    QCOMPARE(form.bar->HoverArea(), 1);
    QTest::mouseClick(form.bar, Qt::LeftButton, {}, QPoint(40, 20));
    QVERIFY(form.bar->IsRolling());
    QVERIFY(form.bar->TargetCollapsed());
    // A second click while rolling turns the roll round.
    QTest::mouseClick(form.bar, Qt::LeftButton, {}, QPoint(40, 20));
    QVERIFY(!form.bar->TargetCollapsed());
    QVERIFY(form.rollToEnd());
    QVERIFY(!form.bar->Collapsed());
    QCOMPARE(itemClicks.count(), 0);
    QCOMPARE(barClicks.count(), 2);
    // The roll button, too.
    QTest::mouseMove(form.bar, QPoint(form.bar->width() - 15, 19));
    QCOMPARE(form.bar->HoverArea(), 2);
    QTest::mouseClick(form.bar, Qt::LeftButton, {}, QPoint(form.bar->width() - 15, 19));
    QVERIFY(form.rollToEnd());
    QVERIFY(form.bar->Collapsed());
    // Without the roll button the header does not roll.
    form.bar->SetShowRollButton(false);
    QTest::mouseClick(form.bar, Qt::LeftButton, {}, QPoint(40, 20));
    QVERIFY(!form.bar->IsRolling());
}

void TestSideBar::itemClickCarriesTheItem()
{
    Form form(3);
    QVERIFY(form.show());
    QStringList order;
    TuiSideBarItem* clicked = nullptr;
    QObject* itemSender = nullptr;
    connect(form.bar, &TuiCustomSideBar::OnItemClick, form.bar, [&](QObject* sender, TuiSideBarItem* item) {
        QCOMPARE(sender, form.bar);
        clicked = item;
        order << QStringLiteral("bar item click");
    });
    TuiSideBarItem* second = form.bar->Items()->GetItem(1);
    connect(second, &TuiSideBarItem::OnClick, form.bar, [&](QObject* sender) {
        itemSender = sender;
        order << QStringLiteral("item click");
    });
    connect(form.bar, &TuiCustomControl::OnClick, form.bar, [&] { order << QStringLiteral("bar click"); });
    QTest::mouseMove(form.bar, itemPoint(form.bar, 1));
    QCOMPARE(form.bar->HotIndex(), 1);
    QTest::mouseClick(form.bar, Qt::LeftButton, {}, itemPoint(form.bar, 1));
    QCOMPARE(clicked, second);
    QCOMPARE(clicked->Caption(), QStringLiteral("Zwei"));
    QCOMPARE(itemSender, second);
    QCOMPARE(order, (QStringList{"bar item click", "item click", "bar click"}));
    QVERIFY(!form.bar->IsRolling());
}

void TestSideBar::vetoStopsEveryClick()
{
    Form form(3);
    QVERIFY(form.show());
    bool allow = false;
    TuiSideBarItem* asked = nullptr;
    connect(form.bar, &TuiCustomSideBar::OnCanChange, form.bar,
            [&](QObject*, TuiSideBarItem* item, bool& allowChange) {
                asked = item;
                allowChange = allow;
            });
    QSignalSpy itemClicks(form.bar, &TuiCustomSideBar::OnItemClick);
    QSignalSpy ownClicks(form.bar->Items()->GetItem(2), &TuiSideBarItem::OnClick);
    QSignalSpy barClicks(form.bar, &TuiCustomControl::OnClick);
    QTest::mouseMove(form.bar, itemPoint(form.bar, 2));
    QTest::mouseClick(form.bar, Qt::LeftButton, {}, itemPoint(form.bar, 2));
    QCOMPARE(asked, form.bar->Items()->GetItem(2));
    QCOMPARE(itemClicks.count(), 0);
    QCOMPARE(ownClicks.count(), 0);
    QCOMPARE(barClicks.count(), 0);
    allow = true;
    QTest::mouseClick(form.bar, Qt::LeftButton, {}, itemPoint(form.bar, 2));
    QCOMPARE(itemClicks.count(), 1);
    QCOMPARE(ownClicks.count(), 1);
    QCOMPARE(barClicks.count(), 1);
}

void TestSideBar::disabledItemDoesNotLightUp()
{
    Form form(2);
    form.bar->SetColor(kFormColor);
    TuiSideBarItem* item = form.bar->Items()->GetItem(0);
    item->SetEnabled(false);
    QVERIFY(form.show());
    QSignalSpy itemClicks(form.bar, &TuiCustomSideBar::OnItemClick);
    QSignalSpy barClicks(form.bar, &TuiCustomControl::OnClick);
    int asked = 0;
    connect(form.bar, &TuiCustomSideBar::OnCanChange, form.bar, [&] { ++asked; });
    QTest::mouseMove(form.bar, itemPoint(form.bar, 0));
    QTest::mouseClick(form.bar, Qt::LeftButton, {}, itemPoint(form.bar, 0));
    QCOMPARE(asked, 0);
    QCOMPARE(itemClicks.count(), 0);
    QCOMPARE(barClicks.count(), 1);
    // Grey text, no hot-track blue anywhere in its row.
    const QImage image = form.bar->grab().toImage();
    const QRect row = form.bar->GetItemRect(0);
    bool grey = false, blue = false;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x <= row.right(); ++x) {
            grey |= image.pixelColor(x, y) == QColor(128, 128, 128);
            blue |= image.pixelColor(x, y) == QColor(0x357CFF);
        }
    QVERIFY(grey);
    QVERIFY(!blue);
    // An enabled item lights up in the hot-track colour.
    QTest::mouseMove(form.bar, itemPoint(form.bar, 1));
    const QImage lit = form.bar->grab().toImage();
    const QRect second = form.bar->GetItemRect(1);
    bool litBlue = false;
    for (int y = second.top(); y <= second.bottom(); ++y)
        for (int x = second.left(); x <= second.right(); ++x)
            litBlue |= lit.pixelColor(x, y) == QColor(0x357CFF);
    QVERIFY(litBlue);
}

void TestSideBar::hiddenItemsCloseTheGap()
{
    Form form(4);
    QVERIFY(form.show());
    TuiSideBarItem* second = form.bar->Items()->GetItem(1);
    second->SetVisible(false);
    QCOMPARE(form.bar->height(), 103);
    QCOMPARE(form.bar->VisibleItems().size(), 3);
    QCOMPARE(form.bar->VisibleItems().at(1)->Caption(), QStringLiteral("Drei"));
    // A click on the second row now means "Drei".
    QSignalSpy itemClicks(form.bar, &TuiCustomSideBar::OnItemClick);
    QTest::mouseMove(form.bar, itemPoint(form.bar, 1));
    QTest::mouseClick(form.bar, Qt::LeftButton, {}, itemPoint(form.bar, 1));
    QCOMPARE(itemClicks.first().at(1).value<TuiSideBarItem*>(), form.bar->Items()->GetItem(2));
    second->SetVisible(true);
    QCOMPARE(form.bar->height(), 123);
    QCOMPARE(form.bar->VisibleItems().at(1), second);
    // Every item hidden: as high as an empty bar.
    for (int i = 0; i < 4; ++i)
        form.bar->Items()->GetItem(i)->SetVisible(false);
    QCOMPARE(form.bar->height(), 35);
}

void TestSideBar::pointerRow_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("rollHeight");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("row");
    QTest::newRow("first row") << 4 << 20 << 42 << 0;
    QTest::newRow("last row") << 4 << 20 << 115 << 3;
    QTest::newRow("below the rows") << 4 << 20 << 116 << -1;
    QTest::newRow("header") << 4 << 20 << 20 << -1;
    // No items: nothing to divide among.
    QTest::newRow("no items") << 0 << 20 << 30 << -1;
    // Rows thinner than a pixel at the end of a roll: no row.
    QTest::newRow("rows of no height") << 6 << 0 << 42 << -1;
}

void TestSideBar::pointerRow()
{
    QFETCH(int, items);
    QFETCH(int, rollHeight);
    QFETCH(int, y);
    QFETCH(int, row);
    Form form(items);
    QVERIFY(form.show());
    form.bar->SetRollHeight(rollHeight);
    QCOMPARE(form.bar->ItemAt(y), row);
    QTest::mouseMove(form.bar, QPoint(40, y));
    QCOMPARE(form.bar->HotIndex(), row);
    QTest::mouseClick(form.bar, Qt::LeftButton, {}, QPoint(40, y));
}

void TestSideBar::itemsCollection()
{
    Form form(0);
    TuiSideBarItems* items = form.bar->Items();
    TuiSideBarItem* first = items->Add();
    QCOMPARE(first->Caption(), QString());
    QVERIFY(first->Enabled());
    QVERIFY(first->Visible());
    QCOMPARE(first->ImageIndex(), -1);
    QCOMPARE(first->Tag(), 0);
    QCOMPARE(first->Bar(), form.bar);
    first->SetCaption(QStringLiteral("Klassen verwalten"));
    items->Add()->SetCaption(QStringLiteral("Herren A (Einzel)"));
    items->Add()->SetCaption(QStringLiteral("Damen (Doppel)"));
    QCOMPARE(items->Count(), 3);
    QCOMPARE(items->GetItem(1)->Caption(), QStringLiteral("Herren A (Einzel)"));
    QCOMPARE((*items)[2]->Index(), 2);
    QVERIFY(!items->GetItem(3));
    QVERIFY(!items->GetItem(-1));
    QCOMPARE(form.bar->height(), 103);
    items->Delete(1);
    QCOMPARE(items->Count(), 2);
    QCOMPARE(items->GetItem(1)->Caption(), QStringLiteral("Damen (Doppel)"));
    QCOMPARE(form.bar->height(), 83);
    items->Delete(7); // outside: nothing
    QCOMPARE(items->Count(), 2);
    delete items->GetItem(0); // freed directly, it leaves the collection
    QCOMPARE(items->Count(), 1);
    QCOMPARE(form.bar->height(), 63);
    // Pictures come from the item's list, else from the bar's.
    TuiImageList barList, ownList;
    QImage red(16, 16, QImage::Format_RGB32);
    red.fill(Qt::red);
    red.setPixelColor(0, 15, Qt::white); // the transparent colour
    barList.Add(red);
    TuiSideBarItem* item = items->GetItem(0);
    form.bar->SetImageList(&barList);
    QCOMPARE(item->EffectiveImageList(), &barList);
    item->SetImageList(&ownList);
    QCOMPARE(item->EffectiveImageList(), &ownList);
    {
        TuiImageList gone;
        item->SetImageList(&gone);
    }
    QCOMPARE(item->EffectiveImageList(), &barList); // a freed list is forgotten
    item->SetImageIndex(0);
    const QImage image = form.bar->grab().toImage();
    QCOMPARE(image.pixelColor(3 + 8, 39 + 10), QColor(Qt::red));
    items->Clear();
    QCOMPARE(form.bar->height(), 35);
}

void TestSideBar::namesAndCaptions()
{
    Form form(3);
    TuiSideBarItems* items = form.bar->Items();
    items->GetItem(0)->SetName(QStringLiteral("laden"));
    items->GetItem(1)->SetName(QStringLiteral("erstellen"));
    items->GetItem(1)->SetName(QStringLiteral("laden"));
    QCOMPARE(items->GetItem(1)->Name(), QStringLiteral("erstellen"));
    QCOMPARE(items->FindItem(QStringLiteral("laden")), items->GetItem(0));
    QCOMPARE(items->GetItem(0)->GetDisplayName(), QStringLiteral("Eins [laden]"));
    items->GetItem(2)->SetCaption(QString());
    items->GetItem(2)->SetVisible(false);
    QCOMPARE(items->GetItem(2)->GetDisplayName(), QStringLiteral("untitled*"));

    // An empty caption shows as "(untitled n)" with the visible index.
    QStringList drawn;
    items->GetItem(2)->SetVisible(true);
    connect(form.bar, &TuiCustomSideBar::OnDrawItem, form.bar,
            [&](QObject*, QPainter*, const QRect&, TuiDrawState, TuiSideBarItem* item, const QImage&) {
                drawn << item->Caption();
            });
    form.bar->grab();
    QCOMPARE(drawn, (QStringList{"Eins", "Zwei", ""}));
    disconnect(form.bar, &TuiCustomSideBar::OnDrawItem, nullptr, nullptr);
    form.bar->SetFont(QFont(QStringLiteral("Liberation Sans")));
    form.bar->SetColor(kFormColor);
    // "(untitled 2)" is wider than nothing: ink in the third row.
    const QImage image = form.bar->grab().toImage();
    const QRect third = form.bar->GetItemRect(2);
    int ink = 0;
    for (int x = third.left() + 20; x <= third.right(); ++x)
        for (int y = third.top(); y <= third.bottom(); ++y)
            ink += image.pixelColor(x, y) != QColor(0xC6F3AF) && image.pixelColor(x, y) != QColor(Qt::white);
    QVERIFY(ink > 20);
}

void TestSideBar::headerAndRollButtonPixels()
{
    Form form(2);
    QVERIFY(form.show());
    const int w = form.bar->width();
    auto image = [&] { return form.bar->grab().toImage(); };
    QImage shot = image();
    QCOMPARE(shot.pixelColor(2, 10), QColor(0x2EA934)); // the gradient starts green
    QVERIFY(shot.pixelColor(w - 26, 10).green() > 240);  // and ends nearly white
    QCOMPARE(shot.pixelColor(0, 5), kFormColor);         // rounded corners
    QCOMPARE(shot.pixelColor(1, 6), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(w - 1, 6), kFormColor);
    QCOMPARE(shot.pixelColor(40, 5), QColor(Qt::white));  // white frame
    QCOMPARE(shot.pixelColor(0, 40), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(10, 33), QColor(0x008000)); // separator line
    QCOMPARE(shot.pixelColor(w - 1, 33), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(10, 36), QColor(0xC6F3AF)); // body
    QCOMPARE(shot.pixelColor(5, 2), kFormColor);          // above the header

    // Expanded: the chevrons point up; the rim lights up under the pointer.
    const QPoint upperChevron(w - 24 + 5, 10 + 13);
    const QPoint rim(w - 24 + 9, 10);
    QCOMPARE(shot.pixelColor(upperChevron), kChevron);
    const QColor restingRim = shot.pixelColor(rim);
    QTest::mouseMove(form.bar, QPoint(w - 15, 19));
    shot = image();
    QVERIFY(shot.pixelColor(rim).lightness() < restingRim.lightness());
    // Pressed: the upper half darkens.
    const QPoint upperFace(w - 24 + 9, 10 + 3);
    const QColor face = shot.pixelColor(upperFace);
    QTest::mousePress(form.bar, Qt::LeftButton, {}, QPoint(w - 15, 19));
    QVERIFY(image().pixelColor(upperFace).lightness() < face.lightness());
    QTest::mouseRelease(form.bar, Qt::LeftButton, {}, QPoint(w - 15, 19));
    QVERIFY(form.rollToEnd());
    // Collapsed: the chevrons point down.
    QTest::mouseMove(&form.window, QPoint(240, 390));
    shot = image();
    QCOMPARE(shot.pixelColor(w - 24 + 5, 10 + 4), kChevron);
    QVERIFY(shot.pixelColor(upperChevron) != kChevron);
    // The header caption lights up under the pointer.
    bool blue = false;
    QTest::mouseMove(form.bar, QPoint(60, 20));
    shot = image();
    for (int x = 22; x < w - 28; ++x)
        for (int y = 6; y < 33; ++y)
            blue |= shot.pixelColor(x, y) == QColor(0x357CFF);
    QVERIFY(blue);
}

void TestSideBar::narrowBarHasNoRollButton()
{
    Form form(1);
    form.bar->resize(114, form.bar->height());
    QImage shot = form.bar->grab().toImage();
    for (int x = 114 - 24; x < 114 - 6; ++x)
        for (int y = 10; y < 28; ++y)
            QVERIFY(shot.pixelColor(x, y) != kChevron);
    form.bar->resize(115, form.bar->height());
    shot = form.bar->grab().toImage();
    QCOMPARE(shot.pixelColor(115 - 24 + 5, 10 + 13), kChevron);
}

void TestSideBar::barsBelowMoveWithTheRoll()
{
    QScrollArea area;
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* upper = new TuiSideBar;
    auto* lower = new TuiSideBar;
    for (int i = 0; i < 4; ++i) {
        upper->Items()->Add();
        lower->Items()->Add();
    }
    layout->addWidget(upper);
    layout->addWidget(lower);
    layout->addStretch();
    area.setWidget(column);
    area.setWidgetResizable(true);
    area.resize(185, 300);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    ManualStepTimer timer;
    upper->SetStepTimer(&timer);
    QApplication::processEvents();
    QCOMPARE(lower->y(), 123 + 4);
    upper->SetCollapsed(true);
    QVERIFY(timer.RollToEnd(upper));
    QApplication::processEvents();
    QCOMPARE(lower->y(), 35 + 4);
    upper->SetCollapsed(false);
    QVERIFY(timer.RollToEnd(upper));
    QApplication::processEvents();
    QCOMPARE(lower->y(), 123 + 4);
}

QTEST_MAIN(TestSideBar)
#include "test_sidebar.moc"
