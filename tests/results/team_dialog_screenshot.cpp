// Draws the team match dialog for docs/team-result.png (target docs-pictures):
// the "Fertig" page of a running team match of nine games, the results of
// the first games chosen and their sets typed.
#include "teamfixture.h"

#include "docpictures/docpicture.h"
#include "plans/plansession.h"
#include "results/tergebnis_team.h"
#include "support/fakeprompter.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

namespace {

QImage drawDialog()
{
    using namespace bw;
    using namespace bw::test;
    TestDatabase tdb(Backend::SQLite);
    const QSqlDatabase db = tdb.db();
    const TeamClass c = teamClass(db);
    execute(db, s("UPDATE Spielplan SET begonnen=1 WHERE KID=:k AND spielnummer=:n"),
            {{s("k"), c.kid}, {s("n"), c.match}});
    FakePrompter prompter;
    Tergebnis_team dialog(nullptr, prompter);
    TergebnisTeamLinks links;
    links.database = [db] { return db; };
    dialog.setLinks(links);
    // A format of nine games: six singles, two doubles and a last single.
    ResultDialogSetup setup;
    setup.saetze = 3;
    setup.setEntries = 5;
    setup.ergebnisItems = setResultItems(3);
    setup.team = true;
    setup.teamPlayers = 3;
    setup.teamGames = 9;
    setup.teamResultItems = teamResultItems(9);
    const int a[] = {1, 2, 3, 11, 12, 1, 2, 3, 1};
    const int b[] = {2, 1, 3, 11, 12, 3, 2, 1, 1};
    for (int g = 0; g < 9; ++g)
        setup.gameCaptions << teamGameCaption(g + 1, a[g], b[g]);
    dialog.setResultSetup(setup);
    TeamMatchFill fill;
    fill.startDay = QDate(2026, 6, 7);
    dialog.fillMode(TergebnisMode::Starten, *loadTeamMatch(db, c.kid, c.match, fill));
    dialog.show();
    const char* results[] = {"3:1", "1:3", "3:0"};
    const char* sets[3][4] = {{"+9", "-7", "+3", "+11"}, {"-5", "+8", "-9", "-4"}, {"+2", "+6", "+1", ""}};
    for (int g = 0; g < 3; ++g) {
        dialog.erg[size_t(g)]->setCurrentIndex(dialog.erg[size_t(g)]->findText(QString::fromLatin1(results[g])));
        for (int k = 0; k < 4; ++k)
            dialog.satz[size_t(g)][size_t(k)]->setText(QString::fromLatin1(sets[g][k]));
    }
    return docs::grabSettled(dialog);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawDialog);
}
