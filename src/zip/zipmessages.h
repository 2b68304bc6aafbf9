// The component's message table. Every text is looked up by its number; a number
// missing from the table gives "Resource missing for " and the number. The
// arguments replace the %s and %d marks in order (a file name holding "%" stays
// as it is).
#pragma once

#include <initializer_list>
#include <string>

namespace bw::zip {

// The numbers of the messages; the component reports them as its error codes.
enum class ZipMessage : int {
    // The component's dialog box.
    BoxCaption = 101,
    BoxOk,
    BoxCancel,
    BoxYes,
    BoxNo,
    // Binding the library.
    LibraryNotLoaded = 201,
    LibraryLoadError,
    LibraryUnusable,
    LibraryLoaded,
    LibraryUnloaded,
    // Reading an archive's directory.
    ArchiveTooLarge = 301,
    EndRecordUnreadable,
    DirectoryUnreadable,
    NameTooLong,
    PartMissing,
    ArchiveNotOpened,
};

// The text of a message number (US English; this system has no other language).
std::string messageText(int number);
// The text with its marks replaced by the arguments.
std::string messageText(int number, std::initializer_list<std::string> args);

inline std::string messageText(ZipMessage id) { return messageText(int(id)); }
inline std::string messageText(ZipMessage id, std::initializer_list<std::string> args)
{
    return messageText(int(id), args);
}

} // namespace bw::zip
