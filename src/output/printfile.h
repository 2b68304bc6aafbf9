// The print files of the layout program: "UrkundePrint.txt" for a certificate
// and "QuittungPrint.txt" for a receipt, in the program folder, read by the
// layout program as a Windows ini file in Windows-1252. Section "Daten" holds,
// in this order, "Name", "Verein", "Klasse", then "Platz" (certificate) or
// "Gebuhr" (receipt), and "Layout" = "Templates\<template file>", a path
// relative to the program folder. An existing file keeps its other lines; the
// file is replaced as a whole, so a failed write leaves the old one.
// The templates are the files "*.urk" and "*.qui" of the folder "Templates".
#pragma once

#include <QString>
#include <QStringList>

namespace bw {

class AppPaths;

enum class PrintFileKind { Urkunde, Quittung };

// The texts of one print file.
struct PrintFileFields {
    QString name;
    QString verein;
    QString klasse;
    QString platzOderGebuhr; // "Platz" of a certificate, "Gebuhr" of a receipt
    QString layout;          // the template's file name
};

// "UrkundePrint.txt" or "QuittungPrint.txt".
QString printFileName(PrintFileKind kind);

// The template files of the kind in the folder "Templates" of the program
// folder: files only, sorted by name.
QStringList layoutTemplates(const AppPaths& paths, PrintFileKind kind);

// Writes the print file of the kind; an AppError with the reason when the file
// cannot be read or written.
void writePrintFile(const AppPaths& paths, PrintFileKind kind, const PrintFileFields& fields);

} // namespace bw
