// The check-in page ("Spieleranmeldung"), one of the main window's work panels.
// On the day of the tournament the desk checks players and teams in and out,
// for one class (a tab per class) or for the whole tournament ("Alle"), mostly
// from the keyboard: a typed name selects the player, ENTER toggles his
// check-in, CTRL+ENTER starts a new player or team from the typed text. A team
// goes through the team check-in dialog, which chooses the members checked in
// or out with it.
#pragma once

#include "data/myitem.h"
#include "platform/pagestate.h"

#include <QColor>
#include <QSqlDatabase>
#include <QWidget>

#include <functional>

class QButtonGroup;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QTabBar;
class TuiButton;
class TuiCheckbox;

namespace bw {

class Prompter;
class Tteam_melden;
class Tteamauswahl;

// The parts of a name typed for a new player: "Nachname, Vorname",
// "Nachname Vorname" or a surname alone.
struct TypedName {
    QString nachname;
    QString vorname;
    bool operator==(const TypedName&) const = default;
};
TypedName splitTypedName(const QString& text);

// The colour of an entry that is not selected: black when checked in, blue when
// checked in for some classes only (players on "Alle"), red otherwise.
QColor checkInColour(const Myitem& item);

// What the page shares with the rest of the program.
struct CheckInPageLinks {
    Prompter& prompter;
    std::function<QSqlDatabase()> database;
    const int& aktuelleTID;
    QProgressBar* progressBar;
    Tteam_melden& team_melden;
    Tteamauswahl& teamauswahl;
    // Brings the check-in panel to the front.
    std::function<void()> bringToFront;
    // Shows a work dialog with the main window's work area disabled.
    std::function<void(QWidget*)> showWorkDialog;
    // Opens the player page for a new player with these names.
    std::function<void(const TypedName&)> newPlayer;
    // Shows a modal dialog and returns its result (tests answer it).
    std::function<int(QDialog&)> execModal;
};

class CheckInPage : public QWidget {
    Q_OBJECT
public:
    explicit CheckInPage(const CheckInPageLinks& links, QWidget* parent = nullptr);

    QLabel* Titel;
    QTabBar* meldetab; // tab data: the class's KID, 0 for "Alle"
    QLineEdit* spieler_anmeldung;
    TuiCheckbox* anmeldecheck;
    QGroupBox* RadioGroup1;
    QButtonGroup* RadioGroup1Buttons; // 0 "Nachname", 1 "Verein"
    QListWidget* anmeldeliste;
    TuiButton* uiButton2; // "alle Spieler anmelden"
    TuiButton* uiButton3; // "alle Spieler abmelden"
    QLabel* StaticText91;
    QLineEdit* team_anmeldung;
    TuiCheckbox* teammeldecheck;
    QGroupBox* RadioGroup2;
    QListWidget* teammeldeliste;
    TuiButton* uiButton4; // "alle Teams anmelden"
    TuiButton* uiButton5; // "alle Teams abmelden"
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;

    // The object of a list entry.
    static Myitem item(const QListWidget* list, int row);
    // The class of the current tab; 0 on "Alle".
    int currentClass() const;

public slots:
    // Opens the page and reloads it as a whole, on the tab "Alle".
    void SpielerbuttonItems1Click();
    void meldetabChange(int index);
    void RadioGroup1Click();
    void spieler_anmeldungChange(const QString& text);
    void anmeldelisteClick();
    void anmeldelisteDblClick();
    void anmeldeCheckClick();
    void uiButton2Click();
    void uiButton3Click();
    void team_anmeldungChange(const QString& text);
    void teammeldelisteClick();
    void teammeldelisteDblClick();
    void teammeldecheckClick();
    void uiButton4Click();
    void uiButton5Click();

    // The key handlers of the two edits and lists; true when the key was used.
    bool spieler_anmeldungKeyDown(int key, Qt::KeyboardModifiers modifiers);
    bool anmeldelisteKeyDown(int key, Qt::KeyboardModifiers modifiers);
    bool team_anmeldungKeyDown(int key, Qt::KeyboardModifiers modifiers);
    bool teammeldelisteKeyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reloadPage();
    void fillPlayers(const QList<Myitem>& players);
    void fillTeams(const QList<Myitem>& teams);
    void reloadPlayers();
    // After a write: a class tab's players, or on "Alle" the whole page.
    void reloadAfterWrite(int kid);
    // After a failed write: the lists of the tab read anew, on the rows they
    // showed, with the ticks of those rows.
    void reloadShown();
    void showTeamControls(bool visible);
    void selectRow(QListWidget* list, int row);
    void setItem(QListWidget* list, int row, const Myitem& item);
    void togglePlayer(bool newState);
    void toggleTeam(bool newState);
    void allPlayers(bool flag);
    void allTeams(bool flag);
    void newTeam();

    CheckInPageLinks m_links;
    PageState m_page;
};

} // namespace bw
