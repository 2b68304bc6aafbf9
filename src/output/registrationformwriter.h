// Writes the registration form (registrationform.h) as a .docx that Word and
// LibreOffice both let a club fill in: legacy form fields (a field begin carrying
// w:ffData with the field's name, the instruction FORMTEXT, FORMCHECKBOX or
// FORMDROPDOWN, for text fields a separator and a result of five en spaces, the
// end), each inside a bookmark of its name as Word writes them; the document
// protected for filling in forms only, without a password; form-field shading off.
//
// Page: A4 landscape (29.7 x 21 cm), margins 2.5 cm top, bottom and right, 2 cm
// left, header and footer 1.27 cm from the edge, all in exact twips. The page
// header says "Meldeformular", "für", the tournament's name and its addition in
// Times New Roman 16 pt bold italic, centred. Tables 1 to 4 have fixed layouts and
// the widths of registrationform.h's rules (P = nameColumnWidth(m)):
//   1  "Verein:" | verein                                 5 + 5 cm, indented 0.5 cm
//   2  "Ansprechpartner:" | ansprechpartner | "Telefon:" | telefon   5, 5, 3, 5 cm
//   3  "Spieler / Spielerinnen" | "Klassen" | "Spielklasse"       2P, 0.8 m, P cm
//   4  titles, then 17 player rows                        P, P, m x 0.8 cm, P
// with class titles in 8 pt running upwards, and below table 4 the drop-down
// `anzahl` in white, disabled, carrying the class keys.
#pragma once

#include "output/registrationform.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace bw {

class RegistrationFormWriter {
public:
    // Advances a progress display by the given number of steps; a whole form
    // takes 100.
    using Progress = std::function<void(int steps)>;

    explicit RegistrationFormWriter(regform::Content content);

    // The form as the bytes of a .docx; 90 steps. Throws AppError (German) for a
    // tournament of more classes than the form holds, before anything is built.
    QByteArray document(const Progress& progress = {}) const;
    // Writes the form into `file` through QSaveFile, so the file is replaced only
    // by a complete form and stays as it was on any failure; 100 steps. Throws
    // AppError with the reason.
    void save(const QString& file, const Progress& progress = {}) const;

private:
    regform::Content m_content;
};

} // namespace bw
