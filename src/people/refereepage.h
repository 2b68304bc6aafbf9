// The referee page ("Schiedsrichterverwaltung"), one of the main window's work
// panels: the tournament's referees, one of them edited at a time with the
// classes he may umpire, and the type-ahead search in the surname field.
// Saving and deleting act on the referee that was loaded, whatever the list
// shows selected meanwhile; a save writes only over the referee as the page
// loaded him, else the page loads him anew.
#pragma once

#include "data/refereerecords.h"
#include "platform/pagestate.h"

#include <QSqlDatabase>
#include <QWidget>

#include <functional>

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;

class TuiButton;
class TuiCheckbox;

namespace bw {

class Prompter;

// What the people pages share with the rest of the program.
struct PeoplePageLinks {
    Prompter& prompter;
    std::function<QSqlDatabase()> database;
    const int& aktuelleTID;
    // Saving a new referee leaves his key here, as the live link expects.
    int& aktuelleSID;
    int& aktuelleKID;
};

class RefereePage : public QWidget {
    Q_OBJECT
public:
    static const QString kNewCaption;    // "Speichern"
    static const QString kChangeCaption; // "Änderung übernehmen"

    explicit RefereePage(const PeoplePageLinks& links, QWidget* parent = nullptr);

    QListWidget* schiriliste;
    QListWidget* schiriklassen;
    QLineEdit* schirinname;
    QLineEdit* schirivname;
    QLineEdit* schirigeb;
    QComboBox* schiriverein;
    TuiCheckbox* schiriangemeldet;
    QComboBox* schirikverband;
    QComboBox* schiribverband;
    QComboBox* schirilverband;
    QComboBox* schiriland;
    QComboBox* schiriklasse;
    QPlainTextEdit* schirimemo;
    TuiButton* schiri_neu;
    TuiButton* schirispeichern;
    TuiButton* schiri_del;

    // The loaded referee's list text; empty while the page holds a new one.
    QString geladenerName;
    // The loaded referee's key; 0 while the page holds a new one.
    int loadedId() const { return m_page.key(); }
    PageState::Mode mode() const { return m_page.mode(); }

public slots:
    // "Schiedsrichter verwalten": fills the page for the open tournament.
    void SpielerbuttonItems4Click();
    void schiri_neuClick();
    void schirispeichernClick();
    void schiri_delClick();
    void schirilisteClick();
    // The type-ahead: selects the first referee whose surname begins with the text.
    void schirisuche(const QString& prefix);

private:
    void build();
    void schirifelderloeschen();
    void schirifelderfuellen(int id);
    void load(QListWidgetItem* item);
    void addListEntry(int id, const QString& name, bool angemeldet, const QString& verein);
    // The classes read anew; a selected class that still exists stays selected.
    void fillClasses();
    // The referee's list entry shows him as stored, selected alone.
    void showListEntry(const RefereeData& data);
    // After a save refused because another desk changed or deleted the referee.
    void reloadStale();
    // The referee is gone: out of the list, the page empty.
    void forgetReferee(int id);
    bool listHolds(const QString& name) const;
    void showMode();
    QList<int> selectedClasses() const;

    PeoplePageLinks m_links;
    PageState m_page;
    // The referee as loaded or last saved: a save writes only over these values.
    std::optional<RefereeData> m_loaded;
};

} // namespace bw
