#include "zip/zipmessages.h"

namespace bw::zip {

namespace {

struct Text {
    int id;
    const char* text;
};

constexpr Text kUsEnglish[] = {
    {ZB_Caption, "Message"},
    {ZB_OK, "&OK"},
    {ZB_Cancel, "&Cancel"},
    {ZB_Yes, "&Yes"},
    {ZB_No, "&No"},
    {LD_NoDll, "Failed to load %s"},
    {LD_DllError, "Error [%d %s] loading %s"},
    {LD_BadDll, "Unable to load %s - It is old or corrupt"},
    {LD_DllLoaded, "Loaded %s"},
    {LD_DllUnloaded, "Unloaded %s"},
    {DS_FileLarge, "File larger than 4GB"},
    {DS_EOCBadRead, "Error while reading the End Of Central Directory"},
    {DS_CEHBadRead, "Error while reading the Central Directory"},
    {DS_NameTooLong, "A file name in the Central Directory is 260 characters or longer"},
    {DS_NoPart, "Part %s of the archive is missing"},
    {DS_NoOpen, "Unable to open %s"},
};

} // namespace

std::string ZipLoadStr(int id)
{
    for (const Text& t : kUsEnglish)
        if (t.id == id)
            return t.text;
    return "Resource missing for " + std::to_string(id);
}

std::string ZipFmtLoadStr(int id, std::initializer_list<std::string> args)
{
    const std::string format = ZipLoadStr(id);
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
