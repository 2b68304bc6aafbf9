// The zip component's enumerations and the small set type its settings use.
// No Qt here: the directory reader and the fuzzer share these.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace bw::zip {

// A set of enumeration values, as the component's set-valued settings are.
template <class E, int Count>
class EnumSet {
    static_assert(Count <= 64, "EnumSet holds at most 64 values");

public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> values)
    {
        for (E v : values)
            m_bits |= bit(v);
    }
    static constexpr EnumSet all()
    {
        EnumSet s;
        s.m_bits = Count == 64 ? ~uint64_t(0) : (uint64_t(1) << Count) - 1;
        return s;
    }

    constexpr bool contains(E v) const { return (m_bits & bit(v)) != 0; }
    constexpr bool empty() const { return m_bits == 0; }
    constexpr EnumSet& include(E v) { m_bits |= bit(v); return *this; }
    constexpr EnumSet& exclude(E v) { m_bits &= ~bit(v); return *this; }
    constexpr EnumSet without(E v) const { EnumSet s = *this; return s.exclude(v); }
    constexpr uint64_t bits() const { return m_bits; }
    friend constexpr bool operator==(EnumSet a, EnumSet b) { return a.m_bits == b.m_bits; }

private:
    static constexpr uint64_t bit(E v) { return uint64_t(1) << static_cast<int>(v); }
    uint64_t m_bits = 0;
};

enum class AddOptsEnum {
    AddDirNames, AddRecurseDirs, AddMove, AddFreshen, AddUpdate, AddZipTime, AddForceDOS,
    AddHiddenFiles, AddArchiveOnly, AddResetArchive, AddEncrypt, AddSeparateDirs, AddVolume,
    AddFromDate, AddSafe, AddForceDest, AddDiskSpan, AddDiskSpanErase,
};
using AddOpts = EnumSet<AddOptsEnum, 18>;

enum class AddStoreSuffixEnum {
    assGIF, assPNG, assZ, assZIP, assZOO, assARC, assLZH, assARJ, assTAZ, assTGZ, assLHA,
    assRAR, assACE, assCAB, assGZ, assGZIP, assJAR, assEXE, assEXT, assJPG, assJPEG, ass7Zp,
    assMP3, assWMV, assWMA, assDVR, assAVI,
};
using AddStoreExts = EnumSet<AddStoreSuffixEnum, 27>;

enum class ExtrOptsEnum { ExtrDirNames, ExtrOverWrite, ExtrFreshen, ExtrUpdate, ExtrTest, ExtrForceDirs };
using ExtrOpts = EnumSet<ExtrOptsEnum, 6>;

enum class SpanOptsEnum { spNoVolumeName, spCompatName, spWipeFiles, spTryFormat };
using SpanOpts = EnumSet<SpanOptsEnum, 4>;

enum class TSFXOption {
    soAskCmdLine, soAskFiles, soHideOverWriteBox, soAutoRun, soNoSuccessMsg, soExpandVariables,
    soInitiallyHideFiles, soForceHideFiles, soCheckAutoRunFileName, soCanBeCancelled, soDetached,
    soCreateEmptyDirs,
};
using TSFXOptions = EnumSet<TSFXOption, 12>;

// How names and comments of entries are converted when the directory is read.
enum class CodePageOpts { cpAuto, cpNone, cpOEM };
enum class TDeleteOpts { htdFinal, htdAllowUndo };
enum class OvrOpts { OvrAlways, OvrNever, OvrConfirm };

} // namespace bw::zip
