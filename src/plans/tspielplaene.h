// The data module of the match plans: it shows one class's plans on the plan
// panel and runs the panel's operations on the class of its PlanSession. Every
// page is rebuilt from the database whenever the plans are shown again.
#pragma once

#include "plans/groupplanlayout.h"
#include "plans/matchflow.h"
#include "data/matchdialogrecords.h"
#include "plans/plansession.h"
#include "results/resultplanlink.h"

#include <QDate>
#include <QHash>
#include <QMenu>
#include <QObject>
#include <QPixmap>
#include <QSqlDatabase>

#include <functional>
#include <optional>
#include <memory>

class QScrollArea;
class QTimer;

namespace bw {

class MatchDialogs;
class PlanCanvas;
class PlacementPage;
class PlanIcon;
class PlanPanel;
class Prompter;
class Tergebnis;
class Tergebnis_team;
class Tspielplan_form;

// The context menu of a status icon; its Tag holds the state of the icon
// pressed last.
class PlanPopupMenu : public QMenu {
    Q_OBJECT
public:
    PlanPopupMenu();
    int Tag = 0;
    QAction* Spielmauellstarten1;
    QAction* Spielzurcksetzen1;
};

// The printouts of a phase's plan, offered by the printing module: size, flag
// and phase as the print icon hands them on.
class PlanPrinter {
public:
    virtual ~PlanPrinter() = default;
    virtual void gruppenplan(int size, int flag, int phase) = 0;
    virtual void koplan(int size, int flag, int phase) = 0;
    virtual void doppelterkoplan(int size, int flag, int phase) = 0;
};

// What the module needs of the program.
struct PlanLinks {
    Prompter* prompter = nullptr;
    std::function<QSqlDatabase()> database;
    // The tournament's first day (a class without start day starts then).
    std::function<QDate()> firstDay;
    // A file of the program folder ("images\\replace.bmp").
    std::function<QString(const QString&)> programFile;
    // Opens the draw wizard in mode 2 for the phase.
    std::function<void(int phase)> redrawPhase;
    // The match list viewer, whose title the panel sets, and what shows it
    // (the work area disabled until it closes).
    Tspielplan_form* spielplan_form = nullptr;
    std::function<void()> showMatchList;
    PlanPrinter* printer = nullptr;
    // The result dialogs, set up for the class loaded.
    Tergebnis* ergebnis = nullptr;
    Tergebnis_team* ergebnis_team = nullptr;
    // The main window's reminder timer, switched on while a started class is shown.
    QTimer* Timer1 = nullptr;
    // Shows (true) or hides (false) the busy animation over the plan panel.
    std::function<void(bool shown)> busy;
    // The result dialogs in their modes; a click on a status icon opens them.
    MatchDialogs* dialogs = nullptr;
    // Ranks a group's standings and stores its positions (TData_Unit::Tabelle_Rechnen).
    std::function<void(int kid, int gid)> tabelleRechnen;
    // "Spiel zurücksetzen" of a team class (it comes with the team matches).
    std::function<void(int spielnummer, MatchStage shown)> teamSpielZuruecksetzen;
    // Fills the certificate dialog with an entrant's name and club and the plan's
    // title, and pops up "Urkunde drucken" at the pointer.
    std::function<void(const QString& name, const QString& club, const QString& planTitle, QPoint globalPos)>
        prepareCertificate;
};

inline const QString kPhase1Open = QStringLiteral("Phase 1 muss abgeschlossen sein um Phase 2 neu auszulosen");
inline const QString kPhase2Open = QStringLiteral("Phase 2 muss abgeschlossen sein um Phase 3 neu auszulosen");
inline const QString kDoubleKoFailed = QStringLiteral("Die Ermittlungen für das Doppel-KO-System schlug leider fehl.");
inline const QString kRedrawLosesResults = QStringLiteral(
    "In dieser Phase wurden bereits Spiele gespielt. Ihre Ergebnisse gehen beim neuen Auslosen verloren. "
    "Trotzdem neu auslosen?");

class Tspielplaene : public QObject, public ResultPlanLink {
    Q_OBJECT
public:
    explicit Tspielplaene(QObject* parent);

    // Connects the module to its panel; the panel's handlers run through it.
    void attach(PlanPanel* panel, PlanLinks links);
    PlanPanel* panel() const { return m_panel; }
    PlacementPage* placement() const { return m_placement; }
    PlanSession& session() { return m_session; }

    // Opens the plans of the class named by a "Spielpläne" item's caption
    // ("U18 (m) (Einzel)"); false (nothing changed) for a caption of no kind.
    bool openClass(int tid, const QString& caption);

    void infosladen(int kid);
    void planshow(int kid);
    void gruppenplanerstellen(int kid, int phase);
    // The bracket of a knock-out or double knock-out phase at zoom 1..3; without
    // a first-round match the page keeps what it shows.
    void koplanerstellen(int kid, int phase, int zoom);
    void doppeltes_koplanerstellen(int kid, int phase, int zoom);
    void zoom(int z);
    void sp_contolChange();
    void GruppeDarBoxChange();
    void turniergoClick();
    // The class start: phase 1 in front, its matches with both entrants named
    // marked playable, the offer of phase 1, the demotion, the start button
    // disabled. Nothing is written.
    void turniergo(int kid);
    // The playability check of one open match (it only promotes).
    bool spielmoeglich(int phase, int gruppe, int spielnummer, int sid1, int sid2);
    // Sets open matches whose entrants or table are no longer free back to waiting.
    void planupdate();
    // Offers the playable matches of the phase for call-up, one after another.
    void possiblegames(int phase);
    // Rebuilds the states and pools of the class shown from its rows (a team
    // class through its own rebuild); disables the start button when a match
    // is called, running or finished.
    void statusladen(int kid);
    // A call-up was confirmed: its resources leave the pools, its icons show
    // it called, and the open matches that lost them go back to waiting.
    void aufgerufen(int spielnummer, const MatchResources& resources);
    // A called match was started.
    void gestartet(int spielnummer);
    // The state of a match changed: every page that shows it shows it.
    void showState(int spielnummer);
    // Whether the class shown is a team class (its title ends in " (Team)").
    bool teamClass() const;
    void spielplananzeigen(int tag);
    void neulosen();
    void plandrucken();
    // The match number of a status icon's name: the integer from its first
    // digit to its end ("status12" and "statusx12" give 12); 0 without one.
    static int getid(const QString& name);
    // A status icon of that name and Tag was clicked: opens the dialog of the
    // match's state.
    void statusClick(const QString& name, int tag);
    // A mouse button was pressed on a status icon: remembers the match and its
    // state; the right button opens PopupMenu1 at the pointer.
    void statusMouseDown(const QString& name, int tag, Qt::MouseButton button, QPoint globalPos);
    // The context menu: "Spiel zurücksetzen" moves the match pressed last one
    // state back by the state its icon showed; "Spiel manuell starten" calls
    // it up with a table the pools do not offer.
    void Spielzurcksetzen1Click();
    void Spielmauellstarten1Click();
    // Moves match `spielnummer` of the class shown one state back from the
    // state `shown`; a team class's through its own take-back.
    void spielZuruecksetzen(int spielnummer, MatchStage shown);

    // What result entry reaches of the plan (after its transaction).
    bool hasPool(const QString& name) const override;
    QStringList poolNames() const override;
    QStringList poolTexts(const QString& name) const override;
    void addToPool(const QString& name, const QString& text, int id) override;
    void relabelSlots(int phase, const QString& placeholder, const QString& text, int id) override;
    void rebuildStates(int kid) override;
    void redraw(int kid) override;
    void offerNextMatches(int kid, int phase) override;

    // Owned by the module (a menu without a parent window).
    PlanPopupMenu* PopupMenu1 = nullptr;
    // The mouse handlers of every name label: a right press prepares a
    // certificate for the entrant; any other button shows the player card (and
    // the partner's outside singles classes) while it is held on a player.
    void spielernameMouseDown(const QString& caption, int tag, Qt::MouseButton button, QPoint globalPos);
    void spielernameMouseUp();
    // A tick of the call-up reminders of class `kid` at `now`: the lines on top
    // of sp_info. A failure shows its box; no tick runs while that box is open.
    void showReminders(int kid, const QDateTime& now);

private:
    QSqlDatabase db() const { return m_links.database(); }
    const QPixmap& picture(const QString& relative);
    QHash<QString, QPixmap> toolPictures();
    void onTool(plan::PlanTool tool, int tag);
    void startTimer1();
    // Puts a page's canvas on the phase's scroll box with its handlers, its
    // status icons showing the states of their matches.
    void showPage(int phase, PlanCanvas* canvas);
    void addRefereePools(int kid);
    void addKnockOutPools(int kid, const QList<PlanMatchRow>& matches);
    const QPixmap& cardPicture();
    void showIcon(PlanIcon* icon, const MatchState& state, bool mirrored);

    // The busy animation, shown while the outermost drawing runs and hidden on
    // every way out of it.
    class BusyScope {
    public:
        explicit BusyScope(Tspielplaene& module);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        Tspielplaene& m_module;
    };
    int m_busyDepth = 0;

    PlanPanel* m_panel = nullptr;
    PlacementPage* m_placement = nullptr;
    PlanLinks m_links;
    PlanSession m_session;
    MatchFlow m_flow;
    QHash<QString, QPixmap> m_pictures;
    std::optional<QPixmap> m_cardPicture;
    bool m_reminderRunning = false;
    std::unique_ptr<PlanPopupMenu> m_popup;
};

} // namespace bw
