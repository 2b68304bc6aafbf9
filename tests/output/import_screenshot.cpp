// Draws the import page with entries in both lists beside the import dialog's
// sheet panel on a committed workbook, for docs/import.png (target docs-pictures).
#include "docpictures/docpicture.h"
#include "output/importpage.h"
#include "output/sheetreader.h"
#include "output/timport_form.h"
#include "support/fakeprompter.h"

#include <QApplication>
#include <QListWidget>

namespace {

bw::ImportItem entry(const QString& nachname, const QString& vorname)
{
    bw::ImportItem item;
    item.id = bw::kSheetItemId;
    item.nachname = nachname;
    item.vorname = vorname;
    return item;
}

QImage drawImport()
{
    bw::test::FakePrompter prompter;
    const int tid = 1;
    bw::ImportPage page({prompter, {}, tid, nullptr, {}}, nullptr);
    page.resize(640, 480);
    page.setSourceEntries({entry(QStringLiteral("Özdemir"), QStringLiteral("Ayşe")),
                           entry(QStringLiteral("Müller"), QStringLiteral("Jürgen")),
                           entry(QStringLiteral("Schäfer"), QStringLiteral("Lena")),
                           entry(QStringLiteral("Brandt"), QStringLiteral("Jonas")),
                           entry(QStringLiteral("Weiß"), QStringLiteral("Tobias"))});
    page.importliste1->clearSelection();
    page.importliste1->item(1)->setSelected(true);
    page.importliste1->item(4)->setSelected(true);
    page.importbutton1Click();
    page.importliste1->item(0)->setSelected(true);

    bw::Timport_form dialog(nullptr, {prompter, {}, nullptr, {}});
    dialog.importopenFilterIndex = bw::Timport_form::Sheet;
    dialog.importopenFileName =
        QString::fromLocal8Bit(qgetenv("BRACKWELL_SOURCE_DIR")) + QStringLiteral("/tests/output/fixtures/players.xlsx");
    dialog.show();
    for (const char* label : {"Nachname", "Vorname", "Verein"}) {
        dialog.ListBox2->setCurrentItem(dialog.ListBox2->findItems(QLatin1String(label), Qt::MatchExactly).first());
        dialog.ListBox3DragDrop(dialog.ListBox2);
    }
    page.show();
    const QImage pagePicture = bw::docs::grabSettled(page);
    const QImage dialogPicture = bw::docs::grabSettled(dialog);
    return bw::docs::sideBySide({pagePicture, dialogPicture}, 16);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawImport);
}
