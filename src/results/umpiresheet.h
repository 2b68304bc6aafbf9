// The umpire sheet "Schiedsrichterzettel": one page per match (or per game of a
// team match) with its number, umpire and table, both sides, a line for every
// set that may be played and lines for the final result and the winner, which
// the umpire fills in by hand.
//
// The sheet is laid out as a page of PrintItems (tenths of a millimetre, y
// upwards from the top edge, platformui/printcanvas.h) from its texts, so the
// team dialog fills the same layout with a game's texts.
#pragma once

#include "data/planlistrecords.h"
#include "platformui/printcanvas.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>

class QPrinter;

namespace bw {

class PrinterContext;
class Prompter;

// What one sheet shows.
struct UmpireSheet {
    QString spielnummer;
    QString schiri;
    QString anPlatte;
    // The two columns: a heading over each side ("Spieler 1", "Spieler 2"; a
    // team match names the teams), the sides' names and their clubs.
    QString kopf1 = QStringLiteral("Spieler 1");
    QString kopf2 = QStringLiteral("Spieler 2");
    QString name1;
    QString name2;
    bool mitVereinen = true; // the line of clubs, "()" for a side without one
    QString verein1;
    QString verein2;
    int saetze = 3; // sets to win: 2·saetze − 1 set lines
    bool operator==(const UmpireSheet&) const = default;
};

// The sheet of a match row of a singles or doubles class.
UmpireSheet umpireSheetOf(const UmpireSheetMatch& match, int saetze);

// The page measures the sheet is laid out on, in tenths of a millimetre: the
// page width and the top margin (the printable area's offset plus 5 mm).
struct UmpireSheetPage {
    int width = 2100;
    int top = 50;
};
// From the printer's current page; millimetres rounded half to even.
UmpireSheetPage umpireSheetPage(const QPrinter& printer);

// The scale of the sheet on a page of this width: 1.5 above 2000, 1.0 from
// 1700 to 2000, 0.75 below 1700.
double umpireSheetScale(int pageWidth);

// The sheet's page: every line centred on the page, or on the middle of its
// side's half. The width function defaults to the printer's fonts.
PrintPage layoutUmpireSheet(const UmpireSheet& sheet, const UmpireSheetPage& page,
                            const TextWidthFn& textWidth = printTextWidth);

// Prints the sheets in one job, one page each. Throws (AppError) when the
// printer fails; the job is then aborted, nothing half-printed is sent.
void printUmpireSheets(QPrinter& printer, const QList<UmpireSheet>& sheets);

// The printer of the sheets: the set-up in `setupFile` ("printerzettel.ini" of
// the data folder) when that file is there, and its printer stays the current
// one for what is printed next; without the file the current printer in
// portrait. A damaged file is told and the sheets go to the current printer.
void prepareUmpireSheetPrinter(Prompter& prompter, PrinterContext& printers, const QString& setupFile);

// The print operation behind the result dialogs' "Drucken": prepares the
// printer, reads the sheets (database errors count as printing failures),
// prints them and on any failure shows "Druckerfehler". True when the sheets
// were printed.
bool druckenUmpireSheets(Prompter& prompter, PrinterContext& printers, const QString& setupFile,
                         const std::function<QList<UmpireSheet>()>& sheets);

// The sheet of match `spielnummer` of class `kid`, read and printed as above.
bool druckenUmpireSheet(Prompter& prompter, PrinterContext& printers, const QString& setupFile, const QSqlDatabase& db,
                        int kid, int spielnummer, int saetze);

// The sheets of team match `spielnummer` of class `kid`: one per game, in the
// order of the games' numbers, the teams over the columns and the game's
// players below, without clubs.
QList<UmpireSheet> readTeamUmpireSheets(const QSqlDatabase& db, int kid, int spielnummer, int saetze);

// The team match's sheets, read and printed as druckenUmpireSheets does.
bool druckenTeamUmpireSheets(Prompter& prompter, PrinterContext& printers, const QString& setupFile,
                             const QSqlDatabase& db, int kid, int spielnummer, int saetze);

} // namespace bw
