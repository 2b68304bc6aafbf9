// What publishing a class to the live-results service reads from the tournament
// database -- the class row, its group settings, its players and its match rows
// -- and the one thing it stores: the id of an online class the service has
// just created for the class (Turnierklassen.LiveKlassenID).
#pragma once

#include "data/classkind.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>

namespace bw {

// The class row as the class record sends it (Null columns as nothing).
struct LiveClassRow {
    QString kbezeichnung;
    std::optional<int> system;
    std::optional<bool> mann;
    std::optional<bool> frau;
    std::optional<int> saetze;
    QString altersklasseID;
    std::optional<QDateTime> atag;
    std::optional<QDateTime> uhrzeit;
};

// The play systems of the class's group settings row, as stored.
struct LivePhases {
    std::optional<int> phase1;
    std::optional<int> phase2;
    std::optional<int> phase3;
};

struct LivePlayer {
    int sid = 0;
    QString vorname;
    QString nachname;
    QString verein;
    std::optional<int> liveSpielerID; // nothing is sent as "0"
};

// One match row of a class as stored, with what its round is worked out from.
struct StoredLiveMatch {
    std::optional<int> phase;
    int spielnummer = 0;
    std::optional<int> sid1;
    QString spieler1;
    std::optional<int> sid2;
    QString spieler2;
    std::array<std::optional<int>, 9> saetze{};
    QString ergebnis;
    int parentspiel1 = 0; // 0 or below: no parent match
    bool parentsieger1 = false;
    int parentspiel2 = 0;
    bool parentsieger2 = false;
    bool beendet = false;
    bool inPlanung = false;
    bool begonnen = false;
    std::optional<QDateTime> spielstart;
    std::optional<QDateTime> geplanterTag;
    std::optional<int> gruppe;
};

// A class of the tournament as the publish page lists it.
struct PublishClass {
    int kid = 0;
    QString kbezeichnung;
    std::optional<ClassKind> kind; // nothing for Null or another number
    int liveKlassenID = 0; // Null reads as 0
};

// The tournament's classes by name (German order, case-insensitive), then kind.
QList<PublishClass> readPublishClasses(const QSqlDatabase& db, int tid);

// The class row; nothing when the class is not (any more) in the tournament.
std::optional<LiveClassRow> readLiveClassRow(const QSqlDatabase& db, int tid, int kid);

// The class's group settings row; nothing when it has none.
std::optional<LivePhases> readLivePhases(const QSqlDatabase& db, int kid);

// The players entered in the class, by SID.
QList<LivePlayer> readLivePlayers(const QSqlDatabase& db, int tid, int kid);

// The match rows of the class, by match number.
QList<StoredLiveMatch> readLiveMatches(const QSqlDatabase& db, int tid, int kid);

// Stores the id of the online class the service created for a class that had
// none. Throws AppError when the class is gone or another desk gave it an
// online class meanwhile (nothing is written then).
void storeCreatedOnlineClass(const QSqlDatabase& db, int tid, int kid, int liveKlassenID);

} // namespace bw
