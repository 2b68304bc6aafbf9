#include "plans/matchrecording.h"

#include "plans/tspielplaene.h"
#include "results/resultengine.h"
#include "results/standingsstep.h"
#include "results/takeback.h"
#include "results/tergebnis_team.h"

namespace bw {

namespace {

// The plan panel as the recording of a match of class `kid` reaches it: its
// pools and slot labels only when it shows that class (its rebuild, redraw and
// offer check the class themselves).
class ClassPlan : public ResultPlanLink {
public:
    ClassPlan(Tspielplaene& plans, int kid) : m_plans(plans), m_shown(plans.session().kid == kid) {}

    bool hasPool(const QString& name) const override { return m_shown && m_plans.hasPool(name); }
    QStringList poolNames() const override { return m_shown ? m_plans.poolNames() : QStringList(); }
    QStringList poolTexts(const QString& name) const override
    {
        return m_shown ? m_plans.poolTexts(name) : QStringList();
    }
    void addToPool(const QString& name, const QString& text, int id) override
    {
        if (m_shown)
            m_plans.addToPool(name, text, id);
    }
    void relabelSlots(int phase, const QString& placeholder, const QString& text, int id) override
    {
        if (m_shown)
            m_plans.relabelSlots(phase, placeholder, text, id);
    }
    void rebuildStates(int kid) override { m_plans.rebuildStates(kid); }
    void redraw(int kid) override { m_plans.redraw(kid); }
    void offerNextMatches(int kid, int phase) override { m_plans.offerNextMatches(kid, phase); }

private:
    Tspielplaene& m_plans;
    bool m_shown;
};

} // namespace

MatchRecording::MatchRecording(Tspielplaene& plans, MatchRecordingLinks links)
    : m_plans(plans), m_links(std::move(links))
{
}

namespace {

ResultEntry entryOf(const MatchFinish& finish)
{
    ResultEntry entry;
    entry.kid = finish.kid;
    entry.spielnummer = finish.spielnummer;
    entry.gruppe = finish.gruppe;
    entry.ergebnis = finish.ergebnis;
    for (size_t k = 0; k < entry.saetze.size() && qsizetype(k) < finish.saetze.size(); ++k)
        entry.saetze[k] = finish.saetze[qsizetype(k)];
    entry.verliererAlsSchiri = finish.schiripool;
    return entry;
}

} // namespace

template <typename Work>
bool MatchRecording::withEngine(int kid, Work work)
{
    // The tournament and connection of this moment: both change when another
    // tournament is opened.
    ClassPlan plan(m_plans, kid);
    ResultEngine engine(m_links.database(), m_links.tid(), *m_links.clock, plan);
    StandingsStep standings(*m_links.tieResolver, *m_links.prompter, plan);
    standings.attach(engine);
    return work(engine, plan);
}

bool MatchRecording::spielBeendet(const MatchFinish& finish, const std::function<void()>& close)
{
    return withEngine(finish.kid, [&](ResultEngine& engine, ResultPlanLink& plan) {
        return bw::spielBeendet(engine, plan, *m_links.prompter, entryOf(finish), finish.next, close);
    });
}

namespace {

TeamResultEntry entryOf(const TeamMatchFinish& finish)
{
    TeamResultEntry entry;
    entry.match.kid = finish.kid;
    entry.match.spielnummer = finish.spielnummer;
    entry.match.gruppe = finish.gruppe;
    entry.match.ergebnis = finish.ergebnis;
    entry.match.verliererAlsSchiri = finish.schiripool;
    for (const TeamMatchFinish::Game& game : finish.games) {
        GameEntry g;
        g.nummer = game.nummer;
        g.ergebnis = game.ergebnis;
        for (size_t k = 0; k < g.saetze.size() && qsizetype(k) < game.saetze.size(); ++k)
            g.saetze[k] = game.saetze[qsizetype(k)];
        g.platte = game.platte;
        g.schiri = game.schiri;
        entry.spiele << g;
    }
    return entry;
}

} // namespace

bool MatchRecording::spielBeendet(const TeamMatchFinish& finish, const std::function<void()>& close)
{
    return withEngine(finish.kid, [&](ResultEngine& engine, ResultPlanLink& plan) {
        return bw::spielBeendet(engine, plan, *m_links.prompter, entryOf(finish), finish.next, close);
    });
}

bool MatchRecording::korrigieren(const MatchFinish& finish, const std::function<void()>& close)
{
    return withEngine(finish.kid, [&](ResultEngine& engine, ResultPlanLink& plan) {
        return bw::korrigieren(engine, plan, *m_links.prompter, entryOf(finish), finish.spielende, finish.next,
                               close);
    });
}

bool MatchRecording::korrigieren(const TeamMatchFinish& finish, const std::function<void()>& close)
{
    return withEngine(finish.kid, [&](ResultEngine& engine, ResultPlanLink& plan) {
        return bw::korrigieren(engine, plan, *m_links.prompter, entryOf(finish), finish.spielende, finish.next,
                               close);
    });
}

void MatchRecording::spielZuruecksetzen(int kid, int spielnummer, MatchStage shown)
{
    ClassPlan plan(m_plans, kid);
    bw::spielZuruecksetzen(m_links.database(), *m_links.prompter, plan, kid, spielnummer, shown);
}

} // namespace bw
