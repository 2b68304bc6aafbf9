// The four lists as PDF files: pages of placed labels on the report layer, the
// tournament's name and the list's title on the first page, column headings
// repeated on every page of the player list, the match plan and the team list.
// Positions are points from the top-left corner of the layout panel (inside
// margins of 32). The files "Spielerliste.pdf", "Spielplan.pdf",
// "GruppenTabellen.pdf" and "Teamliste.pdf" in the output folder are replaced
// only when the whole document is written.
#pragma once

#include "output/listexportrows.h"
#include "pdf/pdfreport.h"

#include <QString>

namespace bw {

class AppPaths;
class Clock;

// The folder of the PDF lists in the data folder.
QString pdfExportFolder(const AppPaths& paths);

class PdfListPages {
public:
    // The clock gives the documents their saving time; nullptr: the system clock.
    explicit PdfListPages(const Clock* clock = nullptr);
    virtual ~PdfListPages();
    PdfListPages(const PdfListPages&) = delete;
    PdfListPages& operator=(const PdfListPages&) = delete;

    pdf::TPdfReport report;
    pdf::TRepPage PRPage1;
    pdf::TRepLayoutPanel& PRLayoutPanel1;
    // The label placed last.
    pdf::TRepLabel* aktlabel = nullptr;

    // Begins a document with its first page (landscape 800 x 596, else 596 x
    // 800), places the tournament's name and makes the output folder.
    void PDFSeiteVorbereiten(bool landscape, const QString& turniername, const QString& folder);
    // A left-aligned Arial label of height 10; it becomes aktlabel.
    pdf::TRepLabel& PDFLabelSetzen(const QString& text, int left, int width, int top, float fontSize);

    // Each writes its file into the folder and returns its path; the document
    // and the panel are left empty whatever happens.
    QString PDFSpielerliste(const ListRows<ExportPlayer>& list, const QString& turniername, const QString& folder,
                            ListProgress& progress);
    QString PDFSpielplan(const ListRows<ExportMatch>& list, const QString& turniername, const QString& folder,
                         ListProgress& progress);
    QString PDFGruppenTabellen(const ListRows<ExportStanding>& list, const QString& turniername,
                               const QString& folder, ListProgress& progress);
    QString PDFTeamliste(const ListRows<ExportTeam>& list, const QString& turniername, const QString& folder,
                         ListProgress& progress);

private:
    class Document;
    void title(const QString& text, int width);
    void bold(const QString& text, int left, int width, int top);
    void newPage();
};

} // namespace bw
