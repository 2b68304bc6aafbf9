// What recording or taking back a result needs of the plan panel of its class:
// the hidden pools of free players, tables and umpires, the slot labels of the
// plan pages, and the rebuild of the match states. The plan panel implements it;
// the result engine (results/resultengine.h) calls it only after its
// transaction has committed, or, after a failure, to rebuild from the database.
#pragma once

#include <QString>
#include <QStringList>

namespace bw {

class ResultPlanLink {
public:
    virtual ~ResultPlanLink() = default;

    // The pools by name ("sliste" + G, "allespieler", "platte" + G,
    // "alleplatten", "schiri", "alleschiris").
    virtual bool hasPool(const QString& name) const = 0;
    virtual QStringList poolNames() const = 0;
    // The texts of a pool's entries in order; empty when there is no such pool.
    virtual QStringList poolTexts(const QString& name) const = 0;
    // Gives an entry back to a pool: added with its key unless the pool holds
    // its text already; nothing when there is no such pool.
    virtual void addToPool(const QString& name, const QString& text, int id) = 0;

    // The slot labels of plan page `phase` (1..3, 4 the placement matches) whose
    // caption is exactly `placeholder` get `text` as caption and `id` as key.
    virtual void relabelSlots(int phase, const QString& placeholder, const QString& text, int id) = 0;

    // statusladen: the class's match states, icons and pools rebuilt from the
    // database.
    virtual void rebuildStates(int kid) = 0;
    // planshow: the class's plans drawn anew.
    virtual void redraw(int kid) = 0;
    // possiblegames: offers the next playable matches of the phase.
    virtual void offerNextMatches(int kid, int phase) = 0;
};

} // namespace bw
