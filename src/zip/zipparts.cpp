#include "zip/zipparts.h"

namespace bw::zip {

QString partFileName(const QString& zipName, int part, int partCount, bool compatName)
{
    if (compatName && part == partCount)
        return zipName;
    const qsizetype nameStart = std::max(zipName.lastIndexOf(u'/'), zipName.lastIndexOf(u'\\')) + 1;
    qsizetype dot = zipName.lastIndexOf(u'.');
    if (dot < nameStart)
        dot = zipName.size();
    const QString stem = zipName.left(dot);
    if (compatName)
        return stem + QStringLiteral(".z") + QString::number(part).rightJustified(2, u'0');
    return stem + QString::number(part).rightJustified(3, u'0') + zipName.mid(dot);
}

} // namespace bw::zip
