// Starts Brackwell: the German application with the real services.
#include "app/program.h"
#include "app/tmainform.h"
#include "platform/clock.h"
#include "platform/processrunner.h"
#include "platform/services.h"
#include "platformui/messageboxprompter.h"
#include "platformui/qtfiledialogs.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    bw::prepareApplication(app);

    bw::MessageBoxPrompter prompter;
    bw::QtFileDialogs files;
    bw::SystemClock clock;
    bw::SystemRandom random;
    bw::SystemProcessRunner runner;
    bw::Services services{prompter, files, clock, random, runner, bw::AppPaths::forApplication()};

    bw::Program program(services);
    prompter.setParent(program.forms.Mainform);
    return program.exec();
}
