// The draw wizard "Auslosung": one page per phase of a class and a last page
// for its tables. It only shows its DrawModel (drawmodel.h) and hands the
// user's drags, keys and clicks to it; everything it shows is read when it
// opens, once per opening, for the class that is current then, and stays that
// class's until it closes, whatever else the main window opens meanwhile.
//
// Opening: set `Tag` (1 the first draw of all phases, 2 a new draw of phase
// `redrawPhase`) and show it; mode 1 through TMainform::showWorkDialog (the
// work area disabled until it closes), mode 2 with the main window enabled.
// Every way of closing ends in QDialog::finished, which enables the work area
// again.
//
// The draw routines and the saving are set from outside: `losen` runs behind
// the three "Losen" buttons, `fertigStellen` behind "Fertig stellen".
#pragma once

#include "draw/drawmodel.h"

#include <QDialog>
#include <QSqlDatabase>

#include <array>
#include <functional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QScrollArea;
class QStackedWidget;
class QWidget;
class TuiButton;
class TuiCheckbox;
class TuiContainer;

namespace bw {

class BracketView;
class DrawListBox;
class Prompter;
struct DrawDrag;

struct AuslosungLinks {
    Prompter& prompter;
    std::function<QSqlDatabase()> database;
    const int& aktuelleTID;
    const int& aktuelleKID;
};

// What the page's options say when "Losen" is pressed.
struct DrawOptions {
    int randomSeeds = 0;            // RadioGroup1..3: 0 seeds in order ("fest", "nach System"), 1 at random
    bool vereinBeachten = false;    // Checkbox1 "Vereinszugehörigkeit beachten" (phase 1)
    bool freiloseZufaellig = false; // Checkbox2..4 "Freilose zufällig verteilen"
};

class Tauslosungsform : public QDialog {
public:
    Tauslosungsform(QWidget* parent, const AuslosungLinks& links);
    ~Tauslosungsform() override;

    // The mode the wizard opens in: 1 the first draw of every phase of a class
    // (from the group set-up page), 2 a new draw of one phase.
    int Tag = 0;
    // Mode 2: the phase drawn anew (1..3).
    int redrawPhase = 1;

    // "Losen" of `phase` (1..3): draws what the phase's lists still hold into
    // its groups or bracket. Without it the buttons do nothing.
    std::function<void(DrawModel& model, int phase, const DrawOptions& options)> losen;
    // "Fertig stellen": checks, saves and generates the plan; true when the
    // wizard is done and closes. Without it the button does nothing.
    std::function<bool(Tauslosungsform& form)> fertigStellen;

    // The tournament the wizard was opened in (its class is model().kid()).
    int tid() const { return m_tid; }
    DrawModel& model() { return m_model; }
    const DrawModel& model() const { return m_model; }
    QSqlDatabase database() const { return m_links.database(); }
    Prompter& prompter() { return m_links.prompter; }
    DrawOptions options(int phase) const;

    // Reads the class and lays the pages out (FormActivate); opening does it once.
    void laden();
    // Shows the model anew after it was changed from outside (a draw).
    void refresh();

    // Components.
    TuiContainer* uiContainer1;
    QLabel* StaticText1;
    QLabel* StaticText2;
    QLabel* StaticText3;
    QLabel* StaticText4;
    QLabel* StaticText5;
    QLabel* StaticText6;
    QLabel* StaticText10;
    QStackedWidget* auslosungsphasen;
    QWidget* phase1;
    QWidget* phase2;
    QWidget* phase3;
    QWidget* platten;
    DrawListBox* ListBox1;
    DrawListBox* ListBox2;
    DrawListBox* ListBox3;
    DrawListBox* ListBox4;
    DrawListBox* ListBox5;
    QGroupBox* RadioGroup1;
    QGroupBox* RadioGroup2;
    QGroupBox* RadioGroup3;
    QGroupBox* RadioGroup5;
    TuiCheckbox* Checkbox1;
    TuiCheckbox* Checkbox2;
    TuiCheckbox* Checkbox3;
    TuiCheckbox* Checkbox4;
    TuiButton* uiButton1;
    TuiButton* uiButton2;
    TuiButton* uiButton3;
    TuiButton* ph1_del;
    TuiButton* ph2_del;
    TuiButton* ph3_del;
    QScrollArea* ScrollBox1;
    QScrollArea* ScrollBox4;
    QScrollArea* ScrollBox5;
    QScrollArea* ScrollBox6;
    TuiButton* cancel;
    TuiButton* zurueck;
    TuiButton* weiter;
    TuiButton* fertig;

    // The run-time controls of the pages: per phase its group lists or its
    // bracket, and the per-group table lists.
    const QList<DrawListBox*>& gruppenlisten(int phase) const { return m_gruppenlisten[size_t(phase - 1)]; }
    BracketView* kolabels(int phase) const { return m_brackets[size_t(phase - 1)]; }
    const QList<DrawListBox*>& plattenlisten() const { return m_plattenlisten; }

    // Handlers.
    void weiterClick();
    void zurueckClick();
    void cancelClick();
    void fertigClick();
    void uiButton1Click() { losenClick(1); }
    void uiButton2Click() { losenClick(2); }
    void uiButton3Click() { losenClick(3); }
    void ph1_delClick() { allesLoeschen(1); }
    void ph2_delClick() { allesLoeschen(2); }
    void ph3_delClick() { allesLoeschen(3); }
    void RadioGroup5Click(int index);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* buildPhasePage(int p);
    QWidget* buildTablesPage();
    void connectHandlers();
    void layOutPhase(int p);
    void layOutTables();
    void showStep();
    void showLists();
    void showPhase(int p);
    void showTables();
    void losenClick(int p);
    void allesLoeschen(int p);
    void listDrop(DrawList target, const DrawDrag& drag);
    void groupDrop(int p, int group, int row, const DrawDrag& drag);
    void slotDrop(int p, int slot, const DrawDrag& drag);
    void tableListDrop(int list, const DrawDrag& drag);
    void availableTablesDrop(const DrawDrag& drag);
    // Runs a user action on the model and shows the outcome.
    void act(const std::function<bool()>& change);

    AuslosungLinks m_links;
    DrawModel m_model;
    int m_tid = 0;
    bool m_loaded = false;
    std::array<DrawListBox*, 3> m_participantLists{};
    std::array<QButtonGroup*, 3> m_seedChoice{};
    QButtonGroup* m_tableChoice = nullptr;
    std::array<QList<DrawListBox*>, 3> m_gruppenlisten;
    std::array<BracketView*, 3> m_brackets{};
    std::array<QWidget*, 4> m_canvas{};
    QList<DrawListBox*> m_plattenlisten;
    int m_tablesWidth = -1;
};

} // namespace bw
