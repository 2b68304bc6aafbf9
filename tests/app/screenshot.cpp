// Renders the main window for the documentation: the start state beside an
// opened tournament, side by side in one picture. Run it under xvfb-run:
//   xvfb-run build/test/tests-bin/mainwindow_screenshot docs/mainwindow.png
#include "app/program.h"
#include "app/tdata_unit.h"
#include "app/tmainform.h"
#include "app/tturnierladen.h"
#include "data/preparation.h"
#include "data/tournamentrecords.h"
#include "support/fakeservices.h"
#include "support/tempprogramfolder.h"
#include "support/widgethelpers.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTest>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
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
    main->show();
    QTest::qWait(300);
    const QImage start = main->grab().toImage();

    main->TurnierbuttonItemClick(bw::TMainform::TurnierLaden);
    QTest::qWait(100);
    bw::test::click(program.forms.turnierladen->uiButton1);
    QTest::qWait(300);
    const QImage opened = main->grab().toImage();

    QImage both(start.width() + opened.width() + 12, qMax(start.height(), opened.height()), QImage::Format_RGB32);
    both.fill(Qt::white);
    QPainter p(&both);
    p.drawImage(0, 0, start);
    p.drawImage(start.width() + 12, 0, opened);
    p.end();
    return both.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
