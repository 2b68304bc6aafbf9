#include "data/classrecords.h"

#include "data/concurrency.h"
#include "data/dbvalue.h"
#include "data/keys.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "platform/germantext.h"

#include <QSqlRecord>

namespace bw {

const QString kClassNameTaken = QStringLiteral("Eine Klasse mit diesem Namen existiert bereits");

namespace {

const QString kClass = QStringLiteral("Die Klasse");

// Inside the writing transaction, under the lock of the class keys.
void requireFreeName(const QSqlDatabase& db, int tid, ClassKind kind, const QString& name, int exceptKid)
{
    if (classNameTaken(db, tid, kind, name, exceptKid))
        throw AppError(kClassNameTaken);
}

// Whether the stored class is the one the page loaded; colour and online id
// are not the page's to write.
bool sameAsLoaded(const ClassData& stored, ClassData loaded)
{
    loaded.record.farbe = stored.record.farbe;
    loaded.record.liveKlassenID = stored.record.liveKlassenID;
    return stored == loaded;
}

// The day a stored time of day belongs to: the time alone is what counts.
const QDate kTimeOnlyDay(1899, 12, 30);

QVariant nullInt()
{
    return QVariant(QMetaType::fromType<int>());
}

QVariant optionalInt(const std::optional<int>& value)
{
    return value ? QVariant(*value) : nullInt();
}

std::optional<int> readOptionalInt(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toInt();
}

QString gameColumn(int game, char side)
{
    return QStringLiteral("s%1%2").arg(game + 1).arg(QLatin1Char(side));
}

// The values of a class row by column name (lower case, as positionalInsert names them).
SqlParams classParams(int kid, int tid, const ClassRecord& r)
{
    return {
        {QStringLiteral("kid"), kid},
        {QStringLiteral("tid"), tid},
        {QStringLiteral("system"), storedKind(r.system)},
        {QStringLiteral("kbezeichnung"), r.kbezeichnung},
        {QStringLiteral("kbeschreibung"), r.kbeschreibung},
        {QStringLiteral("spielberechtigung"), r.spielberechtigung},
        {QStringLiteral("mann"), r.mann},
        {QStringLiteral("frau"), r.frau},
        {QStringLiteral("gebuehr"), r.gebuehr},
        {QStringLiteral("min"), r.min},
        {QStringLiteral("max"), r.max},
        {QStringLiteral("saetze"), r.saetze},
        {QStringLiteral("platten"), r.platten},
        {QStringLiteral("altersklasseid"), r.altersklasseID},
        {QStringLiteral("atag"), r.atag},
        {QStringLiteral("uhrzeit"), r.uhrzeit ? QVariant(QDateTime(kTimeOnlyDay, *r.uhrzeit))
                                              : QVariant(QMetaType::fromType<QDateTime>())},
        {QStringLiteral("farbe"), r.farbe},
        {QStringLiteral("punkteprosieg"), r.punkteprosieg},
        {QStringLiteral("nachgebuehr"), r.nachgebuehr},
        {QStringLiteral("liveklassenid"), r.liveKlassenID},
    };
}

ClassRecord recordFrom(const QSqlQuery& q)
{
    const QSqlRecord rec = q.record();
    auto v = [&](const char* name) { return q.value(rec.indexOf(QLatin1String(name))); };
    ClassRecord r;
    r.kbezeichnung = v("kbezeichnung").toString();
    const std::optional<ClassKind> kind = classKindOf(v("system"));
    if (!kind)
        throw AppError(QStringLiteral("Die Klasse \"%1\" hat eine unbekannte Spielart (%2).")
                           .arg(r.kbezeichnung, v("system").toString()));
    r.system = *kind;
    r.kbeschreibung = v("kbeschreibung").toString();
    r.spielberechtigung = v("spielberechtigung").toString();
    r.mann = v("mann").toInt() != 0;
    r.frau = v("frau").toInt() != 0;
    r.gebuehr = v("gebuehr").toDouble();
    r.min = v("min").toInt();
    r.max = v("max").toInt();
    r.saetze = v("saetze").toInt();
    r.platten = v("platten").toInt();
    r.altersklasseID = v("altersklasseid").toString();
    r.atag = readDate(v("atag"));
    const QDateTime time = readDateTime(v("uhrzeit"));
    if (time.isValid())
        r.uhrzeit = time.time();
    r.farbe = v("farbe").toString();
    r.punkteprosieg = v("punkteprosieg").toInt();
    r.nachgebuehr = v("nachgebuehr").toDouble();
    r.liveKlassenID = v("liveklassenid").toInt();
    return r;
}

void insertTableNames(const QSqlDatabase& db, int tid, int kid, const QStringList& tables)
{
    for (const QString& name : tables) {
        execute(db, positionalInsert(QStringLiteral("Platten1")),
                {{QStringLiteral("kid"), kid}, {QStringLiteral("platte"), name}, {QStringLiteral("tid"), tid}});
    }
}

SqlParams teamParams(const TeamFormat& format)
{
    const TeamFormat f = format.normalized();
    SqlParams p{{QStringLiteral("spieler"), f.spieler}, {QStringLiteral("reserve"), f.reserve}};
    for (int game = 0; game < 9; ++game) {
        p.insert(gameColumn(game, 'a'), optionalInt(f.a[size_t(game)]));
        p.insert(gameColumn(game, 'b'), optionalInt(f.b[size_t(game)]));
    }
    return p;
}

void insertTeamFormat(const QSqlDatabase& db, int tid, int kid, const TeamFormat& format)
{
    SqlParams p = teamParams(format);
    p.insert(QStringLiteral("tid"), tid);
    p.insert(QStringLiteral("kid"), kid);
    p.insert(QStringLiteral("spielanz"), nullInt());
    execute(db, positionalInsert(QStringLiteral("Teamsystem")), p);
}

QList<ClassEntry> classEntries(QSqlQuery q)
{
    QList<ClassEntry> entries;
    while (q.next())
        entries.append({q.value(0).toInt(), q.value(1).toString(), classKindOf(q.value(2))});
    return entries;
}

} // namespace

QString kindSuffix(std::optional<ClassKind> kind)
{
    return kind ? QStringLiteral(" (%1)").arg(kindName(*kind)) : QString();
}

QString classCaption(const QString& name, std::optional<ClassKind> kind)
{
    return name + kindSuffix(kind);
}

bool splitClassCaption(const QString& caption, QString* name, ClassKind* kind)
{
    for (ClassKind k : kClassKinds) {
        const QString suffix = kindSuffix(k);
        if (caption.endsWith(suffix)) {
            if (name)
                *name = caption.left(caption.size() - suffix.size());
            if (kind)
                *kind = k;
            return true;
        }
    }
    return false;
}

std::optional<double> feeValue(const QString& text)
{
    if (text.trimmed().isEmpty())
        return 0.0;
    return german::parseNumber(text);
}

int countValue(const QString& text, int fallback)
{
    return german::parseInteger(text).value_or(fallback);
}

std::optional<QTime> startTimeValue(const QString& text)
{
    const auto time = german::parseTime(text.trimmed());
    if (!time || *time == QTime(0, 0))
        return std::nullopt;
    return time;
}

TeamFormat TeamFormat::normalized() const
{
    TeamFormat f = *this;
    for (size_t game = 0; game < f.a.size(); ++game) {
        const bool played = f.a[game] && *f.a[game] >= 1 && f.b[game] && *f.b[game] >= 1;
        if (!played) {
            f.a[game].reset();
            f.b[game].reset();
        }
    }
    return f;
}

QString teamPositionText(std::optional<int> code, bool sideA)
{
    if (!code)
        return QString();
    if (*code > 10)
        return QStringLiteral("D%1").arg(*code - 10);
    return QStringLiteral("%1%2").arg(sideA ? QLatin1Char('A') : QLatin1Char('B')).arg(*code);
}

int getKID(const QSqlDatabase& db, int tid, ClassKind kind, const QString& name)
{
    const QVariant kid = scalar(db, QStringLiteral("SELECT KID FROM Turnierklassen WHERE TID=:k1 AND kbezeichnung=:k2 "
                                                   "AND system=:k3"),
                                {{QStringLiteral("k1"), tid}, {QStringLiteral("k2"), name}, {QStringLiteral("k3"), storedKind(kind)}});
    return kid.isNull() ? 0 : kid.toInt();
}

std::optional<ClassRecord> readClass(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, QStringLiteral("SELECT * FROM Turnierklassen WHERE KID=:key"), {{QStringLiteral("key"), kid}});
    if (!q.next())
        return std::nullopt;
    return recordFrom(q);
}

QStringList readTableNames(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, QStringLiteral("SELECT platte FROM Platten1 WHERE KID=:id"), {{QStringLiteral("id"), kid}});
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

std::optional<TeamFormat> readTeamFormat(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, QStringLiteral("SELECT * FROM Teamsystem WHERE KID=:id"), {{QStringLiteral("id"), kid}});
    if (!q.next())
        return std::nullopt;
    const QSqlRecord rec = q.record();
    TeamFormat f;
    f.spieler = q.value(rec.indexOf(QStringLiteral("spieler"))).toInt();
    f.reserve = q.value(rec.indexOf(QStringLiteral("reserve"))).toInt();
    for (int game = 0; game < 9; ++game) {
        f.a[size_t(game)] = readOptionalInt(q.value(rec.indexOf(gameColumn(game, 'a'))));
        f.b[size_t(game)] = readOptionalInt(q.value(rec.indexOf(gameColumn(game, 'b'))));
    }
    return f;
}

std::optional<ClassData> readClassData(const QSqlDatabase& db, int kid)
{
    QSqlQuery q = execute(db, QStringLiteral("SELECT * FROM Turnierklassen WHERE KID=:key"), {{QStringLiteral("key"), kid}});
    if (!q.next())
        return std::nullopt;
    ClassData data;
    data.kid = kid;
    data.tid = q.value(q.record().indexOf(QStringLiteral("tid"))).toInt();
    data.record = recordFrom(q);
    data.tables = readTableNames(db, kid);
    data.format = readTeamFormat(db, kid);
    return data;
}

QList<ClassEntry> listClasses(const QSqlDatabase& db, int tid)
{
    return classEntries(execute(db, QStringLiteral("SELECT KID,kbezeichnung,system FROM Turnierklassen WHERE TID=:id"),
                                {{QStringLiteral("id"), tid}}));
}

QList<ClassEntry> listClassesWithPlan(const QSqlDatabase& db, int tid)
{
    return classEntries(execute(db,
                                QStringLiteral("SELECT t.KID,t.kbezeichnung,t.system FROM Turnierklassen t WHERE t.TID=:id "
                                               "AND EXISTS (SELECT 1 FROM Spielplan s WHERE s.KID=t.KID)"),
                                {{QStringLiteral("id"), tid}}));
}

bool classNameTaken(const QSqlDatabase& db, int tid, ClassKind kind, const QString& name, int exceptKid)
{
    return !scalar(db,
                   QStringLiteral("SELECT KID FROM Turnierklassen WHERE TID=:tid AND system=:kind "
                                  "AND kbezeichnung=:name AND KID<>:kid"),
                   {{QStringLiteral("tid"), tid}, {QStringLiteral("kind"), storedKind(kind)}, {QStringLiteral("name"), name},
                    {QStringLiteral("kid"), exceptKid}})
                .isNull();
}

namespace {

void writeClass(const QSqlDatabase& db, const ClassData& loaded, const ClassRecord& record,
                const QStringList& tables, const TeamFormat& format)
{
    const int kid = loaded.kid;
    const int tid = loaded.tid;
    lockTable(db, QStringLiteral("Turnierklassen"));
    const ClassData stored =
        lockAsLoaded(db, QStringLiteral("Turnierklassen"), kid, kClass, loaded, readClassData, sameAsLoaded);
    requireFreeName(db, tid, record.system, record.kbezeichnung, kid);
    SqlParams p = classParams(kid, tid, record);
    p.remove(QStringLiteral("farbe"));
    p.remove(QStringLiteral("liveklassenid"));
    execute(db,
            QStringLiteral("UPDATE Turnierklassen SET TID=:tid,system=:system,kbezeichnung=:kbezeichnung,"
                           "kbeschreibung=:kbeschreibung,spielberechtigung=:spielberechtigung,mann=:mann,frau=:frau,"
                           "gebuehr=:gebuehr,min=:min,max=:max,saetze=:saetze,platten=:platten,"
                           "altersklasseID=:altersklasseid,atag=:atag,uhrzeit=:uhrzeit,punkteprosieg=:punkteprosieg,"
                           "nachgebuehr=:nachgebuehr WHERE KID=:kid"),
            p);
    execute(db, QStringLiteral("DELETE FROM Platten1 WHERE KID=:id"), {{QStringLiteral("id"), kid}});
    insertTableNames(db, tid, kid, tables);
    if (record.system == ClassKind::Team) {
        if (stored.format) {
            QStringList sets{QStringLiteral("spieler=:spieler"), QStringLiteral("reserve=:reserve")};
            for (int game = 0; game < 9; ++game) {
                for (char side : {'a', 'b'})
                    sets << QStringLiteral("%1=:%1").arg(gameColumn(game, side));
            }
            SqlParams tp = teamParams(format);
            tp.insert(QStringLiteral("tid"), tid);
            tp.insert(QStringLiteral("kid"), kid);
            execute(db,
                    QStringLiteral("UPDATE Teamsystem SET %1 WHERE TID=:tid AND KID=:kid")
                        .arg(sets.join(QLatin1Char(','))),
                    tp);
        } else {
            insertTeamFormat(db, tid, kid, format);
        }
    }
}

ClassCopy writeCopy(const QSqlDatabase& db, int tid, int sourceKid, ClassKind kind)
{
    const int kid = nextKey(db, QStringLiteral("Turnierklassen"));
    if (!lockRow(db, QStringLiteral("Turnierklassen"), sourceKid, RowLock::Share))
        throw StaleRecord::gone(kClass);
    const auto source = readClass(db, sourceKid);
    ClassRecord copy = *source;
    copy.system = kind;
    for (int n = 1;; ++n) {
        copy.kbezeichnung = QStringLiteral("Kopie%1 von %2").arg(n).arg(source->kbezeichnung);
        if (!classNameTaken(db, tid, kind, copy.kbezeichnung, 0))
            break;
    }
    copy.liveKlassenID = 0;
    execute(db, positionalInsert(QStringLiteral("Turnierklassen")), classParams(kid, tid, copy));
    insertTableNames(db, tid, kid, readTableNames(db, sourceKid));
    if (kind == ClassKind::Team) {
        // A copied format is taken as stored; spielanz comes along with it.
        QSqlQuery q = execute(db, QStringLiteral("SELECT * FROM Teamsystem WHERE KID=:id"), {{QStringLiteral("id"), sourceKid}});
        SqlParams p{{QStringLiteral("tid"), tid}, {QStringLiteral("kid"), kid}, {QStringLiteral("spieler"), 0},
                    {QStringLiteral("reserve"), nullInt()}, {QStringLiteral("spielanz"), nullInt()}};
        for (int game = 0; game < 9; ++game) {
            p.insert(gameColumn(game, 'a'), nullInt());
            p.insert(gameColumn(game, 'b'), nullInt());
        }
        if (q.next()) {
            const QSqlRecord rec = q.record();
            for (auto it = p.begin(); it != p.end(); ++it) {
                if (it.key() != QLatin1String("tid") && it.key() != QLatin1String("kid"))
                    it.value() = q.value(rec.indexOf(it.key()));
            }
        }
        execute(db, positionalInsert(QStringLiteral("Teamsystem")), p);
    }
    return ClassCopy{kid, copy.kbezeichnung};
}

int writeTableAssignment(const QSqlDatabase& db, int kid, const QStringList& tables)
{
    execute(db, QStringLiteral("DELETE FROM Platten WHERE KID=:id"), {{QStringLiteral("id"), kid}});
    QList<std::array<QVariant, 3>> settings;
    {
        QSqlQuery q = execute(db,
                              QStringLiteral("SELECT gruppenanzahl1,gruppenanzahl2,gruppenanzahl3 "
                                             "FROM Gruppeneinstellungen WHERE KID=:id"),
                              {{QStringLiteral("id"), kid}});
        while (q.next())
            settings.append({q.value(0), q.value(1), q.value(2)});
    }
    int written = 0;
    for (const auto& row : settings) {
        for (int phase = 1; phase <= 3; ++phase) {
            const QVariant& count = row[size_t(phase - 1)];
            if (count.isNull())
                continue;
            const int n = count.toInt();
            // A phase without groups (a knock-out) plays as the one group -1.
            const int groups = n == 0 ? 1 : n;
            const int offset = n == 0 ? 1 : 0;
            for (int g = 1; g <= groups; ++g) {
                for (const QString& table : tables) {
                    execute(db, QStringLiteral("INSERT INTO Platten (KID,GID,platte,phase) VALUES (:kid,:gid,:platte,:phase)"),
                            {{QStringLiteral("kid"), kid}, {QStringLiteral("gid"), g - 1 - offset},
                             {QStringLiteral("platte"), table}, {QStringLiteral("phase"), phase}});
                    ++written;
                }
            }
        }
    }
    return written;
}


} // namespace

int insertClass(const QSqlDatabase& db, int tid, const ClassRecord& record, const QStringList& tables,
                const TeamFormat& format)
{
    return inTransaction(db, [&] {
        const int kid = nextKey(db, QStringLiteral("Turnierklassen"));
        requireFreeName(db, tid, record.system, record.kbezeichnung, 0);
        ClassRecord r = record;
        r.farbe = kNewClassColour;
        r.liveKlassenID = 0;
        execute(db, positionalInsert(QStringLiteral("Turnierklassen")), classParams(kid, tid, r));
        insertTableNames(db, tid, kid, tables);
        if (r.system == ClassKind::Team)
            insertTeamFormat(db, tid, kid, format);
        return kid;
    });
}

void updateClass(const QSqlDatabase& db, const ClassData& loaded, const ClassRecord& record,
                 const QStringList& tables, const TeamFormat& format)
{
    inTransaction(db, [&] { writeClass(db, loaded, record, tables, format); });
}

ClassData saveClass(const QSqlDatabase& db, int tid, const std::optional<ClassData>& loaded,
                    const ClassRecord& record, const QStringList& tables, const TeamFormat& format)
{
    return inTransaction(db, [&] {
        int kid = 0;
        if (loaded) {
            updateClass(db, *loaded, record, tables, format);
            kid = loaded->kid;
        } else {
            kid = insertClass(db, tid, record, tables, format);
        }
        return *readClassData(db, kid);
    });
}

ClassCopy copyClass(const QSqlDatabase& db, int tid, int sourceKid, ClassKind kind)
{
    return inTransaction(db, [&] { return writeCopy(db, tid, sourceKid, kind); });
}

int assignTablesToGroups(const QSqlDatabase& db, int kid, const QStringList& tables)
{
    return inTransaction(db, [&] { return writeTableAssignment(db, kid, tables); });
}

} // namespace bw
