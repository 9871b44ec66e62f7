#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// The step of file access that failed.
enum class Operation { None, Open, Read, Write, Flush, Close, List };

// A failure as the program reports it: one of its numbers, whose fixed
// description what() gives as "Error <number> <description>". Beside it, the
// cause: the step that failed, the system's own code for the failure (errno
// on POSIX, GetLastError() on Windows; 0 when the program found it itself)
// and what the system, or the program, said of it.
class Error : public std::runtime_error {
public:
    Error(int number, Operation operation = Operation::None, int systemCode = 0,
          std::string systemMessage = {});

    int number() const { return m_number; }
    int systemCode() const { return m_systemCode; }
    // "open: File name too long"; "" when nothing more is known.
    std::string cause() const;

private:
    int m_number;
    Operation m_operation;
    int m_systemCode;
    std::string m_systemMessage;
};

// The folder a path names could not be listed because it is no folder.
class NotAFolder : public Error {
public:
    explicit NotAFolder(const Error& error) : Error(error) {}
};

// The numbers and texts the program uses for the failures it can name.
namespace errors {
inline constexpr int BadFileName = 52;
inline constexpr int DeviceIo = 57;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int TooManyFiles = 67;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;

// A failure the program found itself, with no code of the system's.
Error make(int number, Operation operation = Operation::None, std::string systemMessage = {});
}  // namespace errors

}  // namespace platform
