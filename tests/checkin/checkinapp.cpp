#include "checkinapp.h"

#include "app/tmainform.h"
#include "app/tturnierladen.h"
#include "checkinfixture.h"
#include "data/connection.h"
#include "data/preparation.h"
#include "data/tournamentrecords.h"
#include "support/widgethelpers.h"

#include <QTest>

namespace bw::test {

CheckInApp::CheckInApp()
{
    folder.write(QStringLiteral("Files/system.txt"), "1:\r\n");
    folder.write(QStringLiteral("Files/ko_system.txt"), "2:\r\n");
    qputenv("BRACKWELL_SETTINGS", folder.file(QStringLiteral("settings.ini")).toUtf8());
    const QString file = folder.file(QStringLiteral("turnier_db.sqlite"));
    prepareSqliteFile(file);
    {
        ScopedConnection connection(openSqlite(file, QStringLiteral("checkin-seed")));
        TournamentData data;
        data[TournamentField::turniername] = QStringLiteral("Stadtmeisterschaft 2026");
        data[TournamentField::tvon] = QDate(2026, 12, 12);
        data[TournamentField::tbis] = QDate(2026, 12, 13);
        insertTournament(connection.db(), data, {true, true, true, true});
        seedCheckInTournament(connection.db());
    }
    fake = std::make_unique<FakeServices>(folder.path());
    program = std::make_unique<Program>(fake->services);
    TMainform* main = program->forms.Mainform;
    main->show();
    main->TurnierbuttonItemClick(TMainform::TurnierLaden);
    click(program->forms.turnierladen->uiButton1);
}

CheckInApp::~CheckInApp()
{
    program.reset();
    qunsetenv("BRACKWELL_SETTINGS");
}

} // namespace bw::test
