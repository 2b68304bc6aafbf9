// The page helpers of the main window: they move tournament rows between the
// database and the tournament page, fill the class page's lists, and keep the
// page's save button in step with its edits.
#pragma once

#include "data/tournamentrecords.h"

#include <QObject>

namespace bw {

struct AppContext;
class Tdb_procedures;
class TMainform;

class TData_Unit : public QObject {
    Q_OBJECT
public:
    TData_Unit(TMainform& mainform, AppContext& context, Tdb_procedures& database, QObject* parent = nullptr);

    // The tournament page as a row, and a row onto the page.
    TournamentData pageData() const;
    void showData(const TournamentData& data);

    // Inserts the tournament of the page; it becomes the open one.
    void turnierspeichern();
    // Writes the page into that tournament's row.
    void turnierupdate(int tid);
    // Deletes the tournament with all its rows; afterwards no tournament is open.
    void turnierloeschen(int tid);
    // Fills the page from the tournament's row.
    void tfelderfuellen(int tid);
    // Empties the page: texts and memos empty, dates today.
    void turnierfelderloeschen();
    // Shows every memo of the page from its first line.
    void tmemoserstezeile();
    // Marks the page changed: a disabled save button becomes "Änderung übernehmen".
    void updated();

    // The class page's four class lists, its age classes and its day of play.
    void listboxenfuellen(int tid);
    // Empties the class page.
    void kfelderloeschen();

private:
    TMainform& m_main;
    AppContext& m_context;
    Tdb_procedures& m_database;
};

// Decimal text of a number, and of its low byte (300 gives "44").
QString zahltext(int value);
QString bytetext(int value);

} // namespace bw
