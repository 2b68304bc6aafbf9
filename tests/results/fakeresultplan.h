// The plan panel as the result engine and the take-back see it: pools and
// slot labels in memory, and the rebuilds, redraws and offers in order.
#pragma once

#include "results/resultplanlink.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <utility>

namespace bw::test {

class FakePlan : public ResultPlanLink {
public:
    QMap<QString, QList<std::pair<QString, int>>> pools;
    // page -> label caption -> key
    QMap<int, QMap<QString, int>> labels;
    int rebuilds = 0;
    QStringList calls; // rebuilds, redraws, offers and the dialog's closing in order

    bool hasPool(const QString& name) const override { return pools.contains(name); }
    QStringList poolNames() const override { return pools.keys(); }
    QStringList poolTexts(const QString& name) const override
    {
        QStringList texts;
        for (const auto& item : pools.value(name))
            texts << item.first;
        return texts;
    }
    void addToPool(const QString& name, const QString& text, int id) override
    {
        if (pools.contains(name) && !poolTexts(name).contains(text))
            pools[name].append({text, id});
    }
    void relabelSlots(int phase, const QString& placeholder, const QString& text, int id) override
    {
        auto& page = labels[phase];
        if (page.contains(placeholder)) {
            page.remove(placeholder);
            page.insert(text, id);
        }
    }
    void rebuildStates(int) override
    {
        ++rebuilds;
        calls << QStringLiteral("rebuild");
    }
    void redraw(int) override { calls << QStringLiteral("redraw"); }
    void offerNextMatches(int, int phase) override { calls << QStringLiteral("offer %1").arg(phase); }
};

} // namespace bw::test
