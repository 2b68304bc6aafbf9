#include "output/tabrechnungform.h"

#include "controls/uibuttons.h"
#include "data/accountingrecords.h"
#include "output/accountingsheet.h"
#include "output/outputfile.h"
#include "platform/apperror.h"
#include "platform/pagestate.h"
#include "platform/services.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace bw {

const QString TAbrechnungForm::kFailed = QStringLiteral("Es trat ein Fehler auf. Die Datei konnte nicht erzeugt werden.");

// While it lives the wait panel covers the buttons and the dialog is disabled.
class TAbrechnungForm::Busy {
public:
    explicit Busy(TAbrechnungForm& form) : m_form(form)
    {
        m_form.ProgressBar1->setValue(0);
        m_form.m_bottom->setCurrentWidget(m_form.Panel1);
        m_form.setEnabled(false);
    }
    ~Busy()
    {
        m_form.m_bottom->setCurrentWidget(m_form.m_buttons);
        m_form.setEnabled(true);
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    TAbrechnungForm& m_form;
};

TAbrechnungForm::TAbrechnungForm(QWidget* parent, Services& services, std::function<QSqlDatabase()> database,
                                 const int& aktuelleTID)
    : QDialog(parent), m_services(services), m_database(std::move(database)), m_tid(aktuelleTID)
{
    setObjectName(QStringLiteral("AbrechnungForm"));
    setWindowTitle(QStringLiteral("Finanzielle Turnierabrechnung"));

    auto* text = new QLabel(QStringLiteral("Die Abrechnung listet jede Meldung eines Spielers mit dem Startgeld\n"
                                           "der Klasse und dem Betrag des Spielers als Excel-Tabelle."),
                            this);

    m_buttons = new QWidget(this);
    uiButton1 = new TuiButton(m_buttons, QStringLiteral("uiButton1"), QStringLiteral("Dokument erzeugen"));
    uiButton2 = new TuiButton(m_buttons, QStringLiteral("uiButton2"), QStringLiteral("Abrechnung schliessen"));
    auto* buttons = new QHBoxLayout(m_buttons);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(uiButton1);
    buttons->addStretch();
    buttons->addWidget(uiButton2);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* wait = new QVBoxLayout(Panel1);
    wait->setContentsMargins(0, 0, 0, 0);
    wait->addWidget(new QLabel(QStringLiteral("... bitte warten ..."), Panel1), 0, Qt::AlignHCenter);
    ProgressBar1 = new QProgressBar(Panel1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    wait->addWidget(ProgressBar1);

    m_bottom = new QStackedWidget(this);
    m_bottom->addWidget(m_buttons);
    m_bottom->addWidget(Panel1);
    m_bottom->setCurrentWidget(m_buttons);

    auto* column = new QVBoxLayout(this);
    column->addWidget(text);
    column->addStretch();
    column->addWidget(m_bottom);

    connectGuarded(uiButton1, &TuiButton::OnClick, this, m_services.prompter, [this] { uiButton1Click(); });
    connectGuarded(uiButton2, &TuiButton::OnClick, this, m_services.prompter, [this] { uiButton2Click(); });
}

void TAbrechnungForm::uiButton1Click()
{
    QString path;
    {
        Busy busy(*this);
        try {
            const QList<AccountingRow> rows = accountingRows(m_database(), m_tid);
            ProgressBar1->setRange(0, int(rows.size()));
            path = writeAccountingFile(rows, excelExportFolder(m_services.paths), m_services.clock.now(), [this] {
                ProgressBar1->setValue(ProgressBar1->value() + 1);
                // Keeps the bar moving; the user's input waits, the dialog is disabled anyway.
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
        } catch (const std::exception& e) {
            // Passed on with the exports' sentence before the reason; the box comes from the guard.
            throw AppError(kFailed + QLatin1Char('\r') + exceptionText(e));
        }
    }
    openOutputFile(m_services, path);
}

void TAbrechnungForm::uiButton2Click()
{
    close();
}

} // namespace bw
