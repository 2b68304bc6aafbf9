#include "live/tcourtcastform.h"

#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "live/formrows.h"
#include "live/savedlogin.h"
#include "platform/apperror.h"
#include "platform/prompter.h"
#include "zip/ziparc.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace bw {

using namespace formrows;

namespace {

const QString kUnreachable = QStringLiteral(
    "Achtung der Webservice konnte nicht gefunden werden!\r"
    "\r"
    "1.) Haben sie eine Internetverbundung hergestellt?\r"
    "2.) Ist Port 80 an ihrer Firewall freigegeben?\r"
    "\r"
    "Bitte probieren sie später noch einmal. Sollte das Problem\r"
    "weiterhin bestehen, wenden sie sich bitte an Ostrand Software.");
const QString kPrompt = QStringLiteral("-- Bitte nehmen sie eine Zuordnung vor --");
const QString kNoAssignment = QStringLiteral("-- Keine Zuweisung --");
const QString kLoginCaption = QStringLiteral("Am Server anmelden");
const QString kLogoutCaption = QStringLiteral("Abmelden");

} // namespace

TCourtcastForm::TCourtcastForm(QWidget* parent, const CourtcastLinks& links)
    : QDialog(parent), m_links(links), m_page(this, links.prompter)
{
    setObjectName(QStringLiteral("CourtcastForm"));
    setWindowTitle(QStringLiteral("Courtcast Anbindung"));
    ZipArchiver1 = new zip::TZipArchiver(this, zip::TZipArchiver::Creation::WhileLoading);
    ZipArchiver1->setObjectName(QStringLiteral("ZipArchiver1"));

    auto* layout = new QVBoxLayout(this);
    TitleLabel = new QLabel(QStringLiteral("Courtcast - Datenanbindung"), this);
    TitleLabel->setObjectName(QStringLiteral("TitleLabel"));
    TitleLabel->setFont(boldFont(TitleLabel->font()));
    layout->addWidget(TitleLabel);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setDocumentMode(true);
    // The tabs look like buttons.
    PageControl1->tabBar()->setStyleSheet(QStringLiteral(
        "QTabBar::tab { border: 1px solid #1f3f7f; border-radius: 3px; padding: 4px 8px; margin: 2px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #d6e0f0); }"
        "QTabBar::tab:selected { background: #b8cbea; }"
        "QTabBar::tab:hover { border-color: #f0a030; }"));
    PageControl1->tabBar()->setUsesScrollButtons(false);
    layout->addWidget(PageControl1);

    // Page 1: login and assignment.
    SheetUser = new QWidget;
    SheetUser->setObjectName(QStringLiteral("SheetUser"));
    auto* userLayout = new QVBoxLayout(SheetUser);
    Panel1 = new QWidget(SheetUser);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    userLayout->addWidget(Panel1);
    auto* panel1Layout = new QVBoxLayout(Panel1);

    LoginGroup = new QGroupBox(QStringLiteral("1.) Anmeldung am Courtcast System"), Panel1);
    auto* loginLayout = new QGridLayout(LoginGroup);
    loginLayout->addWidget(new QLabel(QStringLiteral("Benutzername"), LoginGroup), 0, 0);
    BenutzernameEdit = new QLineEdit(LoginGroup);
    BenutzernameEdit->setObjectName(QStringLiteral("BenutzernameEdit"));
    loginLayout->addWidget(BenutzernameEdit, 0, 1);
    loginLayout->addWidget(new QLabel(QStringLiteral("Passwort"), LoginGroup), 1, 0);
    PassWortEdit = new QLineEdit(LoginGroup);
    PassWortEdit->setObjectName(QStringLiteral("PassWortEdit"));
    PassWortEdit->setEchoMode(QLineEdit::Password);
    loginLayout->addWidget(PassWortEdit, 1, 1);
    LogInButton = new TuiButton(LoginGroup, QStringLiteral("LogInButton"), kLoginCaption);
    loginLayout->addWidget(LogInButton, 0, 2, 2, 1);
    SaveSettingBox = new TuiCheckbox(LoginGroup, QStringLiteral("SaveSettingBox"),
                                     QStringLiteral("Daten merken und beim nächsten mal automatisch einfügen"));
    loginLayout->addWidget(SaveSettingBox, 2, 0, 1, 3);
    panel1Layout->addWidget(LoginGroup);

    AssignGroup = new QGroupBox(QStringLiteral("2.) Zuordnung zu Courtcast-Turnier"), Panel1);
    auto* assignLayout = new QVBoxLayout(AssignGroup);
    auto* assignText = new QLabel(QStringLiteral("An dieser Stelle wird die Verknüpfung zu einem Turnier in Courtcast "
                                                 "hergestellt. Bitte wählen sie das entsprechende Turnier aus:"),
                                  AssignGroup);
    assignText->setWordWrap(true);
    assignLayout->addWidget(assignText);
    auto* assignRow = new QHBoxLayout;
    TurnierAssignBox = new QComboBox(AssignGroup);
    TurnierAssignBox->setObjectName(QStringLiteral("TurnierAssignBox"));
    TurnierAssignBox->addItem(kPrompt);
    TurnierAssignBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    TurnierAssignBox->setMinimumContentsLength(30);
    assignRow->addWidget(TurnierAssignBox, 1);
    ZuordButton = new TuiButton(AssignGroup, QStringLiteral("ZuordButton"), QStringLiteral("Zuordnung ändern"));
    assignRow->addWidget(ZuordButton);
    assignLayout->addLayout(assignRow);
    NoTurnierLabel = new QLabel(QStringLiteral("Bitte richten sie zunächst in Courtcast ein Turnier ein!"), AssignGroup);
    NoTurnierLabel->setObjectName(QStringLiteral("NoTurnierLabel"));
    NoTurnierLabel->setFont(boldFont(NoTurnierLabel->font()));
    NoTurnierLabel->setStyleSheet(QStringLiteral("color: red;"));
    assignLayout->addWidget(NoTurnierLabel);
    panel1Layout->addWidget(AssignGroup);
    panel1Layout->addStretch(1);
    TurnierAssignBox->hide();
    ZuordButton->hide();
    NoTurnierLabel->hide();
    PageControl1->addTab(SheetUser, QStringLiteral("Systemanmeldung"));

    // Page 2: class mapping.
    SheetKlassen = new QWidget;
    SheetKlassen->setObjectName(QStringLiteral("SheetKlassen"));
    auto* klassenLayout = new QVBoxLayout(SheetKlassen);
    Panel4 = new QWidget(SheetKlassen);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    klassenLayout->addWidget(Panel4);
    auto* panel4Layout = new QVBoxLayout(Panel4);
    KlassenGroup = new QGroupBox(QStringLiteral("3.) Turnierklassen zuweisen"), Panel4);
    auto* groupLayout = new QVBoxLayout(KlassenGroup);
    auto* titles = new QHBoxLayout;
    auto* onlineTitle = new QLabel(QStringLiteral("Courtcast Turnierklassen"), KlassenGroup);
    auto* localTitle = new QLabel(QStringLiteral("Brackwell Turnierklassen"), KlassenGroup);
    onlineTitle->setFont(boldFont(onlineTitle->font()));
    localTitle->setFont(boldFont(localTitle->font()));
    onlineTitle->setFixedWidth(240);
    titles->addSpacing(10);
    titles->addWidget(onlineTitle);
    titles->addWidget(localTitle, 1);
    groupLayout->addLayout(titles);
    ScrollBox2 = new QScrollArea(KlassenGroup);
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    auto* rows = new QWidget;
    rows->setObjectName(QStringLiteral("ScrollBox2Rows"));
    ScrollBox2->setWidget(rows);
    ScrollBox2->setWidgetResizable(false);
    groupLayout->addWidget(ScrollBox2, 1);
    KlasseIDBox = new QListWidget(KlassenGroup);
    KlasseIDBox->setObjectName(QStringLiteral("KlasseIDBox"));
    KlasseIDBox->hide();
    panel4Layout->addWidget(KlassenGroup, 1);
    auto* klassenButtons = new QHBoxLayout;
    KlassenAbrufenButton =
        new TuiButton(Panel4, QStringLiteral("KlassenAbrufenButton"), QStringLiteral("Turnierklassen abrufen"));
    KlassenAssignSaveButton =
        new TuiButton(Panel4, QStringLiteral("KlassenAssignSaveButton"), QStringLiteral("Änderungen übernehmen"));
    KlassenAssignSaveButton->setEnabled(false);
    klassenButtons->addWidget(KlassenAbrufenButton);
    klassenButtons->addStretch(1);
    klassenButtons->addWidget(KlassenAssignSaveButton);
    panel4Layout->addLayout(klassenButtons);
    PageControl1->addTab(SheetKlassen, QStringLiteral("Turnierklassen-Abgleich"));

    buildRegistrationPage();
    buildPublishPage();
    for (int page : {KlassenPage, AnmeldungPage, StatistikPage})
        PageControl1->setTabVisible(page, false);
    resize(660, 470);

    limits.trustedEndpoints = m_links.trustedEndpoints;
    m_page.handle(LogInButton, &TuiButton::OnClick, [this] { LogInButtonClick(); });
    m_page.handle(ZuordButton, &TuiButton::OnClick, [this] { ZuordButtonClick(); });
    m_page.handle(KlassenAbrufenButton, &TuiButton::OnClick,
                  [this] { cancellable([this] { KlassenAbrufenButtonClick(); }); });
    m_page.handle(AbbrechenButton, &TuiButton::OnClick, [this] { cancelCall(); });
    m_page.handle(KlassenAssignSaveButton, &TuiButton::OnClick, [this] { KlassenAssignSaveButtonClick(); });
    m_page.handle(PageControl1, &QTabWidget::currentChanged, [this](int index) { PageControl1Change(index); });
    m_page.handle(this, &QDialog::finished, [this] { FormClose(); });

    runGuarded(m_links.prompter, [this] { FormCreate(); });
    ZipArchiver1->Loaded();
}

QString TCourtcastForm::dataIniFile() const
{
    return savedLoginFile(m_links.settingsFolder);
}

void TCourtcastForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runGuarded(m_links.prompter, [this] { FormShow(); });
}

void TCourtcastForm::closeEvent(QCloseEvent* event)
{
    // While a call waits for its reply the dialog stays open; closing it ends
    // the call instead.
    if (m_busy) {
        event->ignore();
        cancelCall();
        return;
    }
    QDialog::closeEvent(event);
}

void TCourtcastForm::done(int result)
{
    // Escape while a call waits ends the call, not the dialog.
    if (m_busy) {
        cancelCall();
        return;
    }
    QDialog::done(result);
}

void TCourtcastForm::cancelCall()
{
    if (m_busy)
        m_cancel.cancel();
}

void TCourtcastForm::cancellable(const std::function<void()>& action)
{
    try {
        action();
    } catch (const LiveCancelled& cancelled) {
        m_links.prompter.information(cancelled.message());
    }
}

// While a call waits, what the user could start is disabled: the tabs and the
// pages' work, not the dialog itself, so "Abbrechen" and the close button work.
void TCourtcastForm::setWorkEnabled(bool enabled)
{
    for (QWidget* part : std::initializer_list<QWidget*>{PageControl1->tabBar(), SheetUser, SheetKlassen,
                                                         SheetAnmeldung, ScrollBox3})
        part->setEnabled(enabled);
    AbbrechenButton->setEnabled(!enabled);
}

void TCourtcastForm::SetBusyCursor()
{
    m_busy = true;
    m_cancel.reset();
    setWorkEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TCourtcastForm::ResetBusyCursor()
{
    QApplication::restoreOverrideCursor();
    setWorkEnabled(true);
    m_busy = false;
}

std::unique_ptr<LiveClient> TCourtcastForm::bindService()
{
    return GetIServerInfo(m_links.liveServiceURL, limits, &m_cancel);
}

void TCourtcastForm::FormCreate()
{
    liveTurniere.clear();
    m_links.liveLoginID = 0;
    const SavedLogin login = readSavedLogin(dataIniFile());
    BenutzernameEdit->setText(login.benutzer);
    PassWortEdit->setText(login.passwort);
    SaveSettingBox->SetChecked(login.any());
}

void TCourtcastForm::FormShow()
{
    // Rows of another tournament's classes are gone with it.
    if (m_rowsTid != m_links.aktuelleTID)
        freeMappingRows();
    if (m_registrationsTid != m_links.aktuelleTID) {
        freeRegistrationRows();
        anmeldungAntwort.clear();
        m_registrationsTid = m_links.aktuelleTID;
    }
    liveTurnierID = readLiveTournamentId(database(), m_links.aktuelleTID);
    selectAssignedTournament();
    UpdateLoginState();
}

void TCourtcastForm::FormClose()
{
    SavedLogin login;
    if (SaveSettingBox->Checked())
        login = {BenutzernameEdit->text(), PassWortEdit->text()};
    writeSavedLogin(dataIniFile(), login);
}

void TCourtcastForm::LogInButtonClick()
{
    if (m_links.liveLoginID != 0) {
        m_links.liveLoginID = 0;
        UpdateLoginState();
        m_links.prompter.information(QStringLiteral("Sie sind jetzt wieder abgemeldet !"));
        return;
    }

    // The login tells the user where to look when the service cannot be
    // reached, and why it could not, so a bad certificate or a proxy's refusal
    // does not send him looking for a firewall.
    QString reply;
    {
        Busy busy(*this);
        try {
            const std::unique_ptr<LiveClient> service = bindService();
            reply = service->CheckLogIn(QString(), BenutzernameEdit->text(), PassWortEdit->text());
        } catch (const LiveCancelled& cancelled) {
            busy.release();
            m_links.prompter.information(cancelled.message());
            return;
        } catch (const std::exception& e) {
            busy.release();
            m_links.prompter.error(kUnreachable + QLatin1Char('\r') + exceptionText(e));
            return;
        }
    }
    const LoginCheck check = checkLoginReply(reply);
    if (!check.ok) {
        m_links.prompter.error(check.error);
        return;
    }
    if (check.tournaments)
        liveTurniere = *check.tournaments;
    m_links.liveLoginID = check.userId;

    TurnierAssignBox->clear();
    TurnierAssignBox->addItem(kPrompt);
    for (const OnlineTournament& t : liveTurniere)
        TurnierAssignBox->addItem(t.caption());
    selectAssignedTournament();
    UpdateLoginState();
    m_links.prompter.information(QStringLiteral("Sie sind jetzt am Server angemeldet !\r"
                                                "\r"
                                                "Bitte kontrollieren sie zunächst die Zuweisung\r"
                                                "des Turniers zu einem Courtcast-Turnier!"));
}

void TCourtcastForm::selectAssignedTournament()
{
    int selected = 0;
    const QString assigned = QString::number(liveTurnierID);
    for (qsizetype k = 0; k < liveTurniere.size() && k + 1 < TurnierAssignBox->count(); ++k)
        if (liveTurnierID != 0 && liveTurniere.at(k).id == assigned)
            selected = int(k) + 1;
    TurnierAssignBox->setCurrentIndex(selected);
}

void TCourtcastForm::UpdateLoginState()
{
    // The login's controls follow the state, also when opening a tournament
    // logged out behind the dialog's back.
    const bool loggedIn = m_links.liveLoginID != 0;
    BenutzernameEdit->setEnabled(!loggedIn);
    PassWortEdit->setEnabled(!loggedIn);
    LogInButton->SetCaption(loggedIn ? kLogoutCaption : kLoginCaption);
    const bool tournaments = TurnierAssignBox->count() >= 2;
    TurnierAssignBox->setVisible(loggedIn && tournaments);
    ZuordButton->setVisible(loggedIn && tournaments);
    NoTurnierLabel->setVisible(loggedIn && !tournaments);
    // Pages 2 to 4 work on the stored assignment, so they show while it is one
    // of the user's tournaments.
    const QString assigned = QString::number(liveTurnierID);
    const bool pages = loggedIn && liveTurnierID != 0 &&
                       std::any_of(liveTurniere.cbegin(), liveTurniere.cend(),
                                   [&](const OnlineTournament& t) { return t.id == assigned; });
    const auto filling = m_page.fill();
    if (!pages)
        PageControl1->setCurrentIndex(UserPage);
    for (int page : {KlassenPage, AnmeldungPage, StatistikPage})
        PageControl1->setTabVisible(page, pages);
}

void TCourtcastForm::ZuordButtonClick()
{
    freeMappingRows();
    int assigned = 0;
    const int index = TurnierAssignBox->currentIndex();
    if (index > 0 && index <= liveTurniere.size()) {
        const QString& id = liveTurniere.at(index - 1).id;
        const std::optional<int> number = decimalInteger(id);
        if (!number)
            throw AppError(QStringLiteral("Es trat ein Fehler auf! Die Zuordnung konnte nicht angepasst werden.\r"
                                          "Die Kennung \"%1\" des Courtcast-Turniers ist keine Zahl.")
                               .arg(id));
        assigned = *number;
    }
    const auto store = [&] {
        try {
            storeLiveTournamentId(database(), m_links.aktuelleTID, liveTurnierID, assigned);
        } catch (const std::exception& e) {
            throw AppError(QStringLiteral("Es trat ein Fehler auf! Die Zuordnung konnte nicht angepasst werden.\r") +
                           exceptionText(e));
        }
    };
    // After a failure the choice stays; what is stored now is read anew.
    const auto reload = [&] {
        liveTurnierID = readLiveTournamentId(database(), m_links.aktuelleTID);
        UpdateLoginState();
    };
    if (!m_page.write(store, reload))
        return;
    liveTurnierID = assigned;
    m_links.prompter.information(QStringLiteral("Die Zuordnung wurde angepasst."));
    UpdateLoginState();
}

void TCourtcastForm::freeMappingRows()
{
    for (int d = 1; d <= onlineKlassenAnzahl; ++d) {
        delete ScrollBox2->findChild<QLabel*>(rowName("KlassenLabel_", d));
        delete ScrollBox2->findChild<QComboBox*>(rowName("KlassenBox_", d));
    }
    onlineKlassenAnzahl = 0;
    m_onlineClasses.clear();
    KlassenAssignSaveButton->setEnabled(false);
}

void TCourtcastForm::KlassenAbrufenButtonClick()
{
    freeMappingRows();
    QString reply;
    {
        Busy busy(*this);
        reply = bindService()->GetKlassen(QString::number(liveTurnierID));
    }
    const ClassListCheck check = checkClassList(reply);
    if (!check.ok) {
        m_links.prompter.error(check.error);
        return;
    }
    showMappingRows(check.classes);
}

void TCourtcastForm::showMappingRows(QList<OnlineClass> online)
{
    freeMappingRows();
    m_onlineClasses = std::move(online);
    m_localClasses = readLinkedClasses(database(), m_links.aktuelleTID);
    m_rowsTid = m_links.aktuelleTID;

    KlasseIDBox->clear();
    KlasseIDBox->addItem(QStringLiteral("0"));
    QStringList captions{kNoAssignment};
    for (const LinkedClass& c : m_localClasses) {
        KlasseIDBox->addItem(QString::number(c.kid));
        captions << c.kbezeichnung + shortKindSuffix(c.kind);
    }

    QWidget* rows = ScrollBox2->widget();
    int d = 0;
    for (const OnlineClass& oc : m_onlineClasses) {
        ++d;
        QLabel* label = plainLabel(oc.caption(), rows);
        label->setObjectName(rowName("KlassenLabel_", d));
        label->setProperty(kTag, oc.id);
        label->setGeometry(10, 25 * d - 20, 200, 17);
        if (oc.hasRegistrations()) {
            label->setFont(boldFont(label->font()));
            label->setToolTip(Qt::convertFromPlainText(oc.hint(), Qt::WhiteSpaceNormal));
        }
        label->show();

        auto* box = new QComboBox(rows);
        box->setObjectName(rowName("KlassenBox_", d));
        box->addItems(captions);
        int selected = 0;
        for (qsizetype k = 0; k < m_localClasses.size(); ++k)
            if (m_localClasses.at(k).liveKlassenID == oc.id)
                selected = int(k) + 1;
        box->setCurrentIndex(selected);
        box->setGeometry(250, 25 * d - 22, 230, 22);
        box->show();
    }
    rows->resize(490, 25 * d + 10);
    onlineKlassenAnzahl = d;
    KlassenAssignSaveButton->setEnabled(true);
}

void TCourtcastForm::KlassenAssignSaveButtonClick()
{
    QMap<int, int> liveIdByKid;
    for (int d = 1; d <= onlineKlassenAnzahl; ++d) {
        const QLabel* label = ScrollBox2->findChild<QLabel*>(rowName("KlassenLabel_", d));
        const QComboBox* box = ScrollBox2->findChild<QComboBox*>(rowName("KlassenBox_", d));
        if (!label || !box)
            continue;
        const QListWidgetItem* kid = KlasseIDBox->item(box->currentIndex());
        if (kid && kid->text() != QLatin1String("0"))
            liveIdByKid.insert(kid->text().toInt(), label->property(kTag).toInt());
    }
    // After a failure the rows keep the user's choices; the stored mapping they
    // are compared with is read anew.
    const auto reload = [this] {
        const QList<LinkedClass> stored = readLinkedClasses(database(), m_links.aktuelleTID);
        for (LinkedClass& c : m_localClasses)
            for (const LinkedClass& s : stored)
                if (s.kid == c.kid)
                    c.liveKlassenID = s.liveKlassenID;
    };
    if (!m_page.write([&] { storeClassMapping(database(), m_links.aktuelleTID, m_localClasses, liveIdByKid); },
                      reload))
        return;
    for (LinkedClass& c : m_localClasses)
        c.liveKlassenID = liveIdByKid.value(c.kid, 0);
    // The registration rows named the classes by the mapping just replaced.
    freeRegistrationRows();
    anmeldungAntwort.clear();
    m_links.prompter.information(QStringLiteral("Die Zuweisungen wurden übernommen"));
}

void TCourtcastForm::PageControl1Change(int index)
{
    if (index == KlassenPage)
        KlassenAssignSaveButton->setEnabled(onlineKlassenAnzahl > 0);
    else if (index == AnmeldungPage)
        NoAnmeldungLab->hide();
    else if (index == StatistikPage)
        BuildStatistikRows();
}

} // namespace bw
