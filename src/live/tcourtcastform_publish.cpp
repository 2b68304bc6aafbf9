// Page 4 of the live link dialog, "Daten veröffentlichen": one row per class of
// the tournament; a click publishes that class in three calls, always in this
// order: the class (SetKlasse, which creates the online class when the class
// has none), its players (SetLokalPlayer) and its matches (ResultPublish).
// "Abbrechen" on the progress panel ends the call in progress; what a call
// ended so gave back is never stored.
#include "controls/uibuttons.h"
#include "data/livepublishrecords.h"
#include "live/formrows.h"
#include "live/publishrounds.h"
#include "live/tcourtcastform.h"
#include "platform/apperror.h"
#include "platform/prompter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QTabWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include <functional>

namespace bw {

using namespace formrows;

namespace {

const QString kCancelled = QStringLiteral("Der Vorgang wurde abgebrochen.");
const QString kNoOnlineClass = QStringLiteral("Dieser Klasse wurde noch keine Online-Klasse zugeordnet!");
const QString kOkay = QStringLiteral("okay");

// " (Einzel)", " (Doppel)", " (Mixed)", " (Team)"; nothing for no kind.
QString kindSuffix(const std::optional<ClassKind>& kind)
{
    return kind ? QStringLiteral(" (%1)").arg(kindName(*kind)) : QString();
}

// Shows a row's label as mapped (black, its online class id) or not (red, with
// the hint).
void showOnlineClass(QLabel* label, int liveKlassenID)
{
    label->setProperty(kTag, liveKlassenID);
    label->setStyleSheet(liveKlassenID == 0 ? QStringLiteral("color: red;") : QString());
    label->setToolTip(liveKlassenID == 0 ? Qt::convertFromPlainText(kNoOnlineClass, Qt::WhiteSpaceNormal) : QString());
}

} // namespace

void TCourtcastForm::buildPublishPage()
{
    SheetStatistik = new QWidget;
    SheetStatistik->setObjectName(QStringLiteral("SheetStatistik"));
    auto* layout = new QVBoxLayout(SheetStatistik);
    auto* titles = new QHBoxLayout;
    auto* classTitle = new QLabel(QStringLiteral("Brackwell Klasse"), SheetStatistik);
    auto* publishTitle = new QLabel(QStringLiteral("Daten veröffentlichen"), SheetStatistik);
    classTitle->setFont(boldFont(classTitle->font()));
    publishTitle->setFont(boldFont(publishTitle->font()));
    classTitle->setFixedWidth(340);
    titles->addSpacing(10);
    titles->addWidget(classTitle);
    titles->addWidget(publishTitle, 1);
    layout->addLayout(titles);
    ScrollBox3 = new QScrollArea(SheetStatistik);
    ScrollBox3->setObjectName(QStringLiteral("ScrollBox3"));
    auto* rows = new QWidget;
    rows->setObjectName(QStringLiteral("ScrollBox3Rows"));
    ScrollBox3->setWidget(rows);
    ScrollBox3->setWidgetResizable(false);
    layout->addWidget(ScrollBox3, 1);

    StatistikPanel = new QWidget(SheetStatistik);
    StatistikPanel->setObjectName(QStringLiteral("StatistikPanel"));
    StatistikPanel->setAutoFillBackground(true);
    StatistikPanel->setStyleSheet(QStringLiteral("#StatistikPanel { background: #1f3f7f; }"));
    auto* panelLayout = new QVBoxLayout(StatistikPanel);
    Label12 = new QLabel(QStringLiteral("Die Datenübermittlung läuft"), StatistikPanel);
    Label12->setObjectName(QStringLiteral("Label12"));
    Label12->setFont(boldFont(Label12->font()));
    Label12->setStyleSheet(QStringLiteral("color: white;"));
    ProgressBar1 = new QProgressBar(StatistikPanel);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    StatistikPublishLabel = new QLabel(StatistikPanel);
    StatistikPublishLabel->setObjectName(QStringLiteral("StatistikPublishLabel"));
    StatistikPublishLabel->setStyleSheet(QStringLiteral("color: white;"));
    AbbrechenButton = new TuiButton(StatistikPanel, QStringLiteral("AbbrechenButton"), QStringLiteral("Abbrechen"));
    AbbrechenButton->setEnabled(false);
    panelLayout->addWidget(Label12);
    panelLayout->addWidget(ProgressBar1);
    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(StatistikPublishLabel, 1);
    stepRow->addWidget(AbbrechenButton);
    panelLayout->addLayout(stepRow);
    layout->addWidget(StatistikPanel);
    StatistikPanel->hide();
    PageControl1->addTab(SheetStatistik, QStringLiteral("Daten veröffentlichen"));
}

void TCourtcastForm::FreeStatistikRow(int row)
{
    delete ScrollBox3->findChild<QLabel*>(rowName("StatistikLabel_", row));
    delete ScrollBox3->findChild<TuiButton*>(rowName("StatistikButton_", row));
}

void TCourtcastForm::BuildStatistikRows()
{
    for (int n = 1; n <= statistikAnzahl; ++n)
        FreeStatistikRow(n);
    statistikAnzahl = 0;
    QWidget* rows = ScrollBox3->widget();
    for (const PublishClass& c : readPublishClasses(database(), m_links.aktuelleTID)) {
        const int n = ++statistikAnzahl;
        FreeStatistikRow(n);
        QLabel* label = plainLabel(c.kbezeichnung + kindSuffix(c.kind), rows);
        label->setObjectName(rowName("StatistikLabel_", n));
        QFont font = boldFont(label->font());
        font.setPointSize(10);
        label->setFont(font);
        label->setGeometry(10, 25 * n - 20, 330, 20);
        showOnlineClass(label, c.liveKlassenID);
        label->show();

        auto* button = new TuiButton(rows, rowName("StatistikButton_", n), QStringLiteral("Veröffentlichen"));
        QFont buttonFont = button->font();
        buttonFont.setPointSize(9);
        button->setFont(buttonFont);
        button->setProperty(kTag, c.kid);
        button->setGeometry(350, 25 * n - 20, 130, 22);
        m_page.handle(button, &TuiButton::OnClick,
                      [this, button] { cancellable([this, button] { StatistikPublish(button); }); });
        button->show();
    }
    rows->resize(490, 25 * statistikAnzahl + 10);
}

void TCourtcastForm::showStep(const QString& text)
{
    StatistikPublishLabel->setText(text);
    StatistikPanel->repaint();
}

void TCourtcastForm::StatistikPublish(TuiButton* button)
{
    const int kid = button->property(kTag).toInt();
    QLabel* label = ScrollBox3->findChild<QLabel*>(button->objectName().replace(
        QStringLiteral("StatistikButton_"), QStringLiteral("StatistikLabel_")));
    if (!label)
        return;
    int onlineClass = label->property(kTag).toInt();
    const bool create = onlineClass == 0;
    const int tournament = liveTurnierID;

    ProgressBar1->setValue(1);
    if (create) {
        if (m_links.prompter.prompt(PromptKind::Warning,
                                    QStringLiteral("Soll für diese Klasse eine NEUE Online-Klasse erstellt werden?"),
                                    PromptButtons::YesCancel) != PromptAnswer::Yes) {
            m_links.prompter.information(kCancelled);
            return;
        }
        ProgressBar1->setMaximum(6);
    } else {
        ProgressBar1->setMaximum(4);
        if (m_links.prompter.prompt(PromptKind::Question,
                                    QStringLiteral("Sollen die Ergebnisse von %1 jetzt veröffentlicht werden?")
                                        .arg(label->text()),
                                    PromptButtons::YesCancel) != PromptAnswer::Yes) {
            m_links.prompter.information(kCancelled);
            return;
        }
    }

    // The panel shows while the class is sent and hides on every way out.
    struct PanelShown {
        QWidget* panel;
        ~PanelShown() { panel->hide(); }
    } shown{StatistikPanel};
    StatistikPanel->show();
    if (create) {
        showStep(QStringLiteral("Aktueller Schritt: Online-Spielklasse erstellen"));
        ProgressBar1->setValue(ProgressBar1->value() + 1);
    }
    showStep(QStringLiteral("Aktueller Schritt: Turnierklassen-Update"));

    const QSqlDatabase db = database();
    const std::optional<LiveClassRow> row = readLiveClassRow(db, m_links.aktuelleTID, kid);
    if (!row)
        throw AppError(QStringLiteral("Die Klasse ist nicht mehr in der Datenbank vorhanden."));
    const std::optional<LivePhases> phases = readLivePhases(db, kid);
    const QString klassen = klassenString(tournament, onlineClass, *row, phases);

    // One client for the action's three calls, bound with the first.
    std::unique_ptr<LiveClient> service;
    const auto call = [&](const std::function<QString(LiveClient&)>& operation) {
        Busy busy(*this);
        if (!service)
            service = bindService();
        return operation(*service);
    };
    QString reply = call([&](LiveClient& service) { return service.SetKlasse(klassen); });
    if (create) {
        const std::optional<int> created = decimalInteger(reply.trimmed());
        if (!created || *created <= 0) {
            m_links.prompter.error(QStringLiteral("Die Klasse konnte nicht korrekt erstellt werden"));
            return;
        }
        onlineClass = *created;
        storeCreatedOnlineClass(db, m_links.aktuelleTID, kid, onlineClass);
        // From now on the class is published as this online class, also when a
        // later step fails.
        showOnlineClass(label, onlineClass);
    } else if (reply != kOkay) {
        m_links.prompter.error(reply);
        return;
    }

    ProgressBar1->setValue(ProgressBar1->value() + 1);
    showStep(QStringLiteral("Aktueller Schritt: Spielerdaten übertragen"));
    const QString players = playerString(tournament, readLivePlayers(db, m_links.aktuelleTID, kid));
    reply = call([&](LiveClient& service) { return service.SetLokalPlayer(players); });
    if (reply != kOkay) {
        m_links.prompter.error(QStringLiteral("Spieler: ") + reply);
        return;
    }

    ProgressBar1->setValue(ProgressBar1->value() + 1);
    showStep(QStringLiteral("Aktueller Schritt: Statistiken veröffentlichen"));
    const QString results =
        publishString(tournament, onlineClass, liveMatches(readLiveMatches(db, m_links.aktuelleTID, kid), phases));
    reply = call([&](LiveClient& service) { return service.ResultPublish(results); });
    if (reply != kOkay) {
        m_links.prompter.error(reply);
        return;
    }

    ProgressBar1->setValue(ProgressBar1->value() + 1);
    if (create) {
        showStep(QStringLiteral("Aktueller Schritt: Klassen aktualisieren"));
        KlassenAbrufenButtonClick();
        ProgressBar1->setValue(ProgressBar1->value() + 1);
    }
    showStep(QStringLiteral("Aktueller Schritt: Vorgang abgeschlossen"));
    m_links.prompter.information(QStringLiteral("Die Statistiken wurden erfolgreich veröffentlicht!"));
}

} // namespace bw
