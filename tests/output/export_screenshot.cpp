// Draws the list export dialog for docs/export.png (target docs-pictures): as
// "Excel-Export" on the whole tournament, and as "PDF-Export" on a knock-out
// phase, whose group tables are not offered.
#include "data/sql.h"
#include "docpictures/docpicture.h"
#include "output/pdflists.h"
#include "output/texportnewform.h"
#include "support/fakeservices.h"
#include "support/tempprogramfolder.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QProgressBar>

namespace {

using bw::s;

QImage drawDialog()
{
    bw::test::TempProgramFolder folder(bw::test::TempProgramFolder::Content::Empty);
    bw::test::TestDatabase tdb(bw::Backend::SQLite);
    const QSqlDatabase db = tdb.db();
    int kid = 0;
    for (const auto& [name, kind, phase1, phase2] :
         {std::tuple{"Herren A", 0, 0, 1}, {"Damen", 1, 0, -1}, {"Mannschaft", 3, 1, -1}}) {
        ++kid;
        bw::test::insertRow(db, s("Turnierklassen"),
                            {{s("TID"), 1}, {s("KID"), kid}, {s("system"), kind}, {s("kbezeichnung"), s(name)}});
        bw::test::insertRow(db, s("Gruppeneinstellungen"),
                            {{s("KID"), kid}, {s("phase1"), phase1},
                             {s("phase2"), phase2 < 0 ? QVariant() : QVariant(phase2)}, {s("phase3"), QVariant()}});
    }
    bw::test::FakeServices fake(folder.path());
    bw::PdfListPages pages;
    const int tid = 1;
    const QString name = QStringLiteral("Stadtmeisterschaft");
    bw::TExportNewForm form(nullptr, fake.services, [&] { return tdb.db(); }, tid, name, pages);

    QList<QImage> pictures;
    form.setWindowTitle(QStringLiteral("Excel-Export"));
    form.Images_PDF->hide();
    form.show();
    form.ExportProgress->setValue(40);
    pictures << bw::docs::grabSettled(form);
    form.hide();

    form.setWindowTitle(QStringLiteral("PDF-Export"));
    form.Images_Excel->hide();
    form.Images_PDF->show();
    form.show();
    form.Klassenwahl->setCurrentIndex(form.Klassenwahl->findText(QStringLiteral("Herren A (Einzel) / Phase2-KO")));
    pictures << bw::docs::grabSettled(form);
    return bw::docs::sideBySide(pictures, 16);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawDialog);
}
