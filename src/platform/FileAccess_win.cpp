#ifdef _WIN32

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "FileAccess.h"

namespace platform {
namespace {

Error errorFromLastError(DWORD code) {
    switch (code) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return errors::make(errors::PermissionDenied);
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
            return errors::make(errors::DeviceIo);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return errors::make(errors::DiskFull);
        case ERROR_TOO_MANY_OPEN_FILES:
            return errors::make(errors::TooManyFiles);
        case ERROR_NOT_READY:
            return errors::make(errors::DeviceUnavailable);
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return errors::make(errors::BadFileName);
        default:
            return errors::make(errors::PathFileAccess);
    }
}

bool isMissing(DWORD code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND; }

std::wstring widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()),
                                     nullptr, 0);
    if (length <= 0) throw errors::make(errors::BadFileName);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), wide.data(),
                        length);
    return wide;
}

OVERLAPPED atStart(DWORD offset) {
    OVERLAPPED position{};
    position.Offset = offset;
    return position;
}

class WindowsFile final : public OpenFile {
public:
    explicit WindowsFile(HANDLE handle) : m_handle(handle) {}
    ~WindowsFile() override {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    }

    std::size_t readStart(std::span<std::uint8_t> buffer) override {
        std::size_t done = 0;
        while (done < buffer.size()) {
            OVERLAPPED position = atStart(DWORD(done));
            DWORD n = 0;
            if (!ReadFile(m_handle, buffer.data() + done, DWORD(buffer.size() - done), &n,
                          &position)) {
                if (GetLastError() == ERROR_HANDLE_EOF) break;
                throw errorFromLastError(GetLastError());
            }
            if (n == 0) break;
            done += n;
        }
        return done;
    }

    void writeStart(std::span<const std::uint8_t> bytes) override {
        std::size_t done = 0;
        while (done < bytes.size()) {
            OVERLAPPED position = atStart(DWORD(done));
            DWORD n = 0;
            if (!WriteFile(m_handle, bytes.data() + done, DWORD(bytes.size() - done), &n,
                           &position))
                throw errorFromLastError(GetLastError());
            if (n == 0) throw errors::make(errors::DeviceIo);
            done += n;
        }
    }

    void close() override {
        HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        if (!CloseHandle(handle)) throw errorFromLastError(GetLastError());
    }

private:
    HANDLE m_handle;
};

class WindowsFileAccess final : public FileAccess {
public:
    std::unique_ptr<OpenFile> openExisting(const std::string& path) override {
        const std::wstring wide = widen(path);
        DWORD attributes = GetFileAttributesW(wide.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            if (isMissing(GetLastError())) return nullptr;
            throw errorFromLastError(GetLastError());
        }
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return nullptr;
        // Windows refuses to write such a file; say so before opening, the
        // same way whoever runs the program (root under Wine writes anyway).
        if (attributes & FILE_ATTRIBUTE_READONLY) throw errors::make(errors::PermissionDenied);

        // OPEN_EXISTING never creates; sharing only reads, so a file another
        // program is writing is refused rather than changed under it.
        HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            if (isMissing(GetLastError())) return nullptr;
            throw errorFromLastError(GetLastError());
        }
        auto file = std::make_unique<WindowsFile>(handle);
        if (GetFileType(handle) != FILE_TYPE_DISK) return nullptr;
        return file;
    }
};

}  // namespace

FileAccess& nativeFileAccess() {
    static WindowsFileAccess access;
    return access;
}

}  // namespace platform

#endif
