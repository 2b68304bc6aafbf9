// The whole program on a temporary program folder whose default database holds
// the check-in test tournament, opened as a user opens it ("Turnier laden").
#pragma once

#include "app/program.h"
#include "support/fakeservices.h"
#include "support/tempprogramfolder.h"

#include <memory>

namespace bw::test {

struct CheckInApp {
    CheckInApp();
    ~CheckInApp();

    TempProgramFolder folder;
    std::unique_ptr<FakeServices> fake;
    std::unique_ptr<Program> program;
};

} // namespace bw::test
