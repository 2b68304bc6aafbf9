#include "app/tturnier_erstellen.h"

#include "app/appcontext.h"
#include "app/forms.h"
#include "app/tmainform.h"
#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "data/db_procedures.h"
#include "data/tournamentrecords.h"
#include "platform/apperror.h"
#include "platform/services.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace bw {

TTurnier_erstellen::TTurnier_erstellen(QWidget* parent, AppContext& context, Services& services, const Forms& forms)
    : QDialog(parent), m_context(context), m_services(services), m_forms(forms)
{
    setObjectName(QStringLiteral("Turnier_erstellen"));
    setWindowTitle(QStringLiteral("Neues Turnier erstellen"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Geben Sie bitte einen Namen für Ihr Turnier ein"), this));
    turniername = new QLineEdit(this);
    turniername->setObjectName(QStringLiteral("turniername"));
    layout->addWidget(turniername);

    auto option = [&](const QString& name, const QString& text) {
        auto* box = new TuiCheckbox(this, name, text);
        box->SetChecked(true);
        box->setEnabled(false);
        layout->addWidget(box);
        return box;
    };
    check1 = option(QStringLiteral("check1"), QStringLiteral("Schiedsrichterverwaltung aktivieren"));
    check2 = option(QStringLiteral("check2"), QStringLiteral("Überprüfung der Spielberechtigungen"));
    check3 = option(QStringLiteral("check3"), QStringLiteral("Vereinsverwaltung aktivieren"));
    check4 = option(QStringLiteral("check4"), QStringLiteral("Schiedsrichterzettel drucken"));

    RadioGroup1 = new QGroupBox(QStringLiteral("Datenformat"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    auto* radios = new QHBoxLayout(RadioGroup1);
    serverOption = new QRadioButton(QStringLiteral("Datenbank Server"), RadioGroup1);
    serverOption->setObjectName(QStringLiteral("RadioGroup1_0"));
    fileOption = new QRadioButton(QStringLiteral("SQLite Datenbank"), RadioGroup1);
    fileOption->setObjectName(QStringLiteral("RadioGroup1_1"));
    serverOption->setChecked(true);
    radios->addWidget(serverOption);
    radios->addWidget(fileOption);
    layout->addWidget(RadioGroup1);

    auto* buttons = new QHBoxLayout;
    erstellen = new TuiButton(this, QStringLiteral("erstellen"), QStringLiteral("Turnier erstellen"));
    erstellen->SetDefault(true);
    zurueck = new TuiButton(this, QStringLiteral("zurueck"), QStringLiteral("Zurück"));
    buttons->addStretch();
    buttons->addWidget(erstellen);
    buttons->addWidget(zurueck);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    SaveDialog1FileName = services.paths.dataFile(kDefaultDatabaseFile);
    connect(erstellen, &TuiButton::OnClick, this, &TTurnier_erstellen::erstellenClick);
    connect(zurueck, &TuiButton::OnClick, this, &QDialog::reject);
}

void TTurnier_erstellen::erstellenClick()
{
    Prompter& prompter = m_services.prompter;
    const QString name = turniername->text().trimmed();
    if (name.isEmpty()) {
        prompter.information(QStringLiteral("Bitte geben Sie einen Namen ein"));
        return;
    }
    Tdb_procedures& database = *m_forms.db_procedures;
    DatabaseLocation source{false, QString(), database.serverName};
    if (fileOption->isChecked()) {
        const QString picked = m_services.files.chooseFile(this, QStringLiteral("Datenbank wählen"),
                                                           SaveDialog1FileName, kDatabaseFileFilter);
        if (!picked.isEmpty())
            m_chosenFile = picked;
        // Cancelled: the file chosen before in this run, if there is one.
        const QString path = m_chosenFile.isEmpty() ? database.dbPfad : m_chosenFile;
        if (path.isEmpty())
            return;
        source = {true, path, database.serverName};
    }

    ScopedConnection candidate;
    try {
        candidate = database.openCandidate(source, m_context.serverCatalog);
    } catch (const std::exception& e) {
        prompter.prompt(PromptKind::Error, QStringLiteral("Datenbank verbinden fehlgeschlagen\r") + exceptionText(e),
                        PromptButtons::Cancel);
        return;
    }
    try {
        database.richtige_db(candidate.db());
    } catch (const std::exception&) {
        prompter.prompt(PromptKind::Error, QStringLiteral("Es wurde eine falsche Datenbank ausgewählt"),
                        PromptButtons::Cancel);
        return;
    }

    // The new tournament goes into the chosen database before the program
    // switches to it: a failure leaves the open tournament as it was.
    const std::array<bool, 4> options{check1->Checked(), check2->Checked(), check3->Checked(),
                                      check4->Checked()};
    TournamentData data;
    data[TournamentField::turniername] = name;
    const QDate today = m_services.clock.today();
    for (TournamentField f : {TournamentField::tvon, TournamentField::tbis, TournamentField::meldeschluss,
                              TournamentField::auslosung})
        data[f] = today;
    int tid = 0;
    if (!runGuarded(prompter, [&] { tid = insertTournament(candidate.db(), data, options); }))
        return;

    database.adopt(std::move(candidate), source);
    database.dbWahrWert = 1;
    m_context.aktuellerTurniername = name;
    m_context.turnierOptionen = options;
    m_context.aktuelleTID = tid;
    m_context.aktuelleKID = 0;
    m_context.liveLoginID = 0;
    accept();
    m_forms.Mainform->showCreatedTournament(name);
}

} // namespace bw
