// LibreOffice run headless as a real reader of the documents we write. Every call
// gets a user profile of its own in a temporary folder: with a shared profile a
// second soffice started meanwhile hands its job to the first and ends without
// output. The converted file is checked to exist.
#pragma once

#include <QString>

namespace bw::test {

// The soffice program, or empty when LibreOffice is not installed.
QString sofficeProgram();

// Converts `input` with the export filter `filter` ("pdf", "docx:MS Word 2007 XML")
// into `outDir`; returns the written file (named as the input with the extension
// `extension`). Empty on failure, with the reason in *error.
QString convertWithOffice(const QString& input, const QString& filter, const QString& extension,
                          const QString& outDir, QString* error);

} // namespace bw::test
