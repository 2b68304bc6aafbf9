// The age classes of the open tournament ("Altersklasse verwalten"): a list of
// their names, the fields of the selected one, and saving, deleting and starting
// a new entry. It has no close box; "Zurück" ends it.
#pragma once

#include <QDialog>
#include <QSqlDatabase>

#include <functional>

class QComboBox;
class QLineEdit;
class TuiButton;
class TuiCheckbox;

namespace bw {

class Prompter;

class TAltersklassen : public QDialog {
    Q_OBJECT
public:
    // `aktuelleTID` is the open tournament, read whenever the dialog works.
    TAltersklassen(QWidget* parent, Prompter& prompter, std::function<QSqlDatabase()> database,
                   const int& aktuelleTID);

    QComboBox* AuswahlBox;
    QLineEdit* aname;
    QLineEdit* avon;
    TuiCheckbox* a1; // "älter": open towards older players
    QLineEdit* abis;
    TuiCheckbox* a2; // "jünger": open towards younger players
    TuiButton* uiButton1; // "Speichern"
    TuiButton* uiButton3; // "Löschen"
    TuiButton* uiButton4; // "Neuer Eintrag"
    TuiButton* uiButton2; // "Zurück"

    // Fills the list and selects the given name (the first entry when it is not there).
    void altersklassenlisteladen(const QString& name);
    // Shows the selected age class in the fields.
    void altersklasseladen();

public slots:
    void FormActivate();
    void AuswahlBoxChange();
    void a1Click();
    void a2Click();
    void avonExit();
    void uiButton1Click();
    void uiButton3Click();
    void uiButton4Click();
    void uiButton2Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Prompter& m_prompter;
    std::function<QSqlDatabase()> m_database;
    const int& m_tid;
};

} // namespace bw
