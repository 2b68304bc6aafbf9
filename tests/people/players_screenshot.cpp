// Draws the main window with the player page for docs/players.png (target
// docs-pictures): a loaded player entered in two classes, one of them doubles
// with his partner.
#include "app/appcontext.h"
#include "app/program.h"
#include "app/tmainform.h"
#include "data/db_procedures.h"
#include "data/preparation.h"
#include "data/sql.h"
#include "docpictures/docpicture.h"
#include "people/playerpage.h"
#include "support/fakeservices.h"
#include "support/tempprogramfolder.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QListWidget>

using bw::s;
using bw::test::insertRow;

namespace {

QImage drawPlayerPage()
{
    bw::test::TempProgramFolder folder;
    folder.write(QStringLiteral("Files/system.txt"), "1:\r\n");
    folder.write(QStringLiteral("Files/ko_system.txt"), "2:\r\n");
    qputenv("BRACKWELL_SETTINGS", folder.file(QStringLiteral("settings.ini")).toUtf8());
    const QString file = folder.file(QStringLiteral("turnier_db.sqlite"));
    bw::prepareSqliteFile(file);
    {
        bw::ScopedConnection connection(bw::openSqlite(file, QStringLiteral("screenshot")));
        const QSqlDatabase db = connection.db();
        insertRow(db, s("Turnierdaten"), {{s("TID"), 1}, {s("turniername"), s("Stadtmeisterschaft 2026")}});
        using bw::ClassKind;
        const struct { int kid; ClassKind kind; const char* name; double fee; } classes[] = {
            {1, ClassKind::Einzel, "Herren A", 8}, {2, ClassKind::Doppel, "Herren", 6},
            {3, ClassKind::Einzel, "Senioren 50", 8}, {4, ClassKind::Mixed, "Mixed offen", 6},
            {5, ClassKind::Team, "Mannschaft", 0}};
        for (const auto& c : classes)
            insertRow(db, s("Turnierklassen"), {{s("TID"), 1}, {s("KID"), c.kid}, {s("system"), bw::storedKind(c.kind)},
                                                {s("kbezeichnung"), s(c.name)}, {s("gebuehr"), c.fee},
                                                {s("altersklasseID"), QString()}, {s("mann"), true}, {s("frau"), true}});
        const struct { int sid; const char* nachname; const char* vorname; const char* verein; int nummer; } players[] = {
            {1, "Brandt", "Jonas", "TTC Musterstadt", 1}, {2, "Müller", "Lukas", "TTC Musterstadt", 2},
            {3, "Schneider", "Anna", "SV Brunnhain", 3}, {4, "Fischer", "Paul", "SV Brunnhain", 4},
            {5, "Weber", "Tim", "TSV Moorbachtal", 5}, {6, "Becker", "Lena", "TSV Moorbachtal", 6}};
        for (const auto& p : players)
            insertRow(db, s("Spielerdaten"), {{s("TID"), 1}, {s("SID"), p.sid}, {s("nachname"), s(p.nachname)},
                                              {s("vorname"), s(p.vorname)}, {s("verein"), s(p.verein)},
                                              {s("nummer"), p.nummer}, {s("kverband"), s("Kreis Nord")},
                                              {s("bverband"), s("Bezirk Mitte")}, {s("lverband"), s("Landesverband")},
                                              {s("land"), s("GER")}, {s("spklasse"), s("Bezirksliga")},
                                              {s("spielstaerke"), s("1520")}, {s("email"), QString()},
                                              {s("geb"), QDate(1990 + p.sid, 3, 14)}, {s("zubezahlen"), 14.0},
                                              {s("mann"), true}, {s("frau"), false}});
        for (const auto& [kid, sid, gemeldet] : {std::tuple{1, 2, true}, {2, 2, false}, {2, 1, false}})
            insertRow(db, s("Spieler_im_turnier"), {{s("TID"), 1}, {s("KID"), kid}, {s("SID"), sid}, {s("gemeldet"), gemeldet}});
        insertRow(db, s("Doppelpartner"), {{s("KID"), 2}, {s("SID"), 2}, {s("partner_SID"), 1}, {s("mannschaft"), QVariant()}});
        insertRow(db, s("Doppelpartner"), {{s("KID"), 2}, {s("SID"), 1}, {s("partner_SID"), 2}, {s("mannschaft"), QVariant()}});
    }

    bw::test::FakeServices fake(folder.path());
    bw::Program program(fake.services);
    bw::Tdb_procedures& data = *program.forms.db_procedures;
    data.accessDB = true;
    data.dbPfad = file;
    data.db_verbinden(QString());
    program.context.aktuelleTID = 1;
    program.context.aktuellerTurniername = QStringLiteral("Stadtmeisterschaft 2026");
    bw::TMainform* main = program.forms.Mainform;
    main->enterOpenedState();
    main->resize(830, 670); // the start size
    main->show();
    main->SpielerbuttonItemClick(0);
    bw::PlayerPage* page = main->spielerseite;
    for (int i = 0; i < page->spielerliste->count(); ++i) {
        if (page->spielerliste->item(i)->data(Qt::UserRole).toInt() == 2)
            page->spielerliste->setCurrentItem(page->spielerliste->item(i));
    }
    page->spielerlisteClick();
    return bw::docs::grabSettled(*main);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawPlayerPage);
}
