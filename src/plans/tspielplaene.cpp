#include "plans/tspielplaene.h"

#include "data/classrecords.h"
#include "data/planrecords.h"
#include "data/planviewrecords.h"
#include "draw/byes.h"
#include "platform/apperror.h"
#include "platform/pagestate.h"
#include "platform/prompter.h"
#include "plans/bracketlayout.h"
#include "plans/plancanvas.h"
#include "plans/placementpage.h"
#include "plans/planpanel.h"
#include "plans/playercard.h"
#include "plans/reminders.h"
#include "plans/tspielplan_form.h"
#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "results/tergebnis.h"
#include "results/tergebnis_team.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>

namespace bw {

namespace {

QList<PlanMatchRow> matchesOfPhase(const QList<PlanMatchRow>& matches, int phase)
{
    QList<PlanMatchRow> rows;
    for (const PlanMatchRow& match : matches)
        if (match.phase == phase)
            rows.append(match);
    return rows;
}

} // namespace

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
    m_placement = new PlacementPage(panel, m_links.prompter, m_links.database, this);
    connectGuarded(m_placement, &PlacementPage::statusClicked, this, prompter,
                   [this](const QString& name) { statusClick(name); });
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
    if (m_links.spielplan_form)
        m_links.spielplan_form->StaticText1->setText(m_panel->spielplantext->text());
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

Tspielplaene::BusyScope::BusyScope(Tspielplaene& module) : m_module(module)
{
    if (m_module.m_busyDepth++ == 0 && m_module.m_links.busy)
        m_module.m_links.busy(true);
}

Tspielplaene::BusyScope::~BusyScope()
{
    if (--m_module.m_busyDepth == 0 && m_module.m_links.busy)
        m_module.m_links.busy(false);
}

void Tspielplaene::planshow(int kid)
{
    const BusyScope busy(*this);
    for (int i = 0; i < 4; ++i)
        clearPlanPage(m_panel->page(i));
    m_panel->platz->clear();
    m_session.pools.clear();
    for (int p = 1; p <= 3; ++p) {
        switch (m_session.klasseninfos.spielsystem(p)) {
        case 0: gruppenplanerstellen(kid, p); break;
        case 1: koplanerstellen(kid, p, 2); break;
        case 2: doppeltes_koplanerstellen(kid, p, 2); break;
        default: break;
        }
    }
    m_placement->platzierungsspiele(kid, m_session.klasseninfos, m_session.pools);
    m_panel->turniergo->setEnabled(!classHasStarted(db(), kid));
    if (!m_panel->turniergo->isEnabled())
        startTimer1();
}

void Tspielplaene::gruppenplanerstellen(int kid, int phase)
{
    const BusyScope busy(*this);
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
    addRefereePools(kid);
    showPage(phase, new PlanCanvas(QStringLiteral("sp%1").arg(phase), std::move(plan.layout), pictures));
}

void Tspielplaene::koplanerstellen(int kid, int phase, int zoom)
{
    const QHash<QString, QPixmap> pictures = toolPictures();
    const QList<PlanMatchRow> matches = readPlanMatches(db(), kid);
    plan::PlanLayout layout = plan::koplanLayout(matchesOfPhase(matches, phase), zoom);
    if (layout.size.isEmpty())
        return;
    showPage(phase, new PlanCanvas(QStringLiteral("sp%1").arg(phase), std::move(layout), pictures));
    addKnockOutPools(kid, matches);
}

void Tspielplaene::doppeltes_koplanerstellen(int kid, int phase, int zoom)
{
    const QHash<QString, QPixmap> pictures = toolPictures();
    const QList<PlanMatchRow> matches = readPlanMatches(db(), kid);
    const QList<PlanMatchRow> rows = matchesOfPhase(matches, phase);
    const int firstRound = plan::firstRoundMatches(rows);
    if (firstRound == 0)
        return;
    // The file numbers the matches from 1; a later phase continues after the one before.
    const int offset = phase > 1 ? lastMatchNumber(db(), kid, phase - 1) : 0;
    const QString file = QString::fromLatin1(kDoubleKoFile);
    const DoubleKoPlan plan = readDoubleKoPlan(m_links.programFile ? m_links.programFile(file) : file, 2 * firstRound);
    showPage(phase, new PlanCanvas(QStringLiteral("sp%1").arg(phase), plan::doubleKoLayout(plan, rows, offset, zoom),
                                   pictures));
    if (plan.lookup == PlanLookup::BlockMissing) {
        m_links.prompter->information(kDoubleKoFailed);
        return;
    }
    addKnockOutPools(kid, matches);
}

void Tspielplaene::showPage(int phase, PlanCanvas* canvas)
{
    QScrollArea* page = m_panel->page(phase - 1);
    clearPlanPage(page);
    connect(canvas, &PlanCanvas::toolClicked, this, [this](plan::PlanTool tool, int tag) {
        runGuarded(*m_links.prompter, [&] { onTool(tool, tag); });
    });
    connect(canvas, &PlanCanvas::statusClicked, this,
            [this](const QString& name) { runGuarded(*m_links.prompter, [&] { statusClick(name); }); });
    connect(canvas, &PlanCanvas::nameMouseDown, this,
            [this](const QString& caption, int tag, Qt::MouseButton button, QPoint at) {
                runGuarded(*m_links.prompter, [&] { spielernameMouseDown(caption, tag, button, at); });
            });
    connect(canvas, &PlanCanvas::nameMouseUp, this, [this] { spielernameMouseUp(); });
    page->setWidget(canvas);
}

void Tspielplaene::addRefereePools(int kid)
{
    if (m_session.pools.contains(QStringLiteral("schiri")))
        return;
    QList<PoolItem> names;
    QList<PoolItem> all;
    for (const PlanReferee& referee : readPlanReferees(db(), kid)) {
        const QString text = referee.snname + QStringLiteral(", ") + referee.svname;
        names.append({text, 0});
        all.append({text, referee.schiriid});
    }
    m_session.pools.addIfAbsent(QStringLiteral("schiri"), names);
    m_session.pools.addIfAbsent(QStringLiteral("alleschiris"), all);
}

void Tspielplaene::addKnockOutPools(int kid, const QList<PlanMatchRow>& matches)
{
    ResourcePools& pools = m_session.pools;
    pools.addIfAbsent(QStringLiteral("allespieler"), plan::allPlayersPool(matches));
    if (!pools.contains(QStringLiteral("alleplatten"))) {
        QList<PoolItem> tables;
        for (const QString& table : readClassTableNames(db(), kid))
            tables.append({table, 0});
        pools.addIfAbsent(QStringLiteral("alleplatten"), tables);
    }
    addRefereePools(kid);
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
    if (system == 1)
        koplanerstellen(m_session.kid, index + 1, z);
    else if (system == 2)
        doppeltes_koplanerstellen(m_session.kid, index + 1, z);
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
    if (m_links.spielplan_form)
        m_links.spielplan_form->StaticText1->setProperty("Tag", tag);
    if (m_links.showMatchList)
        m_links.showMatchList();
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

const QPixmap& Tspielplaene::cardPicture()
{
    if (!m_cardPicture) {
        // A missing picture leaves the card plain white.
        QPixmap loaded(m_links.programFile ? m_links.programFile(plan::kCardPicture) : plan::kCardPicture);
        if (!loaded.isNull())
            loaded.setMask(loaded.createMaskFromColor(Qt::white));
        m_cardPicture = loaded;
    }
    return *m_cardPicture;
}

void Tspielplaene::spielernameMouseDown(const QString& caption, int tag, Qt::MouseButton button, QPoint globalPos)
{
    const gruppeninfos& infos = m_session.klasseninfos;
    if (button == Qt::RightButton) {
        // Also for an empty slot, a bye or an open qualifier; in a team class the
        // label carries the team's key.
        QString club;
        if (tag > 0)
            club = infos.team() ? readTeamClub(db(), tag) : readPlayerClub(db(), tag);
        if (m_links.prepareCertificate)
            m_links.prepareCertificate(caption, club, m_panel->spielplantext->text(), globalPos);
        return;
    }
    // A team's key names no player: a team class shows no card.
    if (tag <= 0 || infos.team())
        return;
    const bool singles = infos.system == 0;
    const QPixmap& background = cardPicture();
    const QSize size = background.isNull() ? plan::kPlainCardSize : background.size();
    const QPoint at = plan::cardPosition(m_panel->mapFromGlobal(globalPos), size, singles ? 1 : 2, m_panel->size());
    PlayerCard* card = m_panel->spielernotiz;
    card->fill(background, plan::playerCardLines(readPlayerCard(db(), tag), size.height()));
    card->move(at);
    card->show();
    card->raise();
    PlayerCard* partnerCard = m_panel->spielernotiz2;
    if (singles) {
        partnerCard->hide();
        return;
    }
    const int partner = readDoublesPartner(db(), tag, m_session.kid);
    partnerCard->fill(background, plan::playerCardLines(partner > 0 ? readPlayerCard(db(), partner) : std::nullopt,
                                                        size.height()));
    partnerCard->move(at + QPoint(size.width(), 0));
    partnerCard->show();
    partnerCard->raise();
}

void Tspielplaene::spielernameMouseUp()
{
    m_panel->spielernotiz->hide();
    m_panel->spielernotiz2->hide();
}

void Tspielplaene::showReminders(int kid, const QDateTime& now)
{
    // A tick's error box keeps the next tick from running while it is open.
    if (m_reminderRunning)
        return;
    m_reminderRunning = true;
    runGuarded(*m_links.prompter, [&] {
        const QStringList lines = plan::reminderLines(readCalledMatches(db(), kid), plan::reminderThreshold(now));
        QListWidget* list = m_panel->sp_info;
        for (const QString& line : lines) {
            list->insertItem(0, line);
            while (list->count() > plan::kReminderLines)
                delete list->takeItem(list->count() - 1);
        }
    });
    m_reminderRunning = false;
}

} // namespace bw
