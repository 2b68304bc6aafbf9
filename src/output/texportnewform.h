// The list export to a spreadsheet or a PDF file. The caller sets the caption
// ("Excel-Export" or "PDF-Export") and shows one of the two pictures on the
// white panel; the export itself arrives with the list output.
#pragma once

#include <QDialog>

class QLabel;

namespace bw {

class TExportNewForm : public QDialog {
public:
    explicit TExportNewForm(QWidget* parent);

    QWidget* Panel1;
    QLabel* Images_Excel;
    QLabel* Images_PDF;
};

} // namespace bw
