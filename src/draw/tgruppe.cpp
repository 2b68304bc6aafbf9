#include "draw/tgruppe.h"

#include "data/entrantrecords.h"
#include "data/groupsettings.h"
#include "data/partnerrecords.h"
#include "data/playerrecords.h"
#include "data/transaction.h"
#include "draw/partnerdraw.h"
#include "platform/germantext.h"

namespace bw {

namespace {

QString initial(const QString& vorname)
{
    return vorname.left(1);
}

// Whether two items stand for the same entrant: a pair by its two players in
// either order, anybody else by his key.
bool sameEntrant(int id, int partnerId, const Myitem& item, bool pairs)
{
    if (id <= 0)
        return false;
    if (!pairs)
        return id == item.ID;
    return item.partnerID > 0 && ((id == item.ID && partnerId == item.partnerID) ||
                                  (id == item.partnerID && partnerId == item.ID));
}

// Slot `slot` (from 0) holding the entrant `item` whose list text is
// `entrantText`, or empty when the item is none (ID 0 or -1).
GroupListEntry slotEntry(int slot, const Myitem& item, const QString& entrantText)
{
    const QString number = QString::number(slot + 1) + QStringLiteral(". ");
    GroupListEntry entry{number, item};
    entry.item.gesetzt = slot + 1;
    if (item.ID > 0) {
        entry.text += entrantText;
        entry.item.name = entry.text;
    } else {
        entry.item.name.clear();
    }
    return entry;
}

// A slot the user made empty, by raising the count or by dragging its seed
// out: its number and "." with no blank.
GroupListEntry emptiedSlot(int slot, int id)
{
    GroupListEntry entry = slotEntry(slot, Myitem{id, id, false, -1, {}, {}, false}, {});
    entry.text = QString::number(slot + 1) + QLatin1Char('.');
    return entry;
}

} // namespace

QString pairText(const QString& nachname1, const QString& vorname1, const QString& nachname2,
                 const QString& vorname2)
{
    return nachname1 + QStringLiteral(", ") + initial(vorname1) + QStringLiteral(". / ") + nachname2 +
           QStringLiteral(", ") + initial(vorname2);
}

Tgruppe::Tgruppe(QObject* parent, std::function<QSqlDatabase()> database)
    : QObject(parent), m_database(std::move(database))
{
    setObjectName(QStringLiteral("gruppe"));
}

void Tgruppe::gruppeneinstellungenreset()
{
    m_settings.reset();
    m_slots.clear();
}

void Tgruppe::laden(int kid, ClassKind kind)
{
    m_kid = kid;
    m_kind = kind;
    m_slots.clear();

    const QSqlDatabase db = m_database();
    const std::optional<GroupSettings> stored = readGroupSettings(db, kid);
    if (!stored) {
        gruppeneinstellungenreset();
    } else {
        m_settings.load(*stored);
        for (int n = 1; n <= stored->gesetzt; ++n)
            m_slots.append(slotEntry(n - 1, Myitem{}, {}));
    }
    reloadEntrants();
    loadSeeds();
}

void Tgruppe::reloadEntrants()
{
    m_entrants.clear();
    m_withoutPartner.clear();
    m_mann.clear();
    const QSqlDatabase db = m_database();
    switch (m_kind) {
    case ClassKind::Einzel:
        for (const EntrantPlayer& p : classEntrantPlayers(db, m_kid)) {
            const QString text = displayName(p.nachname, p.vorname);
            addEntrant({text, Myitem{p.sid, 0, p.gemeldet, -1, text, p.verein, false}});
        }
        break;
    case ClassKind::Doppel:
    case ClassKind::Mixed:
        for (const EntrantPair& pair : classPairs(db, m_kid)) {
            const QString text =
                pairText(pair.first.nachname, pair.first.vorname, pair.second.nachname, pair.second.vorname);
            addEntrant({text, Myitem{pair.first.sid, pair.second.sid, pair.gemeldet(), -1, text, pair.first.verein,
                                     false}});
        }
        for (const EntrantPlayer& p : playersWithoutPartner(db, m_kid)) {
            const Myitem item{p.sid, -1, p.gemeldet, -1, displayName(p.nachname, p.vorname), p.verein, false};
            m_withoutPartner.append({item.name, item});
            addEntrant({p.nachname + QStringLiteral(", ") + initial(p.vorname) + QStringLiteral(". / "), item});
            m_mann.insert(p.sid, p.mann);
        }
        break;
    case ClassKind::Team:
        for (const EntrantTeam& t : classTeams(db, m_kid))
            addEntrant({t.teamname, Myitem{t.mid, 0, t.angemeldet, -1, t.teamname, t.verein, false}});
        break;
    }
}

void Tgruppe::loadSeeds()
{
    const bool pairs = pairsClass();
    for (const StoredSeed& seed : readSeeds(m_database(), m_kid)) {
        if (seed.position < 0 || seed.position >= m_slots.size())
            continue;
        for (const GroupListEntry& entrant : std::as_const(m_entrants)) {
            if (sameEntrant(seed.slot.id, seed.slot.partnerId, entrant.item, pairs)) {
                m_slots[seed.position] = slotEntry(seed.position, entrant.item, entrant.text);
                break;
            }
        }
    }
}

void Tgruppe::addEntrant(const GroupListEntry& entry)
{
    // Sorted by text as the user reads it; an equal text goes after its namesakes.
    int row = 0;
    while (row < m_entrants.size() && !german::lessThan(entry.text, m_entrants[row].text))
        ++row;
    m_entrants.insert(row, entry);
}

void Tgruppe::systemspeichern()
{
    QList<SeedSlot> seedSlots;
    for (const GroupListEntry& slot : std::as_const(m_slots))
        seedSlots.append({slot.item.ID, slot.item.partnerID});
    saveGroupSettings(m_database(), m_kid, m_settings.record(gesetztespieleredit()), seedSlots);
}

void Tgruppe::setSeedCount(int value)
{
    const int bound = (spieleranzahl() + 1) / 2;
    value = std::max(0, std::min(value, bound));
    while (m_slots.size() < value)
        m_slots.append(emptiedSlot(int(m_slots.size()), 0));
    while (m_slots.size() > value)
        m_slots.removeLast();
}

bool Tgruppe::seededAlready(const Myitem& item) const
{
    for (const GroupListEntry& slot : m_slots) {
        if (sameEntrant(slot.item.ID, slot.item.partnerID, item, pairsClass()))
            return true;
    }
    return false;
}

bool Tgruppe::seed(int entrant, int slot)
{
    if (entrant < 0 || entrant >= m_entrants.size() || slot < 0 || slot >= m_slots.size())
        return false;
    const GroupListEntry& e = m_entrants[entrant];
    if (e.item.partnerID == -1 || seededAlready(e.item))
        return false;
    m_slots[slot] = slotEntry(slot, e.item, e.text);
    return true;
}

bool Tgruppe::swapSlots(int a, int b)
{
    if (a < 0 || a >= m_slots.size() || b < 0 || b >= m_slots.size())
        return false;
    // The entrant's text is what follows the slot number.
    auto entrantText = [](const GroupListEntry& slot) { return slot.item.name.section(QStringLiteral(". "), 1); };
    const GroupListEntry first = m_slots[a];
    const GroupListEntry second = m_slots[b];
    m_slots[b] = slotEntry(b, first.item, entrantText(first));
    m_slots[a] = slotEntry(a, second.item, entrantText(second));
    return true;
}

bool Tgruppe::emptySlot(int slot)
{
    if (slot < 0 || slot >= m_slots.size())
        return false;
    m_slots[slot] = emptiedSlot(slot, -1);
    return true;
}

void Tgruppe::removeWithoutPartner(int sid)
{
    auto isHim = [sid](const GroupListEntry& e) { return e.item.ID == sid && e.item.partnerID == -1; };
    m_entrants.removeIf(isHim);
    m_withoutPartner.removeIf(isHim);
}

Tgruppe::PairOutcome Tgruppe::pair(int player, int target)
{
    if (player < 0 || player >= m_withoutPartner.size() || target < 0 || target >= m_entrants.size())
        return PairOutcome::Unchanged;
    const Myitem p = m_withoutPartner[player].item;
    const Myitem t = m_entrants[target].item;
    if (t.partnerID != -1 || t.ID == p.ID)
        return PairOutcome::Unchanged;
    if (m_kind == ClassKind::Mixed && m_mann.value(p.ID) == m_mann.value(t.ID))
        return PairOutcome::SameSex;

    pairPlayers(m_database(), m_kid, {{t.ID, p.ID}});

    // Until the class is loaded again the pair shows both full names.
    const QString name = t.name + QStringLiteral(" / ") + p.name;
    removeWithoutPartner(t.ID);
    removeWithoutPartner(p.ID);
    addEntrant({name, Myitem{t.ID, p.ID, t.gemeldet && p.gemeldet, -1, name, t.verein, false}});
    return PairOutcome::Paired;
}

bool Tgruppe::split(int entrant)
{
    if (entrant < 0 || entrant >= m_entrants.size())
        return false;
    const Myitem e = m_entrants[entrant].item;
    // Loaded anew inside the write's transaction: a failure on the way leaves
    // the pair as it was.
    const QSqlDatabase db = m_database();
    inTransaction(db, [&] {
        if (e.partnerID > 0)
            splitPair(db, m_kid, e.ID, e.partnerID);
        laden(m_kid, m_kind);
    });
    return true;
}

int Tgruppe::pairRandomly(RandomSource& random)
{
    QList<PartnerCandidate> players;
    for (const GroupListEntry& e : std::as_const(m_withoutPartner))
        players.append({e.item.ID, m_mann.value(e.item.ID)});
    const QList<std::pair<int, int>> pairs = drawPartners(players, m_kind == ClassKind::Mixed, random);
    const QSqlDatabase db = m_database();
    inTransaction(db, [&] {
        if (!pairs.isEmpty())
            pairPlayers(db, m_kid, pairs);
        laden(m_kid, m_kind);
    });
    return int(pairs.size());
}

} // namespace bw
