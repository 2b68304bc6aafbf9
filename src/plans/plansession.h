// The state of the plan panel, without widgets: the plan settings of the class
// shown (klasseninfos), the hidden pools of free entrants, tables and referees,
// the vertical offsets of the last group plan drawn (gruppenversatz) and the
// shown class's key. Everything the panel does acts on the session's key.
//
// What the class's result dialogs are set up with (set entries, result items,
// team game captions) is computed here as data as well.
#pragma once

#include "results/resultdialogsetup.h"
#include "plans/matchstates.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace bw {

// The plan settings of the class whose plans are shown. Every integer of the
// settings row is -1 when its column is Null or the class has no settings row.
struct gruppeninfos {
    int phase1 = -1, phase2 = -1, phase3 = -1;
    int gruppenanzahl1 = -1, gruppenanzahl2 = -1, gruppenanzahl3 = -1;
    int teilnehmer1 = -1, teilnehmer2 = -1, teilnehmer3 = -1;
    int besten1 = -1, besten2 = -1, besten3 = -1;
    int bestplazierten1 = -1, bestplazierten2 = -1, bestplazierten3 = -1;
    int platten = 0;
    int system = 0; // class kind: 0 singles, 1 doubles, 2 mixed, 3 team
    int saetze = 0; // sets to win a match
    QString plattenbez;
    QDateTime atag;
    QDateTime uhrzeit;
    int punkteprosieg = 0; // 0: one point per win, 1: two

    // The play system of phase p (1..3): -1 not used, 0 groups, 1 knock-out,
    // 2 double knock-out; -1 for another p.
    int spielsystem(int p) const;
    int gruppenanzahl(int p) const;
    int teilnehmer(int p) const;
    // The class's number of the phase's first group: the groups of the phases
    // before it (an unused phase counts none).
    int gruppenOffset(int p) const;
    bool team() const { return system == 3; }

    bool operator==(const gruppeninfos&) const = default;
};

// One entry of a pool: its text and, where the pool keeps one, a key.
struct PoolItem {
    QString text;
    int id = 0;
    bool operator==(const PoolItem&) const = default;
};

// What a match holds while it is called or running: its entrants, table and
// umpire, and the group whose pools it uses (-1 outside groups).
struct MatchResources {
    int gruppe = -1;
    int sid1 = 0;
    int sid2 = 0;
    QString platte; // the table it is called to (empty: none)
    QString schiri; // the umpire's text (empty: none)
};

// Where a finished match's table goes back to.
enum class TableReturn {
    None,       // a match started by hand took no table
    OwnGroup,   // tables fixed per group: to the group's pool, else the class's
    Everywhere, // free distribution and matches outside groups: every table pool
};

// The hidden pools by name ("sliste" + G, "platte" + G, "allespieler",
// "alleplatten", "schiri", "alleschiris"): ordered texts. A full rebuild
// replaces them; a zoom keeps them. A text given back takes its place in the
// order the pool was created with, so the first free table is the same
// whether a pool was rebuilt or changed step by step.
class ResourcePools {
public:
    bool contains(const QString& name) const { return m_pools.contains(name); }
    // The pool's entries; empty when there is no such pool.
    QList<PoolItem> items(const QString& name) const { return m_pools.value(name).items; }
    QStringList texts(const QString& name) const;
    // Creates the pool with these entries unless it exists; returns whether it did.
    bool addIfAbsent(const QString& name, const QList<PoolItem>& items);
    QStringList names() const { return m_pools.keys(); }
    void clear() { m_pools.clear(); }

    // Whether the pool exists and holds the text (exactly).
    bool holds(const QString& name, const QString& text) const;
    bool isEmpty(const QString& name) const { return m_pools.value(name).items.isEmpty(); }
    // Takes the text out of the pool; a pool or text that is not there is no change.
    void take(const QString& name, const QString& text);
    // Gives the text (with its key) back to an existing pool that lacks it.
    void giveBack(const QString& name, const QString& text, int id = 0);
    // Every existing pool of the prefix followed by a group number ("platte" + k).
    QStringList groupPools(const QString& prefix) const;

    // The pool choice of a match of group G: "sliste" + G / "platte" + G while
    // it exists, else "allespieler" / "alleplatten".
    QString playerPool(int gruppe) const;
    QString tablePool(int gruppe) const;
    // Whether both ids are free entrants of the match's pool.
    bool entrantsFree(int gruppe, int sid1, int sid2) const;
    // Whether the match's table pool holds a table.
    bool tableFree(int gruppe) const { return !isEmpty(tablePool(gruppe)); }

    // A confirmed call-up: the entrants leave the match's player pool, the
    // table every group table pool and "alleplatten", the umpire "schiri".
    void takeCallUp(const MatchResources& match);
    // A called or running match met by a rebuild: as a call-up, and its
    // entrants leave every group player pool too.
    void takeRunning(const MatchResources& match);
    // A finished or taken-back match: entrants, umpire and table come back,
    // each only where absent.
    void giveBack(const MatchResources& match, TableReturn table);

private:
    struct Pool {
        QList<PoolItem> items;
        QStringList order; // the texts as the pool was created
    };
    QMap<QString, Pool> m_pools;
};

// The result items of a match played to S won sets.
QStringList setResultItems(int saetze);
// The result items of a team match of G games: every a:b with a + b <= G, a != b,
// a from G down, b from 0 up.
QStringList teamResultItems(int games);
// The caption of game n whose sides are the team positions a and b (from 10 up:
// doubles 1, 2, ...).
QString teamGameCaption(int n, int a, int b);

// Loads klasseninfos of a class by the load rules: an empty tournament start
// day fills atag Null.
gruppeninfos loadKlasseninfos(const QSqlDatabase& db, int kid, const QDate& firstDay);
// The result dialogs' set-up of the class.
ResultDialogSetup loadResultDialogSetup(const QSqlDatabase& db, int kid, const gruppeninfos& infos);

// The session of the plan panel.
class PlanSession {
public:
    int kid = 0;
    gruppeninfos klasseninfos;
    ResourcePools pools;
    // gruppenversatz[g]: the extra vertical offset of group g of the group phase
    // drawn last; the entry after its last group is the total.
    QList<int> gruppenversatz{0};
    // The state of every match shown.
    MatchStates states;
    // The match number of the status icon pressed last (its context menu acts on it).
    int popupspielnummer = 0;
};

} // namespace bw
