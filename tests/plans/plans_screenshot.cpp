// Draws the plan panel with the group plans of a class in "Matrix" for
// docs/plans-groups.png (target docs-pictures): four groups of four.
#include "docpictures/docpicture.h"
#include "planfixture.h"
#include "planlinks.h"

#include "data/sql.h"
#include "platform/apppaths.h"
#include "plans/planpanel.h"
#include "plans/tspielplaene.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>

namespace {

QImage groupPlans()
{
    using namespace bw;
    using namespace bw::test;
    TestDatabase tdb(Backend::SQLite);
    if (!tdb.ready())
        return {};
    const QSqlDatabase db = tdb.db();
    drawnClass(db, QStringLiteral("Herren A"), {groupPhase(4, 4, 2), knockOut()}, 16);
    const QStringList names = {
        "Becker, Jonas",  "Schulz, Lukas",   "Wagner, Felix",   "Hoffmann, Paul", "Koch, Leon",    "Richter, Elias",
        "Klein, Noah",    "Wolf, Finn",      "Neumann, Ben",    "Schwarz, Luca",  "Braun, Tim",    "Zimmermann, Max",
        "Krüger, Moritz", "Hartmann, Jakob", "Lange, Julian",   "Werner, Niklas"};
    for (int i = 0; i < names.size(); ++i) {
        const QString old = QStringLiteral("Spieler %1").arg(i, 3, 10, QLatin1Char('0'));
        for (const char* statement : {"UPDATE Gruppen SET bez=:n WHERE bez=:o", "UPDATE Tabellen SET bez=:n WHERE bez=:o",
                                      "UPDATE Spielplan SET spieler1=:n WHERE spieler1=:o",
                                      "UPDATE Spielplan SET spieler2=:n WHERE spieler2=:o"})
            execute(db, QString::fromLatin1(statement), {{s("n"), names[i]}, {s("o"), old}});
    }

    static FakePrompter prompter;
    static QTimer timer;
    auto* panel = new PlanPanel(nullptr);
    auto* spielplaene = new Tspielplaene(panel);
    PlanLinks links = planLinks(prompter, [db] { return db; }, &timer);
    spielplaene->attach(panel, links);
    panel->GruppeDarBox->setCurrentIndex(0);
    panel->resize(830, 600);
    panel->show();
    spielplaene->openClass(kPlanTid, QStringLiteral("Herren A (Einzel)"));
    const QImage picture = docs::grabSettled(*panel);
    delete panel;
    return picture;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, groupPlans);
}
