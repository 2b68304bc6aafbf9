// Draws the check-in page for docs/checkin.png (target docs-pictures), with a
// few players and a team checked in.
#include "app/tmainform.h"
#include "checkin/checkinpage.h"
#include "checkinapp.h"
#include "checkinfixture.h"
#include "data/checkinrecords.h"
#include "data/db_procedures.h"
#include "docpictures/docpicture.h"

#include <QApplication>
#include <QListWidget>

namespace {

QImage drawCheckIn()
{
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
    return bw::docs::grabSettled(*main);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawCheckIn);
}
