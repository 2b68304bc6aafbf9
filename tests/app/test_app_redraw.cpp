// "Phase neu auslosen" inside the whole program: the class drawn from its
// group set-up page and opened in "Spielpläne", then its phase drawn again
// from the plan panel; "Fertig stellen" leaves the panel showing the new plan,
// not the old one whose status icons now stand for other matches.
#include "app/navigationbar.h"
#include "app/program.h"
#include "app/tmainform.h"
#include "controls/uibuttons.h"
#include "draw/tauslosungsform.h"
#include "groups/groupapp.h"
#include "groups/groupsetuppage.h"
#include "plans/plancanvas.h"
#include "plans/planpanel.h"
#include "plans/tspielplaene.h"
#include "support/widgethelpers.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

// Puts the registered entrant `name` on slot 0 of phase 1, draws the rest and
// finishes the draw.
void drawWith(Tauslosungsform* wizard, const QString& name)
{
    DrawModel& model = wizard->model();
    int row = 0;
    while (row < model.registered().size() && model.registered()[row].text() != name)
        ++row;
    QVERIFY(model.dropOnSlot(DrawList::ListBox1, row, {1, 0}));
    click(wizard->uiButton1);
    click(wizard->weiter);
    click(wizard->fertig);
    QVERIFY(!wizard->isVisible());
}

// The name label of the plan page standing where `where` is, or none.
QLabel* labelAt(QWidget* canvas, const QRect& where)
{
    for (QLabel* label : canvas->findChildren<QLabel*>()) {
        if (label->geometry() == where && !label->objectName().startsWith(QStringLiteral("status")))
            return label;
    }
    return nullptr;
}

QLabel* labelShowing(QWidget* canvas, const QString& text)
{
    for (QLabel* label : canvas->findChildren<QLabel*>()) {
        if (label->text() == text && !label->objectName().startsWith(QStringLiteral("status")))
            return label;
    }
    return nullptr;
}

} // namespace

class TestAppRedraw : public QObject {
    Q_OBJECT
private slots:
    void redrawShowsTheNewPlan()
    {
        GroupApp app;
        TMainform* main = app.main();
        GroupSetupPage* page = app.page();
        app.openClass(QStringLiteral("U18 (m) (Einzel)"));
        click(qobject_cast<QRadioButton*>(page->spielsystem[0]->button(int(PlaySystem::EinfachesKO))));
        click(page->zurauslosung);
        Tauslosungsform* wizard = app.program->forms.auslosungsform;
        QVERIFY(wizard->isVisible());
        drawWith(wizard, QStringLiteral("Otto, Olaf"));

        QCOMPARE(main->spielplanbutton->itemCaption(0), QStringLiteral("U18 (m) (Einzel)"));
        main->spielplanbuttonItemClick(0);
        auto* panel = main->spielplanform->findChild<PlanPanel*>();
        QVERIFY(panel);
        QWidget* before = panel->sp_scrollbox1->widget();
        QLabel* first = labelShowing(before, QStringLiteral("Otto, Olaf"));
        QVERIFY(first);
        const QRect slot0 = first->geometry();

        // "Phase neu auslosen" on the phase-1 page.
        PlanIcon* neu = nullptr;
        for (PlanIcon* icon : panel->findChildren<PlanIcon*>())
            if (icon->toolTip() == QStringLiteral("Phase neu auslosen") && icon->isVisible())
                neu = icon;
        QVERIFY(neu);
        QTest::mouseClick(neu, Qt::LeftButton);
        QVERIFY(wizard->isVisible());
        QCOMPARE(wizard->Tag, 2);
        drawWith(wizard, QStringLiteral("Abel, Anton"));

        QWidget* after = panel->sp_scrollbox1->widget();
        QVERIFY(after != before);
        QLabel* redrawn = labelAt(after, slot0);
        QVERIFY(redrawn);
        QCOMPARE(redrawn->text(), QStringLiteral("Abel, Anton"));
        QVERIFY(app.fake->prompter.verify());
    }
};

QTEST_MAIN(TestAppRedraw)
#include "test_app_redraw.moc"
