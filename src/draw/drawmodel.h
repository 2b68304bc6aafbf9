// The draw wizard's state without widgets (the wizard "Auslosung" only shows
// it and hands the user's drags, keys and clicks to it): one class, drawn
// phase by phase into groups or knock-out brackets, then its tables.
//
// Phases. A class has up to three phases (phase(1) .. phase(3)); a phase
// exists while its play system (Spielsystem) is 0 (groups), 1 (single
// knock-out) or 2 (double knock-out); -1 is no such phase. The settings copy
// `gruppeneinstellung` holds them as the class stored them (Null gives -1).
//
// Groups. The groups of all phases form one sequence of global indices: phase
// 1's groups are 0 .. G1-1, phase 2's start at G1, phase 3's at G1+G2
// (DrawPhase::firstGroup); group g is lettered by groupLetter(g) ("A" for 0,
// beyond "Z" on in character-code order). A group phase's `groups` holds one
// list per group (gruppenlisten), each with exactly one row per place: rows[0]
// is place "1. ". An empty row is an empty DrawEntry. A knock-out phase has no
// groups.
//
// Slots. A knock-out phase's `koinfos` holds N = 2^r slots, r >= 1 the
// least with 2^r >= its participants; slot 0 is the top one, first-round match
// k is slots 2k and 2k+1. A slot is free while it is empty or holds a bye.
//
// Entries. Every list entry, group row and bracket slot is a DrawEntry: the
// entrant's whole Myitem and, on phases 2 and 3, where he comes from. Its text
// (DrawEntry::text(), the Myitem's name) is what the list shows without the
// list's numbering; the kinds:
//
// | Kind | item.ID | item.partnerID | item.gesetzt | item.name (text) | parentGID / parentpos |
// |---|---|---|---|---|---|
// | empty row, empty slot | -1 | -1 | -1 | empty | -1 / -1 |
// | bye ("Freilos") | -2 (kFreilosId) | -2 | -1 | "Freilos" | -1 / -1 |
// | seed placeholder (seed list only) | -1 | -1 | its seed number | empty (the list shows its gap text) | -1 / -1 |
// | qualifier text of phase 2 or 3 | -1 | -1 | -1 | e.g. "Zweiter Gruppe B" | source group (-3 best-placed) / rank from 0 (best-placed: k-1) |
// | player (singles) | SID | 0 | seed n or -1 | "Nachname, Vorname" (+ " (n)" when seeded) | phase 2/3 of a redraw: his standings row of the previous phase, else -1 / -1 |
// | pair (doubles, mixed) | first player's SID | partner's SID | as above | "Nachname1, I. / Nachname2, I" (+ " (n)") | as above |
// | team | MID | its first player s1 | as above | teamname (+ " (n)") | as above |
//
// item.verein is the entrant's club (a team's own club). Entrants are told
// apart by their keys, never by their text: every move carries the whole entry.
//
// Lists (DrawList): ListBox1 "angemeldete Spieler" (registered(): phase 1's
// entrants not yet placed, always sorted by text with the German collator, ties
// by ID, so the same random numbers give the same draw on every backend);
// ListBox2 "gesetzte Spieler" (seeds(): entry i is seed i+1; a seed taken out
// leaves its placeholder so that the others keep their places); ListBox3 and
// ListBox4 "Teilnehmer an Phase 2/3" (phase(2).participants,
// phase(3).participants, in order: first draw: all winners, then all seconds,
// ... rank by rank over the groups, best-placed last; redraw: the real
// entrants of the phase from its plan). The loaded copies (listbox1dup ..
// listbox4dup) are what "Alles löschen" restores.
//
// Mode 1: the first draw of all phases. Mode 2: a new draw of phase
// redrawPhase() (2 or 3; 1 loads as mode 1 would); its phases before are
// loaded (phase 1 always: the settings and tables come with it) but cannot be
// reached; a redraw of phase 3 leaves phase 2 unbuilt.
//
// How the draw routines and the saving use the model:
//   for (int p = 1; p <= 3; ++p) {
//       const DrawPhase& ph = model.phase(p);
//       if (!ph.exists()) continue;
//       if (ph.isGroups())
//           for (int j = 0; j < ph.groups.size(); ++j)      // GID = ph.firstGroup + j
//               for (int pos = 0; pos < ph.groups[j].size(); ++pos) { const DrawEntry& e = ph.groups[j][pos]; ... }
//       else
//           for (int s = 0; s < ph.koinfos.size(); ++s) { const DrawEntry& e = ph.koinfos[s]; ... }
//   }
// A draw takes entries out of registered()/seeds()/participants and puts them
// with placeInGroup()/placeInSlot(); setLosenEnabled() finishes it. Nothing
// here touches the database except load().
#pragma once

#include "data/classkind.h"
#include "data/groupsettings.h"
#include "data/myitem.h"

#include <QLine>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QSqlDatabase>
#include <QString>
#include <QByteArray>
#include <QStringList>

#include <array>
#include <optional>

namespace bw {

inline constexpr int kFreilosId = -2;
inline const QString kFreilosName = QStringLiteral("Freilos");
// parentGID of a slot fed from the previous phase's best-placed entrants.
inline constexpr int kBestplatziertenliste = -3;

// The draw's copy of the class's settings; index p-1 for phase p. A phase
// that does not exist has -1 in all five of its values.
struct auslosungsinfos {
    std::array<int, 3> phase{-1, -1, -1};          // Spielsystem
    std::array<int, 3> gruppenanzahl{-1, -1, -1};  // groups
    std::array<int, 3> teilnehmer{-1, -1, -1};     // places per group
    std::array<int, 3> besten{-1, -1, -1};         // direct qualifiers per group
    std::array<int, 3> bestplazierten{-1, -1, -1}; // best-placed qualifiers
    int platten = 0;                               // Turnierklassen.platten
    ClassKind system = ClassKind::Einzel;          // Turnierklassen.system
    QString plattenbez;

    bool operator==(const auslosungsinfos&) const = default;
};

// How the seed list shows the place of a seed who left it: after a drop into
// a group "n. ", after a drop on a bracket slot the seed number alone, after
// a draw "n.".
enum class SeedGap { GroupDrop, SlotDrop, Drawn };

struct DrawEntry {
    Myitem item{-1, -1, false, -1, {}, {}, false};
    int parentGID = -1; // phases 2, 3: the source group (global index), kBestplatziertenliste, -1 none
    int parentpos = -1; // phases 2, 3: the finishing rank in it from 0, -1 none
    QString gapText;    // a seed placeholder: what the seed list shows

    enum class Kind { Empty, Bye, Qualifier, Entrant };
    Kind kind() const;
    const QString& text() const { return item.name; }
    bool isEmpty() const { return item.name.isEmpty(); }
    bool isBye() const { return item.ID == kFreilosId; }
    // A slot is free for a drop while it is empty or holds a bye.
    bool isFree() const { return isEmpty() || isBye(); }

    static DrawEntry empty();
    static DrawEntry bye();
    static DrawEntry seedPlaceholder(int seed, SeedGap gap);
    static DrawEntry qualifier(const QString& text, int parentGID, int parentpos);

    bool operator==(const DrawEntry&) const;
};

// "Sieger Gruppe X", "Zweiter Gruppe X", "Dritter Gruppe X", "r. Gruppe X".
QString qualifierText(int rank, int globalGroup);
// "k. Bestplatzierter p. Platz".
QString bestPlacedText(int k, int place);
// 2^r for the least r >= 1 with 2^r >= participants.
int bracketSize(int participants);

struct DrawPhase {
    int number = 0;     // 1, 2, 3
    int system = -1;    // Spielsystem: -1 none, 0 groups, 1 single, 2 double knock-out
    int firstGroup = 0; // global index of its first group
    bool built = false; // its page was laid out (a redraw of phase 3 leaves phase 2 unbuilt)
    QList<DrawEntry> participants;       // phases 2, 3: ListBox3 / ListBox4
    QList<DrawEntry> participantsLoaded; // listbox3dup / listbox4dup
    QList<QList<DrawEntry>> groups;      // gruppenlisten: groups[j][row]
    QList<DrawEntry> koinfos;            // the bracket slots
    bool losenEnabled = true;            // "Losen" (uiButton1..3)

    bool exists() const { return system >= 0; }
    bool isGroups() const { return system == 0; }
    bool isKnockOut() const { return system == 1 || system == 2; }
};

// The wizard's lists a drag can start on or end at.
enum class DrawList { ListBox1 = 1, ListBox2 = 2, ListBox3 = 3, ListBox4 = 4 };

struct GroupRowRef {
    int phase = 1;
    int group = 0; // index within the phase
    int row = 0;
};
struct SlotRef {
    int phase = 1;
    int slot = 0;
};

// What the navigation buttons show on a step; step 1..3 the phase pages, 4 the tables.
struct WizardState {
    int step = 1;
    bool zurueck = false;
    bool weiter = true;
    bool fertig = false;
    bool operator==(const WizardState&) const = default;
};

// Where the navigation works: the mode, the redrawn phase (mode 2) and which
// later phases exist.
struct NavigationFrame {
    int mode = 1;
    int redrawPhase = 1;
    bool phase2 = false;
    bool phase3 = false;
};
// The state on opening.
WizardState startState(const NavigationFrame& frame);
// "Weiter -->" and "<-- Zurück" from `state`; a refused step returns `state`.
WizardState weiterState(const NavigationFrame& frame, const WizardState& state);
WizardState zurueckState(const NavigationFrame& frame, const WizardState& state);

// Pixel geometry of the phase pages, computed here and painted by the form.
struct GroupGeometry {
    QString caption; // "Gruppe X"
    QPoint captionAt;
    QRect list;      // rows are 15 px
};
struct BracketGeometry {
    QSize size;
    QList<QRect> slotRects;                    // one label per slot, by slot index
    QList<QLine> lines;
    QList<std::pair<QPoint, QString>> texts; // "Spieler n" (phase 1), baseline-free: top-left
};
struct TableListGeometry {
    QString caption;
    QPoint captionAt;
    QRect list;
};

class DrawModel {
public:
    // Reads the class and lays out its pages: the settings, the tables, the
    // seeds (Gesetzt by position, only entrants checked in for the class; a
    // pair only while it is still that pair), the registered entrants, and
    // for mode 2 the real entrants of the redrawn phase from its plan. Keeps
    // the class: it works on `kid` until loaded again.
    void load(const QSqlDatabase& db, int kid, int mode, int redrawPhase);

    // The same from data already read (tests, and load() itself). `seeds` in
    // seed order; `registered` in any order (sorted here); `redrawEntrants`
    // the real entrants of the redrawn phase (mode 2, phase 2 or 3).
    void setUp(int kid, int mode, int redrawPhase, const auslosungsinfos& settings, const QStringList& tables,
               const QList<Myitem>& seeds, const QList<Myitem>& registered,
               const QList<DrawEntry>& redrawEntrants = {});

    int kid() const { return m_kid; }
    int mode() const { return m_mode; }
    int redrawPhase() const { return m_redrawPhase; }
    const auslosungsinfos& gruppeneinstellung() const { return m_settings; }
    NavigationFrame frame() const;
    // The settings as load() read them (the saving checks they still read so),
    // and the class's plan as it was then (planStamp; nothing after setUp alone).
    const GroupSettings& storedSettings() const { return m_storedSettings; }
    const std::optional<QByteArray>& loadedPlan() const { return m_loadedPlan; }

    DrawPhase& phase(int p) { return m_phases[size_t(p - 1)]; }
    const DrawPhase& phase(int p) const { return m_phases[size_t(p - 1)]; }
    // The first phase a redraw may change (1 in mode 1).
    int firstPhaseInScope() const { return m_mode == 2 ? m_redrawPhase : 1; }

    QList<DrawEntry>& registered() { return m_registered; } // ListBox1; keep it sorted: addRegistered()
    const QList<DrawEntry>& registered() const { return m_registered; }
    QList<DrawEntry>& seeds() { return m_seeds; } // ListBox2
    const QList<DrawEntry>& seeds() const { return m_seeds; }
    const QList<DrawEntry>& registeredLoaded() const { return m_registeredLoaded; } // listbox1dup
    const QList<DrawEntry>& seedsLoaded() const { return m_seedsLoaded; }           // listbox2dup
    // The entries of a list (ListBox1 .. ListBox4).
    QList<DrawEntry>& list(DrawList which);
    const QList<DrawEntry>& list(DrawList which) const;
    // The text a list row shows: ListBox2 "n. " + text (a placeholder its
    // gap text), the others the entry's text.
    QString listText(DrawList which, int row) const;
    // The text of a group row: "k. " + the entry's text.
    static QString rowText(int row, const DrawEntry& entry);

    // Inserts into ListBox1 at its sorted place; returns the row.
    int addRegistered(const DrawEntry& entry);

    // --- placing, for the draw routines ---
    // Puts `entry` into row `row` of group `group` of phase `p`, replacing
    // what stood there (which leaves the draw).
    void placeInGroup(int p, int group, int row, const DrawEntry& entry);
    // Puts `entry` into slot `slot` of phase `p`'s bracket.
    void placeInSlot(int p, int slot, const DrawEntry& entry);
    // Resizes phase `p`'s bracket to bracketSize(participants), all slots empty.
    void resizeBracket(int p, int participants);
    void setLosenEnabled(int p, bool enabled) { phase(p).losenEnabled = enabled; }

    // --- manual editing (drags and keys); false: nothing changed ---
    // A drop of row `sourceRow` of a list onto a group row: ListBox1/ListBox2
    // onto phase 1, ListBox3 onto phase 2, ListBox4 onto phase 3; only onto an
    // empty row.
    bool dropOnGroupRow(DrawList source, int sourceRow, GroupRowRef target);
    // Two rows of one group exchange their entries, each row keeping its number.
    bool swapRows(int p, int group, int rowA, int rowB);
    // The Delete key on a phase-1 row: a seed back into its place in ListBox2,
    // anybody else into ListBox1. Phases 2 and 3: nothing.
    bool deleteRow(GroupRowRef row);
    // A group row dragged onto a list: phase 1 onto ListBox1 (also a seed,
    // who then stays unseeded), phase 2 onto ListBox3, phase 3 onto ListBox4.
    bool dropRowOnList(GroupRowRef row, DrawList target);
    // A drop of a list row onto a bracket slot: only onto a free slot
    // (ListBox1/2 onto phase 1, ListBox3 onto phase 2, ListBox4 onto phase 3).
    bool dropOnSlot(DrawList source, int sourceRow, SlotRef target);
    // A slot dragged onto a list: an unseeded phase-1 entrant back to ListBox1
    // (a bye only clears), a seed back into its place in ListBox2, a later
    // phase's entry back to its participant list.
    bool dropSlotOnList(SlotRef slot, DrawList target);

    // "Alles löschen" of phase p: its lists as loaded, its groups or slots
    // empty, "Losen" enabled.
    void allesLoeschen(int p);

    // --- tables page ---
    const QStringList& tables() const { return m_tables; } // ListBox5 "Verfügbare Tische"
    // RadioGroup5: 0 "Tische frei verteilen", 1 "Tische Gruppen fest zuordnen".
    int plattensystem() const { return m_plattensystem; }
    // 1 makes one empty table list per group of every phase (in global group
    // order), 0 drops them.
    void setPlattensystem(int value);
    // plattenlisten: list i belongs to global group i; each sorted.
    const QList<QStringList>& plattenlisten() const { return m_plattenlisten; }
    // Whether table list i is shown (a redraw hides the lists of earlier phases).
    bool tableListShown(int i) const;
    // Gives the tables at `tableRows` of ListBox5 to group list `list`; a
    // table the group has already is not added twice. False: nothing added.
    bool assignTables(const QList<int>& tableRows, int list);
    // Takes row `row` of group list `list` away.
    bool removeTable(int list, int row);

    // --- geometry ---
    QList<GroupGeometry> groupGeometry(int p) const;
    BracketGeometry bracketGeometry(int p) const;
    // The table lists laid out in a scroll box `width` pixels wide (at least
    // one list per row).
    QList<TableListGeometry> tableListGeometry(int width) const;

    // --- steps ---
    WizardState& state() { return m_state; }
    const WizardState& state() const { return m_state; }
    int auslosungsschritt() const { return m_state.step; }
    bool weiter();  // false when refused
    bool zurueck(); // false when refused
    // Whether the side labels of step 1..4 are drawn in the highlight colour:
    // on opening those of the first step (a redraw: all of them); a step
    // taken highlights the new step's and draws the old step's black.
    bool highlighted(int step) const { return step >= 1 && step <= 4 && m_highlighted[size_t(step - 1)]; }

private:
    void buildPhase1();
    void buildLaterPhase(int p, bool redraw, const QList<DrawEntry>& redrawEntrants);
    void emptyGroupsAndSlots(int p);
    QList<DrawEntry>* listOfPhase(int p);
    int groupCountTotal() const;
    bool step(const WizardState& next);

    int m_kid = 0;
    int m_mode = 1;
    int m_redrawPhase = 1;
    auslosungsinfos m_settings;
    std::array<DrawPhase, 3> m_phases;
    QList<DrawEntry> m_registered;
    QList<DrawEntry> m_seeds;
    QList<DrawEntry> m_registeredLoaded;
    QList<DrawEntry> m_seedsLoaded;
    QStringList m_tables;
    int m_plattensystem = 0;
    QList<QStringList> m_plattenlisten;
    WizardState m_state;
    std::array<bool, 4> m_highlighted{};
    GroupSettings m_storedSettings;
    std::optional<QByteArray> m_loadedPlan;
};

} // namespace bw
