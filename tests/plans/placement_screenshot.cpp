// Draws the placement page of the plan panel for docs/placement.png (target
// docs-pictures): a class of two groups and a knock-out of four, six places
// to decide, slots filled from the candidates.
#include "docpictures/docpicture.h"
#include "planfixture.h"
#include "planlinks.h"

#include "platform/apppaths.h"
#include "plans/placementpage.h"
#include "plans/planpanel.h"
#include "plans/tspielplaene.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>
#include <QTimer>

namespace {

QImage placementPage()
{
    using namespace bw;
    using namespace bw::test;
    TestDatabase tdb(Backend::SQLite);
    if (!tdb.ready())
        return {};
    const QSqlDatabase db = tdb.db();
    drawnClass(db, QStringLiteral("Damen"), {groupPhase(2, 4, 2), knockOut()}, 8);

    static FakePrompter prompter;
    static QTimer timer;
    auto* panel = new PlanPanel(nullptr);
    auto* spielplaene = new Tspielplaene(panel);
    PlanLinks links = planLinks(prompter, [db] { return db; }, &timer);
    spielplaene->attach(panel, links);
    panel->resize(830, 420);
    panel->show();
    spielplaene->openClass(kPlanTid, QStringLiteral("Damen (Einzel)"));
    PlacementPage* page = spielplaene->placement();
    page->countBox()->setEditText(QStringLiteral("6"));
    page->anzahlchange();
    page->feldDragDrop(QStringLiteral("platz12"), {QStringLiteral("Verlierer Spiel 13"), 13});
    page->feldDragDrop(QStringLiteral("platz22"), {QStringLiteral("Verlierer Spiel 14"), 14});
    page->feldDragDrop(QStringLiteral("platz13"), {QStringLiteral("Dritter Gruppe A"), 0});
    page->feldDragDrop(QStringLiteral("platz23"), {QStringLiteral("Dritter Gruppe B"), 0});
    panel->sp_contol->setCurrentIndex(3);
    const QImage picture = docs::grabSettled(*panel);
    delete panel;
    return picture;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, placementPage);
}
