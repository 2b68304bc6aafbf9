#include "data/groupsettings.h"

#include "data/concurrency.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"

#include <QSqlRecord>

namespace bw {

namespace {

const QString kSettingsTable = QStringLiteral("Gruppeneinstellungen");

QVariant nullInt()
{
    return QVariant(QMetaType::fromType<int>());
}

QString column(const char* name, int phase)
{
    return QString::fromLatin1(name) + QString::number(phase + 1);
}

} // namespace

QString groupLetter(int group)
{
    return QString(QChar(u'A' + group));
}

std::optional<PlaySystem> playSystemOf(const QVariant& stored)
{
    if (stored.isNull())
        return std::nullopt;
    bool ok = false;
    const int value = stored.toInt(&ok);
    if (!ok || value < 0 || value > 2)
        return std::nullopt;
    return PlaySystem(value);
}

QString playSystemName(PlaySystem system)
{
    switch (system) {
    case PlaySystem::Gruppenphase: return QStringLiteral("Gruppenphase");
    case PlaySystem::EinfachesKO: return QStringLiteral("Einfaches KO-System");
    case PlaySystem::DoppeltesKO: return QStringLiteral("Doppeltes KO-System");
    }
    return {};
}

std::optional<GroupSettings> readGroupSettings(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, s("SELECT * FROM Gruppeneinstellungen WHERE KID=:k"), {{s("k"), kid}});
    if (!q.next())
        return std::nullopt;
    const QSqlRecord rec = q.record();
    auto value = [&](const QString& name) { return q.value(rec.indexOf(name)); };
    GroupSettings settings;
    for (int p = 0; p < kPhaseCount; ++p) {
        const QVariant stored = value(column("phase", p));
        if (stored.isNull())
            continue;
        const std::optional<PlaySystem> system = playSystemOf(stored);
        if (!system)
            throw AppError(QStringLiteral("Die Gruppeneinstellungen der Klasse nennen für Phase %1 ein unbekanntes "
                                          "Spielsystem (%2).")
                               .arg(p + 1)
                               .arg(stored.toString()));
        PhaseSettings phase;
        phase.system = *system;
        phase.gruppenanzahl = value(column("gruppenanzahl", p)).toInt();
        phase.teilnehmer = value(column("teilnehmer", p)).toInt();
        phase.besten = value(column("besten", p)).toInt();
        phase.bestplazierten = value(column("bestplazierten", p)).toInt();
        settings.phases[size_t(p)] = phase;
    }
    settings.gesetzt = value(s("gesetzt")).toInt();
    settings.plattenbez = value(s("plattenbez")).toString();
    return settings;
}

QList<StoredSeed> readSeeds(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, s("SELECT position, SID, partner_SID FROM Gesetzt WHERE KID=:k ORDER BY position"),
                          {{s("k"), kid}});
    QList<StoredSeed> seeds;
    while (q.next())
        seeds.append(StoredSeed{q.value(0).toInt(), SeedSlot{q.value(1).toInt(), q.value(2).toInt()}});
    return seeds;
}

void saveGroupSettings(const QSqlDatabase& db, int kid, const GroupSettings& settings, const QList<SeedSlot>& seedSlots)
{
    SqlParams row{{s("kid"), kid}, {s("gesetzt"), settings.gesetzt}, {s("plattenbez"), settings.plattenbez}};
    for (int p = 0; p < kPhaseCount; ++p) {
        const std::optional<PhaseSettings>& phase = settings.phases[size_t(p)];
        auto put = [&](const char* name, int v) { row.insert(column(name, p), phase ? QVariant(v) : nullInt()); };
        put("phase", phase ? int(phase->system) : 0);
        put("gruppenanzahl", phase ? phase->gruppenanzahl : 0);
        put("teilnehmer", phase ? phase->teilnehmer : 0);
        put("besten", phase ? phase->besten : 0);
        put("bestplazierten", phase ? phase->bestplazierten : 0);
    }
    inTransaction(db, [&] {
        // The class's row is the lock: a second desk saving the class waits
        // here until this save is done, then replaces it.
        if (!lockRow(db, s("Turnierklassen"), kid, RowLock::Update))
            throw StaleRecord::gone(s("Die Klasse"));
        execute(db, s("DELETE FROM Gruppeneinstellungen WHERE KID=:k"), {{s("k"), kid}});
        execute(db, s("DELETE FROM Gesetzt WHERE KID=:k"), {{s("k"), kid}});
        execute(db, positionalInsert(kSettingsTable), row);
        for (int i = 0; i < seedSlots.size(); ++i) {
            execute(db, positionalInsert(s("Gesetzt")),
                    {{s("kid"), kid}, {s("position"), i}, {s("sid"), seedSlots[i].id},
                     {s("partner_sid"), seedSlots[i].partnerId}});
        }
    });
}

} // namespace bw
