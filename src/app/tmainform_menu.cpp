// The main window's menu commands and the navigation items that open dialogs:
// printer set-up, the layout program, the manual and web site, the registration
// form, the exports, the planning board, the accounting, the live link and the
// about box.
#include "app/tmainform.h"

#include "app/navigationbar.h"
#include "app/tdata_unit.h"
#include "app/timpressumform.h"
#include "checkin/checkinpage.h"
#include "live/tcourtcastform.h"
#include "output/layoutprogram.h"
#include "output/tabrechnungform.h"
#include "output/texportform.h"
#include "output/texportnewform.h"
#include "output/tquittungprepareform.h"
#include "output/turkundeprepareform.h"
#include "people/playerpage.h"
#include "plans/tplanung.h"
#include "results/tteamauswahl.h"
#include "platform/apperror.h"
#include "platform/pagestate.h"
#include "platform/services.h"
#include "platformui/printercontext.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QUrl>

namespace bw {

void TMainform::connectMenuCommands()
{
    connect(Schiedsrichterzettel1, &QAction::triggered, this, &TMainform::Schiedsrichterzettel1Click);
    connect(Standardeinstellungen1, &QAction::triggered, this, &TMainform::Standardeinstellungen1Click);
    connect(Spieleplaner1, &QAction::triggered, this, &TMainform::Spieleplaner1Click);
    connect(AKverwaltung, &QAction::triggered, this, &TMainform::AKverwaltungClick);
    connectGuarded(Slatewright1, &QAction::triggered, this, m_services.prompter, [this] { Slatewright1Click(); });
    connect(Kostenabrechnung, &QAction::triggered, this, &TMainform::KostenabrechnungClick);
    connect(CourtcastMenuitem, &QAction::triggered, this, &TMainform::CourtcastMenuitemClick);
    connect(Handbuch1, &QAction::triggered, this, &TMainform::Handbuch1Click);
    connect(Impressum1, &QAction::triggered, this, &TMainform::Impressum1Click);
    connect(BrackwellImInternet1, &QAction::triggered, this, &TMainform::BrackwellImInternet1Click);
    connect(Urkudnedrucken1, &QAction::triggered, this, &TMainform::Urkudnedrucken1Click);
}

void TMainform::SpielerbuttonItems2Click()
{
    showWorkDialog(m_forms->teamauswahl);
}

void TMainform::SpielerbuttonItems1Click()
{
    if (checkInPage)
        checkInPage->SpielerbuttonItems1Click();
    else
        bringToFront(Anmeldung);
}

void TMainform::exportbuttonItemClick(int index)
{
    switch (index) {
    case 0: exportbuttonItems0Click(); break;
    case 1: exportbuttonItems1Click(); break;
    case 2: exportbuttonItems2Click(); break;
    default: break;
    }
}

void TMainform::exportbuttonItems0Click()
{
    TExportNewForm* form = m_forms->ExportNewForm;
    form->setWindowTitle(QStringLiteral("Excel-Export"));
    form->Images_Excel->setVisible(true);
    form->Images_PDF->setVisible(false);
    showWorkDialog(form);
}

void TMainform::exportbuttonItems1Click()
{
    TExportNewForm* form = m_forms->ExportNewForm;
    form->setWindowTitle(QStringLiteral("PDF-Export"));
    form->Images_PDF->setVisible(true);
    form->Images_Excel->setVisible(false);
    showWorkDialog(form);
}

void TMainform::exportbuttonItems2Click()
{
    Texportform* form = m_forms->exportform;
    form->setWindowTitle(QStringLiteral("HTML-Export"));
    showWorkDialog(form);
    form->htmlload();
}

void TMainform::anmeldeformularClick()
{
    if (m_context.aktuelleTID <= 0) {
        m_services.prompter.prompt(PromptKind::Warning, QStringLiteral("Legen Sie erst ein Turnier an"), PromptButtons::Ok);
        return;
    }
    const QString file = m_services.files.saveFile(this, QStringLiteral("Anmeldeformular speichern"), SaveDialog1InitialDir,
                                                   QStringLiteral("Anmeldeformular (Word) (*.docx)"));
    if (file.isEmpty())
        return;
    SaveDialog1InitialDir = m_services.paths.programDir();
    SaveDialog1FileName = QFileInfo(file).suffix().isEmpty() ? file + QStringLiteral(".docx") : file;
    try {
        if (!registrationFormWriter)
            throw AppError(QStringLiteral("Anmeldeformular nicht verfügbar"));
        registrationFormWriter(SaveDialog1FileName);
    } catch (const std::exception& e) {
        ProgressBar1->setValue(0);
        m_services.prompter.prompt(PromptKind::Error,
                                   QStringLiteral("Anmeldeformular konnte nicht erzeugt werden\n") + exceptionText(e),
                                   PromptButtons::Cancel);
    }
}

void TMainform::Spieleplaner1Click()
{
    if (m_context.aktuelleTID > 0)
        showWorkDialog(m_forms->planung);
    else
        m_services.prompter.prompt(PromptKind::Error, QStringLiteral("Wählen Sie zuerst ein Turnier aus"),
                                   PromptButtons::Cancel);
}

void TMainform::setUpPrinter(const QString& setupFile)
{
    const QString path = m_services.paths.dataFile(setupFile);
    // A damaged file is told and the set-up goes on, so saving it anew mends it.
    if (QFileInfo::exists(path))
        runGuarded(m_services.prompter, [&] { m_forms->Data_Unit->loadprintersetup(path); });
    const auto setUp = printerSetup ? printerSetup : [](QPrinter& p, QWidget* parent) {
        QPrintDialog dialog(&p, parent);
        dialog.setWindowTitle(QStringLiteral("Druckereinrichtung"));
        return dialog.exec() == QDialog::Accepted;
    };
    if (printerContext().setUp(setUp, this))
        runGuarded(m_services.prompter, [&] { m_forms->Data_Unit->saveprintersetup(path); });
}

void TMainform::Standardeinstellungen1Click()
{
    setUpPrinter(PrinterSetupFile::kStandard);
}

void TMainform::Schiedsrichterzettel1Click()
{
    setUpPrinter(PrinterSetupFile::kUmpireSheets);
}

PrinterContext& TMainform::printerContext()
{
    if (!m_printerContext) {
        m_printerContext = std::make_unique<PrinterContext>([this] {
            QStringList names;
            for (int i = 0; i < PrinterBox->count(); ++i)
                names.append(PrinterBox->itemText(i));
            return names;
        });
    }
    return *m_printerContext;
}

void TMainform::Slatewright1Click()
{
    LayoutProgram layout(m_services.paths, m_services.runner);
    const auto call = layout.find();
    if (!call) {
        m_services.prompter.information(LayoutProgram::notFoundMessage());
        return;
    }
    layout.start(*call);
}

void TMainform::KostenabrechnungClick()
{
    showWorkDialog(m_forms->AbrechnungForm);
}

void TMainform::CourtcastMenuitemClick()
{
    showWorkDialog(m_forms->CourtcastForm);
}

void TMainform::Urkudnedrucken1Click()
{
    showWorkDialog(m_forms->UrkundePrepareForm);
}

void TMainform::uiButton6Click()
{
    TQuittungPrepareForm* receipt = m_forms->QuittungPrepareForm;
    if (spielerseite)
        receipt->fill(spielerseite->snachname->text(), spielerseite->svorname->text(), spielerseite->sverein->text(),
                      spielerseite->zuzahlen->text());
    showWorkDialog(receipt);
}

void TMainform::Impressum1Click()
{
    showWorkDialog(m_forms->ImpressumForm);
}

void TMainform::Handbuch1Click()
{
    const QString manual = m_services.paths.programFile(QStringLiteral("Handbuch.pdf"));
    if (QFileInfo(manual).isFile()) {
        if (!m_services.runner.openUrl(QUrl::fromLocalFile(manual)))
            m_services.prompter.information(
                QStringLiteral("Das Handbuch konnte nicht geöffnet werden: Es ist kein Programm für PDF-Dateien "
                               "eingerichtet.\r%1")
                    .arg(QDir::toNativeSeparators(manual)));
        return;
    }
    m_services.prompter.information(QStringLiteral("Das Handbuch wurde leider nicht gefunden.\r"
                                                   "Sie können das Handbuch unter %1 herunterladen.")
                                        .arg(kDownloadAddress));
}

void TMainform::BrackwellImInternet1Click()
{
    openAddress(m_services, QUrl(TImpressumForm::kWebSite));
}

} // namespace bw
