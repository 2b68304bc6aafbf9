// The object attached to the entries of the entrant, seeding, group and check-in
// lists: which player, team or referee an entry stands for and what the list
// shows about it. What each field means on a particular list is said where the
// list is filled.
#pragma once

#include <QString>

namespace bw {

struct Myitem {
    int ID = 0;          // player, team or referee id; -1 an empty placeholder row, -2 a bye
    int partnerID = 0;   // doubles partner or first team player; on the team check-in list the team's class
    bool gemeldet = false;
    int gesetzt = -1;    // seed number, -1 unseeded
    QString name;        // display name
    QString verein;      // club
    bool teilgemeldet = false; // checked in for at least one class
};

} // namespace bw
