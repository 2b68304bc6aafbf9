// The dialog "HTML-Export": "Exportieren" writes the open tournament as a static
// website (output/htmlsite.h) into a folder the user chooses; the frameset is
// the chosen name with ".html". Every row is read and every page built before
// the first file is written; when files of the site are in the folder already
// the user is asked once whether to overwrite them. The main window's progress
// bar steps per page built and per file written and returns to 0 on every path;
// a failure shows its reason and leaves the folder as it was. The dialog stays
// open after an export. The right-hand lists ("benutzerdefinierter Export") have
// no function.
#pragma once

#include <QDialog>
#include <QSqlDatabase>

#include <functional>

class QListWidget;
class QProgressBar;
class TuiButton;

namespace bw {

class HtmlSite;
struct Services;

class Texportform : public QDialog {
    Q_OBJECT
public:
    Texportform(QWidget* parent, Services& services, std::function<QSqlDatabase()> database, const int& aktuelleTID,
                const QString& aktuellerTurniername, QProgressBar* ProgressBar1);

    static const QString kOverwrite; // "Im Ordner gibt es schon eine Turnier-Website. Überschreiben?"

    QListWidget* ListBox1; // "Zu exportierende Daten"
    QListWidget* ListBox2; // "vorhandene Datenfelder"
    QListWidget* ListBox3; // "gewählte Datenfelder"
    QListWidget* ListBox4; // hidden
    TuiButton* uiButton1;  // "Exportieren"
    TuiButton* uiButton2;  // "Abbrechen"

    // Fills the left list with its one entry, selected, and empties the others.
    void htmlload();
    // Asks for the target and writes the whole site.
    void htmlexport();
    // Writes the page of one class into the folder.
    void htmlklassen(const QString& folder, const QString& kid);
    // Writes the match page of every class of the tournament into the folder.
    void htmlspielplan(const QString& folder);

public slots:
    void uiButton1Click();
    void uiButton2Click();

private:
    class Working;

    // The site of the open tournament as stored now.
    HtmlSite readSite(const QString& framesetName) const;
    void step();

    Services& m_services;
    std::function<QSqlDatabase()> m_database;
    const int& m_tid;
    const QString& m_turniername;
    QProgressBar* m_progress;
};

} // namespace bw
