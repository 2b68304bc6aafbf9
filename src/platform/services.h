// What the forms need of the world outside the program: message boxes, file
// dialogs, the clock, randomness, other programs and the program's folders.
// The program body fills it with the real services; tests fill it with fakes.
#pragma once

#include "platform/apppaths.h"
#include "platform/clock.h"
#include "platform/filedialogs.h"
#include "platform/processrunner.h"
#include "platform/prompter.h"

namespace bw {

struct Services {
    Prompter& prompter;
    FileDialogs& files;
    Clock& clock;
    RandomSource& random;
    ProcessRunner& runner;
    AppPaths paths;
};

} // namespace bw
