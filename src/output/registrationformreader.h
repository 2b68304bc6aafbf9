// Reads a registration form (registrationform.h) that a club returned filled in,
// as Word or LibreOffice saved it (.docx).
//
// The form fields are read in document order from the main document part. A
// field's name is its w:ffData name; when that is empty or generated (starting
// with "_", as LibreOffice's "__Fieldmark__..."), the name of the bookmark opened
// just before the field (Word) or inside it (LibreOffice), generated names
// skipped; failing both, its place: a check box in row n + 1, column k + 2 of the
// fourth table is klasse<n>_<k>, and the document's only drop-down is `anzahl`.
// (LibreOffice 7.4 saves check boxes without a name and the drop-down with a
// generated one; saving once more it also drops their bookmarks.) A text field's
// result is the text of all its result runs, trimmed of blanks, en spaces
// (U+2002, Word's empty result) and no-break spaces. A check box is ticked when
// w:checked is there without a value or with 1/true/on, else when w:default says so.
//
// The form: the club is the result of `verein`, else of the first field; the
// class keys are the entries of `anzahl` in order (decimal numbers); a player row
// n = 1..17 is taken when both nname<n> and vname<n> are filled, and its ticked
// boxes klasse<n>_<k> name class column k (entry k of `anzahl`). A row that is not
// taken is skipped with its boxes.
//
// Outside input is bounded (ooxmlpackage.h): at most 64 MiB for the file and for
// the part, no document type declaration, fields nested at most 64 deep, the
// club, the names and the playing class of a taken row at most as long as the
// tournament keeps them (kMaxFormText, kMaxPlayingClassText). Every failure
// throws AppError with a German message naming what was found: a Word 97 file
// (.doc), a field missing or named twice, a drop-down entry that is no number,
// a row beyond 17, a box beyond the drop-down's entries, a text too long.
// Nothing is returned half read.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace bw {

// The longest club, surname and first name a form may give, and the longest
// playing class (the staging table keeps 50 characters of it).
inline constexpr qsizetype kMaxFormText = 255;
inline constexpr qsizetype kMaxPlayingClassText = 50;

// A form field of a document, its name resolved as described above.
struct FormField {
    enum class Kind { Text, CheckBox, DropDown };
    Kind kind = Kind::Text;
    QString name;        // empty when neither the field, a bookmark nor its place names it
    QString result;      // text fields: the trimmed result (of a very long one its beginning)
    bool ticked = false; // check boxes
    QStringList entries; // drop-downs, in order

    bool operator==(const FormField&) const = default;
};

// A player row the club filled in.
struct ReturnedPlayer {
    int row = 0; // 1..17
    QString nachname;
    QString vorname;
    QString spielklasse;
    QList<int> classColumns; // the ticked class columns k (1-based), ascending

    bool operator==(const ReturnedPlayer&) const = default;
};

struct ReturnedForm {
    QString verein;
    QList<int> classIds;           // the key of class column k is classIds[k - 1]
    QList<ReturnedPlayer> players; // the taken rows in row order

    bool operator==(const ReturnedForm&) const = default;
};

class RegistrationFormReader {
public:
    // The form in a file. Throws AppError.
    static ReturnedForm readFile(const QString& path);
    // The form in the bytes of a .docx. Throws AppError.
    static ReturnedForm read(const QByteArray& docx);

    // The layers below read() (for tests and the fuzz target):
    // the form fields of a main document part in document order;
    static QList<FormField> formFields(const QByteArray& documentXml);
    // the form those fields make.
    static ReturnedForm interpret(const QList<FormField>& fields);
};

} // namespace bw
