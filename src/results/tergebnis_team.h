// The match dialog of team classes ("Spielverwaltung"). It carries one team
// match at a time through its life: planning its games (day, time, table,
// umpire) and the line-ups of both teams, calling it up, starting it, taking
// the result of every game and correcting a finished match. The plan panel
// sets it up for the team class it loads (game rows, captions, result items)
// and fills it for one match (fillMode); the caption of `ok` names the action
// okClick runs.
//
// The dialog is a form over a TeamMatch (results/teammatch.h): filling shows
// the model, every action reads the controls back into it. Every write is
// guarded by the state the dialog was filled from: when another desk changed
// the match meanwhile nothing is stored, the dialog says so, closes and has
// the plan rebuild its states.
#pragma once

#include "results/resultdialogsetup.h"
#include "results/teammatch.h"
#include "results/tergebnis.h"

#include <QDialog>
#include <QSqlDatabase>

#include <array>
#include <functional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTabWidget;
class TuiButton;
class TuiCheckbox;

namespace bw {

class Clock;
class Prompter;

inline const QString kKeinSpielergebnis = QStringLiteral("Wählen Sie ein gültiges Spielergebnis");

// What a call-up or start of a team match holds: both teams, and the table and
// umpire of every game.
struct HeldTeamResources {
    int gruppe = -1;
    int mid1 = 0;
    int mid2 = 0;
    QStringList tische;
    QStringList schiris;
};

// A team result confirmed in the dialog, as the team result engine takes it.
struct TeamMatchFinish {
    int kid = 0;
    int spielnummer = 0;
    int gruppe = -1;
    int phase = 0;
    MatchStage expected = MatchStage::Running;
    QString ergebnis; // the whole match "a:b"
    QDateTime spielende; // the end of the result the dialog shows, which a correction expects
    struct Game {
        int nummer = 0;
        QString ergebnis;    // "a:b" in sets, empty when not chosen
        QStringList saetze;  // the set entries as typed, 1 .. 2S-1
        QString platte;      // where it was played
        QString schiri;
    };
    std::vector<Game> games;
    bool schiripool = false;
    bool mirroredIcon = false;
    bool next = false;
};

struct TergebnisTeamLinks {
    Clock* clock = nullptr;
    std::function<QSqlDatabase()> database;
    std::function<bool()> naechstesSpielAnzeigen;
    // The follow-up boxes of the singles dialog, set on every activation too.
    NextBoxes twin;
    // After a stored call-up and start: pools and icons of the plan.
    std::function<void(int spielnummer, const HeldTeamResources&)> matchCalled;
    std::function<void(int spielnummer)> matchStarted;
    // statusladen after a conflict with another desk.
    std::function<void()> rebuildStates;
    // Recording and correcting a team result; true when stored.
    std::function<bool(const TeamMatchFinish&)> spielBeendet;
    std::function<bool(const TeamMatchFinish&)> korrigieren;
    // The umpire sheets of the match's games.
    std::function<void(int kid, int spielnummer)> schiedsrichterzettel;
};

class Tergebnis_team : public QDialog {
public:
    Tergebnis_team(QWidget* parent, Prompter& prompter);
    void setLinks(TergebnisTeamLinks links) { m_links = std::move(links); }
    Prompter& prompter() const { return m_page.prompter(); }

    static constexpr int kSpiele = 9;
    static constexpr int kSaetze = 9;

    QLabel* gruppe;
    TagLabel* team1;
    TagLabel* team2;
    QLabel* snr;        // hidden: the match number
    QLabel* gruppetemp; // hidden: the match's group, -1 outside groups
    TagLabel* manuell;  // hidden: Tag 1 while the match is started by hand
    QLabel* platte;     // hidden: its hint "x" when opened from the mirrored icon

    // The line-up choices of team 1 (c) and team 2 (d), in the order of
    // kTeamPositions: spielerc1..spielerc4, spielerc11, spielerc21.
    std::array<QComboBox*, 6> spielerc{};
    std::array<QComboBox*, 6> spielerd{};
    std::array<QLabel*, 6> spielera{};
    std::array<QLabel*, 6> spielerb{};

    QTabWidget* PageControl1;
    QWidget* TabSheet1; // "Spielplanung"
    QWidget* TabSheet2; // "Spiel aufgerufen"
    QWidget* TabSheet3; // "Fertig"

    // Per game n (index n-1).
    std::array<QLabel*, kSpiele> spiel{};
    std::array<QDateEdit*, kSpiele> tag{};
    std::array<QLineEdit*, kSpiele> zeit{};
    std::array<QComboBox*, kSpiele> tisch{};
    std::array<QComboBox*, kSpiele> schiri{};
    std::array<QLabel*, kSpiele> sp{};
    std::array<QComboBox*, kSpiele> erg{};
    std::array<std::array<QLineEdit*, kSaetze>, kSpiele> satz{}; // satz11 .. satz99
    TuiCheckbox* next1; // "nächstes mögliches Spiel aufrufen"

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

    QComboBox* ergebniscombo; // the result of the whole team match
    TuiCheckbox* schiripool;
    TuiCheckbox* next; // "nächstes mögliches Spiel anzeigen"

    TuiButton* drucken;
    TuiButton* ok;
    TuiButton* cancel;

    // Shows the rows of the class's games and sets, fills the result lists;
    // the set-up is kept.
    void setResultSetup(const ResultDialogSetup& setup);
    const ResultDialogSetup& resultSetup() const { return m_setup; }

    // Fills the dialog with `match` in a mode: page, caption, teams, line-ups,
    // the games' plans with their lists, and in the finished mode the stored
    // results. Stores nothing.
    void fillMode(TergebnisMode mode, const TeamMatch& match, bool byHand = false);
    TergebnisMode mode() const { return m_mode; }
    // The match as the controls hold it.
    TeamMatch match() const;

    void FormActivate();
    bool okClick();
    void cancelClick();
    void druckenClick();
    void erg1Change(int game);
    void satz11Exit(QLineEdit* entry);
    void aufruf2_sp1Click(TuiCheckbox* box);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSqlDatabase db() const { return m_links.database(); }
    QDateTime now() const;
    void setPage(QWidget* page);
    // Where the mode's next step is: the first game's table when planning or
    // calling up, the confirm button of a called match, the result otherwise.
    QWidget* nextStep() const;
    void showSetEntry(QLineEdit* entry, bool active);
    bool refuse(const QString& message);
    bool store(const std::function<void()>& write);
    // The games' plans, or nothing after the message naming a bad time.
    std::optional<std::vector<TeamGamePlan>> gamePlans();
    bool tablesValid();
    HeldTeamResources heldResources() const;
    bool finish(bool korrigieren);

    PageState m_page;
    TergebnisTeamLinks m_links;
    TergebnisMode m_mode = TergebnisMode::Planen;
    TeamMatch m_match;
    ResultDialogSetup m_setup;
    int m_setEntries = 0;
    bool m_checking = false;
};

} // namespace bw
