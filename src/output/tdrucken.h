// The data module of the plan printouts. A phase's plan prints straight onto the
// application's printer, drawn in tenths of a millimetre; the knock-out plans are
// laid out once and printed tile by tile in the size and orientation chosen in
// the print-size dialog (output/koplanprint.h).
#pragma once

#include "draw/planfiles.h"
#include "plans/tspielplaene.h"

#include <QObject>
#include <QSqlDatabase>

#include <functional>

class QPrinter;
class QWidget;

namespace bw {

class Prompter;
class Tdruck_form;

// What the printouts need of the program.
struct DruckenLinks {
    Prompter* prompter = nullptr;
    std::function<QSqlDatabase()> database;
    std::function<int()> aktuelleKID;
    std::function<QString()> turniername;
    // The plan page's title, "Spielplan für " and the class.
    std::function<QString()> spielplantext;
    // A file of the program folder ("Files\\ko_system.txt").
    std::function<QString(const QString&)> programFile;
    std::function<QPrinter&()> printer;
    Tdruck_form* druck_form = nullptr;
    // The plan settings of the class shown.
    std::function<gruppeninfos()> klasseninfos;
};

// The message when the plan-definition file or its block for the bracket is missing.
QString missingDoubleKoPlanMessage(PlanLookup lookup, int slotCount);

class Tdrucken : public QObject, public PlanPrinter {
public:
    explicit Tdrucken(QObject* parent);
    void setLinks(DruckenLinks links) { m_links = std::move(links); }

    // The printouts of a phase's plan; the first two numbers are not used.
    // The group printout ranks each group anew and stores its positions just
    // before its standings are read; a failure aborts the job and is shown.
    void gruppenplan(int size, int flag, int phase) override;
    void koplan(int size, int flag, int phase) override;
    void doppelterkoplan(int size, int flag, int phase) override;

    // The platform's print dialog on the printer (PrintDialog1); true to print.
    std::function<bool(QPrinter&, QWidget*)> PrintDialog1;
    // Shows the print-size dialog modally and returns its result.
    std::function<int(Tdruck_form&)> showPrintSize;

private:
    void printKnockOut(bool doubleKo, int phase);

    DruckenLinks m_links;
};

} // namespace bw
