// The separate layout program "Slatewright" that prints certificates and
// receipts from a print file. One launcher serves the menu command and the two
// print dialogs: it looks for the program in the program folder (a native
// "Slatewright"), then on the PATH, then for "Slatewright.exe" in the program
// folder run through wine; it starts the program in the program folder without
// waiting for it.
#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <optional>

namespace bw {

class AppPaths;
class ProcessRunner;

// Where the program and its layout program can be downloaded.
inline constexpr QLatin1String kDownloadAddress("https://www.brackwell.de/download");

// A program started with its arguments in a working folder.
struct ProgramCall {
    QString program;
    QStringList arguments;
    QString workingDirectory;
};

class LayoutProgram {
public:
    LayoutProgram(const AppPaths& paths, ProcessRunner& runner) : m_paths(paths), m_runner(runner) {}

    // The call that starts the layout program with these arguments (bare file
    // names in the program folder); nothing when it is not installed.
    std::optional<ProgramCall> find(const QStringList& arguments = {}) const;
    // Starts the call; an AppError with the reason when it does not start.
    void start(const ProgramCall& call);

    // The two lines shown when the layout program is not installed.
    static QString notFoundMessage();

private:
    const AppPaths& m_paths;
    ProcessRunner& m_runner;
};

} // namespace bw
