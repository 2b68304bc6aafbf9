// Binding the external zip library at run time (dlopen/dlsym): which file is
// loaded, its six entry points, the version check, and the reasons that keep the
// library loaded. The interface itself is declared in zip/ziplib.h.
#pragma once

#include "zip/zacore.h"
#include "zip/ziplib.h"

namespace bw::zip {

// Why the library stays loaded; it is let go when no reason is left.
enum class LoadReason { Dll_Load, Zip, Unzip };
using LoadReasons = EnumSet<LoadReason, 3>;

class TZADynamicBind : public TZACore {
public:
    using TZACore::TZACore;
    // Asks a loaded library to abort and unloads it, without reporting.
    ~TZADynamicBind() override;

    bool isLoaded() const { return m_handle != nullptr; }
    LoadReasons loadReasons() const { return m_reasons; }
    // Loads the library for a reason (raising the component's error when that
    // fails) or lets the reason go.
    void keepLoaded(LoadReason reason, bool keep);

    // The file that loading tries: the library in DLLDirectory when it is there
    // (a folder starting with "." lies below the program's folder), else the bare
    // library name for the system's search path.
    QString libraryFile() const;

    int DllVersion() const { return m_version; }
    int DllPrivVersion() const { return m_privVersion; }
    const QString& DllPath() const { return m_path; }

private:
    void loadLib();
    void unloadLib(bool withReport);
    void forget();

    void* m_handle = nullptr;
    ZL_UnzExecFunc* m_unzExec = nullptr;
    ZL_ZipExecFunc* m_zipExec = nullptr;
    ZL_VersionFunc* m_versionFunc = nullptr;
    ZL_PrivVersionFunc* m_privVersionFunc = nullptr;
    ZL_AbortFunc* m_abort = nullptr;
    ZL_PathFunc* m_pathFunc = nullptr;
    int m_version = 0;
    int m_privVersion = 0;
    QString m_path = QStringLiteral(ZL_LIBRARY_NAME);
    LoadReasons m_reasons;
};

} // namespace bw::zip
