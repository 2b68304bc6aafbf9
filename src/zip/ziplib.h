/* The interface of the external zip library "ZipLib179.dll" (a shared object
 * under that very name: dlopen takes the file name as it stands), which the zip
 * component binds at run time by these six entry point names, looked up in this
 * order. The archive operations and their command block are the library's
 * business; the component only reads the versions and the path and asks the
 * library to abort when it lets it go. */
#ifndef BW_ZIP_ZIPLIB_H
#define BW_ZIP_ZIPLIB_H

#ifdef __cplusplus
extern "C" {
#endif

#define ZL_LIBRARY_NAME "ZipLib179.dll"
#define ZL_MIN_VERSION 179
#define ZL_MAX_VERSION 300

/* The command block of an archive operation, defined by the library. */
struct ZLCommand;

typedef long ZL_UnzExecFunc(struct ZLCommand* command);
typedef long ZL_ZipExecFunc(struct ZLCommand* command);
/* The library's version as a number: 179 is 1.79. */
typedef int ZL_VersionFunc(void);
typedef int ZL_PrivVersionFunc(void);
/* Stops a running operation. */
typedef void ZL_AbortFunc(void);
/* The library's own file path. */
typedef const char* ZL_PathFunc(void);

#ifdef __cplusplus
}
#endif

#endif
