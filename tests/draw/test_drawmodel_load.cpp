// The draw wizard's model loaded from a database on both backends: the
// settings copy and tables, the seeds in position order with the entrants
// checked in, the registered entrants per class kind, and the real entrants
// of a phase drawn anew.
#include "data/classkind.h"
#include "data/sql.h"
#include "draw/drawmodel.h"
#include "support/testdatabase.h"

#include <QTest>

using namespace bw;
using namespace bw::test;

namespace {

const QVariant kNull = QVariant(QMetaType(QMetaType::Int));

void addClass(const QSqlDatabase& db, int kid, ClassKind kind, std::array<int, 3> systems = {0, -1, -1})
{
    insertRow(db, s("Turnierklassen"), {{s("KID"), kid}, {s("TID"), 1}, {s("system"), storedKind(kind)},
                                          {s("platten"), 3}});
    QVariantMap settings{{s("KID"), kid}, {s("plattenbez"), QVariant(QMetaType(QMetaType::QString))}};
    const char* names[] = {"phase", "gruppenanzahl", "teilnehmer", "besten", "bestplazierten"};
    const int values[] = {0, 2, 4, 2, 1};
    for (int p = 0; p < 3; ++p)
        for (int v = 0; v < 5; ++v)
            settings.insert(QString::fromLatin1(names[v]) + QString::number(p + 1),
                            systems[size_t(p)] < 0 ? kNull : QVariant(v == 0 ? systems[size_t(p)] : values[v]));
    insertRow(db, s("Gruppeneinstellungen"), settings);
}

void addPlayer(const QSqlDatabase& db, int kid, int sid, const QString& nachname, const QString& vorname,
               bool gemeldet, const QString& verein = s("TTC Nord"))
{
    insertRow(db, s("Spielerdaten"),
              {{s("SID"), sid}, {s("TID"), 1}, {s("nachname"), nachname}, {s("vorname"), vorname}, {s("verein"), verein}});
    insertRow(db, s("Spieler_im_turnier"), {{s("TID"), 1}, {s("KID"), kid}, {s("SID"), sid}, {s("gemeldet"), gemeldet}});
}

void addSeed(const QSqlDatabase& db, int kid, int position, int sid, int partner = 0)
{
    insertRow(db, s("Gesetzt"), {{s("KID"), kid}, {s("position"), position}, {s("SID"), sid}, {s("partner_SID"), partner}});
}

void addPair(const QSqlDatabase& db, int kid, int a, int b)
{
    insertRow(db, s("Doppelpartner"), {{s("KID"), kid}, {s("SID"), a}, {s("partner_SID"), b}});
    insertRow(db, s("Doppelpartner"), {{s("KID"), kid}, {s("SID"), b}, {s("partner_SID"), a}});
}

QStringList listed(const QList<DrawEntry>& entries)
{
    QStringList t;
    for (const DrawEntry& e : entries)
        t << QStringLiteral("%1/%2/%3 %4 [%5]")
                 .arg(e.item.ID)
                 .arg(e.item.partnerID)
                 .arg(e.item.gesetzt)
                 .arg(e.text(), e.item.verein);
    return t;
}

} // namespace

class TestDrawModelLoad : public QObject {
    Q_OBJECT
private slots:
    void singles_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void singles()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        addClass(db, 7, ClassKind::Einzel);
        addPlayer(db, 7, 1, s("Abel"), s("Anna"), true);
        addPlayer(db, 7, 2, s("Bach"), s("Bert"), true);
        addPlayer(db, 7, 3, s("Cohn"), s("Cara"), true);
        addPlayer(db, 7, 4, s("Dorn"), s("Dirk"), false);
        addPlayer(db, 7, 5, s("Ebert"), s("Emil"), true, s("SV Süd"));
        addPlayer(db, 7, 6, s("Abel"), s("Anna"), true);
        // Stored out of position order; an empty slot and one not checked in.
        addSeed(db, 7, 3, 1);
        addSeed(db, 7, 5, 3);
        addSeed(db, 7, 0, 2);
        addSeed(db, 7, 1, 4);
        addSeed(db, 7, 2, 0);
        insertRow(db, s("Platten1"), {{s("KID"), 7}, {s("platte"), s("Tisch 1")}});
        insertRow(db, s("Platten1"), {{s("KID"), 7}, {s("platte"), s("Tisch 2")}});

        DrawModel m;
        m.load(db, 7, 1, 1);
        QCOMPARE(m.kid(), 7);
        QCOMPARE(listed(m.seeds()), (QStringList{"2/0/1 Bach, Bert (1) [TTC Nord]", "1/0/2 Abel, Anna (2) [TTC Nord]",
                                                 "3/0/3 Cohn, Cara (3) [TTC Nord]"}));
        QCOMPARE(m.listText(DrawList::ListBox2, 0), QStringLiteral("1. Bach, Bert (1)"));
        // The seed's namesake is an entrant of his own.
        QCOMPARE(listed(m.registered()),
                 (QStringList{"6/0/-1 Abel, Anna [TTC Nord]", "5/0/-1 Ebert, Emil [SV Süd]"}));
        QCOMPARE(m.tables(), (QStringList{"Tisch 1", "Tisch 2"}));
        const auslosungsinfos& g = m.gruppeneinstellung();
        QCOMPARE(g.phase, (std::array<int, 3>{0, -1, -1}));
        QCOMPARE(g.gruppenanzahl, (std::array<int, 3>{2, -1, -1}));
        QCOMPARE(g.teilnehmer[0], 4);
        QCOMPARE(g.platten, 3);
        QCOMPARE(g.system, ClassKind::Einzel);
        QCOMPARE(m.phase(1).groups.size(), 2);
        QVERIFY(!m.phase(2).exists());
    }

    void doubles_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void doubles()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        addClass(db, 8, ClassKind::Doppel);
        for (int sid = 10; sid <= 16; ++sid)
            addPlayer(db, 8, sid, QStringLiteral("N%1").arg(sid), QStringLiteral("V%1").arg(sid), sid != 13);
        addPair(db, 8, 10, 11);
        addPair(db, 8, 12, 13); // 13 not checked in
        addPair(db, 8, 14, 15);
        addSeed(db, 8, 0, 12, 13);
        addSeed(db, 8, 1, 11, 10); // stored from the second player's side
        addSeed(db, 8, 2, 14, 16); // split meanwhile: 14 now plays with 15

        DrawModel m;
        m.load(db, 8, 1, 1);
        QCOMPARE(listed(m.seeds()), QStringList{"11/10/1 N11, V. / N10, V (1) [TTC Nord]"});
        QCOMPARE(listed(m.registered()), QStringList{"14/15/-1 N14, V. / N15, V [TTC Nord]"});
    }

    void teams_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void teams()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        addClass(db, 9, ClassKind::Team, {1, -1, -1});
        const auto team = [&db](int mid, const QString& name, bool angemeldet) {
            insertRow(db, s("Teams"), {{s("TID"), 1}, {s("KID"), 9}, {s("MID"), mid}, {s("teamname"), name},
                                       {s("s1"), mid * 10}, {s("angemeldet"), angemeldet}, {s("verein"), s("TSV")}});
        };
        team(20, s("Adler"), true);
        team(21, s("Bären"), false);
        team(22, s("Condor"), true);
        team(23, s("Dachse"), false);
        addSeed(db, 9, 0, 21);
        addSeed(db, 9, 1, 20);
        DrawModel m;
        m.load(db, 9, 1, 1);
        QCOMPARE(listed(m.seeds()), QStringList{"20/200/1 Adler (1) [TSV]"});
        QCOMPARE(listed(m.registered()), QStringList{"22/220/-1 Condor [TSV]"});
        QCOMPARE(m.phase(1).koinfos.size(), 2);
    }

    // A new draw of phase 2 lists the phase's real entrants by key, each with
    // his standings row of phase 1; a team class lists its teams.
    void redraw_data()
    {
        addBackendColumn();
        addBackendRows();
    }
    void redraw()
    {
        QFETCH(Backend, backend);
        TestDatabase tdb(backend);
        if (!tdb.ready())
            return;
        const QSqlDatabase db = tdb.db();
        addClass(db, 7, ClassKind::Einzel, {0, 0, -1});
        addPlayer(db, 7, 1, s("Meier"), s("Hans"), true, s("A"));
        addPlayer(db, 7, 2, s("Meier"), s("Hans"), true, s("B"));
        addPlayer(db, 7, 3, s("Zorn"), s("Zoe"), true, s("C"));
        const auto match = [&db](int kid, int nr, int sid1, const QString& t1, int sid2, const QString& t2, int phase) {
            insertRow(db, s("Spielplan"), {{s("KID"), kid}, {s("spielnummer"), nr}, {s("SID1"), sid1}, {s("spieler1"), t1},
                                           {s("SID2"), sid2}, {s("spieler2"), t2}, {s("phase"), phase}});
        };
        const auto standing = [&db](int kid, int gid, int pos, int sid, int phase) {
            insertRow(db, s("Tabellen"),
                      {{s("KID"), kid}, {s("GID"), gid}, {s("pos"), pos}, {s("SID"), sid}, {s("phase"), phase}});
        };
        match(7, 1, 1, s("Meier, Hans"), 3, s("Zorn, Zoe"), 1);
        match(7, 7, 1, s("Meier, Hans"), 2, s("Meier, Hans"), 2);
        match(7, 8, 3, s("Zorn, Zoe"), -1, s("Sieger Gruppe B"), 2);
        match(7, 9, 2, s("Meier, Hans"), -2, s("Freilos"), 2);
        standing(7, 0, 0, 1, 1);
        standing(7, 1, 1, 2, 1);
        standing(7, 0, 1, 3, 1);
        standing(7, 2, 0, 1, 2); // phase 2's own row is not the source

        DrawModel m;
        m.load(db, 7, 2, 2);
        QCOMPARE(m.mode(), 2);
        QCOMPARE(m.auslosungsschritt(), 2);
        QStringList got;
        for (const DrawEntry& e : m.phase(2).participants)
            got << QStringLiteral("%1 %2 [%3] %4/%5").arg(e.item.ID).arg(e.text(), e.item.verein).arg(e.parentGID).arg(e.parentpos);
        QCOMPARE(got, (QStringList{"1 Meier, Hans [A] 0/0", "3 Zorn, Zoe [C] 0/1", "2 Meier, Hans [B] 1/1"}));
        QCOMPARE(m.phase(2).participantsLoaded, m.phase(2).participants);

        addClass(db, 9, ClassKind::Team, {1, 1, -1});
        insertRow(db, s("Teams"), {{s("TID"), 1}, {s("KID"), 9}, {s("MID"), 20}, {s("teamname"), s("Adler")},
                                   {s("s1"), 5}, {s("angemeldet"), true}, {s("verein"), s("TSV")}});
        insertRow(db, s("Teams"), {{s("TID"), 1}, {s("KID"), 9}, {s("MID"), 21}, {s("teamname"), s("Adler")},
                                   {s("s1"), 6}, {s("angemeldet"), true}, {s("verein"), s("SV")}});
        match(9, 3, 20, s("Adler"), 21, s("Adler"), 2);
        DrawModel t;
        t.load(db, 9, 2, 2);
        QStringList teams;
        for (const DrawEntry& e : t.phase(2).participants)
            teams << QStringLiteral("%1/%2 %3 [%4]").arg(e.item.ID).arg(e.item.partnerID).arg(e.text(), e.item.verein);
        QCOMPARE(teams, (QStringList{"20/5 Adler [TSV]", "21/6 Adler [SV]"}));
        QCOMPARE(t.phase(2).koinfos.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestDrawModelLoad)
#include "test_drawmodel_load.moc"
