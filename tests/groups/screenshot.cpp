// Draws the group set-up page of a doubles class for docs/groups.png (target
// docs-pictures), with two phases set and the pair seeded.
#include "app/tmainform.h"
#include "docpictures/docpicture.h"
#include "groupapp.h"
#include "groups/entrylist.h"
#include "groups/groupsetuppage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QSpinBox>

namespace {

QImage drawGroupSetup()
{
    bw::test::GroupApp groups;
    groups.openClass(QStringLiteral("Herren (Doppel)"));
    bw::GroupSetupPage* page = groups.page();
    page->gruppenanzahl[0]->setValue(2);
    page->teilnehmer[0]->setValue(3);
    page->beste[0]->setValue(1);
    page->spielsystem[1]->button(int(bw::PlaySystem::EinfachesKO))->click();
    page->gesetztespieleredit->setValue(2);
    page->gesetztespielerlisteDragDrop(page->gemeldete_spieler, 0, 0);
    return bw::docs::grabSettled(*groups.main());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawGroupSetup);
}
