#include "app/pendingforms.h"

#include "app/pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace bw {

PendingDialog::PendingDialog(QWidget* parent, const QString& objectName, const QString& caption)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
}

Tgruppe::Tgruppe(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("gruppe"));
}

Tauslosungsform::Tauslosungsform(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("auslosungsform"), QStringLiteral("Auslosung"))
{
}

Tspielplaene::Tspielplaene(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("spielplaene"));
}

Tspielplan_form::Tspielplan_form(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("spielplan_form"), QStringLiteral("Spielplan"))
{
}

Tplanung::Tplanung(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("planung"), QStringLiteral("Spieleplaner"))
{
}

Tergebnis::Tergebnis(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("ergebnis"), QStringLiteral("Spielverwaltung"))
{
}

Tvergleich::Tvergleich(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("vergleich"), QStringLiteral("Direkter Vergleich"))
{
}

Tergebnis_team::Tergebnis_team(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("ergebnis_team"), QStringLiteral("Spielverwaltung"))
{
}

Timport_form::Timport_form(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("import_form"), QStringLiteral("Importieren"))
{
}

Tdrucken::Tdrucken(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("drucken"));
}

Tdruck_form::Tdruck_form(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("druck_form"), QStringLiteral("Drucken"))
{
}

Texportform::Texportform(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("exportform"), QStringLiteral("HTML-Export"))
{
}

Tpdfform::Tpdfform(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("pdfform"), QStringLiteral("PDF-Export"))
{
}

TQuittungPrepareForm::TQuittungPrepareForm(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("QuittungPrepareForm"), QStringLiteral("Quittung drucken"))
{
}

TUrkundePrepareForm::TUrkundePrepareForm(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("UrkundePrepareForm"), QStringLiteral("UrkundePrepareForm"))
{
}

TAbrechnungForm::TAbrechnungForm(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("AbrechnungForm"), QStringLiteral("Finanzielle Turnierabrechnung"))
{
}

TExportNewForm::TExportNewForm(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("ExportNewForm"), QString())
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);
    Images_Excel = new QLabel(Panel1);
    Images_Excel->setObjectName(QStringLiteral("Images_Excel"));
    Images_Excel->setPixmap(QPixmap::fromImage(pictures::exportSheet()));
    Images_PDF = new QLabel(Panel1);
    Images_PDF->setObjectName(QStringLiteral("Images_PDF"));
    Images_PDF->setPixmap(QPixmap::fromImage(pictures::exportPdf()));
    auto* row = new QHBoxLayout(Panel1);
    row->addWidget(Images_Excel);
    row->addWidget(Images_PDF);
    row->addStretch();
    auto* column = new QVBoxLayout(this);
    column->addWidget(Panel1);
    column->addStretch();
}

TCourtcastForm::TCourtcastForm(QWidget* parent)
    : PendingDialog(parent, QStringLiteral("CourtcastForm"), QStringLiteral("Courtcast Anbindung"))
{
}

} // namespace bw
