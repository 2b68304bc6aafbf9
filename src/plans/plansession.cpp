#include "plans/plansession.h"

#include "data/classrecords.h"
#include "data/planviewrecords.h"

#include <algorithm>

namespace bw {

int gruppeninfos::spielsystem(int p) const
{
    switch (p) {
    case 1: return phase1;
    case 2: return phase2;
    case 3: return phase3;
    default: return -1;
    }
}

int gruppeninfos::gruppenanzahl(int p) const
{
    switch (p) {
    case 1: return gruppenanzahl1;
    case 2: return gruppenanzahl2;
    case 3: return gruppenanzahl3;
    default: return -1;
    }
}

int gruppeninfos::teilnehmer(int p) const
{
    switch (p) {
    case 1: return teilnehmer1;
    case 2: return teilnehmer2;
    case 3: return teilnehmer3;
    default: return -1;
    }
}

int gruppeninfos::gruppenOffset(int p) const
{
    int offset = 0;
    for (int q = 1; q < p; ++q)
        offset += std::max(0, gruppenanzahl(q));
    return offset;
}

QStringList ResourcePools::texts(const QString& name) const
{
    QStringList list;
    for (const PoolItem& item : items(name))
        list << item.text;
    return list;
}

bool ResourcePools::addIfAbsent(const QString& name, const QList<PoolItem>& items)
{
    if (m_pools.contains(name))
        return false;
    Pool pool{items, {}};
    for (const PoolItem& item : items)
        pool.order << item.text;
    m_pools.insert(name, pool);
    return true;
}

bool ResourcePools::holds(const QString& name, const QString& text) const
{
    const auto pool = m_pools.constFind(name);
    if (pool == m_pools.constEnd())
        return false;
    return std::any_of(pool->items.begin(), pool->items.end(), [&](const PoolItem& item) { return item.text == text; });
}

void ResourcePools::take(const QString& name, const QString& text)
{
    const auto pool = m_pools.find(name);
    if (pool == m_pools.end())
        return;
    pool->items.removeIf([&](const PoolItem& item) { return item.text == text; });
}

void ResourcePools::giveBack(const QString& name, const QString& text, int id)
{
    const auto pool = m_pools.find(name);
    if (pool == m_pools.end() || holds(name, text))
        return;
    // Before the first entry that the created order puts after it; a text the
    // pool was not created with goes last.
    qsizetype at = pool->items.size();
    const qsizetype rank = pool->order.indexOf(text);
    if (rank >= 0) {
        for (qsizetype i = 0; i < pool->items.size(); ++i) {
            const qsizetype other = pool->order.indexOf(pool->items[i].text);
            if (other < 0 || other > rank) {
                at = i;
                break;
            }
        }
    }
    pool->items.insert(at, PoolItem{text, id});
}

QStringList ResourcePools::groupPools(const QString& prefix) const
{
    QStringList names;
    for (auto it = m_pools.constBegin(); it != m_pools.constEnd(); ++it) {
        const QString& name = it.key();
        if (!name.startsWith(prefix) || name.size() == prefix.size())
            continue;
        bool number = false;
        name.mid(prefix.size()).toInt(&number);
        if (number)
            names << name;
    }
    return names;
}

QString ResourcePools::playerPool(int gruppe) const
{
    const QString own = QStringLiteral("sliste%1").arg(gruppe);
    return contains(own) ? own : QStringLiteral("allespieler");
}

QString ResourcePools::tablePool(int gruppe) const
{
    const QString own = QStringLiteral("platte%1").arg(gruppe);
    return contains(own) ? own : QStringLiteral("alleplatten");
}

bool ResourcePools::entrantsFree(int gruppe, int sid1, int sid2) const
{
    const QString pool = playerPool(gruppe);
    return holds(pool, QString::number(sid1)) && holds(pool, QString::number(sid2));
}

void ResourcePools::takeCallUp(const MatchResources& match)
{
    const QString players = playerPool(match.gruppe);
    take(players, QString::number(match.sid1));
    take(players, QString::number(match.sid2));
    if (!match.platte.isEmpty()) {
        for (const QString& pool : groupPools(QStringLiteral("platte")))
            take(pool, match.platte);
        take(QStringLiteral("alleplatten"), match.platte);
    }
    if (!match.schiri.isEmpty())
        take(QStringLiteral("schiri"), match.schiri);
}

void ResourcePools::takeRunning(const MatchResources& match)
{
    takeCallUp(match);
    for (const QString& pool : groupPools(QStringLiteral("sliste"))) {
        take(pool, QString::number(match.sid1));
        take(pool, QString::number(match.sid2));
    }
}

void ResourcePools::giveBack(const MatchResources& match, TableReturn table)
{
    const QString players = playerPool(match.gruppe);
    giveBack(players, QString::number(match.sid1));
    giveBack(players, QString::number(match.sid2));
    if (!match.schiri.isEmpty())
        giveBack(QStringLiteral("schiri"), match.schiri);
    if (match.platte.isEmpty())
        return;
    switch (table) {
    case TableReturn::None: break;
    case TableReturn::OwnGroup: giveBack(tablePool(match.gruppe), match.platte); break;
    case TableReturn::Everywhere:
        for (const QString& pool : groupPools(QStringLiteral("platte")))
            giveBack(pool, match.platte);
        giveBack(QStringLiteral("alleplatten"), match.platte);
        break;
    }
}

QStringList setResultItems(int saetze)
{
    QStringList items;
    for (int k = saetze - 1; k >= 0; --k)
        items << QStringLiteral("%1:%2").arg(saetze).arg(k);
    for (int k = 0; k <= saetze - 1; ++k)
        items << QStringLiteral("%1:%2").arg(k).arg(saetze);
    return items;
}

QStringList teamResultItems(int games)
{
    QStringList items;
    for (int a = games; a >= 0; --a)
        for (int b = 0; a + b <= games; ++b)
            if (a != b)
                items << QStringLiteral("%1:%2").arg(a).arg(b);
    return items;
}

QString teamGameCaption(int n, int a, int b)
{
    if (a < 10)
        return QStringLiteral("Spiel %1: A%2 - B%3").arg(n).arg(a).arg(b);
    return QStringLiteral("Spiel %1: D%2 - D%3").arg(n).arg(a - 10).arg(b - 10);
}

gruppeninfos loadKlasseninfos(const QSqlDatabase& db, int kid, const QDate& firstDay)
{
    gruppeninfos infos;
    const PlanSettingsRow settings = readPlanSettings(db, kid);
    infos.phase1 = settings.phase[0];
    infos.phase2 = settings.phase[1];
    infos.phase3 = settings.phase[2];
    infos.gruppenanzahl1 = settings.gruppenanzahl[0];
    infos.gruppenanzahl2 = settings.gruppenanzahl[1];
    infos.gruppenanzahl3 = settings.gruppenanzahl[2];
    infos.teilnehmer1 = settings.teilnehmer[0];
    infos.teilnehmer2 = settings.teilnehmer[1];
    infos.teilnehmer3 = settings.teilnehmer[2];
    infos.besten1 = settings.besten[0];
    infos.besten2 = settings.besten[1];
    infos.besten3 = settings.besten[2];
    infos.bestplazierten1 = settings.bestplazierten[0];
    infos.bestplazierten2 = settings.bestplazierten[1];
    infos.bestplazierten3 = settings.bestplazierten[2];
    infos.plattenbez = settings.plattenbez;
    if (const std::optional<PlanClassRow> row = readPlanClass(db, kid)) {
        infos.platten = row->platten;
        infos.system = row->system;
        infos.saetze = row->saetze;
        infos.punkteprosieg = row->punkteprosieg;
        infos.atag = QDateTime(row->atag.isValid() ? row->atag : firstDay, QTime(0, 0));
        infos.uhrzeit = row->uhrzeit;
    } else {
        infos.atag = QDateTime(firstDay, QTime(0, 0));
    }
    return infos;
}

ResultDialogSetup loadResultDialogSetup(const QSqlDatabase& db, int kid, const gruppeninfos& infos)
{
    ResultDialogSetup setup;
    setup.saetze = infos.saetze;
    setup.setEntries = std::max(0, 2 * infos.saetze - 1);
    setup.ergebnisItems = setResultItems(infos.saetze);
    setup.team = infos.team();
    if (!setup.team)
        return setup;
    if (const std::optional<TeamFormat> format = readTeamFormat(db, kid)) {
        setup.teamPlayers = format->spieler;
        for (int n = 0; n < 9; ++n) {
            if (!format->a[size_t(n)] || !format->b[size_t(n)])
                continue;
            ++setup.teamGames;
            setup.gameCaptions << teamGameCaption(n + 1, *format->a[size_t(n)], *format->b[size_t(n)]);
        }
    }
    setup.teamResultItems = teamResultItems(setup.teamGames);
    return setup;
}

} // namespace bw
