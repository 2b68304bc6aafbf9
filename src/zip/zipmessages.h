// The component's message table. Every text is looked up by its number; a number
// missing from the table gives "Resource missing for " and the number. The
// arguments replace the %s and %d marks in order (a file name holding "%" stays
// as it is).
#pragma once

#include <initializer_list>
#include <string>

namespace bw::zip {

enum ZipMessageId : int {
    // The component's dialog box.
    ZB_Caption = 101,
    ZB_OK,
    ZB_Cancel,
    ZB_Yes,
    ZB_No,
    // Binding the library.
    LD_NoDll = 201,
    LD_DllError,
    LD_BadDll,
    LD_DllLoaded,
    LD_DllUnloaded,
    // Reading an archive's directory.
    DS_FileLarge = 301,
    DS_EOCBadRead,
    DS_CEHBadRead,
    DS_NameTooLong,
    DS_NoPart,
    DS_NoOpen,
};

// The text of a message number (US English; this system has no other language).
std::string ZipLoadStr(int id);
// The text with its marks replaced by the arguments.
std::string ZipFmtLoadStr(int id, std::initializer_list<std::string> args);

} // namespace bw::zip
