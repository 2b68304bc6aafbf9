// Renders the check-in page for the documentation, with a few players and a
// team checked in. Run it under xvfb-run:
//   xvfb-run build/test/tests-bin/checkin_screenshot docs/checkin.png
#include "app/tmainform.h"
#include "checkin/checkinpage.h"
#include "checkinapp.h"
#include "checkinfixture.h"
#include "data/checkinrecords.h"
#include "data/db_procedures.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    using namespace bw::test::seed;
    bw::test::CheckInApp checkIn;
    bw::TMainform* main = checkIn.program->forms.Mainform;
    const QSqlDatabase db = checkIn.program->forms.db_procedures->ADOConnection1();
    bw::spieleranmeldung(db, kTid, kAbel, true, 0);
    bw::spieleranmeldung(db, kTid, kFuchs, true, 0);
    bw::teamanmeldung(db, kTid, kTeamA, true, kTeam, {kCramer, kDorn}, kTeam);
    main->SpielerbuttonItemClick(2);
    main->checkInPage->anmeldeliste->setCurrentRow(3);
    main->checkInPage->anmeldelisteClick();
    QTest::qWait(300);
    return main->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
