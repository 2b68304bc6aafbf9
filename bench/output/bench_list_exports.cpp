// The player list of 2,000 players and the match plan of 6,000 matches, each
// exported as a sheet and as a PDF file (reading the rows included), against
// floors measured in the same run on the rows read once: a bare libxlsxwriter
// loop writing the same cells with the same formats, and the report layer
// placing the same labels on the same pages. Median of five runs per backend;
// the goal is within 2x of the floor on SQLite and 3x on PostgreSQL.
#include "benchtiming.h"

#include "data/sql.h"
#include "data/transaction.h"
#include "output/listexports.h"
#include "output/pdflists.h"
#include "output/storedtext.h"
#include "platform/germantext.h"
#include "support/testdatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

using namespace bw;
using namespace bw::test;
using namespace bw::timing;

namespace {

using Steady = std::chrono::steady_clock;
constexpr int kPlayers = 2000;
constexpr int kMatches = 6000;
constexpr int kRuns = 5;

void seed(const QSqlDatabase& db)
{
    insertRow(db, s("Turnierklassen"), {{s("TID"), 1}, {s("KID"), 1}, {s("system"), 0}, {s("kbezeichnung"), s("Herren A")}});
    PreparedStatement player(db, s("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, geb, mann, bezahlt, "
                                   "email, spielstaerke, spklasse, kverband, bverband, lverband, land) VALUES "
                                   "(1, :sid, :n, :v, :verein, :geb, :mann, 0, :email, 'B', 'Herren', NULL, 'Süd', "
                                   "'WTTV', 'DE')"));
    PreparedStatement match(db, s("INSERT INTO Spielplan (TID, KID, spielnummer, SID1, spieler1, SID2, spieler2, "
                                  "ergebnis, phase, gruppe, an_platte, schiri, spielstart) VALUES "
                                  "(1, 1, :nr, :a, :s1, :b, :s2, :erg, 1, :g, :platte, 'Huber, Uwe', :start)"));
    Transaction t(db);
    for (int i = 1; i <= kPlayers; ++i)
        player.exec({{s("sid"), i},
                     {s("n"), QStringLiteral("Müller-%1").arg(i * 7919 % kPlayers)},
                     {s("v"), QStringLiteral("Jürgen")},
                     {s("verein"), QStringLiteral("TTC Rabenweiß %1").arg(i % 97)},
                     {s("geb"), QDateTime(QDate(1950 + i % 50, 3, 1 + i % 28), QTime())},
                     {s("mann"), i % 2},
                     {s("email"), QStringLiteral("spieler%1@example.org").arg(i)}});
    for (int i = 1; i <= kMatches; ++i)
        match.exec({{s("nr"), i},
                    {s("a"), i % kPlayers + 1},
                    {s("s1"), QStringLiteral("Müller-%1, Jürgen").arg(i % kPlayers)},
                    {s("b"), (i + 1) % kPlayers + 1},
                    {s("s2"), QStringLiteral("Schäfer-%1, Björn").arg(i % kPlayers)},
                    {s("erg"), i % 3 ? QStringLiteral("3:%1").arg(i % 3) : QStringLiteral("0:0")},
                    {s("g"), i % 16},
                    {s("platte"), QString::number(i % 24 + 1)},
                    {s("start"), QDateTime(QDate(2026, 5, 1), QTime(9, 0).addSecs(60 * (i % 600)))}});
    t.commit();
}

double timed(const std::function<void()>& body)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = Steady::now();
        body();
        times.push_back(std::chrono::duration<double, std::milli>(Steady::now() - start).count());
    }
    return median(times);
}

// The floors: the same cells with the same formats, straight into libxlsxwriter.
struct Formats {
    lxw_format* title;
    lxw_format* header;
    lxw_format* cell;
    lxw_format* date;
};

Formats formats(lxw_workbook* book)
{
    Formats f{workbook_add_format(book), workbook_add_format(book), workbook_add_format(book), workbook_add_format(book)};
    format_set_bold(f.title);
    format_set_font_size(f.title, 16);
    format_set_pattern(f.header, LXW_PATTERN_SOLID);
    format_set_bg_color(f.header, 0xFFFF99);
    format_set_border(f.header, LXW_BORDER_THIN);
    format_set_border(f.cell, LXW_BORDER_THIN);
    format_set_border(f.date, LXW_BORDER_THIN);
    format_set_num_format(f.date, "dd.mm.yyyy");
    return f;
}

void text(lxw_worksheet* sheet, int r, int c, const QString& value, lxw_format* f)
{
    if (value.isEmpty())
        worksheet_write_blank(sheet, lxw_row_t(r), lxw_col_t(c), f);
    else
        worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), value.toUtf8().constData(), f);
}

void floorPlayerSheet(const ListRows<ExportPlayer>& list, const QString& path)
{
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Spielerliste");
    const Formats f = formats(book);
    text(sheet, 0, 0, list.title, f.title);
    for (int c = 0; c < 13; ++c)
        text(sheet, 1, c, QStringLiteral("Kopf %1").arg(c), f.header);
    int r = 1;
    for (const ExportPlayer& p : list.rows) {
        ++r;
        text(sheet, r, 0, p.nachname, f.cell);
        text(sheet, r, 1, p.vorname, f.cell);
        lxw_datetime geb{p.geb.year(), p.geb.month(), p.geb.day(), 0, 0, 0};
        worksheet_write_datetime(sheet, lxw_row_t(r), 2, &geb, f.date);
        const QString cells[] = {p.verein,      p.mann ? s("M") : s("W"), p.bezahlt ? s("ja") : s("Nein"),
                                 p.email,       p.spielstaerke,           p.spklasse,
                                 p.kverband,    p.bverband,               p.lverband,
                                 p.land};
        for (int c = 0; c < 10; ++c)
            text(sheet, r, 3 + c, cells[c], f.cell);
    }
    worksheet_autofilter(sheet, 1, 0, lxw_row_t(r), 12);
    workbook_close(book);
}

void floorMatchSheet(const ListRows<ExportMatch>& list, const QString& path)
{
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Spielplan");
    const Formats f = formats(book);
    text(sheet, 0, 0, list.title, f.title);
    for (int c = 0; c < 10; ++c)
        text(sheet, 1, c, QStringLiteral("Kopf %1").arg(c), f.header);
    int r = 1;
    for (const ExportMatch& m : list.rows) {
        ++r;
        text(sheet, r, 0, m.kbezeichnung, f.cell);
        worksheet_write_number(sheet, lxw_row_t(r), 1, m.phase, f.cell);
        worksheet_write_number(sheet, lxw_row_t(r), 2, m.spielnummer, f.cell);
        const QString cells[] = {m.spieler1, m.spieler2, resultText(m.ergebnis), m.an_platte, m.schiri,
                                 m.spielstart.isValid() ? storedText(m.spielstart) : QString(), groupLetter(m.gruppe)};
        for (int c = 0; c < 7; ++c)
            text(sheet, r, 3 + c, cells[c], f.cell);
    }
    worksheet_autofilter(sheet, 1, 0, lxw_row_t(r), 9);
    workbook_close(book);
}

// The report layer placing the same labels on the same pages.
void floorPdf(const std::vector<QStringList>& rows, const std::vector<int>& lefts, const QString& path)
{
    pdf::TPdfReport report;
    report.FileName = path;
    pdf::TRepPage page;
    page.SetWidth(800);
    page.SetHeight(596);
    auto& panel = page.Create<pdf::TRepLayoutPanel>();
    panel.SetAlign(pdf::TAlign::alClient);
    report.BeginDoc();
    const auto label = [&](const QString& caption, int left, int top) {
        auto& l = panel.Create<pdf::TRepLabel>();
        l.SetFontName(pdf::TRepFontName::fnArial);
        l.SetFontSize(10);
        l.SetHeight(10);
        l.SetWidth(100);
        l.SetTop(top);
        l.SetLeft(left);
        l.SetCaption(caption);
    };
    int y = 114;
    for (const QStringList& row : rows) {
        if (y > 470) {
            report.Print(page);
            panel.DestroyComponents();
            y = 24;
        }
        for (size_t c = 0; c < lefts.size(); ++c)
            label(row[qsizetype(c)], lefts[c], y);
        y += 13;
    }
    report.Print(page);
    report.EndDoc();
}

void bench(Backend backend, const char* name, double goal)
{
    TestDatabase tdb(backend);
    if (!tdb.ready()) {
        std::printf("%s: no database\n", name);
        return;
    }
    seed(tdb.db());
    QTemporaryDir dir;
    NoProgress progress;
    PdfListPages pages;
    const ListExportJob tournament{tdb.db(), 1, QStringLiteral("Stadtmeisterschaft Köln"), klassenwahlinfo{0, 0, true, false}};
    const ListExportJob herren{tdb.db(), 1, QStringLiteral("Stadtmeisterschaft Köln"), klassenwahlinfo{1, 0, false, true}};
    const ListExportRows rows(tdb.db(), 1, tournament.turniername, tournament.info);
    const auto players = rows.spielerliste();
    const auto matches = ListExportRows(tdb.db(), 1, herren.turniername, herren.info).spielplan();

    std::vector<QStringList> playerLabels;
    for (const ExportPlayer& p : players.rows)
        playerLabels.push_back({memberText({p.nachname, p.vorname}), german::formatDate(p.geb), p.verein, p.mann ? s("M") : s("W"),
                                p.email, verbandText(p)});
    std::vector<QStringList> matchLabels;
    for (const ExportMatch& m : matches.rows)
        matchLabels.push_back({m.kbezeichnung + s("-1"), QString::number(m.spielnummer), m.spieler1, m.spieler2,
                               resultText(m.ergebnis), m.an_platte, groupLetter(m.gruppe), spielbeginnText(m)});

    int n = 0;
    const auto file = [&](const char* stem) { return dir.filePath(QStringLiteral("%1-%2.out").arg(QLatin1String(stem)).arg(++n)); };
    const QString pdfFolder = dir.filePath(QStringLiteral("pdf"));
    const QDateTime time(QDate(2026, 12, 10), QTime(9, 0));

    struct Case {
        const char* what;
        std::function<void()> ours;
        std::function<void()> floor;
    } cases[] = {
        {"player list xlsx (2,000 x 13)",
         [&] { exportExcelList(ExportListKind::Spielerliste, tournament, dir.path(), time, progress); },
         [&] { floorPlayerSheet(players, file("players")); }},
        {"match plan xlsx (6,000 x 10)",
         [&] { exportExcelList(ExportListKind::Spielplan, herren, dir.path(), time, progress); },
         [&] { floorMatchSheet(matches, file("matches")); }},
        {"player list PDF (2,000 x 6)",
         [&] { exportPdfList(ExportListKind::Spielerliste, tournament, pages, pdfFolder, progress); },
         [&] { floorPdf(playerLabels, {0, 180, 230, 390, 430, 580}, file("players")); }},
        {"match plan PDF (6,000 x 8)",
         [&] { exportPdfList(ExportListKind::Spielplan, herren, pages, pdfFolder, progress); },
         [&] { floorPdf(matchLabels, {20, 100, 150, 300, 450, 520, 570, 620}, file("matches")); }},
    };
    for (const Case& c : cases) {
        const double ours = timed(c.ours);
        const double floor = timed(c.floor);
        std::printf("%-10s %-30s %8.1f ms, floor %8.1f ms\n", name, c.what, ours, floor);
        report(c.what, name, ours / floor, atMost(goal));
    }
}

} // namespace

int main(int argc, char** argv)
{
    setUpLikeTests();
    QCoreApplication app(argc, argv);
    forEachBackend([](Backend backend, const char* name) { bench(backend, name, backend == Backend::SQLite ? 2 : 3); });
    return 0;
}
