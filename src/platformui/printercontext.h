// The application's one current printer. Every printout prints on it and every
// print dialog opens on it; loading a saved set-up (platform/printersetupfile.h)
// makes the set-up's printer current, saving records it. A printer chosen in a
// print dialog stays current for what is printed next.
//
// The installed printers are the names of a list handed in (the main window's
// hidden PrinterBox, filled from the printing system); a set-up naming a
// printer that is not in it is ignored. A printer of that list which the
// printing system itself does not offer (a list made up in tests) is still
// remembered as the current printer's name, so it is what the next set-up
// records.
#pragma once

#include "platform/printersetupfile.h"

#include <QPageLayout>
#include <QStringList>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace bw {

// A print or printer set-up dialog on a printer; true when the user confirmed it.
using PrintDialogFn = std::function<bool(QPrinter&, QWidget*)>;
// The platform's print dialog.
bool runPrintDialog(QPrinter& printer, QWidget* parent);

class PrinterContext {
public:
    using PrinterList = std::function<QStringList()>;
    // Without a list the printing system's printers count as installed.
    explicit PrinterContext(PrinterList installed = {});
    ~PrinterContext();
    PrinterContext(const PrinterContext&) = delete;
    PrinterContext& operator=(const PrinterContext&) = delete;

    // The current printer, for print dialogs, page metrics and print jobs.
    QPrinter& printer() { return *m_printer; }
    const QPrinter& printer() const { return *m_printer; }

    QStringList installedPrinters() const;
    // The current printer's name; empty for the platform's default (a PDF file
    // where no printer is installed).
    QString printerName() const;

    void setOrientation(QPageLayout::Orientation orientation);

    // The current printer's settings as a set-up records them.
    PrinterSettings settings() const;
    // Makes the printer of the settings current with them; false, and nothing
    // changed, when that printer is not installed.
    bool apply(const PrinterSettings& settings);

    // Records the current printer in a set-up file (replacing it only once
    // written). Throws AppError.
    void saveSetup(const QString& path) const;
    enum class Loaded { Missing, NotInstalled, Applied };
    // Makes the set-up in the file current; a set-up written by another program
    // selects its printer only. Throws AppError for a damaged or unreadable
    // file, the current printer unchanged.
    Loaded loadSetup(const QString& path);

    // Runs a dialog on a copy of the current printer and takes what the user
    // chose only when confirmed.
    bool setUp(const PrintDialogFn& dialog, QWidget* parent);

private:
    bool selectPrinter(const QString& name);

    PrinterList m_installed;
    std::unique_ptr<QPrinter> m_printer;
    // The name of an installed printer the printing system did not take.
    QString m_heldName;
};

} // namespace bw
