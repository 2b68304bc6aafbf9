// The codec's one exception class. Every failure of reading, writing or drawing a
// GIF picture raises it with an English message; problems that do not stop the
// work go to the picture's warning hook instead (TGIFPicture::OnDecodeWarning).
#pragma once

#include <stdexcept>
#include <string>

namespace bw {

class GIFException : public std::runtime_error {
public:
    explicit GIFException(const std::string& message) : std::runtime_error(message) {}
};

} // namespace bw
