// The whole program on a temporary program folder with faked services: the
// plan-definition files are there unless a test leaves them out, the per-user
// settings file lies in the folder, and message boxes are answered by the
// FakePrompter.
#pragma once

#include "app/program.h"
#include "support/fakeservices.h"
#include "support/tempprogramfolder.h"

#include <memory>

namespace bw::test {

struct AppFixture {
    enum PlanFiles { Both, OnlyKnockOut, OnlyGroups, None };

    explicit AppFixture(PlanFiles planFiles = Both);
    ~AppFixture();

    // Makes the program; boxes expected while it starts must be scripted before.
    Program& start();

    TempProgramFolder folder;
    FakeServices fake;
    std::unique_ptr<Program> program;

    FakePrompter& prompter() { return fake.prompter; }
    TMainform& main() { return *program->forms.Mainform; }
    AppContext& context() { return program->context; }
};

} // namespace bw::test
