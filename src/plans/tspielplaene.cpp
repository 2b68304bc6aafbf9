#include "plans/tspielplaene.h"

#include "data/classrecords.h"
#include "data/planrecords.h"
#include "data/planviewrecords.h"
#include "draw/byes.h"
#include "platform/apperror.h"
#include "platform/pagestate.h"
#include "platform/prompter.h"
#include "plans/plancanvas.h"
#include "plans/planpanel.h"
#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "results/tergebnis.h"
#include "results/tergebnis_team.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>

namespace bw {

Tspielplaene::Tspielplaene(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("spielplaene"));
}

void Tspielplaene::attach(PlanPanel* panel, PlanLinks links)
{
    m_panel = panel;
    m_links = std::move(links);
    Prompter& prompter = *m_links.prompter;
    connectGuarded(panel->zoom1_1, &QPushButton::clicked, this, prompter, [this] { zoom(1); });
    connectGuarded(panel->zoom1_2, &QPushButton::clicked, this, prompter, [this] { zoom(2); });
    connectGuarded(panel->zoom1_3, &QPushButton::clicked, this, prompter, [this] { zoom(3); });
    connectGuarded(panel->sp_contol, &QTabWidget::tabBarClicked, this, prompter,
                   [this](int index) {
                       m_panel->sp_contol->setCurrentIndex(index);
                       sp_contolChange();
                   });
    connectGuarded(panel->GruppeDarBox, &QComboBox::activated, this, prompter, [this] { GruppeDarBoxChange(); });
    connectGuarded(panel->turniergo, &TuiButton::OnClick, this, prompter, [this] { turniergoClick(); });
}

const QPixmap& Tspielplaene::picture(const QString& relative)
{
    auto found = m_pictures.find(relative);
    if (found == m_pictures.end()) {
        const QString path = m_links.programFile ? m_links.programFile(relative) : relative;
        QPixmap loaded(path);
        if (loaded.isNull())
            throw AppError(QStringLiteral("Das Bild \"%1\" konnte nicht geladen werden.").arg(relative));
        loaded.setMask(loaded.createMaskFromColor(Qt::white));
        found = m_pictures.insert(relative, loaded);
    }
    return *found;
}

QHash<QString, QPixmap> Tspielplaene::toolPictures()
{
    QHash<QString, QPixmap> pictures;
    for (plan::PlanTool tool : {plan::PlanTool::Spielplan, plan::PlanTool::Neulosen, plan::PlanTool::Drucken})
        pictures.insert(plan::toolPicture(tool), picture(plan::toolPicture(tool)));
    return pictures;
}

bool Tspielplaene::openClass(int tid, const QString& caption)
{
    m_panel->sp_contol->setCurrentIndex(0);
    m_panel->spielplantext->setText(QStringLiteral("Spielplan für ") + caption);
    QString name;
    ClassKind kind = ClassKind::Einzel;
    if (splitClassCaption(caption, &name, &kind))
        m_session.kid = getKID(db(), tid, kind, name);
    m_session.pools.clear();
    m_panel->sp_info->clear();
    infosladen(m_session.kid);
    planshow(m_session.kid);
    return true;
}

void Tspielplaene::infosladen(int kid)
{
    m_panel->markZoom(2);
    freilosebearbeiten(db(), kid);
    m_session.klasseninfos = loadKlasseninfos(db(), kid, m_links.firstDay ? m_links.firstDay() : QDate());
    const gruppeninfos& infos = m_session.klasseninfos;
    QTabWidget* tabs = m_panel->sp_contol;
    if (infos.phase1 >= 0)
        tabs->setTabVisible(0, true);
    tabs->setTabVisible(1, infos.phase2 >= 0);
    tabs->setTabVisible(2, infos.phase3 >= 0);
    if (infos.phase1 == 0)
        m_panel->zoompanel->setVisible(false);
    else if (infos.phase1 == 1 || infos.phase1 == 2)
        m_panel->zoompanel->setVisible(true);
    const ResultDialogSetup setup = loadResultDialogSetup(db(), kid, infos);
    if (infos.team()) {
        if (m_links.ergebnis_team)
            m_links.ergebnis_team->setResultSetup(setup);
    } else if (m_links.ergebnis) {
        m_links.ergebnis->setResultSetup(setup);
    }
}

void Tspielplaene::planshow(int kid)
{
    for (int i = 0; i < 4; ++i)
        clearPlanPage(m_panel->page(i));
    m_panel->platz->clear();
    m_session.pools.clear();
    for (int p = 1; p <= 3; ++p) {
        // Knock-out brackets are drawn by their own module; their pages stay empty until then.
        if (m_session.klasseninfos.spielsystem(p) == 0)
            gruppenplanerstellen(kid, p);
    }
    m_panel->turniergo->setEnabled(!classHasStarted(db(), kid));
    if (!m_panel->turniergo->isEnabled())
        startTimer1();
}

void Tspielplaene::gruppenplanerstellen(int kid, int phase)
{
    const gruppeninfos& infos = m_session.klasseninfos;
    const QSqlDatabase database = db();
    const QHash<QString, QPixmap> pictures = toolPictures();
    plan::GroupPlanInput in;
    in.phase = phase;
    in.firstGroup = infos.gruppenOffset(phase);
    in.groups = std::max(0, infos.gruppenanzahl(phase));
    in.places = std::max(0, infos.teilnehmer(phase));
    in.kind = m_panel->GruppeDarBox->currentIndex() == 0 ? plan::GroupLayoutKind::Matrix : plan::GroupLayoutKind::Liste;
    in.team = infos.team();
    in.pointsPerWin = infos.punkteprosieg + 1;
    if (m_links.tabelleRechnen)
        for (int g = 0; g < in.groups; ++g)
            m_links.tabelleRechnen(kid, in.firstGroup + g);
    in.placeRows = readPlanPlaces(database, kid, phase);
    in.standingRows = readPlanStandings(database, kid, phase);
    in.matches = readPlanMatches(database, kid);
    in.tables = readGroupTableNames(database, kid);
    plan::GroupPlan plan = plan::gruppenplanLayout(in);
    m_session.gruppenversatz = plan.gruppenversatz;
    for (const auto& [name, items] : plan.pools)
        m_session.pools.addIfAbsent(name, items);
    if (!m_session.pools.contains(QStringLiteral("schiri"))) {
        QList<PoolItem> names;
        QList<PoolItem> all;
        for (const PlanReferee& referee : readPlanReferees(database, kid)) {
            const QString text = referee.snname + QStringLiteral(", ") + referee.svname;
            names.append({text, 0});
            all.append({text, referee.schiriid});
        }
        m_session.pools.addIfAbsent(QStringLiteral("schiri"), names);
        m_session.pools.addIfAbsent(QStringLiteral("alleschiris"), all);
    }

    QScrollArea* page = m_panel->page(phase - 1);
    clearPlanPage(page);
    auto* canvas = new PlanCanvas(QStringLiteral("sp%1").arg(phase), std::move(plan.layout), pictures);
    connect(canvas, &PlanCanvas::toolClicked, this, [this](plan::PlanTool tool, int tag) {
        runGuarded(*m_links.prompter, [&] { onTool(tool, tag); });
    });
    connect(canvas, &PlanCanvas::statusClicked, this,
            [this](const QString& name) { runGuarded(*m_links.prompter, [&] { statusClick(name); }); });
    page->setWidget(canvas);
}

void Tspielplaene::onTool(plan::PlanTool tool, int tag)
{
    switch (tool) {
    case plan::PlanTool::Spielplan: spielplananzeigen(tag); break;
    case plan::PlanTool::Neulosen: neulosen(); break;
    case plan::PlanTool::Drucken: plandrucken(); break;
    case plan::PlanTool::None: break;
    }
}

void Tspielplaene::zoom(int z)
{
    const int index = m_panel->sp_contol->currentIndex();
    const int system = index < 3 ? m_session.klasseninfos.spielsystem(index + 1) : -1;
    // Only a bracket is drawn by zoom; its drawing arrives with the brackets.
    Q_UNUSED(system);
    m_panel->markZoom(z);
}

void Tspielplaene::sp_contolChange()
{
    const int index = m_panel->sp_contol->currentIndex();
    if (index > 2)
        return;
    const int system = m_session.klasseninfos.spielsystem(index + 1);
    if (system == 0)
        m_panel->zoompanel->setVisible(false);
    else if (system == 1 || system == 2)
        m_panel->zoompanel->setVisible(true);
}

void Tspielplaene::GruppeDarBoxChange()
{
    planshow(m_session.kid);
}

void Tspielplaene::turniergoClick()
{
    // While the class starts, the result dialogs offer calling the next match
    // and showing it, both ticked; afterwards "aufrufen" hides again.
    QList<TuiCheckbox*> next;
    QList<TuiCheckbox*> next1;
    if (m_links.ergebnis) {
        next << m_links.ergebnis->next;
        next1 << m_links.ergebnis->next1;
    }
    if (m_links.ergebnis_team) {
        next << m_links.ergebnis_team->next;
        next1 << m_links.ergebnis_team->next1;
    }
    for (TuiCheckbox* box : next1) {
        box->setVisible(true);
        box->SetChecked(true);
    }
    for (TuiCheckbox* box : next)
        box->SetChecked(true);
    const auto hideNext1 = qScopeGuard([&] {
        for (TuiCheckbox* box : next1)
            box->setVisible(false);
    });
    turniergo(m_session.kid);
    m_panel->sp_info->addItem(QStringLiteral(" - Turnier gestartet"));
    startTimer1();
}

void Tspielplaene::startTimer1()
{
    if (m_links.Timer1)
        m_links.Timer1->start();
}

void Tspielplaene::turniergo(int)
{
    m_panel->turniergo->setEnabled(false);
}

void Tspielplaene::spielplananzeigen(int tag)
{
    if (m_links.showMatchList)
        m_links.showMatchList(tag);
}

void Tspielplaene::neulosen()
{
    const int index = m_panel->sp_contol->currentIndex();
    const int kid = m_session.kid;
    const int phase = index + 1;
    if (index == 1 && phaseHasOpenMatch(db(), kid, 1)) {
        m_links.prompter->prompt(PromptKind::Warning, kPhase1Open, PromptButtons::Ok);
        return;
    }
    if (index == 2 && phaseHasOpenMatch(db(), kid, 2)) {
        m_links.prompter->prompt(PromptKind::Warning, kPhase2Open, PromptButtons::Ok);
        return;
    }
    if (index > 2)
        return;
    if (phaseHasPlayedMatch(db(), kid, phase) && !m_links.prompter->confirm(kRedrawLosesResults))
        return;
    if (m_links.redrawPhase)
        m_links.redrawPhase(phase);
}

void Tspielplaene::plandrucken()
{
    const int index = m_panel->sp_contol->currentIndex();
    if (index > 2 || !m_links.printer)
        return;
    const int phase = index + 1;
    switch (m_session.klasseninfos.spielsystem(phase)) {
    case 0: m_links.printer->gruppenplan(1, 1, phase); break;
    case 1: m_links.printer->koplan(1, 1, phase); break;
    case 2:
        if (phase == 1)
            m_links.printer->doppelterkoplan(2, 1, 1);
        break;
    default: break;
    }
}

void Tspielplaene::statusClick(const QString&)
{
}

} // namespace bw
