// The page helpers of the main window: deleting the open tournament, filling
// the class page's lists and emptying the class page.
#pragma once

#include <QObject>
#include <QString>

namespace bw {

struct AppContext;
class Tdb_procedures;
class TMainform;

class TData_Unit : public QObject {
    Q_OBJECT
public:
    TData_Unit(TMainform& mainform, AppContext& context, Tdb_procedures& database, QObject* parent = nullptr);

    // Deletes the tournament with all its rows; afterwards no tournament is open.
    void turnierloeschen(int tid);

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
