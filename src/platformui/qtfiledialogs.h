// The file dialogs the program shows: Qt's own, through the FileDialogs interface.
#pragma once

#include "platform/filedialogs.h"

namespace bw {

class QtFileDialogs : public FileDialogs {
public:
    QString openFile(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) override;
    QString openFileOfType(QWidget* parent, const QString& caption, const QString& dir, const QString& filters,
                           QString* selectedFilter) override;
    QString saveFile(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) override;
    QString chooseFile(QWidget* parent, const QString& caption, const QString& dir, const QString& filter) override;
    QString directory(QWidget* parent, const QString& caption, const QString& dir) override;
};

} // namespace bw
