// The page helpers of the main window: deleting the open tournament, filling
// the class page's lists, emptying the class page, and writing the registration
// form.
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

    // Writes the registration form of the open tournament into
    // TMainform::SaveDialog1FileName, stepping ProgressBar1 to 100 and back to 0,
    // and says so; a failure leaves as an exception and keeps the file as it was.
    void anmeldeformular_create();
    // Ranks group GID of class KID and stores its positions (results/standings.h).
    void Tabelle_Rechnen(int KID, int GID);

    // Records the application's current printer in the set-up file; throws AppError.
    void saveprintersetup(const QString& path);
    // Makes the printer of the set-up file current; a missing file is told
    // ("Konnte Druckersetup nicht laden"), a printer not installed here is
    // ignored. Throws AppError for a damaged file, the printer unchanged.
    void loadprintersetup(const QString& path);

    // Whole points in `cm` centimetres as the form's page set-up counts them
    // (regform::pagePoints): 2.5 gives 71, 2 gives 57, 1.27 gives 36.
    static float centimeterstopoints(float cm);

private:
    TMainform& m_main;
    AppContext& m_context;
    Tdb_procedures& m_database;
};

// Decimal text of a number, and of its low byte (300 gives "44").
QString zahltext(int value);
QString bytetext(int value);

} // namespace bw
