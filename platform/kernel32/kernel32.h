// kernel32: time, current directory, files and their locks, private profile (INI) files,
// last-error codes.
#pragma once

#include <cstdarg>

#include "platform/win32_types.h"

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_WRITE_FAULT 29L
#define ERROR_NOT_SAME_DEVICE 17L
#define ERROR_READ_FAULT 30L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_LOCK_VIOLATION 33L
#define ERROR_HANDLE_DISK_FULL 39L
#define ERROR_NOT_SUPPORTED 50L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_DISK_FULL 112L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_NAME 123L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_NOT_LOCKED 158L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_FILE_TOO_LARGE 223L
#define ERROR_MORE_DATA 234L
#define ERROR_MR_MID_NOT_FOUND 317L
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_INVALID_MENU_HANDLE 1401L
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
#define ERROR_CLASS_ALREADY_EXISTS 1410L
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L
#define ERROR_RESOURCE_LANG_NOT_FOUND 1815L

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_STRING 0x00000400
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define FORMAT_MESSAGE_MAX_WIDTH_MASK 0x000000FF

#define CP_ACP 0
#define CP_UTF8 65001

#define INFINITE 0xFFFFFFFF

#define GENERIC_READ 0x80000000L
#define GENERIC_WRITE 0x40000000L
#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_TEMPORARY 0x00000100
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define LOCKFILE_FAIL_IMMEDIATELY 0x00000001
#define LOCKFILE_EXCLUSIVE_LOCK 0x00000002
#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_COPY_ALLOWED 0x00000002
#define MOVEFILE_DELAY_UNTIL_REBOOT 0x00000004
#define MOVEFILE_WRITE_THROUGH 0x00000008

typedef struct _SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *PSECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

typedef struct _FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
} FILETIME, *PFILETIME, *LPFILETIME;

typedef enum _GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard, GetFileExMaxInfoLevel } GET_FILEEX_INFO_LEVELS;

typedef struct _WIN32_FILE_ATTRIBUTE_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
} WIN32_FILE_ATTRIBUTE_DATA, *LPWIN32_FILE_ATTRIBUTE_DATA;

// Windows overlays Offset and OffsetHigh with a PVOID `Pointer` in an anonymous union,
// which standard C++ cannot spell; the members and their places are the same.
typedef struct _OVERLAPPED {
  ULONG_PTR Internal;
  ULONG_PTR InternalHigh;
  DWORD Offset;
  DWORD OffsetHigh;
  HANDLE hEvent;
} OVERLAPPED, *LPOVERLAPPED;

// Milliseconds since the system started (time spent suspended included), as Windows
// counts them; 32 bits, so it wraps after about 49.7 days.
DWORD WINAPI GetTickCount(void);
// Sleep(0) gives up the rest of the time slice; Sleep(INFINITE) never returns.
void WINAPI Sleep(DWORD dwMilliseconds);

// The current directory in code page 932. Fails (0, ERROR_INVALID_NAME) when the
// directory's name has no code page 932 form.
DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer);
// GetModuleHandleA(NULL) is this program; any other name gives NULL (ERROR_MOD_NOT_FOUND).
HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);

DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD dwErrCode);
// FORMAT_MESSAGE_FROM_SYSTEM for the ERROR_ codes above, in Windows' English wording.
DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPSTR lpBuffer,
                            DWORD nSize, va_list* Arguments);

// Files. Names may use '\' or '/' as the separator; a relative name is taken from the
// current directory. A file with no write permission at all counts as read-only, as the
// read-only attribute does on Windows, even for a user who could write it.
//
// CreateFileA opens regular files only (a directory or a device gives ERROR_ACCESS_DENIED),
// with every disposition; of the attributes it honours FILE_ATTRIBUTE_READONLY for a new
// file, and it refuses the FILE_FLAG_ options (ERROR_NOT_SUPPORTED). Share modes are not
// enforced (Linux has no mandatory sharing); security attributes and templates are ignored.
HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
// Closes a handle from CreateFileA, releasing whatever it still holds locked.
BOOL WINAPI CloseHandle(HANDLE hObject);
// Byte-range locks with Windows' rules: they belong to the handle (a second handle of the
// same file, in this process or another, is kept out), an exclusive lock overlaps no other
// lock of any handle, shared locks overlap each other and the same handle's exclusive one,
// and an unlock names exactly a range that was locked (else ERROR_NOT_LOCKED). A request
// that cannot be granted at once fails with ERROR_LOCK_VIOLATION under
// LOCKFILE_FAIL_IMMEDIATELY and otherwise waits; one that conflicts with the handle's own
// locks, which would wait forever on Windows, fails at once. Unlike Windows' locks they are
// advisory: they keep out other locks, not reads and writes. An exclusive lock needs a
// handle opened for writing (Windows also grants it to a read-only handle).
BOOL WINAPI LockFileEx(HANDLE hFile, DWORD dwFlags, DWORD dwReserved, DWORD nNumberOfBytesToLockLow,
                       DWORD nNumberOfBytesToLockHigh, LPOVERLAPPED lpOverlapped);
BOOL WINAPI UnlockFileEx(HANDLE hFile, DWORD dwReserved, DWORD nNumberOfBytesToUnlockLow,
                         DWORD nNumberOfBytesToUnlockHigh, LPOVERLAPPED lpOverlapped);
// Copies the contents, the permissions (so the read-only attribute) and the time of last
// change. A copy onto the source itself fails (ERROR_SHARING_VIOLATION), as the open source
// refuses it on Windows; a failed copy leaves no destination behind.
BOOL WINAPI CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists);
// Renames within one file system, atomically also when it replaces a file; with
// MOVEFILE_WRITE_THROUGH the file's contents and the rename are on the disk when it
// returns. MOVEFILE_COPY_ALLOWED and MOVEFILE_DELAY_UNTIL_REBOOT are not offered
// (ERROR_NOT_SUPPORTED).
BOOL WINAPI MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags);
BOOL WINAPI DeleteFileA(LPCSTR lpFileName);
// Attributes: FILE_ATTRIBUTE_DIRECTORY for a directory; FILE_ATTRIBUTE_ARCHIVE for a file,
// with FILE_ATTRIBUTE_READONLY when nobody may write it. The creation time is zero where
// the file system keeps none.
BOOL WINAPI GetFileAttributesExA(LPCSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId, LPVOID lpFileInformation);
// The absolute form of a name, as the system writes it: here with '/' between the parts,
// "." and ".." resolved by the name alone (as Windows does). *lpFilePart, when asked
// for, points at the last part, or is NULL when the name ends with a separator.
DWORD WINAPI GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart);

// Private profile files. Paths may use '\' or '/' as the separator. A name without a
// directory is looked up in the current directory (there is no Windows directory here).
// Every write replaces the file atomically, and writes by other processes to files of the
// same directory wait for it; on failure the old file stays as it was. A file that starts
// with a UTF-16LE or a UTF-8 byte order mark is read and written in that encoding (Windows
// takes a UTF-8 mark for part of the first line). A file larger than 4 MB (far more than
// any real INI file) reads as missing and is never written; stderr says so once.
UINT WINAPI GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName);
DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                                      DWORD nSize, LPCSTR lpFileName);
BOOL WINAPI WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName);

// Code page 932 is the ANSI code page of this platform.
UINT WINAPI GetACP(void);
BOOL WINAPI IsDBCSLeadByte(BYTE TestChar);
int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator);
