// What taking an online registration over writes into the tournament: the
// player (a new one, or the one the registration belongs to) with his online
// id, and his entries in the classes the registration names.
//
// A registration is written in one transaction under the key lock of
// Spielerdaten, and inside it the player is looked up again by his online id:
// two desks taking over the same registration add one player, the second
// updating what the first added.
#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace bw {

// What a registration stores of a player.
struct RegisteredPlayer {
    QString nachname;
    QString vorname;
    QString verein;
    QString email;
    std::optional<QDate> geb;
    QString kverband;
    QString bverband;
    QString lverband;
    QString land;
    int liveSpielerID = 0; // 0: none (only ids above 0 name a player)
    QString spklasse;
    bool mann = false;
    bool frau = false;
    QString spielstaerke;
};

// The tournament's players by their online id (only ids above 0; the first
// player by key when two share one).
QHash<int, int> readPlayersByOnlineId(const QSqlDatabase& db, int tid);

// A player of the tournament without online id whose names equal the given
// ones, compared without regard to case (and plain: no wildcards); the first
// by key. Nothing when there is none.
struct Namesake {
    int sid = 0;
    QString verein;
    std::optional<QDate> geb;
};
std::optional<Namesake> findNamesake(const QSqlDatabase& db, int tid, const QString& nachname,
                                     const QString& vorname);

// Writes one registration in one transaction and returns the player's key. The
// player is, in this order: the tournament's player with the registration's
// online id, the player `sid` (above 0: the namesake the user chose), or a new
// player with the next key and the tournament's next start number. An update
// writes only over a player without online id or with this one; otherwise, and
// when the player is gone, AppError and nothing is written. Then the player is
// entered in each class of `kids` he is not entered in yet (not checked in),
// in a doubles or mixed class with a pair row without partner. A class that no
// longer exists is a StaleRecord.
int storeRegistration(const QSqlDatabase& db, int tid, const RegisteredPlayer& player, int sid,
                      const QList<int>& kids);

} // namespace bw
