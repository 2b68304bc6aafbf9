// Fuzz target: the central-directory reader of the zip component. The first
// byte chooses the options and into how many parts (1 to 3) the rest is cut, so
// multi-part archives are walked too; the rest is the archive. A ZipError is the
// expected outcome of damaged input; anything else is a fault.
#include "zip/zipdir.h"
#include "zip/ziperror.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace bw::zip;
    if (size < 1)
        return 0;
    const uint8_t control = data[0];
    ++data;
    --size;

    const size_t partCount = 1 + (control & 3) % 3;
    std::vector<MemorySource> sources;
    sources.reserve(partCount);
    const size_t partSize = size / partCount;
    for (size_t k = 0; k < partCount; ++k) {
        const size_t begin = k * partSize;
        sources.emplace_back(data + begin, k + 1 == partCount ? size - begin : partSize);
    }
    std::vector<ByteSource*> parts;
    for (auto& s : sources)
        parts.push_back(&s);

    DirOptions options;
    options.codePage = CodePageOpts((control >> 2) % 3);
    options.useDirOnlyEntries = (control & 0x10) != 0;
    try {
        const EndRecord end = findEndRecord(*parts.back());
        const auto entries = readCentralDirectory(end, parts, options);
        size_t total = 0;
        for (const ZipDirEntry& e : entries)
            total += e.FileName.size() + e.ExtraData.size() + e.FileComment.size();
        if (total > size * 3)   // names may grow by conversion, never beyond that
            __builtin_trap();
    } catch (const ZipError&) {
    }
    return 0;
}
