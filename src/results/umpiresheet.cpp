#include "results/umpiresheet.h"

#include "data/teammatchrecords.h"

#include "platform/apperror.h"
#include "platform/prompter.h"
#include "platformui/printercontext.h"

#include <QFileInfo>
#include <QPrinter>

#include <cmath>

namespace bw {

namespace {

const QString kFont = QStringLiteral("TimesNewRoman");
const QString kPrinterError = QStringLiteral("Druckerfehler");

} // namespace

UmpireSheet umpireSheetOf(const UmpireSheetMatch& match, int saetze)
{
    UmpireSheet sheet;
    sheet.spielnummer = QString::number(match.spielnummer);
    sheet.schiri = match.schiri;
    sheet.anPlatte = match.anPlatte;
    sheet.name1 = match.spieler1;
    sheet.name2 = match.spieler2;
    sheet.verein1 = match.verein1;
    sheet.verein2 = match.verein2;
    sheet.saetze = saetze;
    return sheet;
}

UmpireSheetPage umpireSheetPage(const QPrinter& printer)
{
    const int dpi = printer.resolution() > 0 ? printer.resolution() : 72;
    const double r = 25.4 / dpi;
    const QPageLayout layout = printer.pageLayout();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);
    return {roundHalfEven(full.width() * r) * 10, roundHalfEven(paint.top() * r) + 50};
}

double umpireSheetScale(int pageWidth)
{
    if (pageWidth > 2000)
        return 1.5;
    if (pageWidth >= 1700)
        return 1.0;
    return 0.75;
}

PrintPage layoutUmpireSheet(const UmpireSheet& sheet, const UmpireSheetPage& page, const TextWidthFn& textWidth)
{
    const double q = umpireSheetScale(page.width);
    const int T = page.top;
    const int full = page.width / 2;
    const int left = page.width / 4;
    const int right = page.width / 4 * 3;
    const auto y = [&](double Y) { return -(roundHalfEven(q * Y) + T); };

    PrintPage items;
    // A text centred on `centre` by the width of `measured` (itself unless given).
    const auto centred = [&](int centre, int atY, int h, bool bold, bool italic, const QString& text,
                             const QString& measured) {
        const int height = roundHalfEven(q * h);
        const PrintItem probe = PrintItem::textAt(0, 0, kFont, height, measured).styled(bold, italic);
        items.append(PrintItem::textAt(centre - textWidth(probe) / 2, atY, kFont, height, text).styled(bold, italic));
    };
    const auto line = [&](int centre, double Y, int h, bool bold, bool italic, const QString& text) {
        centred(centre, y(Y), h, bold, italic, text, text);
    };

    line(full, 5, 50, true, false, QStringLiteral("Schiedsrichterzettel"));
    line(full, 70, 45, false, false, QStringLiteral("Spielnummer: ") + sheet.spielnummer);
    line(full, 120, 45, false, false, QStringLiteral("Schiedsrichter: ") + sheet.schiri);
    line(full, 170, 45, false, false, QStringLiteral("An Tisch: ") + sheet.anPlatte);
    line(left, 240, 55, true, true, sheet.kopf1);
    line(right, 240, 55, true, true, sheet.kopf2);
    line(left, 300, 55, true, true, sheet.name1);
    line(right, 300, 55, true, true, sheet.name2);
    if (sheet.mitVereinen) {
        // Centred by the club's name alone, the brackets around it.
        centred(left, y(350), 55, false, false, QLatin1Char('(') + sheet.verein1 + QLatin1Char(')'), sheet.verein1);
        centred(right, y(350), 55, false, false, QLatin1Char('(') + sheet.verein2 + QLatin1Char(')'), sheet.verein2);
    }

    const int s = std::max(1, sheet.saetze);
    const int step = roundHalfEven(120 * q);
    for (int i = 1; i <= 2 * s - 1; ++i)
        centred(full, -(roundHalfEven(380 * q) + i * step + T), 55, false, false,
                QStringLiteral("Satz %1: _________").arg(i), QStringLiteral("Satz %1: _________").arg(i));
    const double sets = (240.0 * s - 120) * q;
    const QString endergebnis = QStringLiteral("Endergebnis: _________");
    centred(full, -(roundHalfEven(sets + 520 * q) + T), 55, false, false, endergebnis, endergebnis);
    // The winner's line starts where a result line as long as it would.
    centred(full, -(roundHalfEven(sets + 640 * q) + T), 55, false, false, QStringLiteral("Sieger: ___________________"),
            QStringLiteral("Endergebnis: ___________________"));
    return items;
}

void printUmpireSheets(QPrinter& printer, const QList<UmpireSheet>& sheets)
{
    if (sheets.isEmpty())
        return;
    const UmpireSheetPage page = umpireSheetPage(printer);
    QList<PrintPage> pages;
    for (const UmpireSheet& sheet : sheets)
        pages.append(layoutUmpireSheet(sheet, page));
    PrintJob job(printer);
    job.printPages(pages);
    job.finish();
}

void prepareUmpireSheetPrinter(Prompter& prompter, PrinterContext& printers, const QString& setupFile)
{
    if (QFileInfo::exists(setupFile)) {
        try {
            printers.loadSetup(setupFile);
            return;
        } catch (const AppError& e) {
            prompter.error(e.message());
        }
    }
    printers.setOrientation(QPageLayout::Portrait);
}

bool druckenUmpireSheets(Prompter& prompter, PrinterContext& printers, const QString& setupFile,
                         const std::function<QList<UmpireSheet>()>& sheets)
{
    prepareUmpireSheetPrinter(prompter, printers, setupFile);
    try {
        printUmpireSheets(printers.printer(), sheets());
        return true;
    } catch (const std::exception&) {
        prompter.error(kPrinterError);
        return false;
    }
}

bool druckenUmpireSheet(Prompter& prompter, PrinterContext& printers, const QString& setupFile, const QSqlDatabase& db,
                        int kid, int spielnummer, int saetze)
{
    return druckenUmpireSheets(prompter, printers, setupFile, [&] {
        const std::optional<UmpireSheetMatch> match = readUmpireSheetMatch(db, kid, spielnummer);
        if (!match)
            throw AppError(QStringLiteral("Das Spiel %1 ist nicht mehr in der Datenbank vorhanden.").arg(spielnummer));
        return QList<UmpireSheet>{umpireSheetOf(*match, saetze)};
    });
}

QList<UmpireSheet> readTeamUmpireSheets(const QSqlDatabase& db, int kid, int spielnummer, int saetze)
{
    QList<UmpireSheet> sheets;
    for (const TeamGameRow& game : readTeamGames(db, kid, spielnummer)) {
        UmpireSheet sheet;
        sheet.spielnummer = QString::number(spielnummer);
        sheet.schiri = game.schiri;
        sheet.anPlatte = game.anPlatte;
        sheet.kopf1 = game.spieler1;
        sheet.kopf2 = game.spieler2;
        sheet.name1 = game.sbez1.value_or(QString());
        sheet.name2 = game.sbez2.value_or(QString());
        sheet.mitVereinen = false;
        sheet.saetze = saetze;
        sheets << sheet;
    }
    return sheets;
}

bool druckenTeamUmpireSheets(Prompter& prompter, PrinterContext& printers, const QString& setupFile,
                             const QSqlDatabase& db, int kid, int spielnummer, int saetze)
{
    return druckenUmpireSheets(prompter, printers, setupFile, [&] {
        const QList<UmpireSheet> sheets = readTeamUmpireSheets(db, kid, spielnummer, saetze);
        if (sheets.isEmpty())
            throw AppError(QStringLiteral("Das Spiel %1 ist nicht mehr in der Datenbank vorhanden.").arg(spielnummer));
        return sheets;
    });
}

} // namespace bw
