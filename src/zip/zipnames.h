// Conversion of the names and comments stored in an archive's directory into the
// program's text (UTF-8), chosen by the component's CodePage: an entry flagged as
// UTF-8 is UTF-8; an entry made on DOS is in code page 850 (cpAuto, cpOEM); other
// entries are UTF-8 when their bytes are, else Latin-1 (as "M\xfcller" from an
// older Unix zip); every entry under cpNone keeps its bytes.
#pragma once

#include "zip/ziptypes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace bw::zip {

constexpr uint16_t kFlagUtf8 = 0x0800;
constexpr uint8_t kHostDos = 0;

std::string convertName(std::string_view raw, uint16_t flag, uint8_t hostSystem, CodePageOpts codePage);

// Code page 850 to UTF-8.
std::string fromCodePage850(std::string_view bytes);
// Latin-1 to UTF-8.
std::string fromLatin1(std::string_view bytes);
// Whether the bytes are well-formed UTF-8.
bool isUtf8(std::string_view bytes);
// Well-formed UTF-8: every byte that does not start a valid sequence becomes U+FFFD.
std::string sanitizeUtf8(std::string_view bytes);
// The length a name has as the platform counts characters (UTF-16 units); a byte
// that is no valid UTF-8 counts as one.
size_t characterCount(std::string_view utf8);

} // namespace bw::zip
