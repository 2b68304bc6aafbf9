// The current context of the program: which tournament and class are open,
// which database is in use, and the few settings that every form reads. The
// program body owns one instance for the whole run; the main window and the
// dialogs get it by reference.
#pragma once

#include <QPoint>
#include <QString>
#include <array>

namespace bw {

struct AppContext {
    // Open tournament; 0 = none yet.
    int aktuelleTID = 0;
    // Name of the open tournament; empty = no tournament.
    QString aktuellerTurniername;
    // Current class.
    int aktuelleKID = 0;
    // Caption of the class item chosen in the "Turnierklassen" bar.
    QString aktuelleKlassenbeschriftung;
    // Name of the class last loaded or saved on the class page.
    QString aktuellerKlassenname;
    // Player being edited (or the referee saved last).
    int aktuelleSID = 0;
    // The four options of the create dialog, stored with the tournament.
    std::array<bool, 4> turnierOptionen{true, true, true, true};

    // The catalog of the tournament database on a server. (Which database is
    // open, accessDB, dbPfad, serverName and dbWahrWert, is kept by db_procedures.)
    QString serverCatalog = QStringLiteral("turnier_db");

    // Default of the result dialogs' "nächstes mögliches Spiel anzeigen".
    bool naechstesSpielAnzeigen = true;
    // Base address of the live-results web service (its path is "/Webservice").
    QString liveServiceURL;
    // User id of the live-service login; 0 = not logged in.
    int liveLoginID = 0;

    // Player page: fee total of the ticked classes, start number of the loaded player.
    double startgebuehrSumme = 0;
    int alteRueckennummer = 0;
    // Mouse-down position of list drag and drop.
    QPoint dragStartPunkt;
    // Type-ahead buffers of the name and club searches.
    QString nameSuchtext;
    QString vereinSuchtext;

    bool tournamentOpen() const { return !aktuellerTurniername.isEmpty(); }
};

} // namespace bw
