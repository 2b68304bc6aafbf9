// The dialog "Finanzielle Turnierabrechnung": "Dokument erzeugen" writes the
// entry-fee accounting sheet of the open tournament as a new file and opens it
// with the desktop's spreadsheet program; "Abrechnung schliessen" closes it.
// While the sheet is written the panel "... bitte warten ..." with its progress
// bar covers the buttons and the dialog is disabled; both end on every path,
// a failure with an error box that gives the reason.
#pragma once

#include <QDialog>
#include <QSqlDatabase>

#include <functional>

class QLabel;
class QProgressBar;
class QStackedWidget;
class TuiButton;

namespace bw {

struct Services;

class TAbrechnungForm : public QDialog {
    Q_OBJECT
public:
    TAbrechnungForm(QWidget* parent, Services& services, std::function<QSqlDatabase()> database,
                    const int& aktuelleTID);

    static const QString kFailed; // "Es trat ein Fehler auf. Die Datei konnte nicht erzeugt werden."

    TuiButton* uiButton1; // "Dokument erzeugen"
    TuiButton* uiButton2; // "Abrechnung schliessen"
    QWidget* Panel1;      // "... bitte warten ..."
    QProgressBar* ProgressBar1;

public slots:
    void uiButton1Click();
    void uiButton2Click();

private:
    class Busy;

    Services& m_services;
    std::function<QSqlDatabase()> m_database;
    const int& m_tid;
    QStackedWidget* m_bottom;
    QWidget* m_buttons;
};

} // namespace bw
