// What the list exports (sheets and PDF files) read: the classes with their
// phase settings, the match rows, the players, the teams with their members'
// names and the group tables of a tournament, a class or a phase of a class.
// Each list is one statement; names of team members and doubles come with the
// teams through joins. Names are sorted with the German collator, so both
// backends give the same order.
#pragma once

#include "data/classkind.h"
#include "data/teamrecords.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QTime>

#include <array>
#include <optional>
#include <vector>

namespace bw {

// A class of the tournament with the play system of its phases 1 to 3 (nothing:
// no such phase, or no settings row at all).
struct ExportClass {
    int kid = 0;
    QString kbezeichnung;
    std::optional<ClassKind> system;
    std::array<std::optional<int>, 3> phases;
};

// The classes of a tournament by name (the German collator; equal names by key).
std::vector<ExportClass> exportClasses(const QSqlDatabase& db, int tid);

// The name of a class; empty when there is no such class.
QString exportClassName(const QSqlDatabase& db, int kid);

// Which rows a list holds: the whole tournament (kid 0), a class (phase 0) or
// one phase of a class.
struct ExportSelection {
    int tid = 0;
    int kid = 0;
    int phase = 0;
};

struct ExportMatch {
    QString kbezeichnung;
    int phase = 0;
    int spielnummer = 0;
    QString spieler1;
    QString spieler2;
    QString ergebnis;
    QString an_platte;
    QString schiri;
    QDateTime spielstart;    // wall clock without a zone; invalid: not started
    QDate geplanter_tag;     // invalid: not planned
    std::optional<QTime> geplante_zeit;
    int gruppe = -1;         // below 0: no group (knock-out)
};

// Whole tournament: by class key and match number; a class or a phase: by
// match number.
std::vector<ExportMatch> exportMatches(const QSqlDatabase& db, const ExportSelection& selection);

struct ExportPlayer {
    QString nachname;
    QString vorname;
    QDate geb;
    QString verein;
    bool mann = false;
    bool bezahlt = false;
    QString email;
    QString spielstaerke;
    QString spklasse;
    QString kverband;
    QString bverband;
    QString lverband;
    QString land;
};

// Whole tournament: every player of it, entered in a class or not; a class: its
// entries; a phase: the players who stand in a match of it (each once).
std::vector<ExportPlayer> exportPlayers(const QSqlDatabase& db, const ExportSelection& selection);

// A member of a team: nothing for an empty place (Null, 0 or below, or a player
// who is no longer stored).
using ExportMemberName = TeamMemberName;

struct ExportTeam {
    QString teamname;
    QString verein;
    std::array<std::optional<ExportMemberName>, 4> spieler;
    std::array<std::optional<ExportMemberName>, 2> reserve;
    // A double's surnames, first player first; nothing unless both are players.
    std::array<std::optional<std::pair<QString, QString>>, 2> doppel;
};

// Whole tournament: every team of it; a class or a phase: the class's teams.
// By team key.
std::vector<ExportTeam> exportTeams(const QSqlDatabase& db, const ExportSelection& selection);

struct ExportStanding {
    int phase = 0;
    int gid = 0;
    int pos = 0;
    QString bez;
    int spielanzahl = 0;
    int saetzegewonnen = 0, saetzeverloren = 0;
    int spielegewonnen = 0, spieleverloren = 0;
    int punktegewonnen = 0, punkteverloren = 0;
};

// The group tables of a class (all its phases) or of one phase, by phase,
// group and place, so the phases of a class never interleave.
std::vector<ExportStanding> exportStandings(const QSqlDatabase& db, const ExportSelection& selection);

} // namespace bw
