// Page 3 of the live link dialog, "Spieler-Anmeldungen": the online
// registrations of the assigned tournament, one row each, and taking the
// ticked ones over into the tournament (live/registrationtakeover.h).
#include "controls/uibuttons.h"
#include "controls/uicheckctrls.h"
#include "live/formrows.h"
#include "live/registrationtakeover.h"
#include "live/tcourtcastform.h"
#include "platform/prompter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QTextDocument>
#include <QVBoxLayout>

namespace bw {

using namespace formrows;

namespace {

QString shownHint(const QString& text)
{
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

// Enables the page's two buttons again however the action ends.
class ButtonsBack {
public:
    ButtonsBack(TuiButton* a, TuiButton* b) : m_a(a), m_b(b)
    {
        for (TuiButton* button : {m_a, m_b}) {
            button->setEnabled(false);
            button->repaint();
        }
    }
    ~ButtonsBack()
    {
        for (TuiButton* button : {m_a, m_b})
            button->setEnabled(true);
    }
    ButtonsBack(const ButtonsBack&) = delete;
    ButtonsBack& operator=(const ButtonsBack&) = delete;

private:
    TuiButton* m_a;
    TuiButton* m_b;
};

} // namespace

void TCourtcastForm::buildRegistrationPage()
{
    SheetAnmeldung = new QWidget;
    SheetAnmeldung->setObjectName(QStringLiteral("SheetAnmeldung"));
    auto* layout = new QVBoxLayout(SheetAnmeldung);
    auto* titles = new QHBoxLayout;
    const auto title = [&](const QString& text, int width) {
        auto* label = new QLabel(text, SheetAnmeldung);
        label->setFont(boldFont(label->font()));
        if (width > 0)
            label->setFixedWidth(width);
        titles->addWidget(label, width > 0 ? 0 : 1);
    };
    titles->addSpacing(10);
    title(QStringLiteral("Spieler (Verein)"), 195);
    title(QStringLiteral("Turnierklassen"), 235);
    title(QStringLiteral("Anmeldung übernehmen"), 0);
    layout->addLayout(titles);

    ScrollBox1 = new QScrollArea(SheetAnmeldung);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    auto* rows = new QWidget;
    rows->setObjectName(QStringLiteral("ScrollBox1Rows"));
    ScrollBox1->setWidget(rows);
    ScrollBox1->setWidgetResizable(false);
    rows->resize(560, 40);
    NoAnmeldungLab = new QLabel(QStringLiteral("Es liegen keine Online-Anmeldungen vor"), rows);
    NoAnmeldungLab->setObjectName(QStringLiteral("NoAnmeldungLab"));
    NoAnmeldungLab->setFont(boldFont(NoAnmeldungLab->font()));
    NoAnmeldungLab->setGeometry(10, 10, 400, 20);
    NoAnmeldungLab->hide();
    layout->addWidget(ScrollBox1, 1);

    auto* buttons = new QHBoxLayout;
    GetAnmeldungButton =
        new TuiButton(SheetAnmeldung, QStringLiteral("GetAnmeldungButton"), QStringLiteral("Anmeldungen abrufen"));
    AnmeldungSetButton = new TuiButton(SheetAnmeldung, QStringLiteral("AnmeldungSetButton"),
                                       QStringLiteral("Übernehmen/Aktualisieren"));
    NurNeuBox = new TuiCheckbox(SheetAnmeldung, QStringLiteral("NurNeuBox"), QStringLiteral("Nur Neuanmeldungen"));
    buttons->addWidget(GetAnmeldungButton);
    buttons->addWidget(NurNeuBox);
    buttons->addStretch(1);
    buttons->addWidget(AnmeldungSetButton);
    layout->addLayout(buttons);
    PageControl1->addTab(SheetAnmeldung, QStringLiteral("Spieler-Anmeldungen"));

    m_page.handle(GetAnmeldungButton, &TuiButton::OnClick,
                  [this] { cancellable([this] { GetAnmeldungButtonClick(); }); });
    m_page.handle(AnmeldungSetButton, &TuiButton::OnClick, [this] { AnmeldungSetButtonClick(); });
    m_page.handle(NurNeuBox, &TuiCheckbox::OnClick, [this] { NurNeuBoxClick(); });
}

void TCourtcastForm::freeRegistrationRows()
{
    for (int i = 1; i <= anmeldungAnzahl; ++i) {
        delete ScrollBox1->findChild<QLabel*>(rowName("SpielerLabel_", i));
        delete ScrollBox1->findChild<QLabel*>(rowName("AnmeldeKlassenLabel_", i));
        delete ScrollBox1->findChild<TuiCheckbox*>(rowName("AnmeldeCheckbox_", i));
    }
    anmeldungAnzahl = 0;
    anmeldungen.clear();
}

void TCourtcastForm::GetAnmeldungButtonClick()
{
    const ButtonsBack back(GetAnmeldungButton, AnmeldungSetButton);
    QString reply;
    {
        Busy busy(*this);
        reply = bindService()->GetAnmeldung(QString::number(liveTurnierID), kRegistrationCode);
    }
    anmeldungAntwort = reply;
    m_registrationsTid = m_links.aktuelleTID;
    ShowAnmeldungen(reply);
}

void TCourtcastForm::ShowAnmeldungen(const QString& reply)
{
    const ButtonsBack back(GetAnmeldungButton, AnmeldungSetButton);
    NoAnmeldungLab->hide();
    freeRegistrationRows();

    RegistrationCheck check = checkRegistrations(reply);
    switch (check.outcome) {
    case RegistrationCheck::Outcome::Ok:
        break;
    case RegistrationCheck::Outcome::NoRegistrations:
        m_links.prompter.error(check.message);
        NoAnmeldungLab->show();
        return;
    case RegistrationCheck::Outcome::ErrorReply:
        m_links.prompter.error(check.message);
        return;
    case RegistrationCheck::Outcome::WrongCount:
        m_links.prompter.information(check.message);
        return;
    }

    const QSqlDatabase db = database();
    matchRegisteredPlayers(check.records, readPlayersByOnlineId(db, m_links.aktuelleTID));
    const QList<LinkedClass> classes = readLinkedClasses(db, m_links.aktuelleTID);
    anmeldungen = check.records;
    anmeldungAnzahl = int(anmeldungen.size());

    QWidget* rows = ScrollBox1->widget();
    int c = 0;
    for (const RegistrationRow& row : registrationRows(anmeldungen, classes, NurNeuBox->Checked())) {
        ++c;
        const int top = 18 * c - 13;
        QLabel* player = plainLabel(row.caption, rows);
        player->setObjectName(rowName("SpielerLabel_", row.index));
        player->setToolTip(shownHint(row.hint));
        player->setGeometry(10, top, 190, 17);
        player->show();

        QLabel* klassen = plainLabel(row.classText, rows);
        klassen->setObjectName(rowName("AnmeldeKlassenLabel_", row.index));
        klassen->setGeometry(205, top, 230, 17);
        if (row.unmapped)
            klassen->setStyleSheet(QStringLiteral("color: red;"));
        if (!row.classHint.isEmpty())
            klassen->setToolTip(shownHint(row.classHint));
        klassen->show();

        auto* box = new TuiCheckbox(rows, rowName("AnmeldeCheckbox_", row.index),
                                    row.update ? QStringLiteral("(Update)") : QStringLiteral("Neuanmeldung"));
        if (!row.update)
            box->SetFontColor(Qt::blue);
        box->SetChecked(!row.unmapped);
        box->setEnabled(!row.unmapped);
        box->setGeometry(440, top, 110, 17);
        box->show();
    }
    rows->resize(560, std::max(40, 18 * c + 10));
}

void TCourtcastForm::NurNeuBoxClick()
{
    if (!anmeldungAntwort.isEmpty())
        ShowAnmeldungen(anmeldungAntwort);
}

void TCourtcastForm::AnmeldungSetButtonClick()
{
    QList<AnmeldungRecord> ticked;
    for (int i = 1; i <= anmeldungAnzahl && i <= anmeldungen.size(); ++i) {
        const TuiCheckbox* box = ScrollBox1->findChild<TuiCheckbox*>(rowName("AnmeldeCheckbox_", i));
        if (box && box->isEnabled() && box->Checked())
            ticked << anmeldungen.at(i - 1);
    }
    if (ticked.isEmpty()) {
        m_links.prompter.information(QStringLiteral("Es wurden keine Anmeldungen ausgewählt!"));
        return;
    }
    TakeOverResult result;
    if (m_links.prompter.prompt(PromptKind::Question,
                                QStringLiteral("Wollen sie jetzt die %1 Anmeldungen aufnehmen/aktualisieren?")
                                    .arg(ticked.size()),
                                PromptButtons::YesCancel) == PromptAnswer::Yes) {
        result = takeOverRegistrations(database(), m_links.aktuelleTID, ticked,
                                       readLinkedClasses(database(), m_links.aktuelleTID), m_links.prompter);
        if (result.lastSid > 0 && m_links.aktuelleSID)
            *m_links.aktuelleSID = result.lastSid;
        if (!result.error.isEmpty())
            m_links.prompter.error(result.error);
    }
    ShowAnmeldungen(anmeldungAntwort);
    m_links.prompter.information(QStringLiteral("Es wurden %1 Anmeldungen bearbeitet!").arg(result.written));
}

} // namespace bw
