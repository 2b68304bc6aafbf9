// The tournament page ("Turnierdaten"), the main window's panel `neuesTurnier`:
// the 28 fields of the open tournament on two tabs, the title that follows the
// name, the save button and the button for the registration form. The page
// shows the tournament of the context: it saves into that tournament's row
// (or inserts a new one while it holds none), but only over the row as the page
// loaded it; when another desk changed it meanwhile, the page shows it anew.
#pragma once

#include "data/tournamentrecords.h"
#include "platform/pagestate.h"

#include <QSqlDatabase>
#include <QWidget>

#include <functional>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class TuiButton;

namespace bw {

struct AppContext;
class Clock;
class Prompter;

struct TournamentPageLinks {
    Prompter& prompter;
    Clock& clock;
    std::function<QSqlDatabase()> database;
    AppContext& context;
    // "Anmeldeformular erzeugen".
    std::function<void()> anmeldeformular;
    // A new tournament was inserted from the page: the planning board may open.
    std::function<void()> tournamentSaved;
};

class TournamentPage : public QWidget {
    Q_OBJECT
public:
    static const QString kNewCaption;    // "Turnier speichern"
    static const QString kChangeCaption; // "Änderung übernehmen"
    static const QString kOpenedCaption; // "Änderung speichern"

    explicit TournamentPage(const TournamentPageLinks& links, QWidget* parent = nullptr);

    QLabel* statictext1;
    TuiButton* turnier_speichern;
    TuiButton* anmeldeformular;
    QTabWidget* Turniermenu;
    QLineEdit* turniername;
    QLineEdit* zusatzname;
    QLineEdit* austragungsort;
    QLineEdit* veranstalter;
    QLineEdit* v_homepage;
    QDateEdit* Tvon;
    QDateEdit* Tbis;
    QLineEdit* gesamtleitung;
    QLineEdit* osr;
    QPlainTextEdit* turnierleitung;
    QPlainTextEdit* schiedsrichter;
    QPlainTextEdit* startberechtigung;
    QPlainTextEdit* turniermodus;
    QPlainTextEdit* meldeinfo;
    QDateEdit* meldeschluss;
    QDateEdit* auslosung;
    QPlainTextEdit* auslosunginfo;
    QPlainTextEdit* meldung_an;
    QLineEdit* tische;
    QLineEdit* netze;
    QLineEdit* baelle;
    QLineEdit* zaehlgeraete;
    QLineEdit* banden;
    QLineEdit* erstehilfe;
    QPlainTextEdit* preise;
    QPlainTextEdit* verpflegung;
    QPlainTextEdit* wegbeschreibung;
    QPlainTextEdit* verschiedenes;

    // The tournament the page shows (0: none) and whether it has changes.
    int shownTid() const { return m_page.key(); }
    PageState::Mode mode() const { return m_page.mode(); }

    // The page as a row, and a row onto the page (as typing would: the page
    // counts as changed).
    TournamentData pageData() const;
    void showData(const TournamentData& data);

    // A tournament was just created with this name (the context names it): the
    // page shows it with every other field empty.
    void showCreated(const QString& name);
    // A tournament was opened: the page shows its row.
    void showOpened(int tid);
    // Fills the page from the tournament's row; nothing to save afterwards.
    void tfelderfuellen(int tid);
    // Empties the page: texts and memos empty, dates today; it shows no tournament.
    void turnierfelderloeschen();
    // Shows every memo of the page from its first line.
    void tmemoserstezeile();

public slots:
    void turnier_speichernClick();
    void turniernameChange();
    void TvonChange();

private:
    void build();
    void connectHandlers();
    void showMode();
    QList<QWidget*> fieldControls() const;
    // After a save refused because another desk changed or deleted the tournament.
    void reloadStale();

    TournamentPageLinks m_links;
    PageState m_page;
    // The row as loaded or last saved: a save writes only over these values.
    std::optional<TournamentData> m_loaded;
};

} // namespace bw
