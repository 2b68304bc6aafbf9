// The website of a tournament of 2,000 players, 40 classes (singles, doubles and
// team classes), 200 teams, 60 referees and 6,000 matches: the export (rows read,
// pages built, files written) against a floor measured in the same run, the
// same tables read with one query each and the same bytes written. Median of
// five alternating runs per backend; the goal is the export within 3x the floor.
#include "benchtiming.h"

#include "data/schema.h"
#include "data/sql.h"
#include "data/siterecords.h"
#include "data/transaction.h"
#include "output/htmlsite.h"
#include "support/testdatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

using namespace bw;
using namespace bw::test;
using namespace bw::timing;

namespace {

constexpr int kTid = 1;
constexpr int kRuns = 5;
constexpr int kPlayers = 2000;
constexpr int kClasses = 40;
constexpr int kTeams = 200;
constexpr int kReferees = 60;
constexpr int kMatches = 6000;

// Every column Null unless given, inserted through one prepared statement per table.
class Inserter {
public:
    Inserter(const QSqlDatabase& db, const QString& table) : m_table(table), m_statement(db, positionalInsert(table)) {}
    void insert(const SqlParams& values)
    {
        SqlParams all;
        for (const QString& column : columnNames(m_table))
            all.insert(column.toLower(), QVariant());
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            all.insert(it.key(), it.value());
        m_statement.exec(all);
    }

private:
    QString m_table;
    PreparedStatement m_statement;
};

void seed(const QSqlDatabase& db)
{
    Inserter tournament(db, s("Turnierdaten"));
    Inserter classes(db, s("Turnierklassen"));
    Inserter players(db, s("Spielerdaten"));
    Inserter entries(db, s("Spieler_im_turnier"));
    Inserter partners(db, s("Doppelpartner"));
    Inserter teams(db, s("Teams"));
    Inserter referees(db, s("Schiri"));
    Inserter matches(db, s("Spielplan"));
    Transaction transaction(db);
    tournament.insert({{s("tid"), kTid}, {s("turniername"), s("Bezirksmeisterschaft")}, {s("austragungsort"), s("Halle")},
                       {s("tvon"), QDateTime(QDate(2026, 6, 13), QTime())}});
    for (int k = 1; k <= kClasses; ++k)
        classes.insert({{s("kid"), k}, {s("tid"), kTid}, {s("system"), k % 4}, {s("kbezeichnung"), QStringLiteral("Klasse %1").arg(k)},
                        {s("gebuehr"), 8.5}, {s("saetze"), 3}, {s("atag"), QDateTime(QDate(2026, 6, 13), QTime())}});
    for (int p = 1; p <= kPlayers; ++p) {
        players.insert({{s("tid"), kTid}, {s("sid"), p}, {s("nachname"), QStringLiteral("Spieler%1").arg(p * 7919 % kPlayers)},
                        {s("vorname"), QStringLiteral("Vorname %1").arg(p)}, {s("verein"), QStringLiteral("Verein %1").arg(p % 97)},
                        {s("geb"), QDateTime(QDate(1990, 1, 1).addDays(p), QTime())}, {s("nummer"), p}});
        // Each player in two classes; pairs in doubles classes, team names in team classes.
        for (const int k : {1 + p % kClasses, 1 + (p + 1) % kClasses}) {
            entries.insert({{s("tid"), kTid}, {s("kid"), k}, {s("sid"), p}, {s("gemeldet"), 0}});
            if (k % 4 == 1 || k % 4 == 2)
                partners.insert({{s("kid"), k}, {s("sid"), p}, {s("partner_sid"), p % 2 ? p + 1 : p - 1}});
            else if (k % 4 == 3)
                partners.insert({{s("kid"), k}, {s("sid"), p}, {s("partner_sid"), 0}, {s("mannschaft"), QStringLiteral("Team %1").arg(p % kTeams)}});
        }
    }
    for (int t = 1; t <= kTeams; ++t)
        teams.insert({{s("tid"), kTid}, {s("kid"), 4 * (1 + t % (kClasses / 4)) - 1}, {s("mid"), t},
                      {s("teamname"), QStringLiteral("Team %1").arg(t)}, {s("verein"), QStringLiteral("Verein %1").arg(t)},
                      {s("s1"), t}, {s("s2"), t + 200}, {s("s3"), t + 400}, {s("s4"), t + 600}, {s("d1_1"), t}, {s("d1_2"), t + 200},
                      {s("d2_1"), t + 400}, {s("d2_2"), t + 600}, {s("r1"), t + 800}});
    for (int r = 1; r <= kReferees; ++r)
        referees.insert({{s("tid"), kTid}, {s("schiriid"), r}, {s("snname"), QStringLiteral("Schiri %1").arg(r)},
                         {s("svname"), s("Eva")}, {s("sverein"), s("SC")}});
    for (int m = 0; m < kMatches; ++m) {
        const int kid = 1 + m % kClasses;
        SqlParams row{{s("kid"), kid}, {s("tid"), kTid}, {s("spielnummer"), 1 + m / kClasses},
                      {s("spieler1"), QStringLiteral("Spieler %1").arg(m)}, {s("spieler2"), QStringLiteral("Spieler %1").arg(m + 1)},
                      {s("ergebnis"), s("3:1")}, {s("an_platte"), s("4")},
                      {s("spielstart"), QDateTime(QDate(2026, 6, 13), QTime(10, m % 60))}};
        for (int set = 1; set <= 4; ++set)
            row.insert(QStringLiteral("satz%1").arg(set), set == 2 ? -100 : 7);
        matches.insert(row);
    }
    transaction.commit();
}

// The floor's reading: every table the site shows, one query each, every value taken.
qsizetype readTables(const QSqlDatabase& db)
{
    qsizetype values = 0;
    for (const char* sql : {"SELECT * FROM Turnierdaten WHERE TID = :tid", "SELECT * FROM Turnierklassen WHERE TID = :tid",
                            "SELECT * FROM Spieler_im_turnier WHERE TID = :tid", "SELECT * FROM Spielerdaten WHERE TID = :tid",
                            "SELECT d.* FROM Doppelpartner d INNER JOIN Turnierklassen k ON k.KID = d.KID WHERE k.TID = :tid",
                            "SELECT * FROM Teams WHERE TID = :tid", "SELECT * FROM Schiri WHERE TID = :tid",
                            "SELECT * FROM Spielplan WHERE TID = :tid"}) {
        QSqlQuery q = execute(db, s(sql), {{s("tid"), kTid}});
        const int columns = q.record().count();
        while (q.next())
            for (int c = 0; c < columns; ++c)
                values += q.value(c).isNull() ? 0 : 1;
    }
    return values;
}

void writeBytes(const QList<std::pair<QString, QByteArray>>& files, const QString& folder)
{
    for (const auto& [name, bytes] : files) {
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
    }
}

void bench(Backend backend, const char* name)
{
    TestDatabase tdb(backend);
    if (!tdb.ready())
        return;
    const QSqlDatabase db = tdb.db();
    seed(db);
    QList<std::pair<QString, QByteArray>> bytes;
    for (const HtmlPage& page : HtmlSite(readSiteData(db, kTid), s("Bezirksmeisterschaft"), s("turnier.html")).pages())
        bytes.append({page.fileName, htmlPageBytes(page.lines)});
    qsizetype size = 0;
    for (const auto& file : bytes)
        size += file.second.size();

    {
        SiteData data;
        const double r = millis([&] { data = readSiteData(db, kTid); });
        QList<HtmlPage> pages;
        const double b = millis([&] { pages = HtmlSite(data, s("B"), s("t.html")).pages(); });
        const double e = millis([&] { for (const HtmlPage& p : pages) htmlPageBytes(p.lines); });
        QTemporaryDir d;
        const double w = millis([&] { writeHtmlPages(pages, d.path()); });
        std::printf("%-10s one export: rows read %.1f ms, pages built %.1f ms, bytes %.1f ms, files written %.1f ms\n", name, r, b, e, w);
    }
    std::vector<double> exports;
    std::vector<double> floors;
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir a;
        exports.push_back(millis([&] {
            const HtmlSite site(readSiteData(db, kTid), s("Bezirksmeisterschaft"), s("turnier.html"));
            writeHtmlPages(site.pages(), a.path());
        }));
        QTemporaryDir b;
        floors.push_back(millis([&] {
            readTables(db);
            writeBytes(bytes, b.path());
        }));
    }
    const double e = median(exports);
    const double f = median(floors);
    std::printf("%-10s %d pages, %.1f MB: export %8.1f ms, floor %8.1f ms\n", name, int(bytes.size()),
                double(size) / 1e6, e, f);
    report("website", name, e / f, atMost(3));
}

} // namespace

int main(int argc, char** argv)
{
    setUpLikeTests();
    QCoreApplication app(argc, argv);
    forEachBackend([](Backend backend, const char* name) { bench(backend, name); });
    return 0;
}
