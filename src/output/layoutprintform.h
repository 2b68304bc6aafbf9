// The common dialog of certificates and receipts for the layout program: the
// fields of the print file, the choice of a template, "… drucken" and
// "Beenden". The templates are read once, when the dialog is made; without one
// the print button stays disabled and the red notice `Label6` shows.
// Printing writes the print file and starts the layout program with its name;
// when the layout program is not installed it says so and writes nothing. The
// dialog stays open for the next one.
#pragma once

#include "output/printfile.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class TuiButton;

namespace bw {

struct Services;

class LayoutPrintForm : public QDialog {
    Q_OBJECT
public:
    QLineEdit* NameEdit;
    QLineEdit* VereinEdit;
    QLineEdit* KlasseEdit;
    QComboBox* LayoutBox;
    QLabel* Label6;     // "Es wurde kein Layout-Template gefunden!!!!"
    TuiButton* uiButton1; // "Urkunde drucken" / "Quittung drucken"
    TuiButton* uiButton2; // "Beenden"

public slots:
    void uiButton1Click();
    void uiButton2Click();

protected:
    // What tells the two dialogs apart.
    struct Kind {
        PrintFileKind file;
        const char* objectName;
        QString caption;
        const char* valueName;  // the object name of the fourth field
        QString valueLabel;     // its label
        QString valueUnit;      // a text behind it, or empty
        int valueLength;        // the most characters it takes
        QString printCaption;
    };
    LayoutPrintForm(QWidget* parent, Services& services, const Kind& kind);

    void showEvent(QShowEvent* event) override;

    // "Platz" or "Betrag".
    QLineEdit* m_value;

private:
    Services& m_services;
    PrintFileKind m_file;
};

} // namespace bw
