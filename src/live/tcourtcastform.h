// The live-results dialog "Courtcast Anbindung", through which the desk links
// the open tournament to the Courtcast service. Its first page logs in (the
// login may be remembered in "Data.ini" in the user's settings folder) and
// assigns the tournament to one of the user's online tournaments; its second
// page maps the tournament's classes to the online classes. Its third and
// fourth pages, taking online registrations over and publishing, are empty so
// far.
//
// Every action that talks to the service binds a LiveClient of its own and
// waits for each reply with the dialog disabled under the busy cursor. The
// calls of pages 2 to 4 name the online tournament by the stored assignment
// (liveTurnierID), never by what the tournament box happens to show.
#pragma once

#include "data/livelinkrecords.h"
#include "live/liveclient.h"
#include "live/liverecords.h"
#include "platform/pagestate.h"

#include <QDialog>
#include <QSqlDatabase>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QScrollArea;
class QTabWidget;
class TuiButton;
class TuiCheckbox;

namespace bw {

class Prompter;

namespace zip {
class TZipArchiver;
}

// What the dialog shares with the rest of the program.
struct CourtcastLinks {
    Prompter& prompter;
    std::function<QSqlDatabase()> database;
    const int& aktuelleTID;
    // The login's user id, 0 while logged out; opening or creating a tournament
    // sets it to 0.
    int& liveLoginID;
    // The service's base address.
    const QString& liveServiceURL;
    // The folder of the per-user settings, where "Data.ini" lies.
    QString settingsFolder;
};

class TCourtcastForm : public QDialog {
    Q_OBJECT
public:
    TCourtcastForm(QWidget* parent, const CourtcastLinks& links);

    enum Page { UserPage = 0, KlassenPage = 1, AnmeldungPage = 2, StatistikPage = 3 };

    QLabel* TitleLabel;
    QTabWidget* PageControl1;

    // Page 1, "Systemanmeldung".
    QWidget* SheetUser;
    QWidget* Panel1;
    QGroupBox* LoginGroup;
    QLineEdit* BenutzernameEdit;
    QLineEdit* PassWortEdit;
    TuiButton* LogInButton;
    TuiCheckbox* SaveSettingBox;
    QGroupBox* AssignGroup;
    QComboBox* TurnierAssignBox;
    TuiButton* ZuordButton;
    QLabel* NoTurnierLabel;

    // Page 2, "Turnierklassen-Abgleich": mapping row d holds the label
    // "KlassenLabel_d" (its property "Tag" the online class id) and the list
    // "KlassenBox_d" (item 0 "-- Keine Zuweisung --", then the local classes).
    QWidget* SheetKlassen;
    QWidget* Panel4;
    QGroupBox* KlassenGroup;
    QScrollArea* ScrollBox2;
    QListWidget* KlasseIDBox; // hidden: item 0 "0", item k the KID of local class k
    TuiButton* KlassenAbrufenButton;
    TuiButton* KlassenAssignSaveButton;

    // Pages 3 and 4.
    QWidget* SheetAnmeldung;
    QWidget* SheetStatistik;

    zip::TZipArchiver* ZipArchiver1;

    // The online tournament assigned to the open tournament (Turnierdaten.LiveID).
    int liveTurnierID = 0;
    // The online tournaments of the last successful login.
    QList<OnlineTournament> liveTurniere;
    // The number of mapping rows.
    int onlineKlassenAnzahl = 0;
    // The timeout and size cap of every call (tests shorten the timeout).
    LiveLimits limits;

    // The path of "Data.ini".
    QString dataIniFile() const;

public slots:
    void FormCreate();
    void FormShow();
    void FormClose();
    void LogInButtonClick();
    void UpdateLoginState();
    void ZuordButtonClick();
    void KlassenAbrufenButtonClick();
    void KlassenAssignSaveButtonClick();
    void PageControl1Change(int index);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class Busy;

    void SetBusyCursor();
    void ResetBusyCursor();
    // A new client for one action (GetIServerInfo on the configured address).
    std::unique_ptr<LiveClient> bindService() const;
    QSqlDatabase database() const { return m_links.database(); }
    // Selects the item of the assigned online tournament (the prompt when it is
    // not listed).
    void selectAssignedTournament();
    // Frees the mapping rows and forgets the online classes.
    void freeMappingRows();
    // Rows for these online classes, with the local classes read anew.
    void showMappingRows(QList<OnlineClass> online);

    CourtcastLinks m_links;
    PageState m_page;
    bool m_busy = false;
    // The online classes of the last successful fetch, and the local classes and
    // tournament the rows were built for.
    QList<OnlineClass> m_onlineClasses;
    QList<LinkedClass> m_localClasses;
    int m_rowsTid = 0;
};

} // namespace bw
