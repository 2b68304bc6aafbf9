// The main window's import page (panel `import`, "Importieren von Spielern"):
// the entries the import dialog read on the left ("Spieler wählen",
// importliste1, sorted), those chosen for import on the right ("Spieler
// importieren", importliste2, in the order they came), the buttons that move
// the selected entries between them, and "Importieren", which writes the
// right-hand list into the open tournament in one transaction.
#pragma once

#include "data/importrecords.h"
#include "platform/pagestate.h"

#include <QSqlDatabase>
#include <QWidget>

#include <functional>

class QLabel;
class QListWidget;
class QProgressBar;
class TuiButton;

namespace bw {

class Prompter;

struct ImportPageLinks {
    Prompter& prompter;
    std::function<QSqlDatabase()> database;
    const int& aktuelleTID;
    QProgressBar* progress = nullptr;
    // "Datenquelle öffnen": the open dialog and the import dialog.
    std::function<void()> openSource;
};

class ImportPage : public QWidget {
public:
    ImportPage(const ImportPageLinks& links, QWidget* parent);

    // Opening the page from the side bar: both lists empty.
    void clearLists();
    // The entries the import dialog read: importliste1 holds just these, all
    // selected.
    void setSourceEntries(const QList<ImportItem>& items);

    void impoertquelleClick();
    void importbutton1Click();
    void importbutton2Click();
    void importhinzuClick();

    // The entries of a list in its order.
    static QList<ImportItem> entries(const QListWidget* list);

    QLabel* title;
    QListWidget* importliste1;
    QListWidget* importliste2;
    TuiButton* impoertquelle;
    TuiButton* importbutton1;
    TuiButton* importbutton2;
    TuiButton* importhinzu;

private:
    void move(QListWidget* from, QListWidget* to);

    ImportPageLinks m_links;
    PageState m_page;
};

} // namespace bw
