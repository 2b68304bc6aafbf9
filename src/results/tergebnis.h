// The match dialog of singles, doubles and mixed classes ("Spielverwaltung").
// It carries one match at a time through its life: planning it (table, day,
// time, umpire), calling it to a table, starting it, taking its result set by
// set and correcting a finished result. The plan panel fills it for the match
// whose status icon was clicked (fillMode) and chooses the action by the
// caption of `ok`, which okClick dispatches on.
//
// Every write is guarded by the state the dialog was filled from: when another
// desk changed the match meanwhile nothing is stored, the dialog says so,
// closes and has the plan rebuild its states. Any other failure shows its error
// and leaves the dialog open with what was typed.
#pragma once

#include "data/matchdialogrecords.h"
#include "platform/pagestate.h"
#include "results/matchdialoglink.h"
#include "results/resultdialogsetup.h"

#include <QDialog>
#include <QLabel>
#include <QSqlDatabase>

#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QMenu;
class QAction;
class QTabWidget;
class TuiButton;
class TuiCheckbox;

namespace bw {

class Clock;
class Prompter;

// A label that keeps a number beside its text.
class TagLabel : public QLabel {
public:
    using QLabel::QLabel;
    int Tag = 0;
};

// The five ways the dialog is opened, by the match's state.
enum class TergebnisMode {
    Planen,     // waiting: "Übernehmen"
    Aufrufen,   // playable (or started by hand): "Aufrufen"
    Aufgerufen, // called: "Spiel starten"
    Starten,    // running: "Spiel beendet"
    Beendet,    // finished: "Korrigieren"
};

inline const QString kUebernehmen = QStringLiteral("Übernehmen");
inline const QString kAufrufen = QStringLiteral("Aufrufen");
inline const QString kSpielStarten = QStringLiteral("Spiel starten");
inline const QString kSpielBeendet = QStringLiteral("Spiel beendet");
inline const QString kKorrigieren = QStringLiteral("Korrigieren");

inline const QString kKeinePlatte = QStringLiteral("Wählen Sie eine gültige Platte");
inline const QString kKeinSatzergebnis = QStringLiteral("Wählen Sie ein gültiges Satzergebnis");
inline const QString kKeinSatzwert = QStringLiteral("Keinen korrekten Wert eingegeben");
inline const QString kKeineUhrzeit = QStringLiteral("Geben Sie eine gültige Uhrzeit ein");

// The colour of a set entry that takes a set of the chosen result.
constexpr quint32 kSatzFarbe = 16770809;

// A set entry plain and white, or flat with a frame in kSatzFarbe when it
// takes a set. Shared by the singles and the team dialog.
void paintSetEntry(QLineEdit* entry, bool active);

// A date picker of the dialogs changes only where the organiser works on it:
// it takes the focus by a click or the tab key, never as the first control of
// a page, and the wheel turns it only while it has the focus, not while the
// pointer passes over it.
void guardDateEdit(QDateEdit* edit);

// The page "Spiel aufgerufen" of both dialogs: the sides and the umpire, each
// with its boxes "2. Aufruf" and "3. Aufruf", named by their later-call
// columns and returned in that order.
std::array<TuiCheckbox*, 6> addLaterCallBoxes(QWidget* page, const QString& side1, const QString& side2);

// The two follow-up boxes of a result dialog: "nächstes mögliches Spiel
// anzeigen" (`next`) and "nächstes mögliches Spiel aufrufen" (`next1`).
struct NextBoxes {
    TuiCheckbox* next = nullptr;
    TuiCheckbox* next1 = nullptr;
};

// The activation of either result dialog sets the boxes of both: `next` to the
// program-wide default, `next1` ticked. The offer of next matches calls up
// only while all four are ticked, so a dialog never shown since the start, or
// a box unticked in the other dialog, would otherwise end it for good.
void setNextBoxes(NextBoxes own, NextBoxes twin, bool anzeigen);

// What the dialog needs of the program.
struct TergebnisLinks {
    Clock* clock = nullptr; // the moment every call and start stores
    std::function<QSqlDatabase()> database;
    // The default of "nächstes mögliches Spiel anzeigen".
    std::function<bool()> naechstesSpielAnzeigen;
    // The follow-up boxes of the team dialog, set on every activation too.
    NextBoxes twin;
    // The main window's work area and the planning board, disabled while the
    // dialog is open.
    std::function<void(bool enabled)> setWorkAreaEnabled;
    MatchDialogPlanLink* plan = nullptr;

    // Hand-overs to the parts that print and record: the umpire sheet of the
    // match; recording a result ("Spiel beendet") and correcting one
    // ("Korrigieren"), each true when it was stored; taking the match back
    // ("Spiel zurücksetzen") by the state the dialog was filled from.
    std::function<void(int kid, int spielnummer)> schiedsrichterzettel;
    std::function<bool(const MatchFinish&)> spielBeendet;
    std::function<bool(const MatchFinish&)> korrigieren;
    std::function<void(int kid, int spielnummer, MatchStage shown)> spielZuruecksetzen;
};

class Tergebnis : public QDialog {
    Q_OBJECT
public:
    Tergebnis(QWidget* parent, Prompter& prompter);
    void setLinks(TergebnisLinks links) { m_links = std::move(links); }
    Prompter& prompter() const { return m_page.prompter(); }

    static constexpr int kSaetze = 9;

    // Upper panel.
    TagLabel* spieler1;
    TagLabel* spieler2;
    QLabel* gruppe;
    QLabel* platte;
    QLabel* schiri;
    QDateEdit* starttag;
    QLineEdit* startzeit;
    TuiButton* JetztButton;
    QLabel* snr;          // hidden: the match number
    QLabel* gruppetemp;   // hidden: the match's group, -1 outside groups
    TagLabel* manuell;    // hidden: Tag 1 while a match is started by hand

    QTabWidget* PageControl1;
    QWidget* TabSheet1; // "Spielplanung"
    QWidget* TabSheet2; // "Spiel aufgerufen"
    QWidget* TabSheet3; // "Fertig"

    // "Spielplanung"
    QComboBox* plattencombo;
    QComboBox* schiricombo;
    QLabel* geplanter_tisch;
    TuiCheckbox* next1; // "nächstes mögliches Spiel aufrufen"

    // "Spiel aufgerufen": second and third call of player 1, player 2 and the
    // umpire, in the order of kLaterCallColumns.
    TuiCheckbox* aufruf2_sp1;
    TuiCheckbox* aufruf3_sp1;
    TuiCheckbox* aufruf2_sp2;
    TuiCheckbox* aufruf3_sp2;
    TuiCheckbox* aufruf2_sch;
    TuiCheckbox* aufruf3_sch;
    std::array<TuiCheckbox*, 6> aufrufe() const
    {
        return {aufruf2_sp1, aufruf3_sp1, aufruf2_sp2, aufruf3_sp2, aufruf2_sch, aufruf3_sch};
    }

    // "Fertig"
    QComboBox* ergebniscombo;
    std::array<QLineEdit*, kSaetze> satz{}; // satz1 .. satz9
    QLabel* satzhinweis;                    // "(z.B. +9  -7  +3)"
    TuiCheckbox* schiripool;
    TuiCheckbox* next; // "nächstes mögliches Spiel anzeigen"

    TuiButton* drucken;
    TuiButton* ok;
    TuiButton* uiButton1; // the arrow beside ok: the action menu
    TuiButton* cancel;

    QMenu* MyPopupMenu;
    QAction* Spielstarten1;        // "Aktuelle Aktion + drucken"
    QAction* Spielstartendrucken1; // "Spiel starten + drucken"
    QAction* SaveChanges1;         // "Nur Änderung speichern"
    QAction* Drucken1;             // "Drucken"
    QAction* Spielbeenden1;        // "Spiel zurücksetzen"

    // Shows the set entries 1 .. 2S-1 and fills the result list; the set-up is kept.
    void setResultSetup(const ResultDialogSetup& setup);
    const ResultDialogSetup& resultSetup() const { return m_setup; }

    // Fills the dialog for match `row` of class `kid` in a mode: its page and
    // caption, the header, the planned day (else `classDay`) and time (else
    // empty), and the mode's controls. `tables` and `umpires` are the lists
    // the mode offers (all of the group and class when planning, the free
    // ones when calling up); `byHand` marks a match started by hand. Stores
    // nothing.
    void fillMode(TergebnisMode mode, int kid, const MatchDialogRow& row, const QStringList& tables,
                  const QStringList& umpires, const QDate& classDay, bool byHand = false);
    TergebnisMode mode() const { return m_mode; }
    int kid() const { return m_kid; }

    // The handlers.
    void FormActivate();
    void FormClose();
    // Runs the action of ok's caption; true when it was stored.
    bool okClick();
    void cancelClick();
    void aufruf2_sp1Click(TuiCheckbox* box);
    void ergebniscomboChange();
    void plattencomboChange();
    void satz1Exit(QLineEdit* entry);
    void startzeitExit();
    void JetztButtonClick();
    bool PageControl1Changing() const { return false; } // the user never switches pages
    void uiButton1Click();
    void MyPopupMenuPopup();
    void Spielstarten1Click();
    void Spielstartendrucken1Click();
    void SaveChanges1Click();
    void Spielbeenden1Click();
    void druckenClick();

    // The writes of the actions, for the match number.
    void db_planen(int spielnummer);
    void db_aufgerufen(int spielnummer);
    void db_starten(int spielnummer);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSqlDatabase db() const { return m_links.database(); }

    QDateTime now() const;
    void setPage(QWidget* page);
    // The control where the mode's next step is: the table when planning or
    // calling up, the confirm button of a called match, the result otherwise.
    QWidget* nextStep() const;
    void showSetEntry(QLineEdit* entry, bool active);
    // The table text is one of plattencombo's entries.
    bool tableListed() const;
    // Checks the start time; false (after the warning) when it is no time.
    bool startTimeValid();
    std::optional<QTime> startTime() const;
    MatchPlan plan() const;
    MatchCall call() const;
    HeldResources heldResources() const;
    // Runs a write of the dialog's match. A conflict with another desk shows
    // its message, closes the dialog and rebuilds the plan's states; another
    // failure shows its error and keeps the dialog open. True when it stored.
    bool store(const std::function<void()>& write);
    // A check failed: the warning, and ok enabled again; false.
    bool refuse(const QString& message);
    void finishAction();
    void printSheet(int kid, int spielnummer);

    PageState m_page;
    TergebnisLinks m_links;
    TergebnisMode m_mode = TergebnisMode::Planen;
    MatchStage m_stage = MatchStage::Open; // the state the dialog was filled from
    QDateTime m_spielende;                 // and the end of its result
    int m_kid = 0;
    int m_phase = 0;
    ResultDialogSetup m_setup;
    int m_setEntries = 0; // the set entries shown: 1 .. 2S-1
    bool m_checking = false; // a leave check shows its warning
};

} // namespace bw
