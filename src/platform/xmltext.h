// The text of an element of outside XML, its descendants' text included,
// collected in a loop. QXmlStreamReader::readElementText() with
// IncludeChildElements calls itself once per nested element, so a document of a
// few kilobytes nested deep enough overflows the stack; here the depth is
// counted and bounded instead, and the text may be bounded too.
#pragma once

#include <QString>

class QXmlStreamReader;

namespace bw {

struct ElementText {
    QString text;
    bool tooDeep = false; // an element inside lay deeper than allowed; the reader stopped there
    bool cut = false;     // the text was longer than allowed and holds its beginning
};

// Reads from the start element the reader stands on to its end element and
// returns the text in between. Elements nested more than `maxDepth` levels
// below it end the read (tooDeep); text past `maxLength` characters is left
// out (cut), a negative `maxLength` keeps all. A reader that fails (broken
// XML, the end of its data) keeps its error for the caller to look at.
ElementText readElementTextBounded(QXmlStreamReader& xml, int maxDepth, qsizetype maxLength = -1);

} // namespace bw
