// Players of a tournament (Spielerdaten) with their class entries
// (Spieler_im_turnier): loading, reading, inserting, changing and deleting, the
// club listing, the searches by typed prefix, the eligibility by sex and age,
// and start numbers.
//
// A player is always addressed by his key SID, never by his display name: two
// players may share a name, and a name typed on the page may belong to someone
// else. Every save runs in one transaction (joining the caller's); the page's
// texts are converted and checked before anything is written.
//
// Two desks: a change is written only over the player as the page loaded him
// (compared inside the transaction, under a lock on his row), and a class entry
// only into a class that still exists; otherwise StaleRecord (concurrency.h)
// and nothing is written.
#pragma once

#include "data/classkind.h"
#include "data/partnerrecords.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace bw {

// "Nachname, Vorname": how lists show a player or a referee.
QString displayName(const QString& nachname, const QString& vorname);
// Surname, then first name, as a German reader sorts them.
bool nameLessThan(const QString& nachname1, const QString& vorname1, const QString& nachname2,
                  const QString& vorname2);

// One player of the open tournament as the page lists him.
struct SpielerInfo {
    int sid = 0;
    QString nachname;
    QString vorname;
    QString verein;
    bool angemeldet = false;

    QString name() const { return displayName(nachname, vorname); }
};

// One class offered on the player page.
struct KlassenInfo {
    int kid = 0;
    ClassKind kind = ClassKind::Einzel;
    double gebuehr = 0; // 0 when Null
    QString text;     // "Einzel - A", "Doppel - A", "Mixed - A", "Team - A"
};

// "Einzel - ", "Doppel - ", "Mixed - ", "Team - ".
QString classEntryPrefix(ClassKind kind);

// The stored values of one player, without his keys.
struct PlayerRecord {
    QString nachname;
    QString vorname;
    QString verein;
    std::optional<QDate> geb;
    std::optional<int> nummer;
    QString kverband;
    QString bverband;
    QString lverband;
    QString land;
    std::optional<double> zubezahlen;
    bool bezahlt = false;
    bool mann = true;
    bool frau = false;
    QString spklasse;
    QString spielstaerke;
    QString email;

    bool operator==(const PlayerRecord&) const = default;
};

// The page's fields as typed.
struct PlayerTexts {
    QString nachname, vorname, verein, geb, nummer, kverband, bverband, lverband, land, zubezahlen, spklasse,
        spielstaerke, email;
    bool bezahlt = false;
    bool mann = true;
    bool frau = false;
};

// Converts the page's texts into a record. Names and club are kept as typed, the
// other texts trimmed; an empty birth date, start number or amount becomes Null.
// A text that does not convert gives the German message for the user instead.
struct PlayerConversion {
    std::optional<PlayerRecord> record;
    QString error;
};
PlayerConversion convertPlayerTexts(const PlayerTexts& texts);

// One class entry of a player.
struct ClassEntryRow {
    int kid = 0;
    bool gemeldet = false;

    bool operator==(const ClassEntryRow&) const = default;
};

// One of the player's pair or team rows.
struct PairRow {
    int kid = 0;
    std::optional<int> partnerSid;
    std::optional<QString> mannschaft;

    bool operator==(const PairRow&) const = default;
};

struct PlayerData {
    int tid = 0;
    int sid = 0;
    PlayerRecord record;
    QList<ClassEntryRow> classes; // by KID
    QList<PairRow> pairs;         // by KID
};

// Whether two reads show the same player as the player page saves him: his
// record, the classes he entered and his partners. Check-in flags and team
// names are left aside: the check-in page and the team builder keep those, and
// a save of the player page keeps them too.
bool samePlayer(const PlayerData& a, const PlayerData& b);

// The players of a tournament in key order.
QList<SpielerInfo> loadPlayers(const QSqlDatabase& db, int tid);

// The distinct values of one of the players' text columns in a tournament,
// sorted; `column` is one of kverband, bverband, lverband, land, spklasse,
// verein (anything else is a programming error). Empty values are left out
// unless `withEmpty`.
QStringList playerColumnValues(const QSqlDatabase& db, int tid, const QString& column, bool withEmpty = false);

// The tournament's classes as the page offers them, in the order of their
// texts (so grouped "Doppel", "Einzel", "Mixed", "Team", each by name).
QList<KlassenInfo> loadOfferedClasses(const QSqlDatabase& db, int tid);

// One player with his class entries and pair rows; nothing when there is none.
std::optional<PlayerData> readPlayer(const QSqlDatabase& db, int sid);

// Inserts a player entered in the given classes (not checked in); returns his
// key. Throws StaleRecord when one of the classes no longer exists.
int insertPlayer(const QSqlDatabase& db, int tid, const PlayerRecord& record, const QList<int>& kids);

// Writes the record over the player's row and makes his class entries exactly
// the given classes: entries that stay keep their check-in flag, new ones are
// not checked in. `loaded` is the player as the page loaded him (readPlayer);
// throws StaleRecord when he no longer exists, is no longer stored as loaded
// (samePlayer) or a new class no longer exists.
void updatePlayer(const QSqlDatabase& db, const PlayerData& loaded, const PlayerRecord& record,
                  const QList<int>& kids);

// The player page's save in one transaction, run again on a deadlock: the
// player is inserted (no `loaded`) or changed over `loaded` (updatePlayer),
// then his partner rows are stored (storePartners). Returns the player as he
// is now stored, the values the page keeps as loaded.
PlayerData savePlayer(const QSqlDatabase& db, int tid, const std::optional<PlayerData>& loaded,
                      const PlayerRecord& record, const QList<int>& kids, const QList<PartnerLine>& lines,
                      const QSet<std::pair<int, int>>& takeOver);

// Deletes the player with his class entries and pair rows; whoever named him as
// partner keeps his row without partner.
void deletePlayer(const QSqlDatabase& db, int sid);

// The players of one club of the tournament, by display name.
QList<SpielerInfo> clubMembers(const QSqlDatabase& db, int tid, const QString& club);

// The first player (by surname, then first name) whose surname begins with the
// prefix, compared without regard to case; nothing when none does. The prefix is
// plain text: "%" and "_" are no wildcards.
std::optional<SpielerInfo> findPlayerByPrefix(const QSqlDatabase& db, int tid, const QString& prefix);
// The first club of the tournament's players that begins with the prefix.
std::optional<QString> findClubByPrefix(const QSqlDatabase& db, int tid, const QString& prefix);

// Sex: true when the player is male and the class admits men, or female and it
// admits women; false for an unknown class.
bool sexEligible(const QSqlDatabase& db, int kid, bool mann, bool frau);

// The limits of an age class.
struct AgeLimits {
    std::optional<QDate> von;
    std::optional<QDate> bis;
    bool aelter = false;
    bool juenger = false;
};
// Both bounds are exclusive: a birth date on `von` or `bis` is never eligible.
bool ageEligible(const AgeLimits& limits, const QDate& birth);
// The age class of the class in its own tournament; eligible when it has none.
bool ageEligible(const QSqlDatabase& db, int kid, const QDate& birth);

// Whether a player of the tournament already has that start number.
bool startNumberInUse(const QSqlDatabase& db, int tid, int number);
// The smallest positive start number no player of the tournament has.
int nextFreeStartNumber(const QSqlDatabase& db, int tid);

// One line of the list of start numbers.
struct StartNumberRow {
    int nummer = 0;
    QString name; // "Nachname, Vorname"
    QString verein;

    bool operator==(const StartNumberRow&) const = default;
};
// The tournament's players with a start number, by number, then by name.
QList<StartNumberRow> loadStartNumbers(const QSqlDatabase& db, int tid);

} // namespace bw
