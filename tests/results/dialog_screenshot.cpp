// Draws the match dialog for docs/match-dialog.png (target docs-pictures): the
// "Fertig" page of a running match with its result chosen and sets typed.
#include "../plans/planfixture.h"

#include "data/matchdialogrecords.h"
#include "data/sql.h"
#include "docpictures/docpicture.h"
#include "results/tergebnis.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

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
    ClassRecord record;
    record.saetze = 3;
    const int kid = drawnClass(db, QStringLiteral("Herren A"), {groupPhase(2, 4, 2)}, 8, ClassKind::Einzel, record);
    execute(db, s("UPDATE Spielplan SET begonnen=1,an_platte='T2',schiri='Huber, Hans',geplanter_tag=:d,"
                  "geplante_zeit=:z WHERE KID=:k AND spielnummer=1"),
            {{s("d"), QDate(2026, 6, 7)}, {s("z"), QDateTime(QDate(1899, 12, 30), QTime(10, 30))}, {s("k"), kid}});
    FakePrompter prompter;
    Tergebnis dialog(nullptr, prompter);
    TergebnisLinks links;
    links.database = [db] { return db; };
    dialog.setLinks(links);
    ResultDialogSetup setup;
    setup.saetze = 3;
    setup.setEntries = 5;
    setup.ergebnisItems = {"3:2", "3:1", "3:0", "0:3", "1:3", "2:3"};
    dialog.setResultSetup(setup);
    dialog.fillMode(TergebnisMode::Starten, kid, *readMatchDialogRow(db, kid, 1), {}, {}, QDate(2026, 6, 7));
    dialog.show();
    dialog.ergebniscombo->setCurrentIndex(dialog.ergebniscombo->findText(QStringLiteral("3:1")));
    const char* sets[] = {"+9", "-7", "+3", "+11"};
    for (int k = 0; k < 4; ++k)
        dialog.satz[size_t(k)]->setText(QString::fromLatin1(sets[k]));
    return docs::grabSettled(dialog);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawDialog);
}
