// The classes and players of tournament 1 for the group set-up tests, inserted
// row by row (the tournament's own row is the caller's):
//
// - "U18 (m)" (singles, 7 players, two of them namesakes "Meier, Max") and
//   "U18" (singles, 1 player): a caption cut at its first bracket would find "U18".
// - "Herren" (doubles): the pair Abel/Berg (both checked in), Cramer, Dorn and
//   Ebert without partner (Cramer checked in for "U18 (m)" only), and Mann, whose
//   partner is missing from the player table.
// - "Mixed": the pair Jung/Igel, the men Hahn, Kurz, Lang and the women Fuchs
//   and Graf without partner.
// - "Senioren" (doubles): one pair, nobody without partner.
// - "Liga" (team class): the teams "TSV A" (checked in) and "SV Brunnhain".
#pragma once

#include <QSqlDatabase>

namespace bw::test::groups {

constexpr int kTid = 1;
constexpr int kU18m = 1, kU18 = 2, kHerren = 3, kMixed = 4, kSenioren = 5, kLiga = 6;

constexpr int kAbel = 1, kBerg = 2, kCramer = 3, kDorn = 4, kEbert = 5; // men
constexpr int kFuchs = 6, kGraf = 7;                                   // women
constexpr int kHahn = 8, kIgel = 9, kJung = 10, kKurz = 11, kLang = 12; // Igel a woman
constexpr int kMann = 13, kMissing = 99;
constexpr int kMeier1 = 14, kMeier2 = 15, kNorden = 16, kOtto = 17, kPohl = 18;
constexpr int kTeamA = 1, kBrunnhain = 2;

void seedGroupTournament(const QSqlDatabase& db);

// The partner of a player's row in a class: -1 without a row, 0 for Null.
int partnerOf(const QSqlDatabase& db, int kid, int sid);

} // namespace bw::test::groups
