// The registration form ("Anmeldeformular"): a Word document with legacy form
// fields that a club fills in with its players and their classes and returns;
// what the writer and the reader of the form share.
//
// Fields in document order, names exact (n and k decimal without leading zeros):
//   verein, ansprechpartner, telefon            text fields of tables 1 and 2
//   per player row n = 1..17 (table 4, row n + 1):
//     nname<n>, vname<n>                        text fields, columns 1 and 2
//     klasse<n>_<k>, k = 1..m                   check boxes, column k + 2
//     sklasse<n>                                text field, last column
//   anzahl                                      a disabled drop-down below table 4
//                                               whose entry k is the key (KID) of
//                                               class column k
// so a form for m classes holds 3 + 17 * (m + 3) fields and then `anzahl`.
//
// The class columns are the tournament's classes in the order of their names
// (German order; one name of two kinds by kind, then by key).
#pragma once

#include "data/classrecords.h"

#include <QList>
#include <QString>

namespace bw::regform {

inline constexpr int kPlayerRows = 17;
// Word's drop-down holds at most 25 entries, and from 30 classes the name
// columns would get no width: the form takes at most 25 classes.
inline constexpr int kMaxClasses = 25;

// Width in centimetres of each name column for m classes:
// (25 - 0.8 m) / 3 rounded to the nearest whole centimetre.
int nameColumnWidth(int classCount);
// Word's CentimetersToPoints: 72 points to the inch.
double centimetersToPoints(double cm);
// The page set-up's conversion: a point taken as 0.35 mm, rounded to whole
// points (a half to the even neighbour), so 2.5 cm give 71 and 29 cm 829.
float pagePoints(float cm);
// Twentieths of a point, the unit of widths and margins in the document.
int centimetersToTwips(double cm);

QString surnameField(int row);
QString firstNameField(int row);
QString playingClassField(int row);
QString classBoxField(int row, int column);
inline const QString kClubField = QStringLiteral("verein");
inline const QString kContactField = QStringLiteral("ansprechpartner");
inline const QString kPhoneField = QStringLiteral("telefon");
inline const QString kClassListField = QStringLiteral("anzahl");

// What the form is made of: the tournament's name and addition, and the class
// columns in their order.
struct Content {
    QString turniername;
    QString zusatz;
    QList<ClassEntry> classes;
};

// The classes of a tournament as class columns (sorted as described above).
QList<ClassEntry> classColumns(QList<ClassEntry> classes);
// A class column's title: the name and its kind, "Herren A (Einzel)".
QString classTitle(const ClassEntry& entry);

} // namespace bw::regform
