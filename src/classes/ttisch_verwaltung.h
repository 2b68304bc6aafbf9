// The table names of the class on the class page ("Tische verwalten"): renaming
// and adding tables on a working copy that "Übernehmen" hands back to the page,
// and the assignment of the tables to every group and phase of the current class.
#pragma once

#include <QDialog>
#include <QSqlDatabase>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class TuiButton;

namespace bw {

class Prompter;

class Ttisch_verwaltung : public QDialog {
    Q_OBJECT
public:
    // `aktuelleKID` is the current class, read when the tables are assigned.
    Ttisch_verwaltung(QWidget* parent, Prompter& prompter, std::function<QSqlDatabase()> database,
                      const int& aktuelleKID);

    QListWidget* ListBox1;   // "Verfügbare Tische": the working copy
    QLabel* StaticText1;     // "Neuer Tisch:" or "Tisch bearbeiten:"
    QLineEdit* Edit1;
    TuiButton* uiButton2;  // "Neu aufnehmen" / "Name ändern"
    TuiButton* uiButton4;  // "Neuer Tisch"
    TuiButton* uiButton5;  // "Tisch löschen", never enabled
    TuiButton* uiButton6;  // "Gruppen/Phasen zuweisen"
    TuiButton* uiButton1;  // "Übernehmen"
    TuiButton* uiButton3;  // "Zurück"

    // The class page's list of table names, and its change mark.
    QListWidget* plattenlist = nullptr;
    std::function<void()> klassenchange;

public slots:
    void FormActivate();
    void ListBox1Click();
    void uiButton2Click();
    void uiButton4Click();
    void uiButton1Click();
    void uiButton3Click();
    void uiButton6Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void newTableMode();

    Prompter& m_prompter;
    std::function<QSqlDatabase()> m_database;
    const int& m_kid;
};

} // namespace bw
