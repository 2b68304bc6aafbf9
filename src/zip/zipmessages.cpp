#include "zip/zipmessages.h"

namespace bw::zip {

namespace {

struct Text {
    ZipMessage id;
    const char* text;
};

constexpr Text kTexts[] = {
    {ZipMessage::BoxCaption, "Message"},
    {ZipMessage::BoxOk, "&OK"},
    {ZipMessage::BoxCancel, "&Cancel"},
    {ZipMessage::BoxYes, "&Yes"},
    {ZipMessage::BoxNo, "&No"},
    {ZipMessage::LibraryNotLoaded, "Failed to load %s"},
    {ZipMessage::LibraryLoadError, "Error [%d %s] loading %s"},
    {ZipMessage::LibraryUnusable, "Unable to load %s - It is old or corrupt"},
    {ZipMessage::LibraryLoaded, "Loaded %s"},
    {ZipMessage::LibraryUnloaded, "Unloaded %s"},
    {ZipMessage::ArchiveTooLarge, "File larger than 4GB"},
    {ZipMessage::EndRecordUnreadable, "Error while reading the End Of Central Directory"},
    {ZipMessage::DirectoryUnreadable, "Error while reading the Central Directory"},
    {ZipMessage::NameTooLong, "A file name in the Central Directory is 260 characters or longer"},
    {ZipMessage::PartMissing, "Part %s of the archive is missing"},
    {ZipMessage::ArchiveNotOpened, "Unable to open %s"},
};

} // namespace

std::string messageText(int number)
{
    for (const Text& t : kTexts)
        if (int(t.id) == number)
            return t.text;
    return "Resource missing for " + std::to_string(number);
}

std::string messageText(int number, std::initializer_list<std::string> args)
{
    const std::string format = messageText(number);
    std::string out;
    auto arg = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == 'd')
            && arg != args.end()) {
            out += *arg++;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

} // namespace bw::zip
