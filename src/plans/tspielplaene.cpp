#include "plans/tspielplaene.h"

#include "data/classrecords.h"
#include "data/planrecords.h"
#include "data/planviewrecords.h"
#include "draw/byes.h"
#include "gif/tgifimage.h"
#include "platform/apperror.h"
#include "platform/pagestate.h"
#include "plans/matchdialogs.h"
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
#include "results/takeback.h"
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

PlanPopupMenu::PlanPopupMenu()
{
    setObjectName(QStringLiteral("PopupMenu1"));
    Spielmauellstarten1 = addAction(QStringLiteral("Spiel manuell starten"));
    Spielmauellstarten1->setObjectName(QStringLiteral("Spielmauellstarten1"));
    Spielzurcksetzen1 = addAction(QStringLiteral("Spiel zurücksetzen"));
    Spielzurcksetzen1->setObjectName(QStringLiteral("Spielzurcksetzen1"));
}

Tspielplaene::Tspielplaene(QObject* parent)
    : QObject(parent), m_flow(m_session, [this](int spielnummer) { showState(spielnummer); }),
      m_popup(std::make_unique<PlanPopupMenu>())
{
    setObjectName(QStringLiteral("spielplaene"));
    PopupMenu1 = m_popup.get();
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
    connectGuarded(PopupMenu1->Spielzurcksetzen1, &QAction::triggered, this, prompter,
                   [this] { Spielzurcksetzen1Click(); });
    connectGuarded(PopupMenu1->Spielmauellstarten1, &QAction::triggered, this, prompter,
                   [this] { Spielmauellstarten1Click(); });
    m_placement = new PlacementPage(panel, m_links.prompter, m_links.database, this);
    connectGuarded(m_placement, &PlacementPage::statusClicked, this, prompter,
                   [this](const QString& name, int tag) { statusClick(name, tag); });
    connectGuarded(m_placement, &PlacementPage::statusMouseDown, this, prompter,
                   [this](const QString& name, int tag, Qt::MouseButton button, QPoint at) {
                       statusMouseDown(name, tag, button, at);
                   });
    connectGuarded(m_placement, &PlacementPage::rowsBuilt, this, prompter, [this] {
        QWidget* page = m_panel->sp_ScrollBox4->widget();
        for (PlanIcon* icon : page ? page->findChildren<PlanIcon*>() : QList<PlanIcon*>())
            showIcon(icon, m_session.states.state(getid(icon->objectName())), false);
    });
}

const QPixmap& Tspielplaene::picture(const QString& relative)
{
    auto found = m_pictures.find(relative);
    if (found == m_pictures.end()) {
        const QString path = m_links.programFile ? m_links.programFile(relative) : relative;
        const QString failed = QStringLiteral("Das Bild \"%1\" konnte nicht geladen werden.").arg(relative);
        QPixmap loaded;
        if (relative.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive)) {
            // The status pictures, read through the GIF codec; their transparent colour stays.
            TGIFImage gif;
            try {
                gif.LoadFromFile(path);
            } catch (const std::exception& error) {
                throw AppError(failed + QLatin1Char('\n') + QString::fromLocal8Bit(error.what()));
            }
            loaded = QPixmap::fromImage(gif.CompositeBitmap());
            if (loaded.isNull())
                throw AppError(failed);
        } else {
            loaded = QPixmap(path);
            if (loaded.isNull())
                throw AppError(failed);
            loaded.setMask(loaded.createMaskFromColor(Qt::white));
        }
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
    QString name;
    ClassKind kind = ClassKind::Einzel;
    if (!splitClassCaption(caption, &name, &kind))
        return false;
    m_panel->sp_contol->setCurrentIndex(0);
    m_panel->spielplantext->setText(QStringLiteral("Spielplan für ") + caption);
    if (m_links.spielplan_form)
        m_links.spielplan_form->StaticText1->setText(m_panel->spielplantext->text());
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
    // Every drawing starts all matches waiting; a running class gets its states back below.
    m_session.states.clear();
    for (int p = 1; p <= 3; ++p) {
        switch (m_session.klasseninfos.spielsystem(p)) {
        case 0: gruppenplanerstellen(kid, p); break;
        case 1: koplanerstellen(kid, p, 2); break;
        case 2: doppeltes_koplanerstellen(kid, p, 2); break;
        default: break;
        }
    }
    m_placement->platzierungsspiele(kid, m_session.klasseninfos, m_session.pools);
    m_panel->turniergo->setEnabled(true);
    if (classHasStarted(db(), kid)) {
        statusladen(kid);
        m_panel->turniergo->setEnabled(false);
        startTimer1();
    }
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
            [this](const QString& name, int tag) { runGuarded(*m_links.prompter, [&] { statusClick(name, tag); }); });
    connect(canvas, &PlanCanvas::statusMouseDown, this,
            [this](const QString& name, int tag, Qt::MouseButton button, QPoint at) {
                runGuarded(*m_links.prompter, [&] { statusMouseDown(name, tag, button, at); });
            });
    connect(canvas, &PlanCanvas::nameMouseDown, this,
            [this](const QString& caption, int tag, Qt::MouseButton button, QPoint at) {
                runGuarded(*m_links.prompter, [&] { spielernameMouseDown(caption, tag, button, at); });
            });
    connect(canvas, &PlanCanvas::nameMouseUp, this, [this] { spielernameMouseUp(); });
    page->setWidget(canvas);
    for (const plan::ControlSpec& spec : canvas->layout().controls)
        if (spec.kind == plan::ControlKind::StatusIcon)
            showIcon(canvas->statusIcon(spec.name), m_session.states.state(getid(spec.name)),
                     spec.name.startsWith(QLatin1String("statusx")));
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
    m_panel->sp_contol->setCurrentIndex(0);
    sp_contolChange();
    m_flow.markStart(db());
    possiblegames(1);
    planupdate();
    m_panel->turniergo->setEnabled(false);
}

bool Tspielplaene::spielmoeglich(int phase, int gruppe, int spielnummer, int sid1, int sid2)
{
    return m_flow.spielmoeglich(phase, gruppe, spielnummer, sid1, sid2);
}

void Tspielplaene::planupdate()
{
    m_flow.planupdate(db());
}

void Tspielplaene::possiblegames(int phase)
{
    if (m_links.dialogs)
        m_flow.possiblegames(db(), phase, *m_links.dialogs);
}

bool Tspielplaene::teamClass() const
{
    return m_panel->spielplantext->text().endsWith(QLatin1String(" (Team)"));
}

void Tspielplaene::statusladen(int /*kid: the class shown*/)
{
    if (m_flow.statusladen(db(), teamClass()))
        m_panel->turniergo->setEnabled(false);
}

void Tspielplaene::aufgerufen(int spielnummer, const MatchResources& resources)
{
    m_session.pools.takeCallUp(resources);
    m_flow.setState(spielnummer, MatchState{kAufgerufen, {}, {}, {}});
    planupdate();
}

void Tspielplaene::gestartet(int spielnummer)
{
    m_flow.setState(spielnummer, MatchState{kLaeuft, {}, {}, {}});
}

void Tspielplaene::showIcon(PlanIcon* icon, const MatchState& state, bool mirrored)
{
    if (!icon)
        return;
    const StatusLook look = statusLook(state, mirrored);
    icon->showStatus(look.tag, look.picture.isEmpty() ? QPixmap() : picture(look.picture), look.text, look.hint);
}

void Tspielplaene::showState(int spielnummer)
{
    // The final of a knock-out class stands on its bracket page and on the
    // placement page: every page that shows the match shows its state.
    const MatchState state = m_session.states.state(spielnummer);
    const QString name = QStringLiteral("status%1").arg(spielnummer);
    const QString mirrored = QStringLiteral("statusx%1").arg(spielnummer);
    for (int i = 0; i < 4; ++i) {
        QWidget* shown = m_panel->page(i)->widget();
        if (!shown)
            continue;
        auto* canvas = qobject_cast<PlanCanvas*>(shown);
        showIcon(canvas ? canvas->statusIcon(name) : shown->findChild<PlanIcon*>(name), state, false);
        showIcon(canvas ? canvas->statusIcon(mirrored) : shown->findChild<PlanIcon*>(mirrored), state, true);
    }
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

int Tspielplaene::getid(const QString& name)
{
    for (qsizetype i = 0; i < name.size(); ++i)
        if (name.at(i).isDigit())
            return name.mid(i).toInt();
    return 0;
}

void Tspielplaene::statusClick(const QString& name, int tag)
{
    MatchDialogs* dialogs = m_links.dialogs;
    if (!dialogs)
        return;
    const int n = getid(name);
    switch (tag) {
    case 1: dialogs->spielplanen(n); break;
    case 2: dialogs->spielaufrufen1(n); break;
    case 3: dialogs->spielaufgerufen(n); break;
    case 4:
        // The result action writes to the icon that was clicked: "x" marks the mirrored one.
        dialogs->setPlatteHint(name.mid(6, 1));
        dialogs->spielstarten(n);
        break;
    case 5: dialogs->spielbeendet(n); break;
    default: break;
    }
}

void Tspielplaene::statusMouseDown(const QString& name, int tag, Qt::MouseButton button, QPoint globalPos)
{
    m_session.popupspielnummer = getid(name);
    PopupMenu1->Tag = tag;
    if (button == Qt::RightButton)
        PopupMenu1->popup(globalPos);
}

void Tspielplaene::Spielzurcksetzen1Click()
{
    const int n = m_session.popupspielnummer;
    switch (PopupMenu1->Tag) {
    case kWartend:
    case kSpielbar: spielZuruecksetzen(n, MatchStage::Open); break;
    case kAufgerufen: spielZuruecksetzen(n, MatchStage::Called); break;
    case kLaeuft: spielZuruecksetzen(n, MatchStage::Running); break;
    case kBeendet: spielZuruecksetzen(n, MatchStage::Finished); break;
    default: statusladen(m_session.kid); break;
    }
}

void Tspielplaene::spielZuruecksetzen(int spielnummer, MatchStage shown)
{
    if (teamClass()) {
        if (m_links.teamSpielZuruecksetzen)
            m_links.teamSpielZuruecksetzen(spielnummer, shown);
        return;
    }
    bw::spielZuruecksetzen(db(), *m_links.prompter, *this, m_session.kid, spielnummer, shown);
}

void Tspielplaene::Spielmauellstarten1Click()
{
    if (m_links.dialogs)
        m_links.dialogs->spielmanuellstarten(m_session.popupspielnummer);
}

} // namespace bw

namespace bw {

bool Tspielplaene::hasPool(const QString& name) const
{
    return m_session.pools.contains(name);
}

QStringList Tspielplaene::poolNames() const
{
    return m_session.pools.names();
}

QStringList Tspielplaene::poolTexts(const QString& name) const
{
    return m_session.pools.texts(name);
}

void Tspielplaene::addToPool(const QString& name, const QString& text, int id)
{
    m_session.pools.giveBack(name, text, id);
}

void Tspielplaene::relabelSlots(int phase, const QString& placeholder, const QString& text, int id)
{
    QWidget* shown = m_panel->page(phase - 1) ? m_panel->page(phase - 1)->widget() : nullptr;
    if (!shown)
        return;
    for (QLabel* label : shown->findChildren<QLabel*>()) {
        if (qobject_cast<PlanIcon*>(label) || label->text() != placeholder)
            continue;
        label->setText(text);
        label->setProperty("Tag", id);
    }
}

// A result of a class that is not shown (the planning board records any
// class's matches) leaves the plan panel as it is.
void Tspielplaene::rebuildStates(int kid)
{
    if (kid == m_session.kid)
        statusladen(kid);
}

void Tspielplaene::redraw(int kid)
{
    if (kid == m_session.kid)
        planshow(kid);
}

void Tspielplaene::offerNextMatches(int kid, int phase)
{
    if (kid == m_session.kid)
        possiblegames(phase);
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
            m_links.prepareCertificate(plan::withoutSeed(caption), club, m_panel->spielplantext->text(), globalPos);
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
