/* A stand-in for the external zip library, built in several variants to show
 * each outcome of binding it: ZLTEST_VERSION is the version it reports, and
 * ZLTEST_NO_PATH leaves out the last entry point. zltest_abort_calls() tells
 * how often ZL_Abort was called while the library stayed in memory. */
#define _GNU_SOURCE
#include "zip/ziplib.h"

#include <dlfcn.h>

#define EXPORT __attribute__((visibility("default")))

static int abortCalls;

EXPORT int zltest_abort_calls(void) { return abortCalls; }

EXPORT long ZL_UnzExec(struct ZLCommand* command) { (void)command; return -1; }
EXPORT long ZL_ZipExec(struct ZLCommand* command) { (void)command; return -1; }
EXPORT int ZL_Version(void) { return ZLTEST_VERSION; }
EXPORT int ZL_PrivVersion(void) { return ZLTEST_VERSION * 10000 + 704; }
EXPORT void ZL_Abort(void) { ++abortCalls; }

#ifndef ZLTEST_NO_PATH
EXPORT const char* ZL_Path(void)
{
    Dl_info info;
    return dladdr((void*)&ZL_Version, &info) ? info.dli_fname : 0;
}
#endif
