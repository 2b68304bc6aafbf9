// The group set-up page ("Gruppeneinteilung für ..."), the main window's panel
// `Gruppen`: how one class is played (up to three phases, each with its play
// system and group values), its entrants with their check-in (red: not checked
// in), its seed slots and, in a doubles or mixed class, the players without
// partner. Entries are dragged between the lists to seed, swap and empty slots
// and to pair and split players; "Spielsystem speichern" stores the settings and
// seeds, "Zur Auslosung -->" checks and stores them and opens the draw.
//
// The page only shows the data module Tgruppe and hands the user's choices to
// it: the rules between the values, the seeding and the pairing are Tgruppe's.
// It follows the page pattern (platform/pagestate.h): it shows the module's
// state under its fill guard, so showing is never taken for a choice of the
// user; its key is the loaded class, and its mode says whether the settings or
// seeds hold changes not saved yet.
#pragma once

#include "draw/groupsettingsmodel.h"
#include "platform/pagestate.h"

#include <QSqlDatabase>
#include <QWidget>

#include <array>
#include <functional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QSpinBox;
class QTabWidget;
class TuiButton;

namespace bw {

class EntryList;
class Prompter;
class RandomSource;
class Tgruppe;

// What the page shares with the rest of the program.
struct GroupSetupPageLinks {
    Prompter& prompter;
    RandomSource& random;
    std::function<QSqlDatabase()> database;
    Tgruppe& gruppe;
    const int& aktuelleTID;
    int& aktuelleKID;
    // Opens the draw wizard for a first draw of the loaded class.
    std::function<void()> openDraw;
};

class GroupSetupPage : public QWidget {
    Q_OBJECT
public:
    explicit GroupSetupPage(const GroupSetupPageLinks& links, QWidget* parent = nullptr);

    QLabel* StaticText22;
    QTabWidget* gruppeneinteilung;
    QWidget* allgemein1;
    // Per phase (index 0 = phase 1): the panel, the play-system radio group
    // (ids = PlaySystem) and its box, the group values and their spin edits.
    std::array<QGroupBox*, kPhaseCount> spielsystempanel{};
    std::array<QGroupBox*, kPhaseCount> spielsystemBox{};
    std::array<QButtonGroup*, kPhaseCount> spielsystem{};
    std::array<QWidget*, kPhaseCount> ph_gruppe{};
    std::array<QSpinBox*, kPhaseCount> gruppenanzahl{};
    std::array<QSpinBox*, kPhaseCount> teilnehmer{};
    std::array<QSpinBox*, kPhaseCount> beste{};
    std::array<QSpinBox*, kPhaseCount> bestplazierte{};
    QLabel* StaticText11;
    EntryList* gemeldete_spieler;
    QLabel* spieleranzahl;
    QLabel* StaticText12;
    QSpinBox* gesetztespieleredit;
    EntryList* gesetztespielerliste;
    QGroupBox* doppelpanel;
    EntryList* ohnepartner;
    TuiButton* uiButton7;
    TuiButton* spielsystem_create;
    TuiButton* zurauslosung;

    // The spin edit of a phase's value.
    QSpinBox* valueEdit(int phase, GroupSettingsModel::Value value) const;
    // Whether settings or seed slots were changed since the class was loaded or saved.
    bool hasChanges() const { return m_page.hasChanges(); }

public slots:
    // A class item of "Turnierklassen" was chosen: loads the class its caption names.
    void openClass(const QString& caption);

    void spielsystemClick(int phase, int system);
    void valueChange(int phase, GroupSettingsModel::Value value, int newValue);
    void gesetztespielereditChange(int value);
    void gemeldete_spielerClick();
    void gesetztespielerlisteClick();
    // Drops: the list the drag came from, the dragged row, the row under the drop point.
    void gesetztespielerlisteDragDrop(EntryList* source, int sourceRow, int targetRow);
    void gemeldete_spielerDragDrop(EntryList* source, int sourceRow, int targetRow);
    void ohnepartnerDragDrop(EntryList* source, int sourceRow, int targetRow);
    void uiButton7Click();
    void spielsystem_createClick();
    void zurauslosungClick();

private:
    void build();
    QGroupBox* buildPhase(int p);
    void connectHandlers();
    // Shows the data module's state.
    void showSettings();
    void showLists();
    // A write of the data module (PageState::write), then the module shown.
    bool write(const std::function<void()>& body, const std::function<void()>& reload = {});
    void saved();

    GroupSetupPageLinks m_links;
    PageState m_page;
};

} // namespace bw
