// The rows of the tournament website: the tournament, its classes with their
// entrants (partner and team name joined to each entry), every player, the teams
// with their members' names joined, the referees and the match rows of every
// class. Read with one query per table, never one per row, and ordered as the
// pages list them: names by the German collator (the same order on every
// backend), matches by class and match number.
//
// Values a page prints as they are stored stay QVariants: Null kept apart from
// an empty text, dates and times read as QDateTime whatever the backend
// returns, yes/no as bool.
#pragma once

#include "data/classkind.h"
#include "data/teamrecords.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVariantHash>

#include <array>
#include <optional>

namespace bw {

struct SiteClass {
    int kid = 0;
    QString kbezeichnung;
    QVariant system; // as stored; the page names and file names take its text
    std::optional<ClassKind> kind;
    QVariant kbeschreibung, spielberechtigung, gebuehr, min, max, saetze, platten, atag, uhrzeit;
    bool mann = false;
    bool frau = false;
};

// A player entered in a class, with the partner of a pair and the team name.
struct SiteEntry {
    int kid = 0;
    QString nachname, vorname, verein;
    QString partnerNachname, partnerVorname; // empty without partner
    QString mannschaft;
};

struct SitePlayer {
    QString nachname, vorname, verein;
    QVariant geb, nummer, kverband, bverband, lverband, land, spklasse;
};

// A place of a team: nothing while its column is empty or below 1; a player
// the column names but who is gone has empty names.
using SiteMember = TeamMemberName;
using SiteTeam = TeamRoster;

struct SiteReferee {
    QString snname, svname, sverein;
    QVariant sgeb, skverband, sbverband, slverband, sland, sklasse;
};

struct SiteMatch {
    int kid = 0;
    QVariant spielnummer, spieler1, spieler2;
    std::array<QVariant, 9> saetze;
    QVariant ergebnis, an_platte, spielstart, spielende;
};

struct SiteData {
    // The tournament's columns by lower-case name; empty when the row is gone.
    QVariantHash tournament;
    QList<SiteClass> classes;  // by name, then kind
    QList<SiteEntry> entries;  // by class key, then name
    QList<SitePlayer> players; // by name
    QList<SiteTeam> teams;     // by team name
    QList<SiteReferee> referees;
    QList<SiteMatch> matches;  // by class key, then match number
};

SiteData readSiteData(const QSqlDatabase& db, int tid);

} // namespace bw
