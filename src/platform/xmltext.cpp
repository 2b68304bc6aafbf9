#include "platform/xmltext.h"

#include <QXmlStreamReader>

#include <algorithm>

namespace bw {

ElementText readElementTextBounded(QXmlStreamReader& xml, int maxDepth, qsizetype maxLength)
{
    ElementText result;
    int depth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (++depth > maxDepth) {
                result.tooDeep = true;
                return result;
            }
        } else if (xml.isEndElement()) {
            if (depth-- == 0)
                return result;
        } else if (xml.isCharacters() || xml.isEntityReference()) {
            const QStringView text = xml.text();
            if (maxLength < 0 || result.text.size() + text.size() <= maxLength) {
                result.text += text;
            } else {
                result.text += text.left(std::max<qsizetype>(maxLength - result.text.size(), 0));
                result.cut = true;
            }
        }
    }
    return result;
}

} // namespace bw
