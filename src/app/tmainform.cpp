#include "app/tmainform.h"

#include "app/busyanimation.h"
#include "app/liveservice.h"
#include "app/navigationbar.h"
#include "app/peoplepages.h"
#include "app/pictures.h"
#include "app/tournamentpage.h"
#include "app/usersettings.h"
#include "controls/uicontainer.h"
#include "controls/uiimagelist.h"
#include "output/importpage.h"
#include "output/timport_form.h"
#include "platform/pagestate.h"
#include "platform/services.h"
#include "platformui/printercontext.h"
#include "plans/tspielplaene.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace bw {

const QString TMainform::kCaption = QStringLiteral("Brackwell 2.53 - ");
const QString TMainform::kVersionText = QStringLiteral("Brackwell - Version 2.53");

TMainform::TMainform(AppContext& context, Services& services, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_services(services)
{
    setObjectName(QStringLiteral("Mainform"));
    ImageList1 = new TuiImageList(this);
    ImageList1->setObjectName(QStringLiteral("ImageList1"));
    for (const QImage& picture : pictures::imageList())
        ImageList1->Add(picture);
    buildNavigation();
    buildPanels();
    buildMenu();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(60000);
    connect(Timer1, &QTimer::timeout, this, &TMainform::Timer1Timer);
    resize(830, 670);
    setMinimumSize(830, 670);
    FormCreate();
}

TMainform::~TMainform() = default;

TuiContainer* TMainform::makePanel(const QString& name)
{
    auto* panel = new TuiContainer;
    panel->setObjectName(name);
    Panels->addWidget(panel);
    return panel;
}

void TMainform::buildNavigation()
{
    Navigation = new QWidget;
    Navigation->setObjectName(QStringLiteral("Navigation"));
    Navigation->setFixedWidth(185);
    auto* column = new QVBoxLayout(Navigation);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    ScrollBox1 = new QScrollArea(Navigation);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->viewport()->installEventFilter(this);
    auto* content = new QWidget;
    auto* bars = new QVBoxLayout(content);
    bars->setContentsMargins(2, 4, 2, 4);
    bars->setSpacing(8);

    Logo = new QLabel(content);
    Logo->setObjectName(QStringLiteral("Logo"));
    Logo->setAlignment(Qt::AlignCenter);
    Logo->setPixmap(QPixmap::fromImage(pictures::logo(m_services.paths.programDir())
                                           .scaledToWidth(160, Qt::SmoothTransformation)));
    bars->addWidget(Logo);

    auto addBar = [&](const QString& name, const QString& caption, const QList<QPair<QString, int>>& items) {
        auto* bar = new NavigationBar(name, caption, ImageList1, content);
        bar->SetIcon(pictures::barIcon(name));
        for (const auto& item : items)
            bar->addItem(item.first, item.second);
        bars->addWidget(bar);
        return bar;
    };
    Turnierbutton = addBar(QStringLiteral("Turnierbutton"), QStringLiteral("Turnierdaten"),
                           {{QStringLiteral("Turnier erstellen"), 0},
                            {QStringLiteral("Turnier laden"), 1},
                            {QStringLiteral("Turnier löschen"), 2},
                            {QStringLiteral("Turnierdaten bearbeiten"), 3}});
    Klassenbutton = addBar(QStringLiteral("Klassenbutton"), QStringLiteral("Turnierklassen"),
                           {{QStringLiteral("Klassen verwalten"), pictures::kManageClasses}});
    Spielerbutton = addBar(QStringLiteral("Spielerbutton"), QStringLiteral("Spielerdaten"),
                           {{QStringLiteral("Spieler verwalten"), 4},
                            {QStringLiteral("Teamverwaltung"), 5},
                            {QStringLiteral("Spieleranmeldung"), 7},
                            {QStringLiteral("Spieler importieren"), 8},
                            {QStringLiteral("Schiedsrichter verwalten"), 9}});
    spielplanbutton = addBar(QStringLiteral("spielplanbutton"), QStringLiteral("Spielpläne"), {});
    exportbutton = addBar(QStringLiteral("exportbutton"), QStringLiteral("Export"),
                          {{QStringLiteral("Excel-Export"), 10},
                           {QStringLiteral("PDF-Export"), 11},
                           {QStringLiteral("HTML-Export"), 12}});
    // The pages the items open fill themselves; a failure shows its error box.
    Prompter& prompter = m_services.prompter;
    connectGuarded(Turnierbutton, &NavigationBar::itemClick, this, prompter,
                   [this](int index) { TurnierbuttonItemClick(index); });
    connectGuarded(Klassenbutton, &NavigationBar::itemClick, this, prompter,
                   [this](int index) { KlassenbuttonItemClick(index); });
    connectGuarded(Spielerbutton, &NavigationBar::itemClick, this, prompter,
                   [this](int index) { SpielerbuttonItemClick(index); });
    connectGuarded(spielplanbutton, &NavigationBar::itemClick, this, prompter,
                   [this](int index) { spielplanbuttonItemClick(index); });
    connectGuarded(exportbutton, &NavigationBar::itemClick, this, prompter,
                   [this](int index) { exportbuttonItemClick(index); });
    connect(Turnierbutton, &TuiCustomControl::OnMouseMove, this, &TMainform::TurnierbuttonMouseMove);
    connect(Klassenbutton, &TuiCustomControl::OnMouseMove, this, &TMainform::KlassenbuttonMouseMove);

    PrinterBox = new QComboBox(content);
    PrinterBox->setObjectName(QStringLiteral("PrinterBox"));
    PrinterBox->setVisible(false);
    bars->addWidget(PrinterBox);
    bars->addStretch();
    ScrollBox1->setWidget(content);
    column->addWidget(ScrollBox1, 1);

    ProgressBar1 = new QProgressBar(Navigation);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);
    column->addWidget(ProgressBar1);

    inprogress = new BusyAnimation(Navigation);
    inprogress->setObjectName(QStringLiteral("inprogress"));
    inprogress->setVisible(false);
    column->addWidget(inprogress);
}

void TMainform::buildPanels()
{
    auto* central = new QWidget;
    central->setObjectName(QStringLiteral("WorkArea"));
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(Navigation);
    Panels = new QStackedWidget(central);
    Panels->setObjectName(QStringLiteral("Panels"));
    row->addWidget(Panels, 1);
    setCentralWidget(central);

    welcome = makePanel(QStringLiteral("welcome"));
    {
        auto* layout = new QVBoxLayout(welcome);
        auto* picture = new QLabel(welcome);
        picture->setObjectName(QStringLiteral("StartPicture"));
        picture->setAlignment(Qt::AlignCenter);
        picture->setPixmap(QPixmap::fromImage(pictures::startPicture(m_services.paths.programDir())));
        layout->addWidget(picture, 1);
        VersionLab = new QLabel(welcome);
        VersionLab->setObjectName(QStringLiteral("VersionLab"));
        VersionLab->setAlignment(Qt::AlignRight);
        layout->addWidget(VersionLab);
    }
    neuesTurnier = makePanel(QStringLiteral("neuesTurnier"));
    buildTournamentPage();
    klassenverwalten = makePanel(QStringLiteral("klassenverwalten"));
    buildClassPage();
    Gruppen = makePanel(QStringLiteral("Gruppen"));
    spielerverwaltung = makePanel(QStringLiteral("spielerverwaltung"));
    Anmeldung = makePanel(QStringLiteral("Anmeldung"));
    schiripanel = makePanel(QStringLiteral("schiripanel"));
    import = makePanel(QStringLiteral("import"));
    spielplanform = makePanel(QStringLiteral("spielplanform"));

    Panel1 = new QWidget(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setVisible(false);
}

void TMainform::buildClassPage()
{
    // The page itself (ClassPage) comes with its dialogs: setUpClassPage().
    auto* layout = new QVBoxLayout(klassenverwalten);
    layout->setContentsMargins(0, 0, 0, 0);
}

void TMainform::buildMenu()
{
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    auto action = [this](QMenu* menu, const QString& name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        return a;
    };
    Datei1 = MainMenu1->addMenu(QStringLiteral("&Datei"));
    Datei1->setObjectName(QStringLiteral("Datei1"));
    Druckersetup1 = Datei1->addMenu(QStringLiteral("Druckersetup"));
    Druckersetup1->setObjectName(QStringLiteral("Druckersetup1"));
    Schiedsrichterzettel1 = action(Druckersetup1, QStringLiteral("Schiedsrichterzettel1"), QStringLiteral("Schiedsrichterzettel"));
    Standardeinstellungen1 = action(Druckersetup1, QStringLiteral("Standardeinstellungen1"), QStringLiteral("Standardeinstellungen"));
    Datei1->addSeparator();
    Beenden1 = action(Datei1, QStringLiteral("Beenden1"), QStringLiteral("Beenden"));

    Extras1 = MainMenu1->addMenu(QStringLiteral("&Extras"));
    Extras1->setObjectName(QStringLiteral("Extras1"));
    Spieleplaner1 = action(Extras1, QStringLiteral("Spieleplaner1"), QStringLiteral("Spieleplaner"));
    AKverwaltung = action(Extras1, QStringLiteral("AKverwaltung"), QStringLiteral("Altersklasse"));
    Slatewright1 = action(Extras1, QStringLiteral("Slatewright1"), QStringLiteral("Slatewright"));
    Kostenabrechnung = action(Extras1, QStringLiteral("Kostenabrechnung"), QStringLiteral("Turnierabrechnung"));
    CourtcastMenuitem = action(Extras1, QStringLiteral("CourtcastMenuitem"), QStringLiteral("Courtcast Anbindung"));

    Information1 = MainMenu1->addMenu(QStringLiteral("&Information"));
    Information1->setObjectName(QStringLiteral("Information1"));
    Handbuch1 = action(Information1, QStringLiteral("Handbuch1"), QStringLiteral("Handbuch"));
    Impressum1 = action(Information1, QStringLiteral("Impressum1"), QStringLiteral("Impressum"));
    BrackwellImInternet1 = action(Information1, QStringLiteral("BrackwellImInternet1"), QStringLiteral("Brackwell im Internet"));

    UrkundePopUp = new QMenu(this);
    UrkundePopUp->setObjectName(QStringLiteral("UrkundePopUp"));
    Urkudnedrucken1 = action(UrkundePopUp, QStringLiteral("Urkudnedrucken1"), QStringLiteral("Urkunde drucken"));

    connect(Beenden1, &QAction::triggered, this, &TMainform::Beenden1Click);
    connectMenuCommands();
}

void TMainform::FormCreate()
{
    m_context.naechstesSpielAnzeigen = true;
    bringToFront(welcome);

    // The busy animation is optional: without a readable file nothing is played.
    const QString animation = m_services.paths.programFile(QStringLiteral("Images/pong.gif"));
    if (QFileInfo::exists(animation) && inprogress->load(animation)) {
        inprogressFile = animation;
        inprogressTag = 1;
    } else {
        inprogressTag = 2;
    }

    // Without the plan-definition files no plan can be made: say so and end.
    const QString planFiles[] = {QStringLiteral("system.txt"), QStringLiteral("ko_system.txt")};
    for (const QString& file : planFiles) {
        if (!QFileInfo::exists(m_services.paths.programFile(QStringLiteral("Files/") + file))) {
            m_services.prompter.prompt(PromptKind::Error,
                                       QStringLiteral("Die Datei \"%1\" konnte nicht gefunden werden").arg(file),
                                       PromptButtons::Cancel);
            m_terminate = true;
        }
    }

    enterNoTournamentState();
    setWindowTitle(kCaption);
    VersionLab->setText(kVersionText);

    PrinterBox->clear();
    PrinterBox->addItems(QPrinterInfo::availablePrinterNames());

    m_context.liveServiceURL = liveServiceUrl(userSettingsFile());
}

void TMainform::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    FormShow();
}

void TMainform::FormShow()
{
    Turnierbutton->setCollapsed(false);
}

void TMainform::Beenden1Click()
{
    close();
}

bool TMainform::eventFilter(QObject* watched, QEvent* event)
{
    // One wheel step moves the navigation by 5, whatever the step's size.
    if (watched == ScrollBox1->viewport() && event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int delta = wheel->angleDelta().y();
        if (delta != 0) {
            QScrollBar* bar = ScrollBox1->verticalScrollBar();
            bar->setValue(bar->value() + (delta < 0 ? 5 : -5));
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainform::bringToFront(QWidget* panel)
{
    Panels->setCurrentWidget(panel);
}

QWidget* TMainform::frontPanel() const
{
    return Panels->currentWidget();
}

void TMainform::setWorkAreaEnabled(bool enabled)
{
    centralWidget()->setEnabled(enabled);
    menuBar()->setEnabled(enabled);
}

bool TMainform::workAreaEnabled() const
{
    return centralWidget()->isEnabled() && menuBar()->isEnabled();
}

void TMainform::showWorkDialog(QWidget* dialog)
{
    if (auto* d = qobject_cast<QDialog*>(dialog))
        connect(d, &QDialog::finished, this, &TMainform::workDialogFinished, Qt::UniqueConnection);
    setWorkAreaEnabled(false);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void TMainform::workDialogFinished()
{
    setWorkAreaEnabled(true);
}

void TMainform::resetClassBar()
{
    Klassenbutton->clearItems();
    Klassenbutton->addItem(QStringLiteral("Klassen verwalten"), pictures::kManageClasses);
}

void TMainform::enableTournamentMenus(bool enabled)
{
    Spieleplaner1->setEnabled(enabled);
    AKverwaltung->setEnabled(enabled);
    Kostenabrechnung->setEnabled(enabled);
    CourtcastMenuitem->setEnabled(enabled);
}

void TMainform::enterNoTournamentState()
{
    Turnierbutton->setItemEnabled(TurnierLoeschen, false);
    Turnierbutton->setItemEnabled(TurnierBearbeiten, false);
    exportbutton->setCollapsed(true);
    exportbutton->setEnabled(false);
    Klassenbutton->setEnabled(false);
    Klassenbutton->setCollapsed(true);
    resetClassBar();
    spielplanbutton->clearItems();
    spielplanbutton->setEnabled(false);
    spielplanbutton->setCollapsed(true);
    Spielerbutton->setEnabled(false);
    Spielerbutton->setCollapsed(true);
    enableTournamentMenus(false);
}

void TMainform::enterCreatedState()
{
    Turnierbutton->setItemEnabled(TurnierLoeschen, true);
    Turnierbutton->setItemEnabled(TurnierBearbeiten, true);
    spielplanbutton->setEnabled(true);
    spielplanbutton->clearItems();
    spielplanbutton->setCollapsed(true);
    exportbutton->setEnabled(true);
    exportbutton->setCollapsed(true);
    Klassenbutton->setEnabled(true);
    resetClassBar();
    Klassenbutton->setCollapsed(false);
    turnierseite->Turniermenu->setCurrentIndex(0);
    Spielerbutton->setEnabled(true);
    Spielerbutton->setItemEnabled(0, true);
    Spielerbutton->setCollapsed(false);
    enableTournamentMenus(true);
}

void TMainform::enterOpenedState()
{
    resetClassBar();
    Spielerbutton->setCollapsed(true);
    Klassenbutton->setCollapsed(false);
    Klassenbutton->setEnabled(true);
    spielplanbutton->setEnabled(true);
    exportbutton->setEnabled(true);
    exportbutton->setCollapsed(true);
    spielplanbutton->clearItems();
    spielplanbutton->setCollapsed(true);
    Turnierbutton->setItemEnabled(TurnierBearbeiten, true);
    Turnierbutton->setItemEnabled(TurnierLoeschen, true);
    turnierseite->Turniermenu->setCurrentIndex(0);
    Spielerbutton->setEnabled(true);
    enableTournamentMenus(true);
}

void TMainform::TurnierbuttonMouseMove()
{
    Turnierbutton->setFocus(Qt::MouseFocusReason);
}

void TMainform::KlassenbuttonMouseMove()
{
    Klassenbutton->setFocus(Qt::MouseFocusReason);
}

void TMainform::TurnierbuttonItemClick(int index)
{
    // Leaving the plans for these pages stops the call-up reminders.
    Timer1->stop();
    switch (index) {
    case TurnierErstellen: emit createTournamentRequested(); break;
    case TurnierLaden: emit openTournamentRequested(); break;
    case TurnierLoeschen: TurnierbuttonItems2Click(); break;
    case TurnierBearbeiten: TurnierbuttonItems3Click(); break;
    default: break;
    }
}

void TMainform::KlassenbuttonItemClick(int index)
{
    if (index == 0)
        KlassenbuttonItems0Click();
    else if (index > 0 && index < Klassenbutton->itemCount())
        openGroupSetup(Klassenbutton->itemCaption(index));
}

void TMainform::SpielerbuttonItemClick(int index)
{
    Timer1->stop();
    switch (index) {
    case 0: showPlayerPage(*this); break;
    case 1: SpielerbuttonItems2Click(); break;
    case 2: SpielerbuttonItems1Click(); break;
    case 3: SpielerbuttonItems3Click(); break;
    case 4: showRefereePage(*this); break;
    default: break;
    }
}

void TMainform::SpielerbuttonItems3Click()
{
    bringToFront(import);
    if (importseite)
        importseite->clearLists();
}

void TMainform::impoertquelleClick()
{
    Timport_form* dialog = m_forms->import_form;
    dialog->importopenInitialDir = m_services.paths.programDir();
    if (dialog->runImportOpen(m_services.files, this))
        showWorkDialog(dialog);
}

void TMainform::Timer1Timer()
{
    // The class current at each tick; the plans show its reminders.
    forms().spielplaene->showReminders(m_context.aktuelleKID, m_services.clock.now());
}

void TMainform::spielplanbuttonItemClick(int index)
{
    if (index < 0 || index >= spielplanbutton->itemCount())
        return;
    bringToFront(spielplanform);
    Tspielplaene* plans = forms().spielplaene;
    plans->session().kid = m_context.aktuelleKID;
    plans->openClass(m_context.aktuelleTID, spielplanbutton->itemCaption(index));
    m_context.aktuelleKID = plans->session().kid;
}

} // namespace bw
