#include "live/registrationtakeover.h"

#include "platform/apperror.h"
#include "platform/germantext.h"
#include "platform/prompter.h"

namespace bw {

std::optional<int> onlinePlayerId(const AnmeldungRecord& record)
{
    const std::optional<int> id = decimalInteger(record.LiveSpielerID.trimmed());
    if (!id || *id <= 0)
        return std::nullopt;
    return id;
}

RegistrationClasses registrationClasses(const AnmeldungRecord& record, const QList<LinkedClass>& classes)
{
    RegistrationClasses result;
    if (record.klassenIDs.trimmed().isEmpty())
        return result;
    for (const QString& item : record.klassenIDs.split(QLatin1Char(','))) {
        const QString text = item.trimmed();
        // Empty ids and "0" name no class (a list may end with ",").
        if (text.isEmpty() || text == QLatin1String("0"))
            continue;
        const std::optional<int> id = decimalInteger(text);
        bool mapped = false;
        for (const LinkedClass& c : classes) {
            if (!id || *id <= 0 || c.liveKlassenID != *id)
                continue;
            mapped = true;
            if (!result.kids.contains(c.kid)) {
                result.kids << c.kid;
                result.texts << c.kbezeichnung + shortKindSuffix(c.kind);
            }
        }
        if (!mapped)
            result.unmapped = true;
    }
    return result;
}

void matchRegisteredPlayers(QList<AnmeldungRecord>& records, const QHash<int, int>& playersByOnlineId)
{
    for (AnmeldungRecord& r : records) {
        const std::optional<int> id = onlinePlayerId(r);
        r.SID = QString::number(id ? playersByOnlineId.value(*id, 0) : 0);
    }
}

QList<RegistrationRow> registrationRows(const QList<AnmeldungRecord>& records, const QList<LinkedClass>& classes,
                                        bool onlyNew)
{
    QList<RegistrationRow> rows;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const AnmeldungRecord& r = records.at(i);
        RegistrationRow row;
        row.index = int(i) + 1;
        row.update = r.SID != QLatin1String("0");
        if (row.update && onlyNew)
            continue;
        const QString name = r.nachname + QStringLiteral(", ") + r.vorname;
        row.caption = name.size() > 35 ? name.left(32) + QStringLiteral("..") : name;
        row.hint = QStringLiteral("%1 (%2, %3)").arg(name, r.verein, r.kverband);
        const RegistrationClasses named = registrationClasses(r, classes);
        row.unmapped = named.unmapped;
        if (row.unmapped) {
            row.classText = kCheckMapping;
        } else {
            const QString text = named.texts.join(QStringLiteral(", "));
            row.classText = text.size() > 40 ? text.left(38) + QStringLiteral("...") : text;
            if (text.size() > 40)
                row.classHint = text;
        }
        rows.append(row);
    }
    return rows;
}

RegisteredPlayer registeredPlayer(const AnmeldungRecord& r)
{
    RegisteredPlayer p;
    p.nachname = r.nachname;
    p.vorname = r.vorname;
    p.verein = r.verein;
    p.email = r.email;
    p.geb = german::parseDate(r.geb);
    p.kverband = r.kverband;
    p.bverband = r.bverband;
    p.lverband = r.lverband;
    p.land = r.land;
    p.liveSpielerID = onlinePlayerId(r).value_or(0);
    p.spklasse = r.spklasse;
    p.mann = r.geschlecht == QLatin1String("m");
    p.frau = r.geschlecht == QLatin1String("w");
    p.spielstaerke = r.LPZ;
    return p;
}

QString namesakeQuestion(const AnmeldungRecord& record, const Namesake& found)
{
    const QString foundGeb = found.geb ? german::formatDate(*found.geb) : QString();
    return QStringLiteral("Folgender Spieler wurde bereits im Datenbestand gefunden:\r"
                          "%1, %2\r"
                          "\r"
                          "Online-Anmeldung:\r"
                          "Verein: %3\r"
                          "Geburtsdatum: %4\r"
                          "\r"
                          "Datenbestand:\r"
                          "Verein: %5\r"
                          "Geburtsdatum: %6\r"
                          "\r"
                          "Soll der Spieler im Datenbestand überschrieben werden?\r"
                          "(Ignorieren = Anmeldedaten werden nicht verarbeitet)")
        .arg(record.nachname, record.vorname, record.verein, record.geb, found.verein, foundGeb);
}

TakeOverResult takeOverRegistrations(const QSqlDatabase& db, int tid, const QList<AnmeldungRecord>& records,
                                     const QList<LinkedClass>& classes, Prompter& prompter)
{
    TakeOverResult result;
    for (const AnmeldungRecord& record : records) {
        int sid = record.SID.toInt();
        try {
            // The question comes before the registration's transaction.
            if (sid <= 0) {
                sid = 0;
                if (const std::optional<Namesake> found = findNamesake(db, tid, record.nachname, record.vorname)) {
                    const PromptAnswer answer = prompter.prompt(PromptKind::Question,
                                                                namesakeQuestion(record, *found),
                                                                PromptButtons::YesNoIgnore);
                    if (answer == PromptAnswer::Yes)
                        sid = found->sid;
                    else if (answer != PromptAnswer::No)
                        continue;
                }
            }
            result.lastSid = storeRegistration(db, tid, registeredPlayer(record), sid,
                                               registrationClasses(record, classes).kids);
            ++result.written;
        } catch (const std::exception& e) {
            result.error = QStringLiteral("Die Anmeldung von %1, %2 konnte nicht übernommen werden.\r%3")
                               .arg(record.nachname, record.vorname, exceptionText(e));
            break;
        }
    }
    return result;
}

} // namespace bw
