#include "appfixture.h"

#include <QFile>

namespace bw::test {

AppFixture::AppFixture(PlanFiles planFiles) : folder(TempProgramFolder::Content::Resources), fake(folder.path())
{
    // The shipped files when they are wanted, none at all otherwise.
    const bool groups = planFiles == Both || planFiles == OnlyGroups;
    const bool knockOut = planFiles == Both || planFiles == OnlyKnockOut;
    if (!groups)
        QFile::remove(folder.file(QStringLiteral("Files/system.txt")));
    else if (!QFile::exists(folder.file(QStringLiteral("Files/system.txt"))))
        folder.write(QStringLiteral("Files/system.txt"), "2:\r\n");
    if (!knockOut)
        QFile::remove(folder.file(QStringLiteral("Files/ko_system.txt")));
    else if (!QFile::exists(folder.file(QStringLiteral("Files/ko_system.txt"))))
        folder.write(QStringLiteral("Files/ko_system.txt"), "4:\r\n");
    qputenv("BRACKWELL_SETTINGS", folder.file(QStringLiteral("brackwell.ini")).toUtf8());
}

AppFixture::~AppFixture()
{
    program.reset();
    qunsetenv("BRACKWELL_SETTINGS");
}

Program& AppFixture::start()
{
    program = std::make_unique<Program>(fake.services);
    return *program;
}

} // namespace bw::test
