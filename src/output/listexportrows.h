// What the list exports show, without widgets: the entries of the export
// dialog's scope list (the whole tournament, each class, each phase of a class)
// and, for one entry, the rows and the title of each of the four lists (match
// plan, player list, team list, group tables). The sheets and the PDF pages
// both lay out exactly these rows.
#pragma once

#include "data/exportrecords.h"
#include "data/groupsettings.h"

#include <QSqlDatabase>
#include <QString>

#include <vector>

namespace bw {

// One entry of the scope list: the class (0: the whole tournament), the phase
// (0: all of them), whether it has a team list and group tables.
struct klassenwahlinfo {
    int KID = 0;
    int phase = 0;
    bool isTeam = true;
    bool hasGroups = false;
};

struct KlassenwahlEntry {
    QString text;
    klassenwahlinfo info;
};

// "Gesamte Turnier", then per class "<name> (<kind>)" followed by its phases
// "<name> (<kind>) / Phase<n>-Gruppen" ("-KO", "-Doppel-KO").
std::vector<KlassenwahlEntry> klassenwahlEntries(const std::vector<ExportClass>& classes);

// The steps of a list export's progress bar.
class ListProgress {
public:
    virtual ~ListProgress() = default;
    virtual void step(int n) = 0;
    virtual void setMaximum(int maximum) = 0;
};

// A progress that shows nothing.
class NoProgress : public ListProgress {
public:
    void step(int) override {}
    void setMaximum(int) override {}
};

template <class Row> struct ListRows {
    QString title;
    std::vector<Row> rows;
};

class ListExportRows {
public:
    ListExportRows(const QSqlDatabase& db, int tid, const QString& turniername, const klassenwahlinfo& info);

    // "Turnier-Spielplan", or "Spielplan für <class>" (", Phase <n>").
    ListRows<ExportMatch> spielplan() const;
    // "Turnier-Spielerliste", or "Spielerliste für <class>" (", Phase <n>").
    ListRows<ExportPlayer> spielerliste() const;
    // "Teamliste für <tournament>" or "Teamliste für <class>".
    ListRows<ExportTeam> teamliste() const;
    // "Tabellen/Gruppen für <class>".
    ListRows<ExportStanding> gruppenTabellen() const;

private:
    QString classTitle(const QString& prefix, bool withPhase) const;

    QSqlDatabase m_db;
    ExportSelection m_selection;
    QString m_turniername;
};

// When a match began, else when it is planned "[<day> <time>]", else empty.
QString spielbeginnText(const ExportMatch& match);
// A result as the lists show it: "0:0" (not played) shows nothing.
QString resultText(const QString& ergebnis);
// The first of the player's district, region, state association and country
// that is not empty.
QString verbandText(const ExportPlayer& player);
// "<nachname>, <vorname>".
QString memberText(const ExportMemberName& name);
// "<a> / <b>".
QString doubleText(const std::pair<QString, QString>& surnames);

} // namespace bw
