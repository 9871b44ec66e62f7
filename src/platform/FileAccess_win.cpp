#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <optional>
#include <utility>

#include "platform/FileAccess.h"
#include "platform/Places.h"
#include "platform/Utf16.h"
#include "platform/WindowsCalls.h"

namespace platform {
namespace {

using windows::Calls;

int numberOf(DWORD code) {
    switch (code) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return errors::PermissionDenied;
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
            return errors::DeviceIo;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return errors::DiskFull;
        case ERROR_TOO_MANY_OPEN_FILES:
            return errors::TooManyFiles;
        case ERROR_NOT_READY:
            return errors::DeviceUnavailable;
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return errors::BadFileName;
        default:
            return errors::PathFileAccess;
    }
}

// The system's text for `code`, in English where the system has it.
std::string systemMessage(DWORD code) {
    constexpr DWORD flags =
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
    wchar_t text[512] = {};
    if (!FormatMessageW(flags, nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text,
                        512, nullptr) &&
        !FormatMessageW(flags, nullptr, code, 0, text, 512, nullptr))
        return "system error " + std::to_string(code);
    std::wstring message = text;
    while (!message.empty() && (message.back() == L' ' || message.back() == L'.'))
        message.pop_back();
    return toUtf8(message).value_or("system error " + std::to_string(code));
}

// The program's number for `code`, with the system's own words for it.
Error errorFromLastError(DWORD code, Operation operation) {
    return Error(numberOf(code), operation, int(code), systemMessage(code));
}

Error changedSinceRead() {
    return errors::make(errors::PathFileAccess, Operation::Open,
                        "the name no longer leads to the file that was read");
}

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A link whose target cannot be reached leads to no file.
bool isUnresolvableLink(DWORD code) {
    return code == ERROR_CANT_RESOLVE_FILENAME || code == ERROR_CANT_ACCESS_FILE;
}

bool isMissing(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
           code == ERROR_INVALID_NAME || code == ERROR_BAD_NETPATH;
}

// CON, NUL, COM1 and the like open a device whatever their extension.
bool isReservedDeviceName(const std::wstring& name) {
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    std::transform(base.begin(), base.end(), base.begin(),
                   [](wchar_t c) { return std::towupper(c); });
    static const wchar_t* const fixed[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    if (std::any_of(std::begin(fixed), std::end(fixed),
                    [&](const wchar_t* n) { return base == n; }))
        return true;
    const bool numbered =
        base.size() == 4 && (base.starts_with(L"COM") || base.starts_with(L"LPT"));
    return numbered &&
           std::wstring(L"0123456789\u00B9\u00B2\u00B3").find(base[3]) != std::wstring::npos;
}

class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (valid()) CloseHandle(m_handle);
    }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    HANDLE release() { return std::exchange(m_handle, INVALID_HANDLE_VALUE); }
    void reset(HANDLE handle) {
        if (valid()) CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle;
};

FileId identityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// What `path` names now, links followed; nothing, with the reason in
// GetLastError, when it names nothing.
std::optional<BY_HANDLE_FILE_INFORMATION> informationOf(const Calls& calls,
                                                        const std::wstring& path) {
    Handle handle(calls.openExisting(path.c_str(), FILE_READ_ATTRIBUTES, ShareAll));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle.valid() || !GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
    return info;
}

std::optional<FileId> fileIdentity(const Calls& calls, const std::wstring& path) {
    const auto info = informationOf(calls, path);
    return info ? std::optional(identityOf(*info)) : std::nullopt;
}

// The identity of the folder `path` names now; nothing, with the reason in
// GetLastError, when it names no folder.
std::optional<FileId> folderIdentity(const Calls& calls, const std::wstring& path) {
    const auto info = informationOf(calls, path);
    if (info && !(info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_DIRECTORY);
        return std::nullopt;
    }
    return info ? std::optional(identityOf(*info)) : std::nullopt;
}

// Locks every byte of `handle`'s file for it alone, held until it is let
// go; false while another handle holds a lock on any range of it. A file
// system that keeps no locks is written without.
bool lockedWhole(const Calls& calls, HANDLE handle) {
    if (calls.lockWhole(handle)) return true;
    const DWORD code = GetLastError();
    if (code == ERROR_NOT_SUPPORTED || code == ERROR_INVALID_FUNCTION) return true;
    if (code == ERROR_LOCK_VIOLATION) return false;
    throw errorFromLastError(code, Operation::Open);
}

class WindowsFile final : public OpenFile {
public:
    // `handle` reads the file at `path`, sharing everything; `readOnly` from
    // its attributes, `identity` its volume and file index.
    WindowsFile(const Calls& calls, HANDLE handle, std::wstring path, bool readOnly,
                FileId identity)
        : m_calls(calls),
          m_handle(handle),
          m_path(std::move(path)),
          m_readOnly(readOnly),
          m_identity(identity) {}
    ~WindowsFile() override {
        if (!m_handle.valid()) return;
        try {
            close();
        } catch (const Error&) {  // the run already tells why it stopped here
        }
    }

    std::size_t readStart(std::span<std::uint8_t> buffer) override {
        std::size_t done = 0;
        while (done < buffer.size()) {
            OVERLAPPED position{};
            position.Offset = DWORD(done);
            DWORD n = 0;
            if (!m_calls.readFile(m_handle.get(), buffer.data() + done, DWORD(buffer.size() - done),
                                  &n, &position)) {
                if (GetLastError() == ERROR_HANDLE_EOF) break;
                throw errorFromLastError(GetLastError(), Operation::Read);
            }
            if (n == 0) break;
            done += n;
        }
        return done;
    }

    // The same file opened again from its handle, sharing only reading, so
    // that no other program writes it while it is changed, and locked whole,
    // so that a range another program has locked is waited for, never
    // written through: Wine lets such a write through, Windows fails it.
    bool openForWriting(const Waiting& waiting) override {
        if (m_writing) return true;
        // Windows refuses to write such a file; refuse it the same way
        // whoever runs the program (an administrator under Wine writes anyway).
        if (m_readOnly)
            throw errors::make(errors::PermissionDenied, Operation::Open, "the file is read-only");
        Handle writer;
        if (!waitWhile(Holder::Lock, waiting, [&] {
                writer.reset(m_calls.reOpenFile(m_handle.get(), GENERIC_READ | GENERIC_WRITE,
                                                FILE_SHARE_READ));
                if (!writer.valid()) throw errorFromLastError(GetLastError(), Operation::Open);
                if (lockedWhole(m_calls, writer.get())) return false;
                writer.reset(INVALID_HANDLE_VALUE);  // the holder may write meanwhile
                return true;
            }))
            return false;
        m_handle.reset(writer.release());
        // Held without sharing deletion, the file can no longer be renamed
        // or deleted: if its name still leads to it now, it does until closed.
        if (fileIdentity(m_calls, m_path) != m_identity) {
            m_handle.reset(INVALID_HANDLE_VALUE);
            throw changedSinceRead();
        }
        m_writing = true;
        return true;
    }

    std::uint64_t size() override {
        LARGE_INTEGER length{};
        if (!GetFileSizeEx(m_handle.get(), &length))
            throw errorFromLastError(GetLastError(), Operation::Read);
        return std::uint64_t(length.QuadPart);
    }

    FileId id() const override { return m_identity; }

    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        if (!m_writing) throw errors::make(errors::PathFileAccess);  // not opened for writing
        m_written = true;
        OVERLAPPED position{};
        position.Offset = DWORD(offset);
        position.OffsetHigh = DWORD(offset >> 32);
        DWORD n = 0;
        if (!m_calls.writeFile(m_handle.get(), bytes.data(), DWORD(bytes.size()), &n, &position))
            throw errorFromLastError(GetLastError(), Operation::Write);
        if (n != bytes.size())
            throw errors::make(errors::DeviceIo, Operation::Write,
                               "a part of the bytes was written");
    }

    // Windows has no flush for a whole volume that an ordinary user may call,
    // so a changed file goes to disk before its handle is let go.
    void close() override {
        Handle handle(m_handle.release());
        OVERLAPPED from{};
        // Let go at once: the system frees a closed handle's locks in its own time.
        if (m_writing) UnlockFileEx(handle.get(), 0, MAXDWORD, MAXDWORD, &from);
        if (m_written && !m_calls.flushFileBuffers(handle.get()))
            throw errorFromLastError(GetLastError(), Operation::Flush);
        if (!CloseHandle(handle.release()))
            throw errorFromLastError(GetLastError(), Operation::Close);
    }

private:
    const Calls& m_calls;
    Handle m_handle;
    std::wstring m_path;
    bool m_readOnly;
    FileId m_identity;
    bool m_writing = false;
    bool m_written = false;
};

class WindowsFolder final : public Folder {
public:
    WindowsFolder(const Calls& calls, const std::string& path)
        : m_calls(calls), m_path(toUtf16(withSeparator(path))) {
        if (!m_path) return;  // no folder has that name
        // Asked as given, since "\\?\" is taken literally: with a separator
        // joined, a file's name is an invalid name, as Windows opens
        // "a.hst\". A path that ends in one names a folder or nothing.
        m_identity = folderIdentity(m_calls, extendedPath(*toUtf16(path)));
        if (!m_identity) m_openError = GetLastError();
        if (m_openError == ERROR_DIRECTORY && withSeparator(path) == path)
            m_openError = ERROR_INVALID_NAME;
    }

    std::unique_ptr<OpenFile> openExisting(const std::string& name) override {
        const std::optional<std::wstring> wide = toUtf16(name);
        if (!m_path || !wide || wide->find_first_of(L"\\/") != std::wstring::npos ||
            isReservedDeviceName(*wide))
            return nullptr;
        // Such a name, listed in a folder another system shares, leads to a
        // file this one cannot open, whatever the file holds.
        if (std::any_of(wide->begin(), wide->end(),
                        [](wchar_t c) { return c < 0x20 || std::wcschr(L"\":*?<>|", c); }))
            throw errors::make(errors::BadFileName, Operation::Open,
                               "the name cannot be opened on this system");
        requireSameFolder();
        const std::wstring path = extendedPath(*m_path + *wide);
        // Open first without reading, following links, then decide on what
        // was opened, and read that same object.
        Handle probe(m_calls.openExisting(path.c_str(), FILE_READ_ATTRIBUTES, ShareAll));
        if (!probe.valid()) {
            if (isMissing(GetLastError()) || isUnresolvableLink(GetLastError())) return nullptr;
            throw errorFromLastError(GetLastError(), Operation::Open);
        }
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileType(probe.get()) != FILE_TYPE_DISK ||
            !GetFileInformationByHandle(probe.get(), &info) ||
            (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
            return nullptr;
        HANDLE reader = m_calls.reOpenFile(probe.get(), GENERIC_READ, ShareAll);
        if (reader == INVALID_HANDLE_VALUE)
            throw errorFromLastError(GetLastError(), Operation::Open);
        return std::make_unique<WindowsFile>(m_calls, reader, path,
                                             info.dwFileAttributes & FILE_ATTRIBUTE_READONLY,
                                             identityOf(info));
    }

    void flush() override {}  // each changed file was flushed as it was closed

    Entries list() override {
        if (!m_identity) throwFolderError(m_openError, Operation::Open);
        WIN32_FIND_DATAW found;
        HANDLE search =
            FindFirstFileExW(extendedPath(*m_path + L"*").c_str(), FindExInfoBasic, &found,
                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (search == INVALID_HANDLE_VALUE) throwFolderError(GetLastError(), Operation::List);
        Entries entries;
        do {
            const std::optional<std::string> name = toUtf8(found.cFileName);
            const bool folder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
            if (!name || *name == "." || *name == "..") continue;
            if (folder)
                entries.folders.push_back(*name);
            else if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DEVICE))
                entries.files.push_back(*name);
        } while (FindNextFileW(search, &found));
        const DWORD stopped = GetLastError();
        FindClose(search);
        if (stopped != ERROR_NO_MORE_FILES) throwFolderError(stopped, Operation::List);
        // Names of a folder another system shares that this one shows alike
        // (a byte UTF-16 cannot hold, shown as U+FFFD) open one file: listed
        // once, for that file; the other is left out, as no name here opens it.
        for (std::vector<std::string>* names : {&entries.files, &entries.folders}) {
            std::sort(names->begin(), names->end());
            names->erase(std::unique(names->begin(), names->end()), names->end());
        }
        return entries;
    }

private:
    [[noreturn]] static void throwFolderError(DWORD code, Operation operation) {
        if (code == ERROR_DIRECTORY) throw NotAFolder(errorFromLastError(code, operation));
        if (isMissing(code))
            throw Error(errors::PathNotFound, operation, int(code), systemMessage(code));
        throw errorFromLastError(code, operation);
    }

    // Windows opens names by path: a folder renamed, or a link in its path
    // pointed elsewhere, since it was opened would send the names elsewhere.
    void requireSameFolder() const {
        if (m_identity && folderIdentity(m_calls, extendedPath(*m_path)) == m_identity) return;
        if (!m_identity && isMissing(m_openError)) return;
        throw errors::make(
            errors::PathNotFound, Operation::Open,
            "the folder '" + toUtf8(*m_path).value_or("") + "' is no longer the one listed");
    }

    const Calls& m_calls;
    std::optional<std::wstring> m_path;
    std::optional<FileId> m_identity;
    DWORD m_openError = ERROR_PATH_NOT_FOUND;
};

class WindowsFileAccess final : public FileAccess {
public:
    explicit WindowsFileAccess(const Calls& calls) : m_calls(calls) {}
    std::unique_ptr<Folder> openFolder(const std::string& path) override {
        return std::make_unique<WindowsFolder>(m_calls, path);
    }

private:
    const Calls& m_calls;
};

}  // namespace

namespace windows {

Calls systemCalls() {
    return {
        [](const wchar_t* path, DWORD access, DWORD share) {
            return CreateFileW(path, access, share, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        },
        [](HANDLE from, DWORD access, DWORD share) { return ReOpenFile(from, access, share, 0); },
        ReadFile,
        WriteFile,
        [](HANDLE file) {
            OVERLAPPED from{};
            return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                              MAXDWORD, MAXDWORD, &from);
        },
        FlushFileBuffers};
}

std::unique_ptr<FileAccess> fileAccessThrough(const Calls& calls) {
    return std::make_unique<WindowsFileAccess>(calls);
}

}  // namespace windows

FileAccess& nativeFileAccess() {
    // Never destroyed: a folder or file may still be open as the process ends.
    static const Calls& calls = *new Calls(windows::systemCalls());
    static WindowsFileAccess access(calls);
    return access;
}

}  // namespace platform
