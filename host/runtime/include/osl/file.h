#pragma once
// Files, directories and memory mapping.  Every function reports through an
// oslFileError and never throws.  Paths are file URLs ("file:///...").

#include <rtl/ustring.h>

extern "C" {

enum oslFileError {
    osl_File_E_None,
    osl_File_E_PERM,
    osl_File_E_NOENT,
    osl_File_E_IO,
    osl_File_E_BADF,
    osl_File_E_NOMEM,
    osl_File_E_ACCES,
    osl_File_E_EXIST,
    osl_File_E_NOTDIR,
    osl_File_E_ISDIR,
    osl_File_E_INVAL,
    osl_File_E_NOSPC,
    osl_File_E_NAMETOOLONG,
    osl_File_E_NOENT_DIR,
    osl_File_E_NOSYS,
    osl_File_E_OVERFLOW,
    osl_File_E_invalidError
};

using oslFileHandle = struct oslFileHandleImpl*;
using oslDirectory = struct oslDirectoryImpl*;
using oslDirectoryItem = struct oslDirectoryItemImpl*;

#define osl_File_OpenFlag_Read   0x0001u
#define osl_File_OpenFlag_Write  0x0002u
#define osl_File_OpenFlag_Create 0x0004u  // creates the file; osl_File_E_EXIST when it exists

#define osl_File_MapFlag_RandomAccess 0x1u
#define osl_File_MapFlag_WillNeed     0x2u

enum oslFileType { osl_File_Type_Directory, osl_File_Type_Regular, osl_File_Type_Link, osl_File_Type_Special, osl_File_Type_Unknown };

#define osl_FileStatus_Mask_Type     0x00000001u
#define osl_FileStatus_Mask_FileSize 0x00000080u
#define osl_FileStatus_Mask_FileName 0x00000100u
#define osl_FileStatus_Mask_FileURL  0x00000400u

struct oslFileStatus {
    sal_uInt32 uStructSize;      // sizeof(oslFileStatus)
    sal_uInt32 uValidFields;     // which of the fields below were filled
    oslFileType eType;
    sal_uInt64 uFileSize;
    rtl_uString* ustrFileName;   // owned by the caller once filled (release it)
    rtl_uString* ustrFileURL;    // owned by the caller once filled (release it)
};
// osl_getFileStatus stores new strings into the fields it fills without releasing
// what they held: release them before passing the same status again.

SALQX_DLLPUBLIC oslFileError osl_openFile(rtl_uString* url, oslFileHandle* handle, sal_uInt32 flags);
SALQX_DLLPUBLIC oslFileError osl_closeFile(oslFileHandle handle);
SALQX_DLLPUBLIC oslFileError osl_getFileSize(oslFileHandle handle, sal_uInt64* size);
SALQX_DLLPUBLIC oslFileError osl_readFile(oslFileHandle handle, void* buffer, sal_uInt64 bytes, sal_uInt64* read);
SALQX_DLLPUBLIC oslFileError osl_writeFile(oslFileHandle handle, const void* buffer, sal_uInt64 bytes, sal_uInt64* written);
// Maps length bytes from offset read-only; *addr receives the mapping.  The range must
// be non-empty and lie inside the file (osl_File_E_INVAL otherwise).  The mapping stays
// valid after the handle is closed, until osl_unmapMappedFile with the same length.
SALQX_DLLPUBLIC oslFileError osl_mapFile(oslFileHandle handle, void** addr, sal_uInt64 length, sal_uInt64 offset,
                                         sal_uInt32 flags);
SALQX_DLLPUBLIC oslFileError osl_unmapMappedFile(oslFileHandle handle, void* addr, sal_uInt64 length);

SALQX_DLLPUBLIC oslFileError osl_openDirectory(rtl_uString* dirURL, oslDirectory* dir);
// osl_File_E_NOENT when there are no more items.
SALQX_DLLPUBLIC oslFileError osl_getNextDirectoryItem(oslDirectory dir, oslDirectoryItem* item, sal_uInt32 hint);
SALQX_DLLPUBLIC oslFileError osl_closeDirectory(oslDirectory dir);
SALQX_DLLPUBLIC oslFileError osl_getDirectoryItem(rtl_uString* fileURL, oslDirectoryItem* item);
SALQX_DLLPUBLIC oslFileError osl_releaseDirectoryItem(oslDirectoryItem item);
SALQX_DLLPUBLIC oslFileError osl_getFileStatus(oslDirectoryItem item, oslFileStatus* status, sal_uInt32 mask);

SALQX_DLLPUBLIC oslFileError osl_removeFile(rtl_uString* url);
SALQX_DLLPUBLIC oslFileError osl_moveFile(rtl_uString* sourceURL, rtl_uString* destURL);
SALQX_DLLPUBLIC oslFileError osl_createDirectory(rtl_uString* url);

// "/a/b c" <-> "file:///a/b%20c".  A relative system path gives a relative URL.
SALQX_DLLPUBLIC oslFileError osl_getFileURLFromSystemPath(rtl_uString* systemPath, rtl_uString** url);
SALQX_DLLPUBLIC oslFileError osl_getSystemPathFromFileURL(rtl_uString* url, rtl_uString** systemPath);
// Resolves a relative URL against a base directory URL, removing "." and ".." segments.
SALQX_DLLPUBLIC oslFileError osl_getAbsoluteFileURL(rtl_uString* baseDirURL, rtl_uString* relativeURL,
                                                    rtl_uString** absoluteURL);
}
