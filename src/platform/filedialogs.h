// File choice goes through this interface, so that tests answer it from a script.
// The dialogs themselves are QtFileDialogs (platformui/qtfiledialogs.h).
#pragma once

#include <QString>

class QWidget;

namespace bw {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // An empty string when the user cancels.
    virtual QString openFile(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) = 0;
    // An open dialog whose chosen file type matters: `filters` separated by
    // ";;", *selectedFilter the one chosen first; on return *selectedFilter is
    // the one the user chose.
    virtual QString openFileOfType(QWidget* parent, const QString& caption, const QString& dir, const QString& filters,
                                   QString* selectedFilter) = 0;
    // The save dialog: a file that exists is replaced only after the question.
    virtual QString saveFile(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) = 0;
    // The save dialog that only names a file (a new one or one that exists),
    // which nothing replaces: no question whether to replace it.
    virtual QString chooseFile(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) = 0;
    virtual QString directory(QWidget* parent, const QString& caption, const QString& dir) = 0;
};

} // namespace bw
