// What the player import reads and writes: the players waiting in the import
// lists (ImportItem), another tournament database read as a source, the staging
// table `Import` of a returned registration form, and writing the chosen
// players into the open tournament.
#pragma once

#include "data/connection.h"

#include <QList>
#include <QMetaType>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

namespace bw {

// Where an entry came from (its `id` when it is no player key).
inline constexpr int kSheetItemId = -1;
inline constexpr int kFormItemId = -99;

// One player waiting in the import lists.
struct ImportItem {
    int id = 0; // the source player's key; kSheetItemId; kFormItemId
    QString nachname;
    QString vorname;
    QString verein;
    QString spielklasse;
    QString spielstaerke;
    QString email;
    QString geb; // "dd.MM.yyyy", empty when not given
    bool mann = false;
    bool frau = false;
    QString kverband;
    QString lverband;
    QString bverband;
    QString land;
    // An entry of a registration form: the classes ticked for him, in the
    // form's column order.
    QList<int> classIds;

    bool fromForm() const { return id == kFormItemId; }
    // "Nachname, Vorname": the entry's text in the lists.
    QString text() const;
    bool operator==(const ImportItem&) const = default;
};

// A tournament of another database.
struct SourceTournament {
    int tid = 0;
    QString turniername;
    bool operator==(const SourceTournament&) const = default;
};

// Another tournament database as a source of players: an SQLite file opened
// for reading only on a connection of its own, never the program's. Opening
// checks that it is a tournament database: Turnierdaten and Spielerdaten with
// the columns the import reads (spielstaerke and email, which older structures
// lack, read as empty).
class SourceDatabase {
public:
    // Throws AppError (DbError) with the reason when the file cannot be read
    // or is no tournament database.
    explicit SourceDatabase(const QString& path);

    // The tournaments in the order the database returns them.
    QList<SourceTournament> tournaments() const;
    // The players of one of them by key, as entries (geb as "dd.MM.yyyy").
    QList<ImportItem> players(int tid) const;

private:
    ScopedConnection m_connection;
    bool m_hasStrength = false;
    bool m_hasEmail = false;
};

// One row of the staging table: a ticked class box of a taken form row.
struct StagingRow {
    QString nachname;
    QString vorname;
    int kid = 0;
    QString verein;
    QString klassen; // the playing class of the row
    bool operator==(const StagingRow&) const = default;
};

// Empties the staging table and writes the rows, in one transaction.
void replaceStagingRows(const QSqlDatabase& db, const QList<StagingRow>& rows);
// The staging rows in table order (for tests and the form's readers).
QList<StagingRow> stagingRows(const QSqlDatabase& db);

// What an import left out.
struct ImportOutcome {
    int imported = 0;
    QStringList present;        // entries whose name the tournament already holds
    QStringList unknownClasses; // "Name, Vorname: Klasse 17": ticked classes that are no class of the tournament
};

// Writes the entries as players of the tournament `tid`, in their order, in
// one transaction (run again on a deadlock): an entry whose surname and first
// name a player of the tournament already has (the database's equality) is
// skipped; every other gets the next key. A form entry is entered in each of
// its classes that is a class of the tournament (each once; others are left
// out and named in the outcome), with an open partner row in doubles, mixed
// and team classes. `progress` is called after every entry with the number
// done. Throws StaleRecord when the tournament is gone; any failure writes
// nothing.
ImportOutcome importPlayers(const QSqlDatabase& db, int tid, const QList<ImportItem>& items,
                            const std::function<void(int)>& progress = {});

} // namespace bw

Q_DECLARE_METATYPE(bw::ImportItem)
