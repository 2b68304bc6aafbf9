// The main window: the navigation column with its five side bars on the left,
// the nine work panels stacked to its right, the menu, and the states "no
// tournament" and "tournament open". The current context lives in the
// AppContext the program body hands in; the pages' controls are public members
// named as the program addresses them.
#pragma once

#include "app/appcontext.h"
#include "app/forms.h"
#include "classes/classbars.h"
#include "controls/uicontainer.h"

#include <QList>
#include <QMainWindow>
#include <QSqlDatabase>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QPrinter;
class QProgressBar;
class QScrollArea;
class QStackedWidget;
class QTimer;
class QToolButton;
class TuiImageList;

namespace bw {

struct Services;
class CheckInPage;
class ClassPage;
class GroupSetupPage;
class ImportPage;
class BusyAnimation;
class NavigationBar;
class PrinterContext;
class PlayerPage;
class RefereePage;
class TournamentPage;

class TMainform : public QMainWindow {
    Q_OBJECT
public:
    static const QString kCaption;       // "Brackwell 2.53 - "
    static const QString kVersionText;   // "Brackwell - Version 2.53"

    TMainform(AppContext& context, Services& services, QWidget* parent = nullptr);
    ~TMainform() override;

    AppContext& context() { return m_context; }
    Services& services() { return m_services; }

    // Set when a plan-definition file is missing: the program ends as soon as
    // its message loop would start.
    bool terminateRequested() const { return m_terminate; }

    // The other forms, known once the program body has created them all.
    void setForms(const Forms* forms) { m_forms = forms; }
    // Puts the class page into its panel once its dialogs exist.
    void setUpClassPage(const std::function<QSqlDatabase()>& database);
    // Appends the open tournament's classes to "Turnierklassen" and those with
    // a plan to "Spielpläne".
    void XPBarItemsAdd();
    // After a first draw: the class gets its item in "Spielpläne" unless it has one.
    void listClassPlan(int kid);
    const Forms& forms() const { return *m_forms; }

    // Brings a work panel to the front of the stack.
    void bringToFront(QWidget* panel);
    QWidget* frontPanel() const;

    // Work dialogs are shown non-modally while the work area (central widget
    // and menu bar) is disabled; the dialog's end enables it again.
    void setWorkAreaEnabled(bool enabled);
    bool workAreaEnabled() const;
    void showWorkDialog(QWidget* dialog);

    // A tournament was created (it is in the program's database and the
    // context names it) or opened: the window shows it.
    void showCreatedTournament(const QString& name);
    void showOpenedTournament(const QString& name, int tid);

    // The navigation in the two states of the window.
    void enterNoTournamentState();
    void enterCreatedState();
    void enterOpenedState();
    // Empties "Turnierklassen" down to its first item "Klassen verwalten".
    void resetClassBar();
    void enableTournamentMenus(bool enabled);

    // --- navigation column ---
    QWidget* Navigation;
    QScrollArea* ScrollBox1;
    QLabel* Logo;
    NavigationBar* Turnierbutton;
    NavigationBar* Klassenbutton;
    NavigationBar* Spielerbutton;
    NavigationBar* spielplanbutton;
    NavigationBar* exportbutton;
    QComboBox* PrinterBox;
    QProgressBar* ProgressBar1;
    BusyAnimation* inprogress;
    // 1: "Images/pong.gif" is there and the busy animation plays; 2: no animation.
    int inprogressTag = 2;
    QString inprogressFile;
    TuiImageList* ImageList1;

    // --- work panels ---
    QStackedWidget* Panels;
    TuiContainer* welcome;
    QLabel* VersionLab;
    TuiContainer* neuesTurnier;
    TuiContainer* klassenverwalten;
    TuiContainer* Gruppen;
    GroupSetupPage* gruppenseite = nullptr; // on Gruppen
    TuiContainer* spielerverwaltung;
    TuiContainer* Anmeldung;
    CheckInPage* checkInPage = nullptr; // on Anmeldung
    TuiContainer* schiripanel;
    // The player and referee pages inside their panels (made once the forms exist).
    PlayerPage* spielerseite = nullptr;
    RefereePage* schiriseite = nullptr;
    TuiContainer* import;
    ImportPage* importseite = nullptr; // on import
    TuiContainer* spielplanform;
    // Owner of the resource pools and scratch lists of a running class.
    QWidget* Panel1;

    // --- tournament page (on neuesTurnier) ---
    TournamentPage* turnierseite = nullptr;

    // --- class page (its own widget; these point into it) ---
    ClassPage* classPage = nullptr;
    QLabel* StaticText86 = nullptr;
    QListWidget* einzelliste = nullptr;
    QListWidget* doppelliste = nullptr;
    QListWidget* mixedliste = nullptr;
    QListWidget* courbliste = nullptr;
    QComboBox* altersklasse = nullptr;
    QDateEdit* austragungstag = nullptr;

    // --- menu ---
    QMenuBar* MainMenu1;
    QMenu* Datei1;
    QMenu* Druckersetup1;
    QAction* Schiedsrichterzettel1;
    QAction* Standardeinstellungen1;
    QAction* Beenden1;
    QMenu* Extras1;
    QAction* Spieleplaner1;
    QAction* AKverwaltung;
    QAction* Slatewright1;
    QAction* Kostenabrechnung;
    QAction* CourtcastMenuitem;
    QMenu* Information1;
    QAction* Handbuch1;
    QAction* Impressum1;
    QAction* BrackwellImInternet1;
    QMenu* Klassecopy = nullptr;
    QAction* Klassekopieren1 = nullptr;
    QMenu* UrkundePopUp;
    QAction* Urkudnedrucken1;

    QTimer* Timer1;

    // The save dialog of the registration form: its folder and the chosen file.
    QString SaveDialog1InitialDir;
    QString SaveDialog1FileName;
    // Writes the registration form into a file; throws on failure.
    std::function<void(const QString&)> registrationFormWriter;

    // The printer set-up dialog (tests answer it); true when confirmed.
    std::function<bool(QPrinter&, QWidget*)> printerSetup;
    // The application's current printer; the installed printers are the
    // entries of PrinterBox.
    PrinterContext& printerContext();

    // The navigation items the states switch (indexes into the bars).
    enum TurnierItem { TurnierErstellen = 0, TurnierLaden = 1, TurnierLoeschen = 2, TurnierBearbeiten = 3 };

signals:
    // "Turnier erstellen" and "Turnier laden": the program body shows the dialogs.
    void createTournamentRequested();
    void openTournamentRequested();

public slots:
    void FormShow();
    void Beenden1Click();
    // The pointer over "Turnierdaten" or "Turnierklassen" gives that bar the keyboard focus.
    void TurnierbuttonMouseMove();
    void KlassenbuttonMouseMove();
    void TurnierbuttonItemClick(int index);
    void KlassenbuttonItemClick(int index);
    void SpielerbuttonItemClick(int index);
    void spielplanbuttonItemClick(int index);
    void exportbuttonItemClick(int index);

    // "Turnier löschen" and "Turnierdaten bearbeiten".
    void TurnierbuttonItems2Click();
    void TurnierbuttonItems3Click();

    // Navigation items and menu commands.
    void KlassenbuttonItems0Click();
    // A class item of "Turnierklassen": the group set-up page for the class.
    void openGroupSetup(const QString& caption);
    // "Spieleranmeldung": the check-in page, reloaded on the tab "Alle".
    void SpielerbuttonItems1Click();
    void SpielerbuttonItems2Click();
    // "Spieler importieren": the import page with both lists empty.
    void SpielerbuttonItems3Click();
    // "Datenquelle öffnen": the open dialog, then the import dialog reads the file.
    void impoertquelleClick();
    void exportbuttonItems0Click();
    void exportbuttonItems1Click();
    void exportbuttonItems2Click();
    void anmeldeformularClick();
    void Spieleplaner1Click();
    void AKverwaltungClick();
    void Standardeinstellungen1Click();
    void Schiedsrichterzettel1Click();
    void Slatewright1Click();
    void KostenabrechnungClick();
    void CourtcastMenuitemClick();
    void Urkudnedrucken1Click();
    void uiButton6Click();
    void Impressum1Click();
    void Handbuch1Click();
    void BrackwellImInternet1Click();
    // The call-up reminders of the current class, once a minute while Timer1 runs.
    void Timer1Timer();

private slots:
    void workDialogFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void buildNavigation();
    void buildPanels();
    void buildTournamentPage();
    void buildClassPage();
    void buildMenu();
    void connectMenuCommands();
    // "Druckersetup": loads the set-up file when it is there, runs the set-up
    // dialog and, when confirmed, saves the set-up into the file.
    void setUpPrinter(const QString& setupFile);
    TuiContainer* makePanel(const QString& name);

    AppContext& m_context;
    Services& m_services;
    const Forms* m_forms = nullptr;
    std::unique_ptr<ClassItemBar> m_classItems;
    std::unique_ptr<ClassItemBar> m_planItems;
    std::unique_ptr<PrinterContext> m_printerContext;
    bool m_terminate = false;
    bool m_shownOnce = false;
};

} // namespace bw
