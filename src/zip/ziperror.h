// The component's error: a message number of the message table and the text made
// from it. Raised by the directory reader and the library binding; the component
// reports it through OnMessage and, unless Unattended, its dialog box.
#pragma once

#include "zip/zipmessages.h"

#include <exception>
#include <string>

namespace bw::zip {

class ZipError : public std::exception {
public:
    ZipError(ZipMessage id, std::initializer_list<std::string> args = {})
        : m_id(int(id)), m_text(messageText(id, args)) {}
    int id() const noexcept { return m_id; }
    const char* what() const noexcept override { return m_text.c_str(); }

private:
    int m_id;
    std::string m_text;
};

} // namespace bw::zip
