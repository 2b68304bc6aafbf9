// Names of the parts of a multi-part archive. With compatible naming part k of n
// takes the extension ".z01" .. ".z09", ".z10" .. and the last part keeps the
// archive's own name; otherwise the three-digit part number goes before the
// extension ("turnier.zip" -> "turnier001.zip").
#pragma once

#include <QString>

namespace bw::zip {

// part counts from 1; partCount matters only for compatible naming.
QString partFileName(const QString& zipName, int part, int partCount, bool compatName);

} // namespace bw::zip
