// Draws the main window for docs/mainwindow.png (target docs-pictures): the
// start state beside an opened tournament, side by side in one picture.
#include "app/program.h"
#include "app/tdata_unit.h"
#include "app/tmainform.h"
#include "app/tturnierladen.h"
#include "data/preparation.h"
#include "data/tournamentrecords.h"
#include "docpictures/docpicture.h"
#include "support/fakeservices.h"
#include "support/tempprogramfolder.h"
#include "support/widgethelpers.h"

#include <QApplication>

namespace {

QImage drawMainWindow()
{
    bw::test::TempProgramFolder folder;
    folder.write(QStringLiteral("Files/system.txt"), "1:\r\n");
    folder.write(QStringLiteral("Files/ko_system.txt"), "2:\r\n");
    qputenv("BRACKWELL_SETTINGS", folder.file(QStringLiteral("settings.ini")).toUtf8());
    const QString file = folder.file(QStringLiteral("turnier_db.sqlite"));
    bw::prepareSqliteFile(file);
    {
        bw::ScopedConnection connection(bw::openSqlite(file, QStringLiteral("screenshot")));
        bw::TournamentData data;
        data[bw::TournamentField::turniername] = QStringLiteral("Stadtmeisterschaft 2026");
        data[bw::TournamentField::austragungsort] = QStringLiteral("Sporthalle am Park");
        data[bw::TournamentField::veranstalter] = QStringLiteral("TTC Musterstadt");
        data[bw::TournamentField::tvon] = QDate(2026, 12, 12);
        data[bw::TournamentField::tbis] = QDate(2026, 12, 13);
        data[bw::TournamentField::gesamtleitung] = QStringLiteral("Erika Mustermann");
        data[bw::TournamentField::turnierleitung] = QStringLiteral("Max Mustermann\r\nJana Beispiel");
        bw::insertTournament(connection.db(), data, {true, true, true, true});
    }

    bw::test::FakeServices fake(folder.path());
    bw::Program program(fake.services);
    bw::TMainform* main = program.forms.Mainform;
    const QImage start = bw::docs::grabSettled(*main);

    main->TurnierbuttonItemClick(bw::TMainform::TurnierLaden);
    bw::docs::settle(100);
    bw::test::click(program.forms.turnierladen->uiButton1);
    const QImage opened = bw::docs::grabSettled(*main);
    return bw::docs::sideBySide({start, opened});
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawMainWindow);
}
