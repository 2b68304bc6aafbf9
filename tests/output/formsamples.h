// Registration forms for the tests: sample tournaments and a filler that fills a
// written form in as Word does (results split over runs, <w:checked/> without a
// value, untouched text fields keeping Word's five en spaces).
#pragma once

#include "output/registrationform.h"
#include "output/registrationformreader.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace bw::test {

// A tournament with `classCount` classes whose keys do not follow their names.
regform::Content sampleContent(int classCount);
// A tournament with the given classes (key, name, kind).
regform::Content contentWith(const QList<ClassEntry>& classes);

struct FilledRow {
    QString nachname;
    QString vorname;
    QString spielklasse;
    QList<int> ticked; // class columns k
};

struct Filling {
    QString verein;
    QString ansprechpartner;
    QMap<int, FilledRow> rows; // by row n
    QStringList entries;        // replaces the drop-down's entries when not empty
};

// A club's filling of sampleContent(3): the club between a no-break and an en
// space, a row with a surname only and one with a first name only (both with
// ticked boxes), text with characters XML escapes, rows 1, 9 and 17 taken.
Filling sampleFilling();
// What reading that form gives.
ReturnedForm sampleFillingRead();

// The .docx with its fields filled in as Word writes them.
QByteArray fillLikeWord(const QByteArray& docx, const Filling& filling);

// The bytes of a package whose parts are those of `docx` with one replaced.
QByteArray replacePart(const QByteArray& docx, const QString& part, const QByteArray& content);

} // namespace bw::test
