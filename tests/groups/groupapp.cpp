#include "groupapp.h"

#include "app/navigationbar.h"
#include "app/tmainform.h"
#include "app/tturnierladen.h"
#include "data/connection.h"
#include "data/db_procedures.h"
#include "data/preparation.h"
#include "data/tournamentrecords.h"
#include "groupfixture.h"
#include "support/widgethelpers.h"

#include <QTest>

namespace bw::test {

GroupApp::GroupApp()
{
    folder.write(QStringLiteral("Files/system.txt"), "1:\r\n");
    folder.write(QStringLiteral("Files/ko_system.txt"), "2:\r\n");
    qputenv("BRACKWELL_SETTINGS", folder.file(QStringLiteral("settings.ini")).toUtf8());
    const QString file = folder.file(QStringLiteral("turnier_db.sqlite"));
    prepareSqliteFile(file);
    {
        ScopedConnection connection(openSqlite(file, QStringLiteral("groups-seed")));
        TournamentData data;
        data[TournamentField::turniername] = QStringLiteral("Bezirksmeisterschaft 2026");
        data[TournamentField::tvon] = QDate(2026, 12, 12);
        data[TournamentField::tbis] = QDate(2026, 12, 13);
        insertTournament(connection.db(), data, {true, true, true, true});
        groups::seedGroupTournament(connection.db());
    }
    fake = std::make_unique<FakeServices>(folder.path());
    program = std::make_unique<Program>(fake->services);
    main()->show();
    main()->TurnierbuttonItemClick(TMainform::TurnierLaden);
    click(program->forms.turnierladen->uiButton1);
}

GroupApp::~GroupApp()
{
    program.reset();
    qunsetenv("BRACKWELL_SETTINGS");
}

TMainform* GroupApp::main() const
{
    return program->forms.Mainform;
}

GroupSetupPage* GroupApp::page() const
{
    return main()->gruppenseite;
}

QSqlDatabase GroupApp::db() const
{
    return program->forms.db_procedures->ADOConnection1();
}

void GroupApp::openClass(const QString& caption) const
{
    NavigationBar* bar = main()->Klassenbutton;
    for (int i = 0; i < bar->itemCount(); ++i) {
        if (bar->itemCaption(i) == caption) {
            main()->KlassenbuttonItemClick(i);
            return;
        }
    }
    QTest::qFail(qPrintable(QStringLiteral("no class item \"%1\"").arg(caption)), __FILE__, __LINE__);
}

} // namespace bw::test
