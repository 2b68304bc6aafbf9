// Draws the certificate, receipt and accounting dialogs side by side for
// docs/output-dialogs.png (target docs-pictures).
#include "docpictures/docpicture.h"
#include "output/tabrechnungform.h"
#include "output/tquittungprepareform.h"
#include "output/turkundeprepareform.h"
#include "support/fakeservices.h"
#include "support/tempprogramfolder.h"

#include <QApplication>
#include <QSqlDatabase>

namespace {

QImage drawDialogs()
{
    bw::test::TempProgramFolder folder(bw::test::TempProgramFolder::Content::Empty);
    for (const char* name : {"Templates/Standard.urk", "Templates/Vereinsmeister.urk", "Templates/Startgeld.qui"})
        folder.write(QLatin1String(name), "layout");
    bw::test::FakeServices fake(folder.path());

    bw::TUrkundePrepareForm certificate(nullptr, fake.services);
    certificate.fillFromPlan(QStringLiteral("Brandt, Jonas"), QStringLiteral("TTC Musterstadt"),
                             QStringLiteral("Spielplan für Herren A (Einzel)"));
    bw::TQuittungPrepareForm receipt(nullptr, fake.services);
    receipt.fill(QStringLiteral("Müller"), QStringLiteral("Lukas"), QStringLiteral("SV Grünwald"), QStringLiteral("14"));
    const int tid = 1;
    bw::TAbrechnungForm accounting(nullptr, fake.services, [] { return QSqlDatabase(); }, tid);

    QList<QImage> pictures;
    for (QDialog* dialog : {static_cast<QDialog*>(&certificate), static_cast<QDialog*>(&receipt),
                            static_cast<QDialog*>(&accounting)}) {
        dialog->show();
        pictures << bw::docs::grabSettled(*dialog);
        dialog->hide();
    }
    return bw::docs::sideBySide(pictures, 16);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawDialogs);
}
