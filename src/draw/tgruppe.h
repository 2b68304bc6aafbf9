// The data module of the group set-up page (object "gruppe"): everything the
// page shows of one class, without widgets, and what the user does with it.
//
// - The phase settings (GroupSettingsModel) and the seed slots live here until
//   systemspeichern() stores them (Gruppeneinstellungen, Gesetzt); loading the
//   class again drops what was not stored.
// - The entrants of the class, sorted by their text: players, teams, or in a
//   doubles or mixed class the pairs and the players without partner, these
//   also in a list of their own. An entry's item says whether the entrant is
//   checked in (a pair: both players).
// - Seeding puts an entrant into a slot; he stays in the entrant list. An
//   entrant is found by his keys, never by his text: namesakes are two
//   entrants, and a pair is the same pair from either side.
// - Pairing, splitting and random pairing write Doppelpartner at once, in one
//   transaction each, guarded against a second desk (data/partnerrecords.h);
//   the lists change only after the write went through. Splitting and random
//   pairing load the class anew inside their transaction, dropping unsaved
//   settings and seeds; a failure while loading undoes the write.
//
// List texts (an initial is the first letter of a first name):
//   player "Nachname, Vorname"; pair "Nachname1, I. / Nachname2, I"; player
//   without partner "Nachname, I. / " (his own list: "Nachname, Vorname"); team
//   its name; seed slot n "n. " followed by the entrant's text; an empty slot
//   "n. " as loaded, "n." when the user made it (raising the count, dragging
//   its seed out).
// Items: ID = SID or MID (a pair: the first player's SID), partnerID = the
// partner's SID, 0 for players and teams, -1 for a player without partner; an
// empty slot has ID and partnerID 0 (made empty) or -1 (emptied by the user).
#pragma once

#include "data/classkind.h"
#include "data/myitem.h"
#include "draw/groupsettingsmodel.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

namespace bw {

class RandomSource;

// An entry of one of the page's lists: what it shows and what it stands for.
struct GroupListEntry {
    QString text;
    Myitem item;
};

QString pairText(const QString& nachname1, const QString& vorname1, const QString& nachname2,
                 const QString& vorname2);

class Tgruppe : public QObject {
public:
    Tgruppe(QObject* parent, std::function<QSqlDatabase()> database);

    // The class loaded last (0 before the first) and its kind.
    int kid() const { return m_kid; }
    ClassKind kind() const { return m_kind; }
    bool pairsClass() const { return m_kind == ClassKind::Doppel || m_kind == ClassKind::Mixed; }

    GroupSettingsModel& settings() { return m_settings; }
    const GroupSettingsModel& settings() const { return m_settings; }
    const QList<GroupListEntry>& gemeldete_spieler() const { return m_entrants; }
    const QList<GroupListEntry>& ohnepartner() const { return m_withoutPartner; }
    const QList<GroupListEntry>& gesetztespielerliste() const { return m_slots; }
    // The number of seed slots (gesetztespieleredit) and of entrants (spieleranzahl).
    int gesetztespieleredit() const { return int(m_slots.size()); }
    int spieleranzahl() const { return int(m_entrants.size()); }

    // Loads the class: its settings (the defaults without a row), its empty
    // seed slots, its entrants and the stored seeds that still name one of
    // them. Reads only and runs no rule: the stored values are shown as stored.
    void laden(int kid, ClassKind kind);
    // The default settings and no seed slot.
    void gruppeneinstellungenreset();
    // Reads the entrants anew, keeping the settings and seed slots (after a
    // pairing that another desk had made impossible).
    void reloadEntrants();
    // Stores the settings and seed slots of the loaded class in one transaction.
    void systemspeichern();

    // The number of seed slots: at most (entrants + 1) div 2, at least 0; slots
    // are added empty or taken from the end until there are that many.
    void setSeedCount(int value);
    // Seeds entrant `entrant` into slot `slot`, replacing whoever was there.
    // False (nothing changes) for a row that is not there, an entrant seeded
    // already, and a player without partner.
    bool seed(int entrant, int slot);
    // Swaps two slots, each renumbered; false without both.
    bool swapSlots(int a, int b);
    // Empties a slot (ID and partnerID -1); false without it.
    bool emptySlot(int slot);

    enum class PairOutcome { Unchanged, SameSex, Paired };
    // Pairs the player without partner at row `player` of ohnepartner with the
    // entrant at row `target` of gemeldete_spieler, who must be another player
    // without partner; in a mixed class the two must be man and woman.
    PairOutcome pair(int player, int target);
    // Splits the pair at row `entrant` of gemeldete_spieler and loads the class
    // anew; a player without partner only loads it anew. False without the row.
    bool split(int entrant);
    // Draws partners for every player without partner (partnerdraw.h), stores
    // the pairs in one transaction and loads the class anew. Returns the
    // number of pairs.
    int pairRandomly(RandomSource& random);

    // Why the draw cannot start with these settings and entrants; nothing when it can.
    std::optional<QString> drawRefusal() const { return m_settings.drawRefusal(spieleranzahl()); }

private:
    void loadSeeds();
    void addEntrant(const GroupListEntry& entry);
    bool seededAlready(const Myitem& item) const;
    void removeWithoutPartner(int sid);

    std::function<QSqlDatabase()> m_database;
    int m_kid = 0;
    ClassKind m_kind = ClassKind::Einzel;
    GroupSettingsModel m_settings;
    QList<GroupListEntry> m_entrants;
    QList<GroupListEntry> m_withoutPartner;
    QList<GroupListEntry> m_slots;
    QHash<int, bool> m_mann; // players without partner: whether a man
};

} // namespace bw
