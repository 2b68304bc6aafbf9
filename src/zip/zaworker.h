// The zip component's worker: on top of the settings and the library binding it
// holds the directory of the named archive and reads it.
#pragma once

#include "zip/zadynamicbind.h"
#include "zip/zipdir.h"

#include <vector>

namespace bw::zip {

class TZAWorker : public TZADynamicBind {
public:
    using TZADynamicBind::TZADynamicBind;

    bool isActive() const { return m_active; }
    void setActive(bool active) { m_active = active; }

    // Reads the directory of Settings.ZipFileName, replacing the entries; on a
    // failure (a ZipError) the entries stay empty. A name that is neither a file
    // nor the first part of a numbered multi-part archive is a new archive with
    // no entries.
    void readDirectory();

    const std::vector<ZipDirEntry>& entries() const { return m_entries; }

private:
    bool m_active = false;
    std::vector<ZipDirEntry> m_entries;
};

} // namespace bw::zip
