// The import dialog "Importieren": reads players from a file the user chose
// and hands them to the import page as entries of its source list. The file
// type chosen in the open dialog `importopen` decides the source, not the
// file's name: another tournament database (an SQLite file, read on a
// connection of its own, never written), a sheet (.xls or .xlsx) whose columns
// the user maps to player fields by dragging labels, or a returned
// registration form (.docx), whose ticked classes are also written to the
// staging table `Import`.
//
// Showing the dialog reads the source (FormShow); "Importieren" (okClick)
// hands the entries over and closes it; "Zurück" closes it without entries.
#pragma once

#include "data/importrecords.h"
#include "output/sheetreader.h"

#include <QDialog>
#include <QSqlDatabase>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QListWidget;
class QProgressBar;
class QTableWidget;
class TuiButton;

namespace bw {

class FileDialogs;
class Prompter;

struct ImportFormLinks {
    Prompter& prompter;
    std::function<QSqlDatabase()> database;
    QProgressBar* progress = nullptr;
    // Replaces the source list's entries by these, all selected.
    std::function<void(const QList<ImportItem>&)> deliver;
};

class Timport_form : public QDialog {
    Q_OBJECT
public:
    enum Source { Database = 1, Sheet = 2, Form = 3 };
    // The file types of `importopen`, in the order of the sources.
    static const QStringList kFileTypes;

    Timport_form(QWidget* parent, ImportFormLinks links);
    ~Timport_form() override;

    // The open dialog importopen: its file type (1..3) and file, and the folder
    // it starts in. runImportOpen() starts it with the first type and no file;
    // true when the user chose a file.
    int importopenFilterIndex = Database;
    QString importopenFileName;
    QString importopenInitialDir;
    bool runImportOpen(FileDialogs& files, QWidget* parent);

    // Reads the source of importopen (called whenever the dialog is shown).
    void FormShow();
    void okClick();
    void cancelClick();
    // A label dropped on "Datenreihenfolge" or back on "Spielerdaten" (the
    // drag's source list).
    void ListBox3DragDrop(QObject* source);
    void ListBox2DragDrop(QObject* source);

    // The panels and their controls.
    QWidget* brackwell;
    QListWidget* ListBox1;
    QWidget* excel;
    QTableWidget* DBGrid1;
    QListWidget* ListBox2;
    QListWidget* ListBox3;
    QWidget* word;
    QListWidget* ListBox4;
    QLabel* Vereintext;
    TuiButton* ok;
    TuiButton* cancel;

    // The sheet read (empty when none is).
    const TextTable& sheet() const { return m_table; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormClose();
    void showDatabase();
    void showSheet();
    void showForm();
    void finishWith(const QList<ImportItem>& items);

    ImportFormLinks m_links;
    std::unique_ptr<SourceDatabase> m_source;
    TextTable m_table;
    QList<ImportItem> m_formItems; // in the order of ListBox4
};

} // namespace bw
