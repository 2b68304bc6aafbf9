#include "app/tturnierladen.h"

#include "app/appcontext.h"
#include "app/forms.h"
#include "app/tmainform.h"
#include "app/tmsdenetworkform.h"
#include "app/tturnier_erstellen.h"
#include "controls/uibuttons.h"
#include "data/db_procedures.h"
#include "data/preparation.h"
#include "data/tournamentrecords.h"
#include "platform/apperror.h"
#include "platform/services.h"

#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSysInfo>
#include <QVBoxLayout>

namespace bw {

namespace {

// The database server of this computer: the chosen server when it is this
// computer, else the local one.
QString localServer(const QString& chosen)
{
    const QString host = ServerAddress::parse(chosen).host;
    const bool local = host.startsWith(QLatin1Char('/')) || host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0
        || host == QLatin1String("localhost") || host == QLatin1String("127.0.0.1") || host == QLatin1String("::1");
    return local ? chosen : QStringLiteral("localhost");
}

} // namespace

Tturnierladen::Tturnierladen(QWidget* parent, AppContext& context, Services& services, const Forms& forms)
    : QDialog(parent), m_context(context), m_services(services), m_forms(forms)
{
    setObjectName(QStringLiteral("turnierladen"));
    setWindowTitle(QStringLiteral("Bestehendes Turnier laden"));
    auto* layout = new QVBoxLayout(this);

    auto* sources = new QHBoxLayout;
    MSDESelBox = new QRadioButton(QStringLiteral("Datenbank Server"), this);
    MSDESelBox->setObjectName(QStringLiteral("MSDESelBox"));
    MSDESelBox->setChecked(true);
    AccessDBSelButton = new QRadioButton(QStringLiteral("SQLite Datenbank"), this);
    AccessDBSelButton->setObjectName(QStringLiteral("AccessDBSelButton"));
    sources->addWidget(MSDESelBox);
    sources->addWidget(AccessDBSelButton);
    layout->addLayout(sources);

    auto* path = new QHBoxLayout;
    DBPathEditBox = new QLineEdit(this);
    DBPathEditBox->setObjectName(QStringLiteral("DBPathEditBox"));
    DBPathEditBox->setReadOnly(true);
    AccessSelButton = new TuiButton(this, QStringLiteral("AccessSelButton"), QStringLiteral("Durchsuchen"));
    path->addWidget(DBPathEditBox, 1);
    path->addWidget(AccessSelButton);
    layout->addLayout(path);

    layout->addWidget(new QLabel(QStringLiteral("Vorhanden Turniere"), this));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    layout->addWidget(ListBox1, 1);

    WaitPanel = new QFrame(this);
    WaitPanel->setObjectName(QStringLiteral("WaitPanel"));
    WaitPanel->setFrameShape(QFrame::Panel);
    WaitText = new QLabel(QStringLiteral("   Suche nach dem Server     ... bitte warten..."), WaitPanel);
    WaitText->setObjectName(QStringLiteral("WaitText"));
    (new QHBoxLayout(WaitPanel))->addWidget(WaitText);
    WaitPanel->setVisible(false);
    layout->addWidget(WaitPanel);

    auto* buttons = new QHBoxLayout;
    AttachButton = new TuiButton(this, QStringLiteral("AttachButton"), QStringLiteral("Turnier-DB anhängen"));
    uiButton1 = new TuiButton(this, QStringLiteral("uiButton1"), QStringLiteral("Turnier laden"));
    uiButton1->SetDefault(true);
    uiButton2 = new TuiButton(this, QStringLiteral("uiButton2"), QStringLiteral("Zurück"));
    buttons->addWidget(AttachButton);
    buttons->addStretch();
    buttons->addWidget(uiButton1);
    buttons->addWidget(uiButton2);
    layout->addLayout(buttons);
    resize(460, 420);

    connect(MSDESelBox, &QRadioButton::clicked, this, &Tturnierladen::MSDESelBoxClick);
    connect(AccessDBSelButton, &QRadioButton::clicked, this, &Tturnierladen::AccessDBSelButtonClick);
    connect(AccessSelButton, &TuiButton::OnClick, this, &Tturnierladen::AccessSelButtonClick);
    connect(uiButton1, &TuiButton::OnClick, this, &Tturnierladen::uiButton1Click);
    connect(uiButton2, &TuiButton::OnClick, this, &QDialog::reject);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &Tturnierladen::ListBox1DblClick);
    connect(AttachButton, &TuiButton::OnClick, this, &Tturnierladen::AttachButtonClick);

    // The server of this computer until the user chooses another.
    m_forms.db_procedures->serverName = Tdb_procedures::ComputerName();
    m_lastFromServer = false;
    AttachButton->setVisible(false);
}

QString Tturnierladen::defaultFile() const
{
    return m_services.paths.dataFile(kDefaultDatabaseFile);
}

void Tturnierladen::showWait(const QString& text)
{
    WaitText->setText(text);
    WaitPanel->setVisible(true);
    WaitPanel->repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void Tturnierladen::hideWait()
{
    if (WaitPanel->isVisible())
        QApplication::restoreOverrideCursor();
    WaitPanel->setVisible(false);
}

DatabaseLocation Tturnierladen::fileSource(const QString& path) const
{
    return {true, path, m_forms.db_procedures->serverName};
}

DatabaseLocation Tturnierladen::serverSource() const
{
    return {false, QString(), m_forms.db_procedures->serverName};
}

void Tturnierladen::browse(const DatabaseLocation& source)
{
    m_browsed = ScopedConnection();
    m_browsed = m_forms.db_procedures->openCandidate(source, m_context.serverCatalog);
}

void Tturnierladen::vorhandenturniereladen()
{
    showTournaments(m_browsed.db().isValid() ? listTournaments(m_browsed.db()) : QList<TournamentEntry>());
}

void Tturnierladen::showBrowsed(ScopedConnection connection, const QList<TournamentEntry>& tournaments)
{
    m_browsed = std::move(connection);
    showTournaments(tournaments);
}

void Tturnierladen::showTournaments(const QList<TournamentEntry>& tournaments)
{
    ListBox1->clear();
    tids.clear();
    for (const TournamentEntry& entry : tournaments) {
        ListBox1->addItem(entry.name);
        tids.append(entry.tid);
    }
    if (ListBox1->count() > 0)
        ListBox1->setCurrentRow(0);
}

void Tturnierladen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void Tturnierladen::FormShow()
{
    if (m_lastFromServer) {
        DBPathEditBox->setText(m_forms.db_procedures->serverName);
        try {
            browse(serverSource());
            vorhandenturniereladen();
            return;
        } catch (const std::exception&) {
            // Not reachable now: look for the default file instead.
        }
    }
    if (QFileInfo::exists(defaultFile())) {
        AccessDBSelButton->setChecked(true);
        AccessDBSelButtonClick();
    }
}

void Tturnierladen::AccessDBSelButtonClick()
{
    DBPathEditBox->setText(defaultFile());
    ListBox1->clear();
    tids.clear();
    AttachButton->setVisible(false);
    runGuarded(m_services.prompter, [&] {
        browse(fileSource(defaultFile()));
        vorhandenturniereladen();
    });
}

void Tturnierladen::MSDESelBoxClick()
{
    showWait(QStringLiteral("  Suche nach dem Server     ...bitte warten..."));
    AttachButton->setVisible(false);
    DBPathEditBox->setText(m_forms.db_procedures->serverName);
    ListBox1->setEnabled(true);
    ListBox1->clear();
    tids.clear();
    try {
        browse(serverSource());
        vorhandenturniereladen();
    } catch (const std::exception&) {
        m_browsed = ScopedConnection();
        ListBox1->clear();
        tids.clear();
    }
    if (ListBox1->count() == 0)
        AttachButton->setVisible(true);
    hideWait();
}

void Tturnierladen::AccessSelButtonClick()
{
    if (AccessDBSelButton->isChecked()) {
        const QString picked = m_services.files.openFile(this, QStringLiteral("Datenbank öffnen"),
                                                         m_services.paths.dataDir(), kDatabaseFileFilter);
        if (!picked.isEmpty())
            DBPathEditBox->setText(picked);
        try {
            browse(fileSource(DBPathEditBox->text()));
        } catch (const std::exception& e) {
            m_services.prompter.information(QStringLiteral("SQLite-Datenbank nicht vorhanden\r") + exceptionText(e));
            return;
        }
        runGuarded(m_services.prompter, [&] { vorhandenturniereladen(); });
        return;
    }
    showWait(QStringLiteral("   Suche nach Computern     ...bitte warten..."));
    TMSDENetworkForm* network = m_forms.MSDENetworkForm;
    setEnabled(false);
    network->show();
    network->raise();
}

void Tturnierladen::ListBox1DblClick(QListWidgetItem* item)
{
    if (item && ListBox1->currentRow() >= 0)
        uiButton1Click();
}

void Tturnierladen::uiButton1Click()
{
    Prompter& prompter = m_services.prompter;
    const bool file = AccessDBSelButton->isChecked();
    if (file && !QFileInfo(DBPathEditBox->text()).isFile()) {
        prompter.prompt(PromptKind::Error, QStringLiteral("Bitte wählen sie eine SQLite Datenbank aus !"),
                        PromptButtons::Ok);
        return;
    }
    Tdb_procedures& database = *m_forms.db_procedures;
    const DatabaseLocation source = file ? fileSource(DBPathEditBox->text()) : serverSource();
    ScopedConnection candidate;
    try {
        candidate = database.openCandidate(source, m_context.serverCatalog);
    } catch (const std::exception& e) {
        prompter.information(QStringLiteral("Datenbank nicht vorhanden\r") + exceptionText(e));
        return;
    }
    try {
        database.richtige_db(candidate.db());
    } catch (const std::exception&) {
        prompter.prompt(PromptKind::Error, QStringLiteral("Es wurde eine falsche Datenbank ausgewählt"),
                        PromptButtons::Cancel);
        return;
    }
    const int row = ListBox1->currentRow();
    if (ListBox1->count() == 0 || row < 0) {
        prompter.information(QStringLiteral("Es ist kein Turnier vorhanden"));
        return;
    }

    const int tid = tids.value(row);
    const QString name = ListBox1->item(row)->text();
    database.adopt(std::move(candidate), source);
    database.dbWahrWert = 1;
    m_lastFromServer = !file;
    m_context.aktuelleTID = tid;
    m_context.aktuellerTurniername = name;
    m_context.aktuelleKID = 0;
    m_context.liveLoginID = 0;
    accept();
    m_forms.Mainform->showOpenedTournament(name, tid);
}

void Tturnierladen::AttachButtonClick()
{
    Prompter& prompter = m_services.prompter;
    showWait(QStringLiteral("  Turnier-Datenbank wird angelegt     ...bitte warten..."));
    QString error;
    try {
        preparePostgresCatalog(ServerAddress::forServer(localServer(m_forms.db_procedures->serverName)),
                               m_context.serverCatalog);
    } catch (const std::exception& e) {
        error = exceptionText(e);
    }
    hideWait();
    if (error.isEmpty())
        prompter.information(QStringLiteral("Der Befehl wurde ausgeführt."));
    else
        prompter.prompt(PromptKind::Error,
                        QStringLiteral("Die Turnier-Datenbank konnte nicht angelegt werden:\r%1").arg(error),
                        PromptButtons::Ok);
    MSDESelBoxClick();
}

} // namespace bw
