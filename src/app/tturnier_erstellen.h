// The dialog "Neues Turnier erstellen": a name, the database to hold the new
// tournament (the server or an SQLite file), and the four options. The chosen
// database is opened and checked on a connection of its own and becomes the
// program's database only once the tournament is in it.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class TuiButton;
class TuiCheckbox;
class QRadioButton;
class QGroupBox;

namespace bw {

// The file filter of the dialogs that choose a database file.
inline const QString kDatabaseFileFilter = QStringLiteral("SQLite-Datenbank (*.sqlite *.db)");

struct AppContext;
struct Forms;
struct Services;

class TTurnier_erstellen : public QDialog {
    Q_OBJECT
public:
    TTurnier_erstellen(QWidget* parent, AppContext& context, Services& services, const Forms& forms);

    QLineEdit* turniername;
    TuiCheckbox* check1;
    TuiCheckbox* check2;
    TuiCheckbox* check3;
    TuiCheckbox* check4;
    QGroupBox* RadioGroup1;
    QRadioButton* serverOption;
    QRadioButton* fileOption;
    TuiButton* erstellen;
    TuiButton* zurueck;
    // The file the save dialog offers first.
    QString SaveDialog1FileName;

public slots:
    void erstellenClick();

private:
    AppContext& m_context;
    Services& m_services;
    const Forms& m_forms;
    // The SQLite file chosen in this dialog before, if any.
    QString m_chosenFile;
};

} // namespace bw
