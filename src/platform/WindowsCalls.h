#pragma once

// The system calls the Windows file layer makes on a file, which tests make
// fail through file access made over calls of their own, as PosixCalls.h
// does on Linux. Each returns as the Windows function does, the reason of a
// failure in GetLastError; closing a handle and listing a folder are not here.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <functional>
#include <memory>

#include "platform/FileAccess.h"

namespace platform::windows {

struct Calls {
    // An existing file or folder by path, with FILE_FLAG_BACKUP_SEMANTICS.
    std::function<HANDLE(const wchar_t* path, DWORD access, DWORD share)> openExisting;
    std::function<HANDLE(HANDLE from, DWORD access, DWORD share)> reOpenFile;
    std::function<BOOL(HANDLE file, void* buffer, DWORD size, DWORD* done, OVERLAPPED* at)>
        readFile;
    std::function<BOOL(HANDLE file, const void* bytes, DWORD size, DWORD* done, OVERLAPPED* at)>
        writeFile;
    // Every byte of the file, exclusively, failing at once when another holds any.
    std::function<BOOL(HANDLE file)> lockWhole;
    std::function<BOOL(HANDLE file)> flushFileBuffers;
};

// The system's own.
Calls systemCalls();

// File access that makes its calls on files through `calls`, which must
// outlive it and every folder and file opened through it.
std::unique_ptr<FileAccess> fileAccessThrough(const Calls& calls);
std::unique_ptr<FileAccess> fileAccessThrough(Calls&&) = delete;

}  // namespace platform::windows
