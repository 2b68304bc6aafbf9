// Draws the website export dialog for docs/html-export.png (target docs-pictures).
#include "docpictures/docpicture.h"
#include "output/texportform.h"
#include "support/fakeservices.h"

#include <QApplication>
#include <QProgressBar>
#include <QSqlDatabase>

namespace {

QImage drawDialog()
{
    bw::test::FakeServices fake;
    const int tid = 1;
    const QString name = QStringLiteral("Stadtmeisterschaft 2026");
    QProgressBar bar;
    bw::Texportform form(nullptr, fake.services, [] { return QSqlDatabase(); }, tid, name, &bar);
    form.htmlload();
    form.show();
    return bw::docs::grabSettled(form);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawDialog);
}
