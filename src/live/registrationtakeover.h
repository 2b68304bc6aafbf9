// Taking online registrations over into the tournament, without widgets: which
// local classes a registration names, whether it belongs to a player of the
// tournament already, the rows the registration page shows, and the take-over
// itself, one transaction per registration (data/liveregistrationrecords.h).
//
// A registration belongs to a player of the tournament when he carries its
// online id; only ids above 0 name a player. Its class ids name the local
// classes mapped to them; empty ids and "0" name nothing, and an id no local
// class is mapped to makes the registration unmapped: it cannot be taken over
// until the mapping is done.
#pragma once

#include "data/livelinkrecords.h"
#include "data/liveregistrationrecords.h"
#include "live/liverecords.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace bw {

class Prompter;

// The registration's online player id when it is a number above 0.
std::optional<int> onlinePlayerId(const AnmeldungRecord& record);

// The local classes a registration names, in the order of its ids, each class
// once.
struct RegistrationClasses {
    QList<int> kids;
    QStringList texts; // "Herren A (Ez)"
    bool unmapped = false;
};
RegistrationClasses registrationClasses(const AnmeldungRecord& record, const QList<LinkedClass>& classes);

// Gives each record the key of the tournament's player with its online id, "0"
// when there is none (see readPlayersByOnlineId).
void matchRegisteredPlayers(QList<AnmeldungRecord>& records, const QHash<int, int>& playersByOnlineId);

// One row of the registration page.
struct RegistrationRow {
    int index = 0;       // the record's number, from 1
    bool update = false; // "(Update)": the player is in the tournament already
    QString caption;     // "Nachname, Vorname", cut to 32 characters and ".." beyond 35
    QString hint;        // the whole name, club and district association
    QString classText;   // the local classes, or the request to check the mapping
    QString classHint;   // the whole class text when it had to be cut
    bool unmapped = false;
};
inline const QString kCheckMapping = QStringLiteral("Turnierklassen-Abgleich überprüfen!");

// The rows of the records (matched as above); with `onlyNew` the players
// already in the tournament get none.
QList<RegistrationRow> registrationRows(const QList<AnmeldungRecord>& records, const QList<LinkedClass>& classes,
                                        bool onlyNew);

// What a registration stores of its player.
RegisteredPlayer registeredPlayer(const AnmeldungRecord& record);

// The question about a player of the tournament with the registration's names.
QString namesakeQuestion(const AnmeldungRecord& record, const Namesake& found);

struct TakeOverResult {
    int written = 0; // registrations written
    int lastSid = 0; // the player written last; 0 when none
    QString error;   // why the take-over stopped; empty when it went through
};

// Takes the records over in their order. A new player's registration whose
// names a player of the tournament without online id carries asks first (Yes:
// update that player; No: a new player; Ignore: skip it, not counted). Each
// registration is one transaction; the first that fails is rolled back and
// ends the take-over.
TakeOverResult takeOverRegistrations(const QSqlDatabase& db, int tid, const QList<AnmeldungRecord>& records,
                                     const QList<LinkedClass>& classes, Prompter& prompter);

} // namespace bw
