// The live-results dialog "Courtcast Anbindung", through which the desk links
// the open tournament to the Courtcast service. Its first page logs in (the
// login may be remembered in "Data.ini" in the user's settings folder) and
// assigns the tournament to one of the user's online tournaments; its second
// page maps the tournament's classes to the online classes. Its third page
// fetches the online registrations and takes the ticked ones over into the
// tournament (registrationtakeover.h); its fourth publishes a class with its
// players and matches, one class per click.
//
// Every action that talks to the service binds a LiveClient of its own and
// waits for each reply under the busy cursor, the pages kept from the user.
// A call ends at its deadline at the latest; the user ends it at once with
// "Abbrechen" on the publish page's progress panel, or by closing the dialog
// (also with Escape), which otherwise stays open while a call waits. The
// calls of pages 2 to 4 name the online tournament by the stored assignment
// (liveTurnierID), never by what the tournament box happens to show.
#pragma once

#include "data/livelinkrecords.h"
#include "live/liveclient.h"
#include "live/liverecords.h"
#include "platform/pagestate.h"

#include <QDialog>
#include <QSqlDatabase>
#include <QStringList>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
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
    // The player being edited; a take-over of registrations leaves the last
    // player it wrote there (none: not kept).
    int* aktuelleSID = nullptr;
    // Servers besides the service's own that its description may send the
    // calls to (the per-user settings' [Live] Endpunkte).
    QStringList trustedEndpoints{};
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

    // Page 3, "Spieler-Anmeldungen": registration row i (the record's index from
    // 1) holds "SpielerLabel_i", "AnmeldeKlassenLabel_i" and "AnmeldeCheckbox_i".
    QWidget* SheetAnmeldung;
    QScrollArea* ScrollBox1;
    QLabel* NoAnmeldungLab;
    TuiButton* GetAnmeldungButton;
    TuiButton* AnmeldungSetButton;
    TuiCheckbox* NurNeuBox;

    // Page 4, "Daten veröffentlichen": publish row n holds "StatistikLabel_n"
    // (its "Tag" the online class id, 0 for none: then red) and the button
    // "StatistikButton_n" (its "Tag" the class's KID).
    QWidget* SheetStatistik;
    QScrollArea* ScrollBox3;
    QWidget* StatistikPanel;
    QLabel* Label12;
    QProgressBar* ProgressBar1;
    QLabel* StatistikPublishLabel;
    // Ends the call in progress ("Abbrechen"); usable only while one waits.
    TuiButton* AbbrechenButton;

    zip::TZipArchiver* ZipArchiver1;

    // The online tournament assigned to the open tournament (Turnierdaten.LiveID).
    int liveTurnierID = 0;
    // The online tournaments of the last successful login.
    QList<OnlineTournament> liveTurniere;
    // The number of mapping rows.
    int onlineKlassenAnzahl = 0;
    // The last reply of GetAnmeldung (empty before the first fetch), its
    // registrations (record i at index i - 1) and how many rows they made room for.
    QString anmeldungAntwort;
    QList<AnmeldungRecord> anmeldungen;
    int anmeldungAnzahl = 0;
    // The number of publish rows.
    int statistikAnzahl = 0;
    // The deadline and size cap of every call (tests shorten the deadline) and
    // the servers trusted besides the service's own.
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
    void GetAnmeldungButtonClick();
    void ShowAnmeldungen(const QString& reply);
    void NurNeuBoxClick();
    void AnmeldungSetButtonClick();
    void BuildStatistikRows();
    void FreeStatistikRow(int row);
    void StatistikPublish(TuiButton* button);

    // Ends the call in progress at once (it fails with LiveCancelled); nothing
    // when none waits.
    void cancelCall();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    // The dialog waits for the service: the pages kept from the user, only
    // "Abbrechen" usable, under the busy cursor, until the scope ends or
    // release() is called.
    class Busy {
    public:
        explicit Busy(TCourtcastForm& form) : m_form(form) { m_form.SetBusyCursor(); }
        ~Busy() { release(); }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
        void release()
        {
            if (!m_released)
                m_form.ResetBusyCursor();
            m_released = true;
        }

    private:
        TCourtcastForm& m_form;
        bool m_released = false;
    };

    void SetBusyCursor();
    void ResetBusyCursor();
    void setWorkEnabled(bool enabled);
    // A new client for one action (GetIServerInfo on the configured address).
    std::unique_ptr<LiveClient> bindService();
    // Runs an action that calls the service; one the user cancelled ends with
    // the information that it was.
    void cancellable(const std::function<void()>& action);
    QSqlDatabase database() const { return m_links.database(); }
    // Selects the item of the assigned online tournament (the prompt when it is
    // not listed).
    void selectAssignedTournament();
    // Frees the mapping rows and forgets the online classes.
    void freeMappingRows();
    // Rows for these online classes, with the local classes read anew.
    void showMappingRows(QList<OnlineClass> online);
    void buildRegistrationPage();
    void buildPublishPage();
    // Frees the registration rows and forgets the registrations.
    void freeRegistrationRows();
    // Shows a publish step's text at once.
    void showStep(const QString& text);

    CourtcastLinks m_links;
    PageState m_page;
    bool m_busy = false;
    LiveCancel m_cancel;
    // The online classes of the last successful fetch, and the local classes and
    // tournament the rows were built for.
    QList<OnlineClass> m_onlineClasses;
    QList<LinkedClass> m_localClasses;
    int m_rowsTid = 0;
    // The tournament the registrations were fetched for.
    int m_registrationsTid = 0;
};

} // namespace bw
