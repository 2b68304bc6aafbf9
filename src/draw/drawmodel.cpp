#include "draw/drawmodel.h"

#include "data/classrecords.h"
#include "data/drawrecords.h"
#include "data/entrantrecords.h"
#include "data/groupsettings.h"
#include "data/planrecords.h"
#include "platform/germantext.h"

#include <QHash>

#include <algorithm>

namespace bw {

namespace {

constexpr int kRowHeight = 15;

QString initial(const QString& vorname)
{
    return vorname.left(1);
}

QString playerName(const QString& nachname, const QString& vorname)
{
    return nachname + QStringLiteral(", ") + vorname;
}

QString pairName(const EntrantPlayer& a, const EntrantPlayer& b)
{
    return a.nachname + QStringLiteral(", ") + initial(a.vorname) + QStringLiteral(". / ") + b.nachname +
           QStringLiteral(", ") + initial(b.vorname);
}

QString seededName(const QString& name, int seed)
{
    return name + QStringLiteral(" (") + QString::number(seed) + QLatin1Char(')');
}

bool itemsEqual(const Myitem& a, const Myitem& b)
{
    return a.ID == b.ID && a.partnerID == b.partnerID && a.gemeldet == b.gemeldet && a.gesetzt == b.gesetzt &&
           a.name == b.name && a.verein == b.verein && a.teilgemeldet == b.teilgemeldet;
}

DrawEntry entryOf(const Myitem& item)
{
    DrawEntry e;
    e.item = item;
    return e;
}

bool registeredBefore(const DrawEntry& a, const DrawEntry& b)
{
    static const QCollator collator = german::collator();
    const int c = collator.compare(a.text(), b.text());
    return c != 0 ? c < 0 : a.item.ID < b.item.ID;
}

// The entrants of phase 1: seeds in seed order, registered entrants.
void readPhase1Entrants(const QSqlDatabase& db, int kid, ClassKind kind, QList<Myitem>& seeds,
                        QList<Myitem>& registered)
{
    const QList<StoredSeed> stored = readSeeds(db, kid);
    const auto seedItem = [&seeds](int id, int partner, const QString& name, const QString& verein) {
        const int n = int(seeds.size()) + 1;
        seeds.append(Myitem{id, partner, false, n, seededName(name, n), verein, false});
    };
    const auto seeded = [&seeds](int id) {
        return std::any_of(seeds.cbegin(), seeds.cend(),
                           [id](const Myitem& s) { return s.ID == id || s.partnerID == id; });
    };
    switch (kind) {
    case ClassKind::Einzel: {
        const QList<EntrantPlayer> players = classEntrantPlayers(db, kid);
        QHash<int, EntrantPlayer> byId;
        for (const EntrantPlayer& p : players)
            byId.insert(p.sid, p);
        for (const StoredSeed& s : stored) {
            const auto it = byId.constFind(s.slot.id);
            if (s.slot.id > 0 && it != byId.cend() && it->gemeldet && !seeded(s.slot.id))
                seedItem(it->sid, 0, playerName(it->nachname, it->vorname), it->verein);
        }
        for (const EntrantPlayer& p : players)
            if (p.gemeldet && !seeded(p.sid))
                registered.append(Myitem{p.sid, 0, false, -1, playerName(p.nachname, p.vorname), p.verein, false});
        break;
    }
    case ClassKind::Doppel:
    case ClassKind::Mixed: {
        const QList<EntrantPair> pairs = classPairs(db, kid);
        for (const StoredSeed& s : stored) {
            if (s.slot.id <= 0 || seeded(s.slot.id) || seeded(s.slot.partnerId))
                continue;
            for (const EntrantPair& p : pairs) {
                if (!p.gemeldet())
                    continue;
                if (p.first.sid == s.slot.id && p.second.sid == s.slot.partnerId)
                    seedItem(p.first.sid, p.second.sid, pairName(p.first, p.second), p.first.verein);
                else if (p.second.sid == s.slot.id && p.first.sid == s.slot.partnerId)
                    seedItem(p.second.sid, p.first.sid, pairName(p.second, p.first), p.second.verein);
                else
                    continue;
                break;
            }
        }
        for (const EntrantPair& p : pairs)
            if (p.gemeldet() && !seeded(p.first.sid) && !seeded(p.second.sid))
                registered.append(
                    Myitem{p.first.sid, p.second.sid, false, -1, pairName(p.first, p.second), p.first.verein, false});
        break;
    }
    case ClassKind::Team: {
        const QList<EntrantTeam> teams = classTeams(db, kid);
        for (const StoredSeed& s : stored) {
            if (s.slot.id <= 0 || seeded(s.slot.id))
                continue;
            for (const EntrantTeam& t : teams)
                if (t.mid == s.slot.id && t.angemeldet) {
                    seedItem(t.mid, t.s1, t.teamname, t.verein);
                    break;
                }
        }
        for (const EntrantTeam& t : teams)
            if (t.angemeldet && !seeded(t.mid))
                registered.append(Myitem{t.mid, t.s1, false, -1, t.teamname, t.verein, false});
        break;
    }
    }
}

} // namespace

// --- entries ---

DrawEntry::Kind DrawEntry::kind() const
{
    if (isEmpty())
        return Kind::Empty;
    if (isBye())
        return Kind::Bye;
    if (item.ID > 0)
        return Kind::Entrant;
    return Kind::Qualifier;
}

DrawEntry DrawEntry::empty()
{
    return DrawEntry{};
}

DrawEntry DrawEntry::bye()
{
    return entryOf(Myitem{kFreilosId, kFreilosId, false, -1, kFreilosName, {}, false});
}

DrawEntry DrawEntry::seedPlaceholder(int seed, SeedGap gap)
{
    DrawEntry e = entryOf(Myitem{-1, -1, false, seed, {}, {}, false});
    switch (gap) {
    case SeedGap::GroupDrop:
        e.gapText = QString::number(seed) + QStringLiteral(". ");
        break;
    case SeedGap::SlotDrop:
        e.gapText = QString::number(seed);
        break;
    case SeedGap::Drawn:
        e.gapText = QString::number(seed) + QLatin1Char('.');
        break;
    }
    return e;
}

DrawEntry DrawEntry::qualifier(const QString& text, int parentGID, int parentpos)
{
    DrawEntry e = entryOf(Myitem{-1, -1, false, -1, text, {}, false});
    e.parentGID = parentGID;
    e.parentpos = parentpos;
    return e;
}

bool DrawEntry::operator==(const DrawEntry& other) const
{
    return itemsEqual(item, other.item) && parentGID == other.parentGID && parentpos == other.parentpos &&
           gapText == other.gapText;
}

QString qualifierText(int rank, int globalGroup)
{
    const QString letter = groupLetter(globalGroup);
    switch (rank) {
    case 1:
        return QStringLiteral("Sieger Gruppe ") + letter;
    case 2:
        return QStringLiteral("Zweiter Gruppe ") + letter;
    case 3:
        return QStringLiteral("Dritter Gruppe ") + letter;
    default:
        return QString::number(rank) + QStringLiteral(". Gruppe ") + letter;
    }
}

QString bestPlacedText(int k, int place)
{
    return QString::number(k) + QStringLiteral(". Bestplatzierter ") + QString::number(place) +
           QStringLiteral(". Platz");
}

int bracketSize(int participants)
{
    int n = 2;
    while (n < participants)
        n *= 2;
    return n;
}

// --- navigation ---

namespace {

int firstStep(const NavigationFrame& f)
{
    return f.mode == 2 && f.redrawPhase >= 2 && f.redrawPhase <= 3 ? f.redrawPhase : 1;
}

WizardState onStep(const NavigationFrame& f, int step)
{
    if (step == 4)
        return {4, true, false, true};
    return {step, step > firstStep(f), true, false};
}

} // namespace

WizardState startState(const NavigationFrame& frame)
{
    return {firstStep(frame), false, true, false};
}

WizardState weiterState(const NavigationFrame& frame, const WizardState& state)
{
    switch (state.step) {
    case 1:
        return onStep(frame, frame.phase2 ? 2 : 4);
    case 2:
        return onStep(frame, frame.phase3 ? 3 : 4);
    case 3:
        return onStep(frame, 4);
    default:
        return state;
    }
}

WizardState zurueckState(const NavigationFrame& frame, const WizardState& state)
{
    int target = 0;
    switch (state.step) {
    case 2:
        target = 1;
        break;
    case 3:
        target = 2;
        break;
    case 4:
        target = frame.phase3 ? 3 : frame.phase2 ? 2 : 1;
        break;
    default:
        return state;
    }
    if (target < firstStep(frame))
        return state;
    return onStep(frame, target);
}

// --- loading ---

void DrawModel::load(const QSqlDatabase& db, int kid, int mode, int redrawPhase)
{
    auslosungsinfos settings;
    const std::optional<GroupSettings> stored = readGroupSettings(db, kid);
    if (stored) {
        for (size_t i = 0; i < 3; ++i)
            if (const std::optional<PhaseSettings>& ph = stored->phases[i]) {
                settings.phase[i] = int(ph->system);
                settings.gruppenanzahl[i] = ph->gruppenanzahl;
                settings.teilnehmer[i] = ph->teilnehmer;
                settings.besten[i] = ph->besten;
                settings.bestplazierten[i] = ph->bestplazierten;
            }
        settings.plattenbez = stored->plattenbez;
    }
    if (const std::optional<ClassRecord> cls = readClass(db, kid)) {
        settings.platten = cls->platten;
        settings.system = cls->system;
    }
    QList<Myitem> seeds;
    QList<Myitem> registered;
    readPhase1Entrants(db, kid, settings.system, seeds, registered);
    QList<DrawEntry> redrawEntrants;
    if (mode == 2 && (redrawPhase == 2 || redrawPhase == 3))
        for (const PhaseEntrant& e : readPhaseEntrants(db, kid, redrawPhase, settings.system)) {
            DrawEntry entry = entryOf(Myitem{e.id, e.partnerId, false, -1, e.name, e.verein, false});
            entry.parentGID = e.sourceGid;
            entry.parentpos = e.sourcePos;
            redrawEntrants.append(entry);
        }
    setUp(kid, mode, redrawPhase, settings, readTableNames(db, kid), seeds, registered, redrawEntrants);
    m_storedSettings = stored.value_or(GroupSettings{});
    m_loadedPlan = planStamp(db, kid);
}

void DrawModel::setUp(int kid, int mode, int redrawPhase, const auslosungsinfos& settings, const QStringList& tables,
                      const QList<Myitem>& seeds, const QList<Myitem>& registered,
                      const QList<DrawEntry>& redrawEntrants)
{
    m_kid = kid;
    // The settings as these values give them; load() puts the stored row in.
    m_storedSettings = GroupSettings{};
    for (size_t i = 0; i < 3; ++i)
        if (const std::optional<PlaySystem> system = playSystemOf(settings.phase[i]))
            m_storedSettings.phases[i] = PhaseSettings{*system, std::max(0, settings.gruppenanzahl[i]),
                                                       std::max(0, settings.teilnehmer[i]),
                                                       std::max(0, settings.besten[i]),
                                                       std::max(0, settings.bestplazierten[i])};
    m_storedSettings.gesetzt = int(seeds.size());
    m_storedSettings.plattenbez = settings.plattenbez;
    m_loadedPlan.reset();
    m_mode = mode;
    m_redrawPhase = mode == 2 && redrawPhase >= 1 && redrawPhase <= 3 ? redrawPhase : 1;
    m_settings = settings;
    m_tables = tables;
    m_plattensystem = 0;
    m_plattenlisten.clear();
    m_seeds.clear();
    for (const Myitem& s : seeds)
        m_seeds.append(entryOf(s));
    m_registered.clear();
    for (const Myitem& r : registered)
        m_registered.append(entryOf(r));
    std::stable_sort(m_registered.begin(), m_registered.end(), registeredBefore);
    m_seedsLoaded = m_seeds;
    m_registeredLoaded = m_registered;

    int nextGroup = 0;
    for (int p = 1; p <= 3; ++p) {
        DrawPhase& ph = phase(p);
        ph = DrawPhase{};
        ph.number = p;
        ph.system = settings.phase[size_t(p - 1)];
        if (ph.system < 0 || ph.system > 2)
            ph.system = -1;
        ph.firstGroup = nextGroup;
        if (ph.exists())
            nextGroup += std::max(0, settings.gruppenanzahl[size_t(p - 1)]);
    }
    // A later phase exists only after the ones before it.
    if (!phase(2).exists())
        phase(3).system = -1;

    buildPhase1();
    const int redraw = m_mode == 2 ? m_redrawPhase : 1;
    if (phase(2).exists() && redraw <= 2)
        buildLaterPhase(2, redraw == 2, redrawEntrants);
    if (phase(3).exists())
        buildLaterPhase(3, redraw == 3, redrawEntrants);
    m_state = startState(frame());
    m_highlighted.fill(m_mode == 2);
    m_highlighted[size_t(m_state.step - 1)] = true;
}

NavigationFrame DrawModel::frame() const
{
    return {m_mode, m_redrawPhase, phase(2).exists(), phase(3).exists()};
}

void DrawModel::buildPhase1()
{
    DrawPhase& ph = phase(1);
    ph.built = true;
    if (ph.isGroups()) {
        const int rows = std::max(0, m_settings.teilnehmer[0]);
        for (int g = 0; g < std::max(0, m_settings.gruppenanzahl[0]); ++g)
            ph.groups.append(QList<DrawEntry>(rows, DrawEntry::empty()));
    } else if (ph.isKnockOut()) {
        resizeBracket(1, int(m_registered.size() + m_seeds.size()));
    }
}

void DrawModel::buildLaterPhase(int p, bool redraw, const QList<DrawEntry>& redrawEntrants)
{
    DrawPhase& ph = phase(p);
    ph.built = true;
    if (redraw) {
        ph.participants = redrawEntrants;
    } else {
        const DrawPhase& prev = phase(p - 1);
        const size_t q = size_t(p - 2);
        const int groups = std::max(0, m_settings.gruppenanzahl[q]);
        for (int r = 1; r <= m_settings.besten[q]; ++r)
            for (int g = 0; g < groups; ++g)
                ph.participants.append(
                    DrawEntry::qualifier(qualifierText(r, prev.firstGroup + g), prev.firstGroup + g, r - 1));
        const int place = std::max(0, m_settings.besten[q]) + 1;
        for (int k = 1; k <= m_settings.bestplazierten[q]; ++k)
            ph.participants.append(DrawEntry::qualifier(bestPlacedText(k, place), kBestplatziertenliste, k - 1));
    }
    ph.participantsLoaded = ph.participants;
    const size_t i = size_t(p - 1);
    if (ph.isGroups()) {
        const int rows = std::max(0, m_settings.teilnehmer[i]);
        for (int g = 0; g < std::max(0, m_settings.gruppenanzahl[i]); ++g)
            ph.groups.append(QList<DrawEntry>(rows, DrawEntry::empty()));
    } else {
        resizeBracket(p, int(ph.participants.size()));
    }
}

// --- lists ---

QList<DrawEntry>& DrawModel::list(DrawList which)
{
    switch (which) {
    case DrawList::ListBox1:
        return m_registered;
    case DrawList::ListBox2:
        return m_seeds;
    case DrawList::ListBox3:
        return phase(2).participants;
    case DrawList::ListBox4:
        break;
    }
    return phase(3).participants;
}

const QList<DrawEntry>& DrawModel::list(DrawList which) const
{
    return const_cast<DrawModel*>(this)->list(which);
}

QString DrawModel::listText(DrawList which, int row) const
{
    const QList<DrawEntry>& entries = list(which);
    if (row < 0 || row >= entries.size())
        return {};
    if (which == DrawList::ListBox2) {
        const DrawEntry& e = entries[row];
        if (e.isEmpty() && !e.gapText.isEmpty())
            return e.gapText;
        return QString::number(row + 1) + QStringLiteral(". ") + e.text();
    }
    return entries[row].text();
}

QString DrawModel::rowText(int row, const DrawEntry& entry)
{
    return QString::number(row + 1) + QStringLiteral(". ") + entry.text();
}

int DrawModel::addRegistered(const DrawEntry& entry)
{
    const auto at = std::upper_bound(m_registered.begin(), m_registered.end(), entry, registeredBefore);
    const int row = int(at - m_registered.begin());
    m_registered.insert(row, entry);
    return row;
}

// --- placing ---

void DrawModel::placeInGroup(int p, int group, int row, const DrawEntry& entry)
{
    phase(p).groups[group][row] = entry;
}

void DrawModel::placeInSlot(int p, int slot, const DrawEntry& entry)
{
    phase(p).koinfos[slot] = entry;
}

void DrawModel::resizeBracket(int p, int participants)
{
    phase(p).koinfos = QList<DrawEntry>(bracketSize(participants), DrawEntry::empty());
}

// --- manual editing ---

namespace {

// The phase a list's entries go to.
int phaseOfList(DrawList list)
{
    switch (list) {
    case DrawList::ListBox1:
    case DrawList::ListBox2:
        return 1;
    case DrawList::ListBox3:
        return 2;
    case DrawList::ListBox4:
        break;
    }
    return 3;
}

} // namespace

bool DrawModel::dropOnGroupRow(DrawList source, int sourceRow, GroupRowRef target)
{
    if (target.phase < 1 || target.phase > 3 || phaseOfList(source) != target.phase)
        return false;
    DrawPhase& ph = phase(target.phase);
    if (target.group < 0 || target.group >= ph.groups.size() || target.row < 0 ||
        target.row >= ph.groups[target.group].size() || !ph.groups[target.group][target.row].isEmpty())
        return false;
    QList<DrawEntry>& from = list(source);
    if (sourceRow < 0 || sourceRow >= from.size() || from[sourceRow].isEmpty())
        return false;
    ph.groups[target.group][target.row] = from[sourceRow];
    if (source == DrawList::ListBox2)
        from[sourceRow] = DrawEntry::seedPlaceholder(sourceRow + 1, SeedGap::GroupDrop);
    else
        from.removeAt(sourceRow);
    return true;
}

bool DrawModel::swapRows(int p, int group, int rowA, int rowB)
{
    if (p < 1 || p > 3 || rowA == rowB)
        return false;
    DrawPhase& ph = phase(p);
    if (group < 0 || group >= ph.groups.size())
        return false;
    QList<DrawEntry>& rows = ph.groups[group];
    if (rowA < 0 || rowB < 0 || rowA >= rows.size() || rowB >= rows.size() || rows[rowA] == rows[rowB])
        return false;
    std::swap(rows[rowA], rows[rowB]);
    return true;
}

bool DrawModel::deleteRow(GroupRowRef ref)
{
    if (ref.phase != 1)
        return false;
    DrawPhase& ph = phase(1);
    if (ref.group < 0 || ref.group >= ph.groups.size() || ref.row < 0 || ref.row >= ph.groups[ref.group].size())
        return false;
    DrawEntry& row = ph.groups[ref.group][ref.row];
    if (row.isEmpty())
        return false;
    const int seed = row.item.gesetzt;
    if (seed >= 1 && seed <= m_seeds.size())
        m_seeds[seed - 1] = row;
    else
        addRegistered(row);
    row = DrawEntry::empty();
    return true;
}

bool DrawModel::dropRowOnList(GroupRowRef ref, DrawList target)
{
    if (ref.phase < 1 || ref.phase > 3 || target == DrawList::ListBox2 || phaseOfList(target) != ref.phase)
        return false;
    DrawPhase& ph = phase(ref.phase);
    if (ref.group < 0 || ref.group >= ph.groups.size() || ref.row < 0 || ref.row >= ph.groups[ref.group].size())
        return false;
    DrawEntry& row = ph.groups[ref.group][ref.row];
    if (row.isEmpty())
        return false;
    if (target == DrawList::ListBox1)
        addRegistered(row);
    else
        list(target).append(row);
    row = DrawEntry::empty();
    return true;
}

bool DrawModel::dropOnSlot(DrawList source, int sourceRow, SlotRef target)
{
    if (target.phase < 1 || target.phase > 3 || phaseOfList(source) != target.phase)
        return false;
    DrawPhase& ph = phase(target.phase);
    if (target.slot < 0 || target.slot >= ph.koinfos.size() || !ph.koinfos[target.slot].isFree())
        return false;
    QList<DrawEntry>& from = list(source);
    if (sourceRow < 0 || sourceRow >= from.size() || from[sourceRow].isEmpty())
        return false;
    ph.koinfos[target.slot] = from[sourceRow];
    if (source == DrawList::ListBox2)
        from[sourceRow] = DrawEntry::seedPlaceholder(sourceRow + 1, SeedGap::SlotDrop);
    else
        from.removeAt(sourceRow);
    return true;
}

bool DrawModel::dropSlotOnList(SlotRef ref, DrawList target)
{
    if (ref.phase < 1 || ref.phase > 3 || phaseOfList(target) != ref.phase)
        return false;
    DrawPhase& ph = phase(ref.phase);
    if (ref.slot < 0 || ref.slot >= ph.koinfos.size())
        return false;
    DrawEntry& slot = ph.koinfos[ref.slot];
    if (slot.isEmpty())
        return false;
    switch (target) {
    case DrawList::ListBox1:
        if (slot.item.gesetzt >= 1 && !slot.isBye())
            return false;
        if (!slot.isBye())
            addRegistered(slot);
        break;
    case DrawList::ListBox2: {
        const int seed = slot.item.gesetzt;
        if (seed < 1 || slot.item.ID <= 0 || seed > m_seeds.size())
            return false;
        m_seeds[seed - 1] = slot;
        break;
    }
    case DrawList::ListBox3:
    case DrawList::ListBox4:
        if (!slot.isBye())
            list(target).append(slot);
        break;
    }
    slot = DrawEntry::empty();
    return true;
}

void DrawModel::emptyGroupsAndSlots(int p)
{
    DrawPhase& ph = phase(p);
    for (QList<DrawEntry>& rows : ph.groups)
        std::fill(rows.begin(), rows.end(), DrawEntry::empty());
    std::fill(ph.koinfos.begin(), ph.koinfos.end(), DrawEntry::empty());
}

void DrawModel::allesLoeschen(int p)
{
    if (p < 1 || p > 3)
        return;
    DrawPhase& ph = phase(p);
    if (p == 1) {
        m_registered = m_registeredLoaded;
        m_seeds = m_seedsLoaded;
    } else {
        ph.participants = ph.participantsLoaded;
    }
    emptyGroupsAndSlots(p);
    ph.losenEnabled = true;
}

// --- tables ---

int DrawModel::groupCountTotal() const
{
    int n = 0;
    for (int p = 1; p <= 3; ++p)
        if (phase(p).exists())
            n += std::max(0, m_settings.gruppenanzahl[size_t(p - 1)]);
    return n;
}

void DrawModel::setPlattensystem(int value)
{
    m_plattensystem = value == 1 ? 1 : 0;
    m_plattenlisten.clear();
    if (m_plattensystem == 1)
        m_plattenlisten = QList<QStringList>(groupCountTotal());
}

bool DrawModel::tableListShown(int i) const
{
    if (i < 0 || i >= m_plattenlisten.size())
        return false;
    return m_mode != 2 || i >= phase(m_redrawPhase).firstGroup;
}

bool DrawModel::assignTables(const QList<int>& tableRows, int listIndex)
{
    if (listIndex < 0 || listIndex >= m_plattenlisten.size())
        return false;
    QStringList& tables = m_plattenlisten[listIndex];
    bool added = false;
    for (int row : tableRows) {
        if (row < 0 || row >= m_tables.size() || tables.contains(m_tables[row]))
            continue;
        tables.append(m_tables[row]);
        added = true;
    }
    std::stable_sort(tables.begin(), tables.end(), german::lessThan);
    return added;
}

bool DrawModel::removeTable(int listIndex, int row)
{
    if (listIndex < 0 || listIndex >= m_plattenlisten.size() || row < 0 || row >= m_plattenlisten[listIndex].size())
        return false;
    m_plattenlisten[listIndex].removeAt(row);
    return true;
}

// --- geometry ---

QList<GroupGeometry> DrawModel::groupGeometry(int p) const
{
    const DrawPhase& ph = phase(p);
    const int h = std::max(0, m_settings.teilnehmer[size_t(p - 1)]) * kRowHeight;
    QList<GroupGeometry> result;
    for (int i = 0; i < ph.groups.size(); ++i) {
        const int column = i % 2;
        const int line = i / 2;
        result.append({QStringLiteral("Gruppe ") + groupLetter(ph.firstGroup + i),
                       QPoint(175 * column + 5, (h + 30) * line + 5),
                       QRect(170 * column + 5, (h + 30) * line + 24, 165, h)});
    }
    return result;
}

BracketGeometry DrawModel::bracketGeometry(int p) const
{
    const int n = int(phase(p).koinfos.size());
    int rounds = 1;
    while ((1 << rounds) < n)
        ++rounds;
    // Phase 1 has the slots' names on the left; later phases start further left.
    const bool first = p == 1;
    const int left = first ? 70 : 20;
    const int join = left + 180;
    BracketGeometry g;
    g.size = first ? QSize(90 * rounds + 250, (n / 2) * 72 + 56) : QSize(20 + 180 + 90 * rounds, 32 + 24 + 72 * n / 2);
    QList<int> ys;
    for (int s = 0; s < n; ++s) {
        const int row = 3 * (s / 2) + s % 2;
        const int y = 24 * row + 32;
        ys.append(y);
        g.slotRects.append(QRect(left, y - 13, 180, 13));
        g.lines.append(QLine(left, y, join, y));
        if (first)
            g.texts.append({QPoint(10, 24 * row + 24), QStringLiteral("Spieler ") + QString::number(s + 1)});
    }
    int x = join;
    for (int c = 0; c < rounds; ++c) {
        QList<int> next;
        for (int m = 0; m + 1 < ys.size(); m += 2) {
            g.lines.append(QLine(x, ys[m], x, ys[m + 1]));
            const int mid = (ys[m] + ys[m + 1]) / 2;
            g.lines.append(QLine(x, mid, x + 90, mid));
            next.append(mid);
        }
        ys = next;
        x += 90;
    }
    return g;
}

QList<TableListGeometry> DrawModel::tableListGeometry(int width) const
{
    const int h = int(m_tables.size()) * kRowHeight;
    const int perRow = std::max(1, width / 80);
    QList<TableListGeometry> result;
    for (int i = 0; i < m_plattenlisten.size(); ++i) {
        const int column = i % perRow;
        const int line = i / perRow;
        result.append({QStringLiteral("Gruppe ") + groupLetter(i), QPoint(75 * column + 5, (h + 30) * line + 5),
                       QRect(75 * column + 5, (h + 30) * line + 24, 70, h)});
    }
    return result;
}

// --- steps ---

bool DrawModel::weiter()
{
    return step(weiterState(frame(), m_state));
}

bool DrawModel::zurueck()
{
    return step(zurueckState(frame(), m_state));
}

bool DrawModel::step(const WizardState& next)
{
    if (next == m_state)
        return false;
    m_highlighted[size_t(m_state.step - 1)] = false;
    m_highlighted[size_t(next.step - 1)] = true;
    m_state = next;
    return true;
}

} // namespace bw
