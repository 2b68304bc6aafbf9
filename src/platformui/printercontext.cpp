#include "platformui/printercontext.h"

#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace bw {

bool runPrintDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

namespace {

QPageSize pageSizeOf(const PrinterSettings& s, const QPageSize& current)
{
    if (s.pageSizeId >= 0 && s.pageSizeId < int(QPageSize::LastPageSize) && s.pageSizeId != int(QPageSize::Custom))
        return QPageSize(QPageSize::PageSizeId(s.pageSizeId));
    if (s.pageWidthMm > 0 && s.pageHeightMm > 0)
        return QPageSize(QSizeF(s.pageWidthMm, s.pageHeightMm), QPageSize::Millimeter);
    return current;
}

void applySettings(QPrinter& printer, const PrinterSettings& s)
{
    const QPageLayout::Orientation orientation = s.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QMarginsF margins(s.marginLeftMm, s.marginTopMm, s.marginRightMm, s.marginBottomMm);
    const QPageSize size = pageSizeOf(s, printer.pageLayout().pageSize());
    if (!printer.setPageLayout(QPageLayout(size, orientation, margins, QPageLayout::Millimeter))) {
        // Margins the printer cannot print: its own ones for the page and orientation.
        printer.setPageSize(size);
        printer.setPageOrientation(orientation);
    }
    if (s.duplex >= QPrinter::DuplexNone && s.duplex <= QPrinter::DuplexShortSide)
        printer.setDuplex(QPrinter::DuplexMode(s.duplex));
    printer.setCopyCount(std::max(1, s.copies));
    printer.setColorMode(s.colour ? QPrinter::Color : QPrinter::GrayScale);
    if (s.paperSource >= 0 && s.paperSource <= QPrinter::LastPaperSource)
        printer.setPaperSource(QPrinter::PaperSource(s.paperSource));
    if (s.resolution > 0)
        printer.setResolution(s.resolution);
}

} // namespace

PrinterContext::PrinterContext(PrinterList installed)
    : m_installed(std::move(installed)), m_printer(std::make_unique<QPrinter>())
{
}

PrinterContext::~PrinterContext() = default;

QStringList PrinterContext::installedPrinters() const
{
    return m_installed ? m_installed() : QPrinterInfo::availablePrinterNames();
}

QString PrinterContext::printerName() const
{
    if (m_printer->outputFormat() == QPrinter::NativeFormat && !m_printer->printerName().isEmpty())
        return m_printer->printerName();
    return m_heldName;
}

void PrinterContext::setOrientation(QPageLayout::Orientation orientation)
{
    m_printer->setPageOrientation(orientation);
}

PrinterSettings PrinterContext::settings() const
{
    const QPageLayout layout = m_printer->pageLayout();
    const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    PrinterSettings s;
    s.printerName = printerName();
    s.pageSizeId = layout.pageSize().id() == QPageSize::Custom ? -1 : int(layout.pageSize().id());
    s.pageWidthMm = mm.width();
    s.pageHeightMm = mm.height();
    s.landscape = layout.orientation() == QPageLayout::Landscape;
    s.marginLeftMm = margins.left();
    s.marginTopMm = margins.top();
    s.marginRightMm = margins.right();
    s.marginBottomMm = margins.bottom();
    s.duplex = int(m_printer->duplex());
    s.copies = m_printer->copyCount();
    s.colour = m_printer->colorMode() == QPrinter::Color;
    s.paperSource = int(m_printer->paperSource());
    s.resolution = m_printer->resolution();
    return s;
}

bool PrinterContext::selectPrinter(const QString& name)
{
    if (name.isEmpty()) {
        m_heldName.clear();
        return true;
    }
    if (!installedPrinters().contains(name))
        return false;
    m_printer->setPrinterName(name);
    m_heldName = m_printer->outputFormat() == QPrinter::NativeFormat && m_printer->printerName() == name
                     ? QString()
                     : name;
    return true;
}

bool PrinterContext::apply(const PrinterSettings& settings)
{
    if (!selectPrinter(settings.printerName))
        return false;
    applySettings(*m_printer, settings);
    return true;
}

void PrinterContext::saveSetup(const QString& path) const
{
    PrinterSetupFile::save(path, settings());
}

PrinterContext::Loaded PrinterContext::loadSetup(const QString& path)
{
    const std::optional<PrinterSetup> setup = PrinterSetupFile::load(path);
    if (!setup)
        return Loaded::Missing;
    const bool applied = setup->complete ? apply(setup->settings) : selectPrinter(setup->settings.printerName);
    return applied ? Loaded::Applied : Loaded::NotInstalled;
}

bool PrinterContext::setUp(const PrintDialogFn& dialog, QWidget* parent)
{
    const PrinterSettings before = settings();
    const QString heldBefore = m_heldName;
    if (!(dialog ? dialog(*m_printer, parent) : runPrintDialog(*m_printer, parent))) {
        applySettings(*m_printer, before);
        m_heldName = heldBefore;
        return false;
    }
    // A file chosen in the dialog in place of a printer.
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty())
        m_heldName.clear();
    return true;
}

} // namespace bw
