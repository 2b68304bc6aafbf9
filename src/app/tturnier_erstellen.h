// The dialog "Neues Turnier erstellen": a name, the database to hold the new
// tournament (the server or an SQLite file), and the four options. The chosen
// database is opened and checked on a connection of its own and becomes the
// program's database only once the tournament is in it.
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;
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
    QCheckBox* check1;
    QCheckBox* check2;
    QCheckBox* check3;
    QCheckBox* check4;
    QGroupBox* RadioGroup1;
    QRadioButton* serverOption;
    QRadioButton* fileOption;
    QPushButton* erstellen;
    QPushButton* zurueck;
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
