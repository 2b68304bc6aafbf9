// The class page ("Turnierklassen verwalten"), one of the main window's work
// panels: four lists of the tournament's classes by kind, the form of one class,
// saving, deleting, starting and copying a class, the table count with its list
// of table names, and the buttons to the tables dialog and the team-match
// format. It keeps the class lists and the class items of the navigation bars
// "Turnierklassen" and "Spielpläne" in step with the class table. A save writes
// only over the class as the page loaded it (row, table names and format);
// when another desk changed or deleted it meanwhile, the page shows it anew.
#pragma once

#include "data/classrecords.h"
#include "platform/pagestate.h"

#include <QSqlDatabase>
#include <QWidget>

#include <array>
#include <functional>

class TuiButton;
class TuiCheckbox;
class QButtonGroup;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QPlainTextEdit;

namespace bw {

class ClassItemBar;
class Prompter;
class Clock;
class Tteamform;
class Ttisch_verwaltung;

// What the page shares with the rest of the program.
struct ClassPageLinks {
    Prompter& prompter;
    Clock& clock;
    std::function<QSqlDatabase()> database;
    const int& aktuelleTID;
    int& aktuelleKID;
    QString& aktuellerKlassenname;
    Tteamform& teamform;
    Ttisch_verwaltung& tisch_verwaltung;
    ClassItemBar& Klassenbutton;   // "Turnierklassen"
    ClassItemBar& spielplanbutton; // "Spielpläne"
    // Shows a work dialog with the main window's work area disabled.
    std::function<void(QWidget*)> showWorkDialog;
    // Fills the four class lists, the age classes and the day of play for the
    // open tournament.
    std::function<void()> listboxenfuellen;
};

class ClassPage : public QWidget {
    Q_OBJECT
public:
    static const QString kNewCaption;     // "Neue Klasse speichern"
    static const QString kChangeCaption;  // "Änderungen speichern"

    ClassPage(const ClassPageLinks& links, QWidget* parent = nullptr);

    QLabel* StaticText86;
    QListWidget* einzelliste;
    QListWidget* doppelliste;
    QListWidget* mixedliste;
    QListWidget* courbliste;
    QGroupBox* systemBox; // "Spielsysteme", object name "system"
    QButtonGroup* system; // ids 0..3: Einzel, Doppel, Mixed, Team
    QLineEdit* kbezeichnung;
    QPlainTextEdit* kbeschreibung;
    QPlainTextEdit* kberechtigung;
    TuiCheckbox* mann;
    TuiCheckbox* frau;
    QComboBox* minteil;
    QComboBox* maxteil;
    QComboBox* gewinnsaetze;
    QComboBox* punkteprosieg;
    QComboBox* altersklasse;
    QComboBox* plattenanzahl;
    QDateEdit* austragungstag;
    QLineEdit* beginn;
    QLineEdit* gebuehr;
    QLineEdit* nachgebuehr;
    QListWidget* plattenlist; // hidden: the class's table names
    TuiButton* neue_klasse;
    TuiButton* klasse_speichern;
    TuiButton* klasse_delete;
    TuiButton* uiButton1; // "Tische verwalten"
    TuiButton* teambutton;
    QMenu* Klassecopy;
    QAction* Klassekopieren1;

    // The list of a kind and the kind of a list (nothing for another widget).
    QListWidget* listOf(ClassKind kind) const { return m_lists[kindIndex(kind)]; }
    std::optional<ClassKind> kindOf(const QListWidget* list) const;
    // The kind the radio group shows.
    ClassKind shownKind() const;
    void showKind(ClassKind kind);

    // The class the form shows (0: a new class being entered, or none) and
    // whether it has something to save. The page acts on this key, whatever
    // the kind radio group or the lists show meanwhile.
    int pageKid() const { return m_page.key(); }
    PageState::Mode mode() const { return m_page.mode(); }

    // The class page's records and helpers.
    void klassenboxfuellen(int kid);
    void kfelderloeschen();
    // Marks the page changed (also called by the tables and team-match dialogs).
    void klassenchange();
    void klassenmemoserstezeile();
    // Sorts the class lists as the user reads them (German, case-insensitive).
    void sortLists();
    // Adds a class to its kind's list and to "Turnierklassen".
    void listboxadd(const QString& name, ClassKind kind);
    // After a deletion: removes the class from its list and both bars and shows
    // the last class of that list.
    void listenitemloeschen(const QString& name, ClassKind kind);
    // The class the page shows as a record.
    ClassRecord pageRecord() const;

public slots:
    void KlassenbuttonItems0Click();
    void neueklasseClick();
    void klassehinzuClick();
    void klassedelClick();
    void listClick(QListWidget* list);
    void einzellisteContextPopup(QListWidget* list);
    void Klassekopieren1Click();
    void systemClick();
    void plattenanzahlChange();
    void plattenanzahlExit(QComboBox* box);
    void uiButton1Click();
    void teambuttonClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void connectHandlers();
    bool checkInput();
    void saveNew();
    void saveChanges();
    void loadFromList(QListWidget* list, const QString& name);
    void showMode();
    void resetTables();
    void insertSorted(QListWidget* list, const QString& name);
    void removeEntry(QListWidget* list, const QString& name);
    // After a save refused because another desk changed or deleted the class:
    // the lists follow its stored name and kind, and the page shows it anew.
    void reloadStale();
    // A class renamed or of another kind: its list entry and bar items follow.
    void showRenamed(const ClassRecord& before, const ClassRecord& now);
    // Highlights the class in its kind's list, and nothing in the others.
    void highlight(const QString& name, ClassKind kind);

    ClassPageLinks m_links;
    std::array<QListWidget*, kClassKinds.size()> m_lists{};
    PageState m_page;
    QListWidget* m_popupList = nullptr;
    // The class as loaded or last saved: a save writes only over these values.
    std::optional<ClassData> m_loaded;
};

} // namespace bw
