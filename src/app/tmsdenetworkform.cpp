#include "app/tmsdenetworkform.h"

#include "app/appcontext.h"
#include "app/forms.h"
#include "app/serverbrowser.h"
#include "app/tturnierladen.h"
#include "controls/uibuttons.h"
#include "data/db_procedures.h"
#include "data/tournamentrecords.h"
#include "platform/services.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace bw {

TMSDENetworkForm::TMSDENetworkForm(QWidget* parent, AppContext& context, Services& services, ServerBrowser& browser,
                                   const Forms& forms)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_context(context), m_services(services), m_browser(browser), m_forms(forms)
{
    setObjectName(QStringLiteral("MSDENetworkForm"));
    setWindowTitle(QStringLiteral("PCs im Netzwerk"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("PCs im Netzwerk"), this));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    layout->addWidget(ListBox1, 1);
    layout->addWidget(new QLabel(QStringLiteral("Gewählter PC"), this));
    SelValBox = new QLineEdit(this);
    SelValBox->setObjectName(QStringLiteral("SelValBox"));
    layout->addWidget(SelValBox);

    WaitPanel = new QFrame(this);
    WaitPanel->setObjectName(QStringLiteral("WaitPanel"));
    WaitPanel->setFrameShape(QFrame::Panel);
    Label3 = new QLabel(QStringLiteral("Untersuche den Computer     ...bitte warten..."), WaitPanel);
    Label3->setObjectName(QStringLiteral("Label3"));
    (new QHBoxLayout(WaitPanel))->addWidget(Label3);
    WaitPanel->setVisible(false);
    layout->addWidget(WaitPanel);

    auto* buttons = new QHBoxLayout;
    uiButton1 = new TuiButton(this, QStringLiteral("uiButton1"), QStringLiteral("Übernehmen"));
    uiButton1->SetDefault(true);
    uiButton2 = new TuiButton(this, QStringLiteral("uiButton2"), QStringLiteral("Abbrechen"));
    buttons->addStretch();
    buttons->addWidget(uiButton1);
    buttons->addWidget(uiButton2);
    layout->addLayout(buttons);
    resize(320, 360);

    connect(ListBox1, &QListWidget::itemClicked, this, &TMSDENetworkForm::ListBox1Click);
    connect(SelValBox, &QLineEdit::textChanged, this, &TMSDENetworkForm::SelValBoxChange);
    connect(uiButton1, &TuiButton::OnClick, this, &TMSDENetworkForm::uiButton1Click);
    connect(uiButton2, &TuiButton::OnClick, this, &TMSDENetworkForm::uiButton2Click);
}

QString TMSDENetworkForm::unreachableText(const QString& server)
{
    return QStringLiteral("Die Datenbank konnte nicht erreicht werden. Dies kann die folgenden Gründe haben:\r\r"
                          "1.) Der Server %1 konnte nicht erreicht werden.\r"
                          "2.) Auf dem Server ist die Turnier-Datenbank nicht vorhanden.\r"
                          "3.) Der Datenbank-Server ist für das Netzwerk nicht freigegeben.\r"
                          "4.) Eine Firewall blockiert den Netzwerkverkehr (Port 5432).")
        .arg(server);
}

void TMSDENetworkForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TMSDENetworkForm::FormShow()
{
    Tturnierladen* load = m_forms.turnierladen;
    load->setEnabled(false);
    ListBox1->clear();
    SelValBox->setText(load->DBPathEditBox->text());
    m_previous = SelValBox->text();
    ListBox1->addItems(m_browser.servers());
    load->WaitPanel->setVisible(false);
}

void TMSDENetworkForm::ListBox1Click(QListWidgetItem* item)
{
    if (item)
        SelValBox->setText(item->text());
}

void TMSDENetworkForm::SelValBoxChange()
{
    const QString clean = ServerBrowser::cleanName(SelValBox->text());
    if (clean != SelValBox->text()) {
        const int position = SelValBox->cursorPosition();
        SelValBox->setText(clean);
        SelValBox->setCursorPosition(qMin(position, int(clean.size())));
    }
}

void TMSDENetworkForm::uiButton1Click()
{
    Tturnierladen* load = m_forms.turnierladen;
    WaitPanel->setVisible(true);
    WaitPanel->repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString server = SelValBox->text();
    // A server that cannot be reached, or holds no tournament database, leaves
    // the load dialog as it was: its connection and its list of tournaments.
    ScopedConnection candidate;
    QList<TournamentEntry> tournaments;
    try {
        candidate = m_forms.db_procedures->openCandidate({false, QString(), server}, m_context.serverCatalog);
        tournaments = listTournaments(candidate.db());
    } catch (const std::exception&) {
        candidate = ScopedConnection();
    }
    QApplication::restoreOverrideCursor();
    WaitPanel->setVisible(false);
    if (!candidate.db().isValid()) {
        m_services.prompter.prompt(PromptKind::Error, unreachableText(server), PromptButtons::Ok);
        SelValBox->setText(m_previous);
        m_forms.db_procedures->serverName = m_previous;
        load->DBPathEditBox->setText(m_previous);
        return;
    }
    ListBox1->clear();
    load->showBrowsed(std::move(candidate), tournaments);
    m_forms.db_procedures->serverName = server;
    load->DBPathEditBox->setText(server);
    m_browser.remember(server);
    close();
}

void TMSDENetworkForm::uiButton2Click()
{
    close();
}

void TMSDENetworkForm::done(int result)
{
    Tturnierladen* load = m_forms.turnierladen;
    load->setEnabled(true);
    load->WaitPanel->setVisible(false);
    QApplication::restoreOverrideCursor();
    QDialog::done(result);
}

} // namespace bw
