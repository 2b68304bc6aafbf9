#include "app/program.h"

#include "app/busyanimation.h"
#include "app/peoplepages.h"
#include "checkin/checkinpage.h"
#include "app/tdata_unit.h"
#include "app/timpressumform.h"
#include "app/tmainform.h"
#include "app/tmsdenetworkform.h"
#include "app/tr_nummer.h"
#include "app/tturnier_erstellen.h"
#include "app/tturnierladen.h"
#include "app/liveservice.h"
#include "app/usersettings.h"
#include "classes/taltersklassen.h"
#include "classes/ttisch_verwaltung.h"
#include "data/db_procedures.h"
#include "data/planlistrecords.h"
#include "data/kosystem.h"
#include "draw/drawfinish.h"
#include "draw/losen.h"
#include "draw/tauslosungsform.h"
#include "draw/tdoppelauswahl.h"
#include "draw/tgruppe.h"
#include "groups/groupsetuppage.h"
#include "live/tcourtcastform.h"
#include "output/tabrechnungform.h"
#include "output/tdruck_form.h"
#include "output/tdrucken.h"
#include "output/texportform.h"
#include "output/texportnewform.h"
#include "output/importpage.h"
#include "output/timport_form.h"
#include "output/tpdfform.h"
#include "output/tquittungprepareform.h"
#include "output/turkundeprepareform.h"
#include "people/playerpage.h"
#include "platform/prompter.h"
#include "plans/matchrecording.h"
#include "plans/tplanung.h"
#include "plans/planpanel.h"
#include "plans/resultdialogmodes.h"
#include "plans/teamdialogmodes.h"
#include "plans/tspielplaene.h"
#include "plans/tspielplan_form.h"
#include "platform/printersetupfile.h"
#include "platform/services.h"
#include "platformui/printercontext.h"
#include "results/tergebnis.h"
#include "results/tergebnis_team.h"
#include "results/umpiresheet.h"
#include "results/tteamform.h"
#include "results/tteam_melden.h"
#include "results/tteamauswahl.h"
#include "results/tvergleich.h"

#include "app/tournamentpage.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QTranslator>
#include <QSysInfo>
#include <QMenu>
#include <QVBoxLayout>

namespace bw {

void prepareApplication(QCoreApplication& app)
{
    QCoreApplication::setApplicationName(QStringLiteral("Brackwell"));
    const QLocale german(QLocale::German, QLocale::Germany);
    QLocale::setDefault(german);
    // Without the translations Qt's dialogs stay English; nothing else changes.
    auto* qtTexts = new QTranslator(&app);
    if (qtTexts->load(german, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTexts);
    else
        delete qtTexts;
}

Program::Program(Services& services) : m_services(services)
{
    QApplication::setApplicationName(QStringLiteral("Brackwell"));
    m_serverBrowser = std::make_unique<ServerBrowser>(userSettingsFile(), QSysInfo::machineHostName());

    // The creation order is fixed; each form prepares itself as it is made.
    m_mainform = std::make_unique<TMainform>(context, services);
    TMainform* main = m_mainform.get();
    forms.Mainform = main;
    forms.db_procedures = new Tdb_procedures(services.prompter, main);
    forms.Data_Unit = new TData_Unit(*main, context, *forms.db_procedures, main);
    forms.turnierladen = new Tturnierladen(main, context, services, forms);
    forms.Turnier_erstellen = new TTurnier_erstellen(main, context, services, forms);
    const auto database = [this] { return forms.db_procedures->ADOConnection1(); };
    forms.gruppe = new Tgruppe(main, database);
    forms.Altersklassen = new TAltersklassen(main, services.prompter, database, context.aktuelleTID);
    forms.Doppelauswahl = new TDoppelauswahl(main, services.prompter, database);
    forms.auslosungsform =
        new Tauslosungsform(main, AuslosungLinks{services.prompter, database, context.aktuelleTID, context.aktuelleKID});
    forms.spielplaene = new Tspielplaene(main);
    forms.ergebnis = new Tergebnis(main, services.prompter);
    forms.vergleich = new Tvergleich(main);
    forms.R_Nummer = new TR_Nummer(*main, context, services, *forms.db_procedures);
    forms.tisch_verwaltung = new Ttisch_verwaltung(main, services.prompter, database, context.aktuelleKID);
    forms.teamform = new Tteamform(main, services.prompter, database);
    forms.teamauswahl =
        new Tteamauswahl(main, services.prompter, database, [this] { return context.aktuelleTID; });
    forms.ergebnis_team = new Tergebnis_team(main, services.prompter);
    forms.spielplan_form = new Tspielplan_form(
        main, SpielplanFormLinks{&services.prompter, database, [this] { return context.aktuelleKID; },
                                 [this] { return context.aktuellerTurniername; },
                                 [main]() -> QPrinter& { return main->printerContext().printer(); }, [main] {
                                     main->setWorkAreaEnabled(true);
                                     main->raise();
                                     main->activateWindow();
                                 }});
    forms.team_melden = new Tteam_melden(main);
    forms.import_form = new Timport_form(
        main, ImportFormLinks{services.prompter, database, main->ProgressBar1, [main](const QList<ImportItem>& items) {
                                  if (main->importseite)
                                      main->importseite->setSourceEntries(items);
                              }});
    forms.planung = new Tplanung(main, PlanungLinks{services.prompter, database, context.aktuelleTID,
                                                    [this](int kid, int spielnummer, int nummer) {
                                                        editPlannedMatch(kid, spielnummer, nummer);
                                                    }});
    forms.drucken = new Tdrucken(main);
    forms.druck_form = new Tdruck_form(main);
    forms.drucken->setLinks(DruckenLinks{
        &services.prompter, database, [this] { return context.aktuelleKID; },
        [this] { return context.aktuellerTurniername; },
        [this] { return forms.spielplaene->panel() ? forms.spielplaene->panel()->spielplantext->text() : QString(); },
        [this](const QString& relative) { return m_services.paths.programFile(relative); },
        [main]() -> QPrinter& { return main->printerContext().printer(); }, forms.druck_form,
        [this] { return forms.spielplaene->session().klasseninfos; }});
    forms.exportform = new Texportform(main, services, database, context.aktuelleTID, context.aktuellerTurniername,
                                       main->ProgressBar1);
    forms.pdfform = new Tpdfform(main, &services.clock);
    forms.MSDENetworkForm = new TMSDENetworkForm(main, context, services, *m_serverBrowser, forms);
    forms.ImpressumForm = new TImpressumForm(main, services);
    forms.QuittungPrepareForm = new TQuittungPrepareForm(main, services);
    forms.UrkundePrepareForm = new TUrkundePrepareForm(main, services);
    forms.AbrechnungForm = new TAbrechnungForm(main, services, database, context.aktuelleTID);
    forms.CourtcastForm = new TCourtcastForm(
        main, CourtcastLinks{services.prompter, database, context.aktuelleTID, context.liveLoginID,
                             context.liveServiceURL, userSettingsFolder(), &context.aktuelleSID,
                             liveTrustedEndpoints(userSettingsFile())});
    forms.ExportNewForm = new TExportNewForm(main, services, database, context.aktuelleTID,
                                             context.aktuellerTurniername, *forms.pdfform);
    main->setForms(&forms);
    main->registrationFormWriter = [this](const QString&) { forms.Data_Unit->anmeldeformular_create(); };
    main->setUpClassPage(database);
    installPeoplePages(*main, context, services, forms);
    addCheckInPage();
    addGroupSetupPage();
    connectDrawWizard();
    addPlanPanel();
    addImportPage();

    QObject::connect(main, &TMainform::createTournamentRequested, main, [this] { showCreateDialog(); });
    QObject::connect(main, &TMainform::openTournamentRequested, main, [this] { showOpenDialog(); });
}

Program::~Program()
{
    // The forms and data modules go with the main window, the connection with
    // its data module.
    m_mainform.reset();
}

void Program::addCheckInPage()
{
    TMainform* main = m_mainform.get();
    CheckInPageLinks links{m_services.prompter,
                           [this] { return forms.db_procedures->ADOConnection1(); },
                           context.aktuelleTID,
                           main->ProgressBar1,
                           *forms.team_melden,
                           *forms.teamauswahl,
                           [main] { main->bringToFront(main->Anmeldung); },
                           [main](QWidget* dialog) { main->showWorkDialog(dialog); },
                           [main](const TypedName& name) {
                               showPlayerPage(*main);
                               if (main->spielerseite) {
                                   main->spielerseite->snachname->setText(name.nachname);
                                   main->spielerseite->svorname->setText(name.vorname);
                               }
                           },
                           [](QDialog& dialog) { return dialog.exec(); }};
    auto* layout = new QVBoxLayout(main->Anmeldung);
    layout->setContentsMargins(0, 0, 0, 0);
    main->checkInPage = new CheckInPage(links, main->Anmeldung);
    layout->addWidget(main->checkInPage);
}

void Program::addImportPage()
{
    TMainform* main = m_mainform.get();
    ImportPageLinks links{m_services.prompter, [this] { return forms.db_procedures->ADOConnection1(); },
                          context.aktuelleTID, main->ProgressBar1, [main] { main->impoertquelleClick(); }};
    auto* layout = new QVBoxLayout(main->import);
    layout->setContentsMargins(0, 0, 0, 0);
    main->importseite = new ImportPage(links, main->import);
    layout->addWidget(main->importseite);
}

void Program::addGroupSetupPage()
{
    TMainform* main = m_mainform.get();
    Tauslosungsform* wizard = forms.auslosungsform;
    GroupSetupPageLinks links{m_services.prompter,
                              m_services.random,
                              [this] { return forms.db_procedures->ADOConnection1(); },
                              *forms.gruppe,
                              context.aktuelleTID,
                              context.aktuelleKID,
                              [main, wizard] {
                                  wizard->Tag = 1;
                                  main->showWorkDialog(wizard);
                              }};
    auto* layout = new QVBoxLayout(main->Gruppen);
    layout->setContentsMargins(0, 0, 0, 0);
    main->gruppenseite = new GroupSetupPage(links, main->Gruppen);
    layout->addWidget(main->gruppenseite);
}

void Program::connectDrawWizard()
{
    TMainform* main = m_mainform.get();
    forms.auslosungsform->losen = [this](DrawModel& model, int phase, const DrawOptions& options) {
        const DrawPhase& ph = model.phase(phase);
        const std::vector<int> positions =
            ph.isKnockOut() ? readSeedPositions(forms.db_procedures->ADOConnection1(), int(ph.koinfos.size()))
                            : std::vector<int>{};
        bw::losen(model, phase, {options.randomSeeds == 1, options.vereinBeachten, options.freiloseZufaellig},
                  positions, m_services.random);
    };
    forms.auslosungsform->fertigStellen = [this, main](Tauslosungsform& wizard) {
        const FinishDrawLinks links{.prompter = m_services.prompter,
                                    .database = [this] { return forms.db_procedures->ADOConnection1(); },
                                    .paths = m_services.paths,
                                    .listPlans = [main](int kid) { main->listClassPlan(kid); },
                                    .planshow = [this](int kid) { forms.spielplaene->redraw(kid); },
                                    .progress = [main](int done, int total) {
                                        main->ProgressBar1->setRange(0, std::max(1, total));
                                        main->ProgressBar1->setValue(done);
                                    }};
        return fertigClick(finishedDraw(wizard.model(), wizard.tid()), links);
    };
}

void Program::editPlannedMatch(int kid, int spielnummer, int nummer)
{
    TMainform* main = m_mainform.get();
    const QDate firstDay = main->turnierseite ? main->turnierseite->Tvon->date() : QDate();
    // The games of a team match are edited in the team dialog.
    QDialog* dialog = forms.ergebnis;
    if (nummer >= 0 || !m_resultModes->bearbeiten(kid, spielnummer, firstDay)) {
        m_teamModes->bearbeiten(kid, spielnummer, firstDay);
        dialog = forms.ergebnis_team;
    }
    // The board shows what the dialog stored once it closes.
    QObject::connect(
        dialog, &QDialog::finished, forms.planung,
        [this] { runGuarded(m_services.prompter, [this] { forms.planung->refresh(); }); }, Qt::SingleShotConnection);
}

void Program::addPlanPanel()
{
    TMainform* main = m_mainform.get();
    Tauslosungsform* wizard = forms.auslosungsform;
    auto* layout = new QVBoxLayout(main->spielplanform);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* panel = new PlanPanel(main->spielplanform);
    layout->addWidget(panel);
    PlanLinks links;
    links.prompter = &m_services.prompter;
    links.database = [this] { return forms.db_procedures->ADOConnection1(); };
    links.firstDay = [main] { return main->turnierseite ? main->turnierseite->Tvon->date() : QDate(); };
    links.programFile = [this](const QString& relative) { return m_services.paths.programFile(relative); };
    links.redrawPhase = [wizard](int phase) {
        // The wizard redraws the phase of the plan panel's page; the main window stays enabled.
        wizard->Tag = 2;
        wizard->redrawPhase = phase;
        wizard->show();
        wizard->raise();
    };
    links.spielplan_form = forms.spielplan_form;
    links.showMatchList = [this, main] { main->showWorkDialog(forms.spielplan_form); };
    links.printer = forms.drucken;
    links.ergebnis = forms.ergebnis;
    links.ergebnis_team = forms.ergebnis_team;
    links.Timer1 = main->Timer1;
    const auto database = [this] { return forms.db_procedures->ADOConnection1(); };
    m_resultModes = std::make_unique<ResultDialogModes>(*forms.spielplaene, *forms.ergebnis, database);
    links.dialogs = m_resultModes.get();
    m_teamModes = std::make_unique<TeamDialogModes>(*forms.spielplaene, *forms.ergebnis_team, database);
    m_resultModes->team = m_teamModes.get();
    TergebnisTeamLinks teamLinks;
    teamLinks.clock = &m_services.clock;
    teamLinks.database = database;
    teamLinks.naechstesSpielAnzeigen = [this] { return context.naechstesSpielAnzeigen; };
    teamLinks.twin = {forms.ergebnis->next, forms.ergebnis->next1};
    teamLinks.matchCalled = [this](int n, const HeldTeamResources& held) { m_teamModes->matchCalled(n, held); };
    teamLinks.matchStarted = [this](int n) { m_teamModes->matchStarted(n); };
    teamLinks.rebuildStates = [this] { m_teamModes->rebuildStates(); };
    teamLinks.schiedsrichterzettel = [this, main, database](int kid, int spielnummer) {
        const QSqlDatabase db = database();
        druckenTeamUmpireSheets(m_services.prompter, main->printerContext(),
                                m_services.paths.dataFile(PrinterSetupFile::kUmpireSheets), db, kid, spielnummer,
                                readSetsToWin(db, kid));
    };
    Tergebnis_team* ergebnisTeam = forms.ergebnis_team;
    teamLinks.spielBeendet = [this, ergebnisTeam](const TeamMatchFinish& finish) {
        return m_recording->spielBeendet(finish, [ergebnisTeam] { ergebnisTeam->accept(); });
    };
    teamLinks.korrigieren = [this, ergebnisTeam](const TeamMatchFinish& finish) {
        return m_recording->korrigieren(finish, [ergebnisTeam] { ergebnisTeam->accept(); });
    };
    forms.ergebnis_team->setLinks(teamLinks);
    links.teamSpielZuruecksetzen = [this](int n, MatchStage shown) {
        m_teamModes->spielZuruecksetzen(n, shown);
    };
    TergebnisLinks dialogLinks;
    dialogLinks.clock = &m_services.clock;
    dialogLinks.database = database;
    dialogLinks.naechstesSpielAnzeigen = [this] { return context.naechstesSpielAnzeigen; };
    dialogLinks.twin = {forms.ergebnis_team->next, forms.ergebnis_team->next1};
    dialogLinks.setWorkAreaEnabled = [this, main](bool enabled) {
        main->setWorkAreaEnabled(enabled);
        forms.planung->setEnabled(enabled);
    };
    dialogLinks.plan = m_resultModes.get();
    m_recording = std::make_unique<MatchRecording>(
        *forms.spielplaene, MatchRecordingLinks{&m_services.prompter, &m_services.clock, database,
                                                [this] { return context.aktuelleTID; }, forms.vergleich});
    Tergebnis* ergebnis = forms.ergebnis;
    dialogLinks.spielBeendet = [this, ergebnis](const MatchFinish& finish) {
        return m_recording->spielBeendet(finish, [ergebnis] { ergebnis->accept(); });
    };
    dialogLinks.korrigieren = [this, ergebnis](const MatchFinish& finish) {
        return m_recording->korrigieren(finish, [ergebnis] { ergebnis->accept(); });
    };
    dialogLinks.spielZuruecksetzen = [this](int kid, int spielnummer, MatchStage shown) {
        m_recording->spielZuruecksetzen(kid, spielnummer, shown);
    };
    dialogLinks.schiedsrichterzettel = [this, main, database](int kid, int spielnummer) {
        const QSqlDatabase db = database();
        druckenUmpireSheet(m_services.prompter, main->printerContext(),
                           m_services.paths.dataFile(PrinterSetupFile::kUmpireSheets), db, kid, spielnummer,
                           readSetsToWin(db, kid));
    };
    forms.ergebnis->setLinks(dialogLinks);
    links.tabelleRechnen = [this](int kid, int gid) { forms.Data_Unit->Tabelle_Rechnen(kid, gid); };
    links.prepareCertificate = [this, main](const QString& name, const QString& club, const QString& title,
                                            QPoint at) {
        forms.UrkundePrepareForm->fillFromPlan(name, club, title);
        main->UrkundePopUp->popup(at);
    };
    links.busy = [main](bool shown) {
        // The wait cursor always; the animation, centred on the plan panel, when its picture is there.
        if (shown)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
        if (main->inprogressTag != 1)
            return;
        BusyAnimation* animation = main->inprogress;
        if (!shown) {
            animation->hide();
            return;
        }
        QWidget* panel = main->spielplanform;
        if (animation->parentWidget() != panel)
            animation->setParent(panel);
        animation->resize(animation->sizeHint());
        animation->move(panel->width() / 2 - animation->width() / 2, panel->height() / 2 - animation->height() / 2);
        animation->show();
        animation->raise();
        animation->repaint();
    };
    forms.spielplaene->attach(panel, links);
}

void Program::showCreateDialog()
{
    forms.Turnier_erstellen->turniername->clear();
    m_mainform->showWorkDialog(forms.Turnier_erstellen);
    // Every showing starts in the name field, so typing goes there.
    forms.Turnier_erstellen->turniername->setFocus();
}

void Program::showOpenDialog()
{
    m_mainform->showWorkDialog(forms.turnierladen);
}

int Program::exec()
{
    if (m_mainform->terminateRequested())
        return 1;
    m_mainform->show();
    return QApplication::exec();
}

} // namespace bw
