// The list export dialog: the user picks the whole tournament, a class or a
// phase of a class in "Klasse/Phase" and clicks one of four links; the list is
// written as a spreadsheet when the caption reads "Excel-Export" and as a PDF
// file when it reads "PDF-Export" (the caller sets the caption and shows one of
// the two pictures on the white panel). The dialog stays open for the next
// list; a failure shows "Es trat ein Fehler auf. Die Datei konnte nicht erzeugt
// werden." with the reason on the next line. The bar is back at 0 afterwards.
#pragma once

#include "output/listexportrows.h"

#include <QDialog>
#include <QLabel>
#include <QSqlDatabase>

#include <functional>
#include <vector>

class QComboBox;
class QGroupBox;
class QProgressBar;

namespace bw {

class PdfListPages;
enum class ExportListKind;
struct Services;

// A link label: bold, underlined, a hand cursor; blue while enabled, silver
// while not. A click (press and release on it) emits clicked().
class ExportLink : public QLabel {
    Q_OBJECT
public:
    ExportLink(const QString& name, const QString& caption, QWidget* parent);

signals:
    void clicked();

protected:
    void changeEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showColour();
};

class TExportNewForm : public QDialog {
public:
    TExportNewForm(QWidget* parent, Services& services, std::function<QSqlDatabase()> database,
                   const int& aktuelleTID, const QString& aktuellerTurniername, PdfListPages& pdfform);

    static const QString kFailed; // "Es trat ein Fehler auf. Die Datei konnte nicht erzeugt werden."

    QWidget* Panel1;
    QLabel* Images_Excel;
    QLabel* Images_PDF;
    QGroupBox* GroupBox1;
    QLabel* Label1;
    QComboBox* Klassenwahl;
    ExportLink* ExportTyp_Spielplan;
    ExportLink* ExportTyp_Gruppen;
    ExportLink* ExportTyp_Spieler;
    ExportLink* ExportTyp_Team;
    QProgressBar* ExportProgress;

    // The entries of Klassenwahl, in list order.
    const std::vector<KlassenwahlEntry>& klassenwahlinfos() const { return m_entries; }

    void FormShow();
    void ExportTypenAktualisieren();
    void ExportTyp_SpielplanClick();
    void ExportTyp_GruppenClick();
    void ExportTyp_SpielerClick();
    void ExportTyp_TeamClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void runList(ExportListKind kind);
    klassenwahlinfo selected() const;

    Services& m_services;
    std::function<QSqlDatabase()> m_database;
    const int& m_tid;
    const QString& m_turniername;
    PdfListPages& m_pdf;
    std::vector<KlassenwahlEntry> m_entries;
};

} // namespace bw
