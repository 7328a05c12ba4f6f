// The device's file calls over the real files of the device root and of the connected
// shares: opening, reading, writing, positions, times, attributes, searches, copies, moves,
// deletion, folders and free space.
//
// Invariants: every path is a device path resolved with ResolveDevicePath into its volume (the
// device root or a connected share, \Network\NAME) and opened again beneath that volume's
// descriptor, so no call reads, writes, creates, removes or lists anything outside the root
// and the connected shares, nor leaves a share through it. \Network itself is a folder that
// lists the connected names: it has attributes, can be searched, and refuses every change (5).
// Moves between volumes: see file_transfers.cpp. Failures set the device's last-error codes:
// 2 missing file, 3 missing folder, 5 access denied (also for read-only files opened for
// writing, and paths leading outside their volume), 17 a folder moved between volumes,
// 80 file exists (CREATE_NEW), 145 folder not empty, 183 already exists.
// Attributes: directory and read-only come from the host (read-only = no write permission);
// hidden, system and archive are kept in an extended attribute of the file
// ("user.tq240.attributes"), so they outlive the process. A file without that record counts
// as archive, as every file the device writes is. Creation times set by SetFileTime are kept
// the same way ("user.tq240.created"); otherwise the host's birth time (or modification time).
// Sharing modes are accepted and not enforced. Handles are pointers to the layer's own
// records, checked against the set of open handles before use.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_types.h"

namespace ce {

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode, void* security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, void* overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               void* overlapped);
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod);
DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);
BOOL SetEndOfFile(HANDLE file);
BOOL FlushFileBuffers(HANDLE file);
// Closes a handle of CreateFileW (the device's CloseHandle for files).
BOOL CloseFileHandle(HANDLE file);
bool IsFileHandle(HANDLE handle);

BOOL GetFileTime(HANDLE file, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite);
BOOL SetFileTime(HANDLE file, const FILETIME* creation, const FILETIME* lastAccess,
                 const FILETIME* lastWrite);

DWORD GetFileAttributesW(LPCWSTR fileName);
BOOL SetFileAttributesW(LPCWSTR fileName, DWORD attributes);
BOOL GetFileAttributesExW(LPCWSTR fileName, GET_FILEEX_INFO_LEVELS level, void* info);

// Searches: the mask (last component) matches names as the device does (see
// wildcard_match.h). Entries come in name order, compared without regard to case; the root's
// state folder is never listed.
HANDLE FindFirstFileW(LPCWSTR fileName, WIN32_FIND_DATAW* findData);
BOOL FindNextFileW(HANDLE find, WIN32_FIND_DATAW* findData);
BOOL FindClose(HANDLE find);

BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists);
BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName);
BOOL DeleteFileW(LPCWSTR fileName);
BOOL CreateDirectoryW(LPCWSTR pathName, void* security);
BOOL RemoveDirectoryW(LPCWSTR pathName);
BOOL GetDiskFreeSpaceExW(LPCWSTR directoryName, ULARGE_INTEGER* freeBytesAvailable,
                         ULARGE_INTEGER* totalBytes, ULARGE_INTEGER* totalFreeBytes);

}  // namespace ce
