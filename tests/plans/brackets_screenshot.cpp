// Draws a bracket page of the plan panel for docs/ (target docs-pictures):
// "ko" a knock-out of 16 entrants at zoom 2 with the player card of the first
// entrant held open, "double-ko" the double knock-out of 16 slots at zoom 1.
#include "docpictures/docpicture.h"
#include "planfixture.h"

#include "data/sql.h"
#include "platform/apppaths.h"
#include "plans/planpanel.h"
#include "plans/tspielplaene.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QScrollArea>
#include <QTabWidget>

namespace {

const char* const kNames[16] = {"Albers, Jonas",  "Brandt, Mia",    "Claßen, Noah",    "Dietrich, Lea",
                                "Engel, Paul",    "Franke, Emma",   "Günther, Ben",    "Hoffmann, Lina",
                                "Illner, Finn",   "Jäger, Clara",   "Krüger, Elias",   "Lorenz, Ida",
                                "Meier, Luca",    "Neumann, Sophie", "Otto, Felix",    "Peters, Hanna"};

QImage bracketPage(bool doubleKo)
{
    using namespace bw;
    test::TestDatabase tdb(Backend::SQLite);
    if (!tdb.ready())
        return {};
    const QSqlDatabase db = tdb.db();
    const QString name = doubleKo ? QStringLiteral("Doppel-KO") : QStringLiteral("Herren A");
    const int kid = test::drawnClass(db, name, {test::knockOut(doubleKo ? PlaySystem::DoppeltesKO : PlaySystem::EinfachesKO)},
                                     16);
    // The entrants with their names in the first round.
    const char* const clubs[3] = {"TTC Blau-Weiß Nord", "SV Südstadt", "TSV Ostend"};
    for (int i = 0; i < 16; ++i) {
        const QStringList name = QString::fromUtf8(kNames[i]).split(QStringLiteral(", "));
        test::insertRow(db, s("Spielerdaten"),
                        {{s("SID"), 100 + i}, {s("TID"), test::kPlanTid}, {s("nachname"), name[0]},
                         {s("vorname"), name[1]}, {s("verein"), QString::fromUtf8(clubs[i % 3])},
                         {s("geb"), QDate(1990 + i, 1 + i % 12, 1 + i)}});
        test::insertRow(db, s("Spieler_im_turnier"), {{s("TID"), test::kPlanTid}, {s("KID"), kid}, {s("SID"), 100 + i}});
        for (const char* side : {"1", "2"})
            execute(db,
                    QStringLiteral("UPDATE Spielplan SET spieler%1=:name WHERE KID=:k AND SID%1=:sid").arg(QLatin1String(side)),
                    {{s("name"), QString::fromUtf8(kNames[i])}, {s("k"), kid}, {s("sid"), 100 + i}});
    }

    test::FakePrompter prompter;
    QWidget window;
    window.resize(doubleKo ? 1000 : 900, doubleKo ? 820 : 700);
    PlanPanel panel(&window);
    panel.resize(window.size());
    Tspielplaene plans(nullptr);
    PlanLinks links;
    links.prompter = &prompter;
    links.database = [&] { return db; };
    links.firstDay = [] { return QDate(2026, 6, 6); };
    const QString resources = test::TempProgramFolder::sourceDir() + QStringLiteral("/resources");
    links.programFile = [resources](const QString& relative) { return AppPaths::resolve(resources, relative); };
    plans.attach(&panel, links);
    plans.openClass(test::kPlanTid, name + QStringLiteral(" (Einzel)"));
    window.show();
    if (doubleKo)
        plans.zoom(1);
    else
        plans.spielernameMouseDown(QString::fromUtf8(kNames[0]), 100, Qt::LeftButton, panel.mapToGlobal(QPoint(340, 330)));
    return docs::grabSettled(window);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3 || (qstrcmp(argv[1], "ko") != 0 && qstrcmp(argv[1], "double-ko") != 0))
        return 2;
    const bool doubleKo = qstrcmp(argv[1], "double-ko") == 0;
    char* rest[] = {argv[0], argv[2], nullptr};
    return bw::docs::writePicture(2, rest, [doubleKo] { return bracketPage(doubleKo); });
}
