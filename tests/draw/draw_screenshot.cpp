// Draws the draw wizard's phase-1 page for docs/draw.png (target docs-pictures):
// three groups, the two seeds and three more players placed by hand.
#include "docpictures/docpicture.h"
#include "draw/tauslosungsform.h"
#include "drawfixture.h"
#include "support/fakeprompter.h"
#include "support/testdatabase.h"

#include <QApplication>

namespace {

QImage drawWizard()
{
    using namespace bw;
    test::TestDatabase tdb(Backend::SQLite);
    if (!tdb.ready())
        return {};
    test::draw::seedDrawClass(tdb.db(), 7);
    test::FakePrompter prompter;
    int tid = 1;
    int kid = 7;
    QWidget main;
    Tauslosungsform form(&main, AuslosungLinks{prompter, [&tdb] { return tdb.db(); }, tid, kid});
    form.losen = [](DrawModel&, int, const DrawOptions&) {};
    form.Tag = 1;
    form.resize(900, 600);
    form.show();
    DrawModel& m = form.model();
    m.dropOnGroupRow(DrawList::ListBox2, 0, {1, 0, 0});
    m.dropOnGroupRow(DrawList::ListBox2, 1, {1, 1, 0});
    m.dropOnGroupRow(DrawList::ListBox1, 0, {1, 2, 0});
    m.dropOnGroupRow(DrawList::ListBox1, 2, {1, 0, 1});
    m.dropOnGroupRow(DrawList::ListBox1, 4, {1, 1, 2});
    form.refresh();
    return docs::grabSettled(form);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawWizard);
}
