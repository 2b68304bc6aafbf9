// Draws the print-size dialog of a knock-out of 16 entrants for
// docs/print-size.png (target docs-pictures).
#include "docpictures/docpicture.h"
#include "output/tdruck_form.h"

#include <QApplication>

namespace {

QImage drawDialog()
{
    bw::Tdruck_form form(nullptr);
    form.fillEntries({bw::koprint::PlanKind::KnockOut, 8});
    form.show();
    return bw::docs::grabSettled(form);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawDialog);
}
