// The state of the plan panel, without widgets: the plan settings of the class
// shown (klasseninfos), the hidden pools of free entrants, tables and referees,
// the vertical offsets of the last group plan drawn (gruppenversatz) and the
// shown class's key. Everything the panel does acts on the session's key.
//
// What the class's result dialogs are set up with (set entries, result items,
// team game captions) is computed here as data as well.
#pragma once

#include "results/resultdialogsetup.h"

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

// The hidden pools by name ("sliste" + G, "platte" + G, "schiri",
// "alleschiris"): ordered texts. A full rebuild replaces them; a zoom keeps them.
class ResourcePools {
public:
    bool contains(const QString& name) const { return m_pools.contains(name); }
    // The pool's entries; empty when there is no such pool.
    QList<PoolItem> items(const QString& name) const { return m_pools.value(name); }
    QStringList texts(const QString& name) const;
    // Creates the pool with these entries unless it exists; returns whether it did.
    bool addIfAbsent(const QString& name, const QList<PoolItem>& items);
    QStringList names() const { return m_pools.keys(); }
    void clear() { m_pools.clear(); }

private:
    QMap<QString, QList<PoolItem>> m_pools;
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
};

} // namespace bw
