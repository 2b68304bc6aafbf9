// The text records that travel inside the string parameters and results of the
// live-results service: the checks of its three replies (login, class list,
// registrations) and the builders of the three records the desk sends (class,
// players, matches).
//
// Fields are separated by "#*#" in the login reply and by "#-#" everywhere else.
// Splitting a text at a separator keeps empty items, so n separators give n + 1
// items. In a record the desk sends, every field is preceded by "#-#" and
// nothing follows the last one. Values are written the same way on every
// machine: integers in decimal, yes/no as "Wahr"/"Falsch", Null as "", a date as
// "dd.MM.yyyy" and a date with a time of day as "dd.MM.yyyy hh:mm:ss".
//
// A check never throws: it returns the parsed reply or the German message the
// caller shows. A builder throws AppError, naming the record, when a text would
// hold a separator and so shift every later field on the service's side.
#pragma once

#include "data/classkind.h"
#include "data/livepublishrecords.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace bw {

inline const QString kLoginSeparator = QStringLiteral("#*#");
inline const QString kFieldSeparator = QStringLiteral("#-#");

// The access code GetAnmeldung carries, the same for every call.
inline const QString kRegistrationCode = QStringLiteral("quimbex");

// Every item between the separators, empty ones included.
QStringList splitRecord(const QString& text, const QString& separator);

// An integer written in plain decimal digits with an optional "-" in front, in
// the range of a 32-bit int; nothing for anything else (blanks, "+", "1e3").
std::optional<int> decimalInteger(const QString& text);

// The short suffix of a class kind in the mapping: " (Ez)", " (Dp)", " (Mx)",
// " (Te)"; empty for no kind.
QString shortKindSuffix(std::optional<ClassKind> kind);

// --- Login -----------------------------------------------------------------

// One online tournament of the user. The id is text: it is compared with the
// decimal text of the stored assignment.
struct OnlineTournament {
    QString id;
    QString text1;
    QString text2;

    // "id - text1 - text2", as the tournament box lists it.
    QString caption() const;
    bool operator==(const OnlineTournament&) const = default;
};

struct LoginCheck {
    bool ok = false;
    QString error;  // the message for the user when not ok
    int userId = 0; // above 0 when ok
    // The tournaments of the reply; nothing when the items after the user id do
    // not make whole entries, and the list of the previous login stays.
    std::optional<QList<OnlineTournament>> tournaments;
};

// "#*#" user id, then "#*#" id "#*#" text1 "#*#" text2 per tournament. A reply
// that does not start with "#*#" is the service's error text. A user id that is
// no number, or not above 0, is a failed login.
LoginCheck checkLoginReply(const QString& reply);

// --- Class list -------------------------------------------------------------

struct OnlineClass {
    int id = 0;
    QString system; // "0".."3"; shown as " (Ez)" ... " (Te)"
    QString name;
    QString count;  // players registered online; "0" or empty: none
    QString extra;  // the fifth field, not read

    // The name with the short suffix of its kind.
    QString caption() const;
    // Whether players registered already (shown bold with the hint).
    bool hasRegistrations() const;
    // "Es hat sich bereits 1 Spieler angemeldet." / "Es haben sich bereits n
    // Spieler angemeldet."; empty without registrations.
    QString hint() const;
    bool operator==(const OnlineClass&) const = default;
};

struct ClassListCheck {
    bool ok = false;
    QString error;
    QList<OnlineClass> classes;
};

// "#-#" id "#-#" system "#-#" name "#-#" count "#-#" fifth field per class. The
// item count must make whole classes and every id must be a number; otherwise
// the whole list is refused.
ClassListCheck checkClassList(const QString& reply);

// --- Registrations ----------------------------------------------------------

// One online registration, its 15 texts in the order the service's records
// define. SID is the local player it updates, "0" for a new player: the check
// sets it to "0" and the take-over fills it in.
struct AnmeldungRecord {
    QString LiveSpielerID;
    QString vorname;
    QString nachname;
    QString email;
    QString verein;
    QString geb; // empty unless the text reads as a date dd.MM.yyyy
    QString klassenIDs; // online class ids separated by ","
    QString kverband;
    QString bverband;
    QString lverband;
    QString land;
    QString SID = QStringLiteral("0");
    QString geschlecht; // "m" or "w"
    QString spklasse;
    QString LPZ;

    bool operator==(const AnmeldungRecord&) const = default;
};

struct RegistrationCheck {
    enum class Outcome {
        Ok,
        NoRegistrations, // the reply starts with "0"
        ErrorReply,      // the service's error text
        WrongCount,      // the items do not make whole registrations
    };
    Outcome outcome = Outcome::ErrorReply;
    QString message; // the message for the user unless Ok
    QList<AnmeldungRecord> records;
};

inline constexpr int kRegistrationFields = 14;

// "#-#", then per registration its 14 fields each followed by "#-#"; whatever
// follows the last separator is ignored.
RegistrationCheck checkRegistrations(const QString& reply);

// --- Records the desk sends --------------------------------------------------

// The 13 fields of a class: the online tournament, the online class (0 asks the
// service to create one), the row, and the three phases ("0" each when the
// class has no group settings).
QString klassenString(int onlineTournamentId, int onlineClassId, const LiveClassRow& row,
                      const std::optional<LivePhases>& phases);

// The online tournament, then SID, vorname, nachname, verein and the online id
// of every player.
QString playerString(int onlineTournamentId, const QList<LivePlayer>& players);

// One match row with its loser flag and its group or round already worked out.
struct LiveMatch {
    std::optional<int> phase;
    bool loserSide = false;
    std::optional<int> groupOrRound;
    std::optional<int> spielnummer;
    std::optional<int> sid1;
    QString spieler1;
    std::optional<int> sid2;
    QString spieler2;
    bool inPlanung = false;
    bool begonnen = false;
    bool beendet = false;
    std::array<std::optional<int>, 9> saetze{};
    std::optional<QDateTime> spielstart;
    std::optional<QDateTime> geplanterTag;
    QString ergebnis;
};

// The status field: "3" finished, else "2" started, else "1" planned, else "0".
QString matchStatus(bool inPlanung, bool begonnen, bool beendet);

// The online tournament and class, then the 20 fields of every match.
QString publishString(int onlineTournamentId, int onlineClassId, const QList<LiveMatch>& matches);

// A value as the records write it.
QString recordValue(const std::optional<int>& value);
QString recordValue(const std::optional<bool>& value);
QString recordValue(const std::optional<QDateTime>& value);

} // namespace bw
