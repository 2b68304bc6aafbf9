// The whole program on a temporary program folder whose default database holds
// the group test tournament, opened as a user opens it ("Turnier laden").
#pragma once

#include "app/program.h"
#include "support/fakeservices.h"
#include "support/tempprogramfolder.h"

#include <QSqlDatabase>

#include <memory>

namespace bw {
class GroupSetupPage;
class TMainform;
}

namespace bw::test {

struct GroupApp {
    GroupApp();
    ~GroupApp();

    TMainform* main() const;
    GroupSetupPage* page() const;
    QSqlDatabase db() const;
    // Clicks the class item of "Turnierklassen" with this caption.
    void openClass(const QString& caption) const;

    TempProgramFolder folder;
    std::unique_ptr<FakeServices> fake;
    std::unique_ptr<Program> program;
};

} // namespace bw::test
