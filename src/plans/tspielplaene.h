// The data module of the match plans: it shows one class's plans on the plan
// panel and runs the panel's operations on the class of its PlanSession. Every
// page is rebuilt from the database whenever the plans are shown again.
#pragma once

#include "plans/groupplanlayout.h"
#include "plans/plansession.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QSqlDatabase>

#include <functional>
#include <optional>

class QTimer;

namespace bw {

class PlanCanvas;
class PlacementPage;
class PlanPanel;
class Prompter;
class Tergebnis;
class Tergebnis_team;
class Tspielplan_form;

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
    // Ranks a group's standings and stores its positions (TData_Unit::Tabelle_Rechnen).
    std::function<void(int kid, int gid)> tabelleRechnen;
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

class Tspielplaene : public QObject {
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
    // The match-state step of the class start; the match flow fills it.
    void turniergo(int kid);
    void spielplananzeigen(int tag);
    void neulosen();
    void plandrucken();
    // A status icon was clicked; the match flow handles it.
    void statusClick(const QString& name);
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
    // Puts a page's canvas on the phase's scroll box with its handlers.
    void showPage(int phase, PlanCanvas* canvas);
    void addRefereePools(int kid);
    void addKnockOutPools(int kid, const QList<PlanMatchRow>& matches);
    const QPixmap& cardPicture();

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
    QHash<QString, QPixmap> m_pictures;
    std::optional<QPixmap> m_cardPicture;
    bool m_reminderRunning = false;
};

} // namespace bw
