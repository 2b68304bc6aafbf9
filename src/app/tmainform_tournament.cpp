// The main window's side of the tournament page: showing a created or opened
// tournament, deleting the open tournament and bringing the page to the front.
#include "app/tmainform.h"

#include "app/navigationbar.h"
#include "app/tdata_unit.h"
#include "app/tournamentpage.h"
#include "data/db_procedures.h"
#include "platform/services.h"

#include <QAction>
#include <QTabWidget>
#include <QVBoxLayout>

namespace bw {

void TMainform::buildTournamentPage()
{
    auto* layout = new QVBoxLayout(neuesTurnier);
    layout->setContentsMargins(0, 0, 0, 0);
    turnierseite = new TournamentPage(
        TournamentPageLinks{m_services.prompter, m_services.clock,
                            [this] { return m_forms->db_procedures->ADOConnection1(); }, m_context,
                            [this] { anmeldeformularClick(); }, [this] { Spieleplaner1->setEnabled(true); }},
        neuesTurnier);
    layout->addWidget(turnierseite);
}

void TMainform::showCreatedTournament(const QString& name)
{
    setWorkAreaEnabled(true);
    enterCreatedState();
    bringToFront(neuesTurnier);
    m_forms->Data_Unit->kfelderloeschen();
    // The created tournament is the open one: the caption names it.
    setWindowTitle(kCaption + name);
    turnierseite->showCreated(name);
}

void TMainform::showOpenedTournament(const QString& name, int tid)
{
    bringToFront(neuesTurnier);
    enterOpenedState();
    runGuarded(m_services.prompter, [this] { XPBarItemsAdd(); });
    m_forms->Data_Unit->kfelderloeschen();
    setWindowTitle(kCaption + name);
    runGuarded(m_services.prompter, [&] { turnierseite->showOpened(tid); });
    setWorkAreaEnabled(true);
}

void TMainform::TurnierbuttonItems2Click()
{
    if (m_context.aktuellerTurniername.isEmpty()) {
        m_services.prompter.information(QStringLiteral("Sie haben kein Turnier ausgewählt"));
        return;
    }
    if (!m_services.prompter.confirm(QStringLiteral("Wollen Sie das Turnier \"%1\" wirklich löschen?")
                                         .arg(m_context.aktuellerTurniername)))
        return;
    TData_Unit& data = *m_forms->Data_Unit;
    data.turnierloeschen(m_context.aktuelleTID);
    turnierseite->turnierfelderloeschen();
    data.kfelderloeschen();
    bringToFront(welcome);
    setWindowTitle(kCaption);
    enterNoTournamentState();
}

void TMainform::TurnierbuttonItems3Click()
{
    if (m_context.aktuellerTurniername.isEmpty()) {
        m_services.prompter.information(QStringLiteral("Sie müssen erst ein Turnier erstellen oder laden"));
        return;
    }
    bringToFront(neuesTurnier);
    turnierseite->Turniermenu->setCurrentIndex(0);
}

} // namespace bw
