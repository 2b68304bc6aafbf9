#include "platformui/qtfiledialogs.h"

#include <QFileDialog>

namespace bw {

QString QtFileDialogs::openFile(QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString QtFileDialogs::openFileOfType(QWidget* parent, const QString& caption, const QString& dir,
                                      const QString& filters, QString* selectedFilter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filters, selectedFilter);
}

QString QtFileDialogs::saveFile(QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString QtFileDialogs::chooseFile(QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

QString QtFileDialogs::directory(QWidget* parent, const QString& caption, const QString& dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

} // namespace bw
