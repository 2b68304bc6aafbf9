#include "live/liverecords.h"

#include "platform/apperror.h"
#include "platform/germantext.h"

#include <limits>

namespace bw {

namespace {

const QString kErrorLine = QStringLiteral("Achtung es trat folgender Fehler auf:");
// The replies of classes and registrations write it with a blank before the colon.
const QString kErrorLineSpaced = QStringLiteral("Achtung es trat folgender Fehler auf :");

QString errorBox(const QString& line, const QString& detail)
{
    return line + QLatin1Char('\r') + detail;
}

bool holdsSeparator(const QString& text)
{
    return text.contains(kFieldSeparator) || text.contains(kLoginSeparator);
}

// Appends "#-#" and the value.
void field(QString& record, const QString& value)
{
    record += kFieldSeparator;
    record += value;
}

} // namespace

QStringList splitRecord(const QString& text, const QString& separator)
{
    return text.split(separator, Qt::KeepEmptyParts);
}

std::optional<int> decimalInteger(const QString& text)
{
    qsizetype i = 0;
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        i = 1;
    if (i >= text.size() || text.size() - i > 10)
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

QString shortKindSuffix(std::optional<ClassKind> kind)
{
    if (!kind)
        return QString();
    switch (*kind) {
    case ClassKind::Einzel: return QStringLiteral(" (Ez)");
    case ClassKind::Doppel: return QStringLiteral(" (Dp)");
    case ClassKind::Mixed: return QStringLiteral(" (Mx)");
    case ClassKind::Team: return QStringLiteral(" (Te)");
    }
    return QString();
}

// --- Login -----------------------------------------------------------------

QString OnlineTournament::caption() const
{
    return id + QStringLiteral(" - ") + text1 + QStringLiteral(" - ") + text2;
}

LoginCheck checkLoginReply(const QString& reply)
{
    LoginCheck check;
    if (!reply.startsWith(kLoginSeparator)) {
        check.error = errorBox(kErrorLine, reply);
        return check;
    }
    const QStringList items = splitRecord(reply.mid(kLoginSeparator.size()), kLoginSeparator);
    const std::optional<int> userId = decimalInteger(items.first());
    if (!userId || *userId <= 0) {
        check.error = errorBox(kErrorLine, QStringLiteral("Der Server lieferte keine gültige Benutzerkennung: ") +
                                               items.first());
        return check;
    }
    check.ok = true;
    check.userId = *userId;
    if ((items.size() - 1) % 3 == 0) {
        QList<OnlineTournament> tournaments;
        for (qsizetype i = 1; i + 2 < items.size(); i += 3)
            tournaments.append({items.at(i), items.at(i + 1), items.at(i + 2)});
        check.tournaments = tournaments;
    }
    return check;
}

// --- Class list -------------------------------------------------------------

QString OnlineClass::caption() const
{
    const std::optional<int> kind = decimalInteger(system);
    return name + (kind ? shortKindSuffix(classKindOf(*kind)) : QString());
}

bool OnlineClass::hasRegistrations() const
{
    return !count.isEmpty() && count != QLatin1String("0");
}

QString OnlineClass::hint() const
{
    if (!hasRegistrations())
        return QString();
    const QString lead = count == QLatin1String("1") ? QStringLiteral("Es hat sich bereits ")
                                                     : QStringLiteral("Es haben sich bereits ");
    return lead + count + QStringLiteral(" Spieler angemeldet.");
}

ClassListCheck checkClassList(const QString& reply)
{
    ClassListCheck check;
    if (!reply.startsWith(kFieldSeparator)) {
        check.error = errorBox(kErrorLineSpaced, reply);
        return check;
    }
    const QStringList items = splitRecord(reply, kFieldSeparator);
    const QString broken = errorBox(kErrorLine, QStringLiteral("Die Liste der Klassen wurde nicht korrekt geladen!"));
    if ((items.size() - 1) % 5 != 0) {
        check.error = broken;
        return check;
    }
    for (qsizetype i = 1; i + 4 < items.size(); i += 5) {
        const std::optional<int> id = decimalInteger(items.at(i));
        if (!id) {
            check.classes.clear();
            check.error = broken;
            return check;
        }
        check.classes.append({*id, items.at(i + 1), items.at(i + 2), items.at(i + 3), items.at(i + 4)});
    }
    check.ok = true;
    return check;
}

// --- Registrations ----------------------------------------------------------

RegistrationCheck checkRegistrations(const QString& reply)
{
    using Outcome = RegistrationCheck::Outcome;
    RegistrationCheck check;
    if (!reply.startsWith(kFieldSeparator)) {
        if (reply.startsWith(QLatin1Char('0'))) {
            check.outcome = Outcome::NoRegistrations;
            check.message = QStringLiteral("Es liegen keine Anmeldungen vor");
        } else {
            check.outcome = Outcome::ErrorReply;
            check.message = errorBox(kErrorLineSpaced, reply);
        }
        return check;
    }
    const QStringList items = splitRecord(reply.mid(kFieldSeparator.size()), kFieldSeparator);
    if ((items.size() - 1) % kRegistrationFields != 0) {
        check.outcome = Outcome::WrongCount;
        check.message = QStringLiteral("Die Anmeldungen konnten nicht korrekt abgefragt werden. (%1)").arg(items.size());
        return check;
    }
    // Every item but the last belongs to a registration, 14 fields each.
    for (qsizetype i = 0; i + kRegistrationFields < items.size(); i += kRegistrationFields) {
        AnmeldungRecord r;
        r.vorname = items.at(i);
        r.nachname = items.at(i + 1);
        r.email = items.at(i + 2);
        r.verein = items.at(i + 3);
        r.LiveSpielerID = items.at(i + 4);
        r.SID = QStringLiteral("0");
        if (german::parseDate(items.at(i + 5)))
            r.geb = items.at(i + 5);
        r.kverband = items.at(i + 6);
        r.bverband = items.at(i + 7);
        r.lverband = items.at(i + 8);
        r.land = items.at(i + 9);
        r.klassenIDs = items.at(i + 10);
        r.geschlecht = items.at(i + 11);
        r.spklasse = items.at(i + 12);
        r.LPZ = items.at(i + 13);
        check.records.append(r);
    }
    check.outcome = Outcome::Ok;
    return check;
}

// --- Records the desk sends --------------------------------------------------

QString recordValue(const std::optional<int>& value)
{
    return value ? QString::number(*value) : QString();
}

QString recordValue(const std::optional<bool>& value)
{
    if (!value)
        return QString();
    return *value ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
}

QString recordValue(const std::optional<QDateTime>& value)
{
    if (!value || !value->isValid())
        return QString();
    // A value without a time of day is a date.
    if (value->time() == QTime(0, 0))
        return value->date().toString(QStringLiteral("dd.MM.yyyy"));
    return value->toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

QString klassenString(int onlineTournamentId, int onlineClassId, const LiveClassRow& row,
                      const std::optional<LivePhases>& phases)
{
    if (holdsSeparator(row.kbezeichnung) || holdsSeparator(row.altersklasseID))
        throw AppError(QStringLiteral("Die Klasse \"%1\" kann nicht übertragen werden: Bezeichnung und Altersklasse "
                                      "dürfen die Zeichenfolgen \"#-#\" und \"#*#\" nicht enthalten.")
                           .arg(row.kbezeichnung));
    QString record;
    field(record, QString::number(onlineTournamentId));
    field(record, QString::number(onlineClassId));
    field(record, row.kbezeichnung);
    field(record, recordValue(row.system));
    field(record, recordValue(row.mann));
    field(record, recordValue(row.frau));
    field(record, recordValue(row.saetze));
    field(record, row.altersklasseID);
    field(record, recordValue(row.atag));
    field(record, recordValue(row.uhrzeit));
    if (phases) {
        field(record, recordValue(phases->phase1));
        field(record, recordValue(phases->phase2));
        field(record, recordValue(phases->phase3));
    } else {
        for (int i = 0; i < 3; ++i)
            field(record, QStringLiteral("0"));
    }
    return record;
}

QString playerString(int onlineTournamentId, const QList<LivePlayer>& players)
{
    QString record;
    field(record, QString::number(onlineTournamentId));
    for (const LivePlayer& p : players) {
        if (holdsSeparator(p.nachname) || holdsSeparator(p.vorname) || holdsSeparator(p.verein))
            throw AppError(QStringLiteral("Der Spieler \"%1, %2\" (%3) kann nicht übertragen werden: Name und Verein "
                                          "dürfen die Zeichenfolgen \"#-#\" und \"#*#\" nicht enthalten.")
                               .arg(p.nachname, p.vorname, p.verein));
        field(record, QString::number(p.sid));
        field(record, p.vorname);
        field(record, p.nachname);
        field(record, p.verein);
        field(record, p.liveSpielerID ? QString::number(*p.liveSpielerID) : QStringLiteral("0"));
    }
    return record;
}

QString matchStatus(bool inPlanung, bool begonnen, bool beendet)
{
    if (beendet)
        return QStringLiteral("3");
    if (begonnen)
        return QStringLiteral("2");
    if (inPlanung)
        return QStringLiteral("1");
    return QStringLiteral("0");
}

QString publishString(int onlineTournamentId, int onlineClassId, const QList<LiveMatch>& matches)
{
    QString record;
    field(record, QString::number(onlineTournamentId));
    field(record, QString::number(onlineClassId));
    for (const LiveMatch& m : matches) {
        if (holdsSeparator(m.spieler1) || holdsSeparator(m.spieler2) || holdsSeparator(m.ergebnis))
            throw AppError(QStringLiteral("Das Spiel %1 kann nicht übertragen werden: Namen und Ergebnis dürfen die "
                                          "Zeichenfolgen \"#-#\" und \"#*#\" nicht enthalten.")
                               .arg(recordValue(m.spielnummer)));
        field(record, recordValue(m.phase));
        field(record, m.loserSide ? QStringLiteral("1") : QStringLiteral("0"));
        field(record, recordValue(m.groupOrRound));
        field(record, recordValue(m.spielnummer));
        field(record, recordValue(m.sid1));
        field(record, m.spieler1);
        field(record, recordValue(m.sid2));
        field(record, m.spieler2);
        field(record, matchStatus(m.inPlanung, m.begonnen, m.beendet));
        for (const std::optional<int>& set : m.saetze)
            field(record, recordValue(set));
        field(record, recordValue(m.spielstart ? m.spielstart : m.geplanterTag));
        field(record, m.ergebnis);
    }
    return record;
}

} // namespace bw
