#include "checkinfixture.h"

#include "data/classkind.h"
#include "data/sql.h"
#include "support/testdatabase.h"

namespace bw::test {

using namespace seed;

void seedCheckInTournament(const QSqlDatabase& db)
{
    auto cls = [&](int tid, int kid, const QString& name, ClassKind kind) {
        insertRow(db, QStringLiteral("Turnierklassen"),
                  {{QStringLiteral("TID"), tid}, {QStringLiteral("KID"), kid}, {QStringLiteral("kbezeichnung"), name},
                   {QStringLiteral("system"), storedKind(kind)}});
    };
    cls(kTid, kHerrenB, QStringLiteral("Herren B"), ClassKind::Einzel);
    cls(kTid, kHerrenA, QStringLiteral("Herren A"), ClassKind::Einzel);
    cls(kTid, kDoppel, QStringLiteral("Herren"), ClassKind::Doppel);
    cls(kTid, kMixed, QStringLiteral("Mixed"), ClassKind::Mixed);
    cls(kTid, kTeam, QStringLiteral("Mannschaft"), ClassKind::Team);
    cls(kOtherTid, kOtherClass, QStringLiteral("Herren B"), ClassKind::Einzel);

    auto player = [&](int tid, int sid, const QString& nachname, const QString& vorname, const QString& verein) {
        insertRow(db, QStringLiteral("Spielerdaten"),
                  {{QStringLiteral("TID"), tid}, {QStringLiteral("SID"), sid}, {QStringLiteral("nachname"), nachname},
                   {QStringLiteral("vorname"), vorname}, {QStringLiteral("verein"), verein}});
    };
    player(kTid, kAbel, QStringLiteral("Abel"), QStringLiteral("Anna"), QStringLiteral("TSV A"));
    player(kTid, kBerg, QStringLiteral("Berg"), QStringLiteral("Bernd"), QStringLiteral("SV Brunnhain"));
    player(kTid, kCramer, QStringLiteral("Cramer"), QStringLiteral("Carl"), QStringLiteral("TSV A"));
    player(kTid, kDorn, QStringLiteral("Dorn"), QStringLiteral("Dora"), QStringLiteral("SV Brunnhain"));
    player(kTid, kEbert, QStringLiteral("Ebert"), QStringLiteral("Emil"), QStringLiteral("TSV A"));
    player(kTid, kFuchs, QStringLiteral("Fuchs"), QStringLiteral("Franz"), QStringLiteral("TSV A"));
    player(kOtherTid, kGast, QStringLiteral("Gast"), QStringLiteral("Gerd"), QStringLiteral("Gäste"));

    auto entry = [&](int tid, int kid, int sid) {
        insertRow(db, QStringLiteral("Spieler_im_turnier"),
                  {{QStringLiteral("TID"), tid}, {QStringLiteral("KID"), kid}, {QStringLiteral("SID"), sid},
                   {QStringLiteral("gemeldet"), false}});
    };
    entry(kTid, kHerrenB, kAbel);
    entry(kTid, kDoppel, kAbel);
    entry(kTid, kTeam, kAbel);
    entry(kTid, kHerrenB, kBerg);
    entry(kTid, kTeam, kBerg);
    entry(kTid, kHerrenA, kCramer);
    entry(kTid, kTeam, kCramer);
    entry(kTid, kTeam, kDorn);
    entry(kTid, kTeam, kEbert);
    entry(kOtherTid, kOtherClass, kGast);

    for (int sid : {kAbel, kBerg, kCramer, kDorn, kEbert})
        insertRow(db, QStringLiteral("Doppelpartner"),
                  {{QStringLiteral("KID"), kTeam}, {QStringLiteral("SID"), sid}, {QStringLiteral("partner_SID"), QVariant()},
                   {QStringLiteral("mannschaft"), QStringLiteral("TSV A")}});
    insertRow(db, QStringLiteral("Doppelpartner"),
              {{QStringLiteral("KID"), kDoppel}, {QStringLiteral("SID"), kAbel}, {QStringLiteral("partner_SID"), QVariant()},
               {QStringLiteral("mannschaft"), QStringLiteral("TSV A")}});

    QVariantMap format{{QStringLiteral("TID"), kTid}, {QStringLiteral("KID"), kTeam}, {QStringLiteral("spieler"), 4},
                       {QStringLiteral("reserve"), 1}};
    insertRow(db, QStringLiteral("Teamsystem"), format);

    insertRow(db, QStringLiteral("Teams"),
              {{QStringLiteral("TID"), kTid}, {QStringLiteral("KID"), kTeam}, {QStringLiteral("MID"), kTeamA},
               {QStringLiteral("teamname"), QStringLiteral("TSV A")}, {QStringLiteral("s1"), kAbel},
               {QStringLiteral("s2"), kBerg}, {QStringLiteral("s3"), kCramer}, {QStringLiteral("s4"), kDorn},
               {QStringLiteral("r1"), kEbert}, {QStringLiteral("r2"), QVariant()}, {QStringLiteral("d1_1"), kAbel},
               {QStringLiteral("d1_2"), kBerg}, {QStringLiteral("d2_1"), 0}, {QStringLiteral("d2_2"), 0},
               {QStringLiteral("angemeldet"), false}, {QStringLiteral("verein"), QStringLiteral("TSV A")}});
    insertRow(db, QStringLiteral("Teams"),
              {{QStringLiteral("TID"), kTid}, {QStringLiteral("KID"), kTeam}, {QStringLiteral("MID"), kTeamB},
               {QStringLiteral("teamname"), QStringLiteral("SV Brunnhain")}, {QStringLiteral("s1"), 0},
               {QStringLiteral("s2"), 0}, {QStringLiteral("s3"), 0}, {QStringLiteral("s4"), 0},
               {QStringLiteral("r1"), 0}, {QStringLiteral("r2"), QVariant()}, {QStringLiteral("d1_1"), 0},
               {QStringLiteral("d1_2"), 0}, {QStringLiteral("d2_1"), 0}, {QStringLiteral("d2_2"), 0},
               {QStringLiteral("angemeldet"), false}, {QStringLiteral("verein"), QStringLiteral("SV Brunnhain")}});
}

int entryFlag(const QSqlDatabase& db, int sid, int kid)
{
    QSqlQuery q = execute(db, QStringLiteral("SELECT gemeldet FROM Spieler_im_turnier WHERE SID=:s AND KID=:k"),
                          {{QStringLiteral("s"), sid}, {QStringLiteral("k"), kid}});
    if (!q.next())
        return -1;
    return q.value(0).isNull() ? -2 : q.value(0).toInt();
}

bool teamFlag(const QSqlDatabase& db, int mid)
{
    return scalar(db, QStringLiteral("SELECT angemeldet FROM Teams WHERE MID=:m"), {{QStringLiteral("m"), mid}}).toInt() != 0;
}

QString teamNameOf(const QSqlDatabase& db, int sid, int kid)
{
    const QVariant v = scalar(db, QStringLiteral("SELECT mannschaft FROM Doppelpartner WHERE SID=:s AND KID=:k"),
                              {{QStringLiteral("s"), sid}, {QStringLiteral("k"), kid}});
    return v.isNull() ? QStringLiteral("<null>") : v.toString();
}

} // namespace bw::test
