// The dialog "Bestehendes Turnier laden": lists the tournaments of the server's
// catalog or of an SQLite file and opens the chosen one. Looking at a database
// uses a connection of the dialog's own; the program switches to that database
// only when a tournament is opened.
#pragma once

#include "data/connection.h"
#include "data/tournamentrecords.h"

#include <QDialog>
#include <QList>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class TuiButton;
class QRadioButton;

namespace bw {

struct AppContext;
struct Forms;
struct Services;

class Tturnierladen : public QDialog {
    Q_OBJECT
public:
    Tturnierladen(QWidget* parent, AppContext& context, Services& services, const Forms& forms);

    QRadioButton* MSDESelBox;
    QRadioButton* AccessDBSelButton;
    QLineEdit* DBPathEditBox;
    TuiButton* AccessSelButton;
    QListWidget* ListBox1;
    QList<int> tids; // the TID beside each entry of ListBox1
    TuiButton* uiButton1;
    TuiButton* uiButton2;
    TuiButton* AttachButton;
    QFrame* WaitPanel;
    QLabel* WaitText;

    // The default SQLite database of the data folder.
    QString defaultFile() const;
    // True when the last tournament came from the server.
    bool lastFromServer() const { return m_lastFromServer; }

    // Lists the tournaments of a database the dialog looks at; a failure to
    // read them propagates.
    void vorhandenturniereladen();
    // Makes a connection the one the dialog lists from, with its tournaments
    // as read from it.
    void showBrowsed(ScopedConnection connection, const QList<TournamentEntry>& tournaments);

public slots:
    void FormShow();
    void MSDESelBoxClick();
    void AccessDBSelButtonClick();
    void AccessSelButtonClick();
    void uiButton1Click();
    void ListBox1DblClick(QListWidgetItem* item);
    void AttachButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showWait(const QString& text);
    void hideWait();
    void browse(const DatabaseLocation& source);
    void showTournaments(const QList<TournamentEntry>& tournaments);
    // A source of the chosen kind: the file at the path, or the chosen server.
    DatabaseLocation fileSource(const QString& path) const;
    DatabaseLocation serverSource() const;

    AppContext& m_context;
    Services& m_services;
    const Forms& m_forms;
    ScopedConnection m_browsed;
    bool m_lastFromServer = false;
};

} // namespace bw
