#include "groupfixture.h"

#include "data/classkind.h"
#include "data/sql.h"
#include "data/transaction.h"
#include "support/testdatabase.h"

namespace bw::test::groups {

namespace {

QVariantMap row(std::initializer_list<std::pair<const char*, QVariant>> values)
{
    QVariantMap map;
    for (const auto& [name, value] : values)
        map.insert(QString::fromLatin1(name), value);
    return map;
}

} // namespace

void seedGroupTournament(const QSqlDatabase& db)
{
    Transaction transaction(db);
    auto cls = [&](int kid, const char* name, ClassKind kind) {
        insertRow(db, s("Turnierklassen"),
                  row({{"TID", kTid}, {"KID", kid}, {"kbezeichnung", s(name)}, {"system", storedKind(kind)}}));
    };
    cls(kU18m, "U18 (m)", ClassKind::Einzel);
    cls(kU18, "U18", ClassKind::Einzel);
    cls(kHerren, "Herren", ClassKind::Doppel);
    cls(kMixed, "Mixed", ClassKind::Mixed);
    cls(kSenioren, "Senioren", ClassKind::Doppel);
    cls(kLiga, "Liga", ClassKind::Team);

    auto player = [&](int sid, const char* nachname, const char* vorname, bool mann) {
        insertRow(db, s("Spielerdaten"),
                  row({{"TID", kTid}, {"SID", sid}, {"nachname", s(nachname)}, {"vorname", s(vorname)},
                       {"verein", s("TTC")}, {"mann", mann}, {"frau", !mann}}));
    };
    player(kAbel, "Abel", "Anton", true);
    player(kBerg, "Berg", "Bernd", true);
    player(kCramer, "Cramer", "Carl", true);
    player(kDorn, "Dorn", "Dieter", true);
    player(kEbert, "Ebert", "Emil", true);
    player(kFuchs, "Fuchs", "Frieda", false);
    player(kGraf, "Graf", "Gerda", false);
    player(kHahn, "Hahn", "Hans", true);
    player(kIgel, "Igel", "Ida", false);
    player(kJung, "Jung", "Jan", true);
    player(kKurz, "Kurz", "Karl", true);
    player(kLang, "Lang", "Lutz", true);
    player(kMann, "Mann", "Max", true);
    player(kMeier1, "Meier", "Max", true);
    player(kMeier2, "Meier", "Max", true);
    player(kNorden, "Norden", "Nils", true);
    player(kOtto, "Otto", "Olaf", true);
    player(kPohl, "Pohl", "Paul", true);

    auto entry = [&](int kid, int sid, bool gemeldet) {
        insertRow(db, s("Spieler_im_turnier"), row({{"TID", kTid}, {"KID", kid}, {"SID", sid}, {"gemeldet", gemeldet}}));
    };
    for (int sid : {kAbel, kMeier1, kMeier2, kNorden, kOtto})
        entry(kU18m, sid, true);
    entry(kU18m, kCramer, true);
    entry(kU18m, kPohl, false);
    entry(kU18, kHahn, true);
    for (int sid : {kAbel, kBerg, kDorn})
        entry(kHerren, sid, true);
    for (int sid : {kCramer, kEbert, kMann})
        entry(kHerren, sid, false);
    for (int sid : {kFuchs, kGraf, kHahn, kIgel, kJung, kKurz, kLang})
        entry(kMixed, sid, true);
    entry(kSenioren, kNorden, true);
    entry(kSenioren, kOtto, true);

    auto partner = [&](int kid, int sid, const QVariant& partnerSid) {
        insertRow(db, s("Doppelpartner"),
                  row({{"KID", kid}, {"SID", sid}, {"partner_SID", partnerSid}, {"mannschaft", QVariant()}}));
    };
    auto pair = [&](int kid, int a, int b) {
        partner(kid, a, b);
        partner(kid, b, a);
    };
    pair(kHerren, kAbel, kBerg);
    for (int sid : {kCramer, kDorn, kEbert})
        partner(kHerren, sid, QVariant());
    partner(kHerren, kMann, kMissing);
    pair(kMixed, kJung, kIgel);
    for (int sid : {kFuchs, kGraf, kHahn, kKurz, kLang})
        partner(kMixed, sid, QVariant());
    pair(kSenioren, kNorden, kOtto);

    auto team = [&](int mid, const char* name, bool angemeldet) {
        insertRow(db, s("Teams"),
                  row({{"TID", kTid}, {"KID", kLiga}, {"MID", mid}, {"teamname", s(name)}, {"s1", 0},
                       {"angemeldet", angemeldet}, {"verein", s(name)}}));
    };
    team(kTeamA, "TSV A", true);
    team(kBrunnhain, "SV Brunnhain", false);
    transaction.commit();
}

int partnerOf(const QSqlDatabase& db, int kid, int sid)
{
    QSqlQuery q = execute(db, s("SELECT partner_SID FROM Doppelpartner WHERE KID=:k AND SID=:s"),
                          {{s("k"), kid}, {s("s"), sid}});
    if (!q.next())
        return -1;
    return q.value(0).isNull() ? 0 : q.value(0).toInt();
}

} // namespace bw::test::groups
