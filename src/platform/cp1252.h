// Windows-1252, the code page of the files other programs exchange with us
// (print files for the layout program, PDF text, older ini files). Bytes 0x80-0x9F
// carry €, „, “, – and friends; the five bytes that code page leaves undefined map
// to the C1 control of the same number, so every byte string round-trips.
//
// A character the code page cannot hold is written as close as it allows, so a
// name never turns into question marks: without its accents ("Ş" -> "S", "ễ" ->
// "e"), in its compatibility form ("ﬁ" -> "fi"), or as the like letter ("ł" ->
// "l", "ı" -> "i"); only what has none of these becomes "?".
#pragma once

#include <QByteArray>
#include <QString>

namespace bw::cp1252 {

QString decode(const QByteArray& bytes);

QByteArray encode(const QString& text);

// The byte for one character, or -1 when the code page cannot hold it.
int byteFor(char32_t codePoint);

// What encode writes for a character the code page cannot hold.
QByteArray fallbackFor(char32_t codePoint);

} // namespace bw::cp1252
