// The files the exports write: every run makes a new file named after the list
// and the time, "<list>_<yyyyMMdd-hhmmss>.<suffix>", and never overwrites an
// older one (a taken name gets "-2", "-3", ...). The content goes into a
// temporary file in the same folder, which becomes the new name only when it is
// complete, so a failed write leaves nothing behind. Spreadsheets go into the
// folder "ExportExcel" of the data folder (the program folder when writable).
#pragma once

#include <QDateTime>
#include <QString>

namespace bw {

class AppPaths;
struct Services;

// The folder of the spreadsheet exports.
QString excelExportFolder(const AppPaths& paths);

class OutputFile {
public:
    // Creates the folder when missing and an empty temporary file in it for the
    // list's file of that time. Throws AppError with the reason.
    OutputFile(const QString& folder, const QString& list, const QDateTime& time, const QString& suffix);
    // Removes the temporary file unless it was committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Where the content is to be written.
    const QString& temporaryPath() const { return m_temporary; }

    // Gives the written temporary file its name, the first free of
    // "<list>_<time>.<suffix>", "<list>_<time>-2.<suffix>", ...; returns the
    // file's path. Throws AppError with the reason.
    QString commit();

private:
    QString m_folder;
    QString m_stem;   // "<list>_<time>"
    QString m_suffix; // without the dot
    QString m_temporary;
    bool m_committed = false;
};

// Opens a finished file with the desktop's default application; when that
// fails, an information box names the file.
void openOutputFile(Services& services, const QString& path);

} // namespace bw
