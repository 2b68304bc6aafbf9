// Renders the group set-up page of a doubles class for the documentation, with
// two phases set and the pair seeded. Run it under xvfb-run:
//   xvfb-run build/test/tests-bin/groups_screenshot docs/groups.png
#include "app/tmainform.h"
#include "groupapp.h"
#include "groups/entrylist.h"
#include "groups/groupsetuppage.h"

#include <QApplication>
#include <QRadioButton>
#include <QSpinBox>
#include <QButtonGroup>
#include <QTest>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    bw::test::GroupApp groups;
    groups.openClass(QStringLiteral("Herren (Doppel)"));
    bw::GroupSetupPage* page = groups.page();
    page->gruppenanzahl[0]->setValue(2);
    page->teilnehmer[0]->setValue(3);
    page->beste[0]->setValue(1);
    page->spielsystem[1]->button(1)->click();
    page->gesetztespieleredit->setValue(2);
    page->gesetztespielerlisteDragDrop(page->gemeldete_spieler, 0, 0);
    QTest::qWait(300);
    return groups.main()->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
