#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// The step of file access that failed.
enum class Operation { None, Open, Read, Write, Flush, Close, List };

// A failure as the program reports it: a number and a short description;
// what() is the text the windows show, "Error <number> <description>". Beside
// it, the cause: the step that failed and what the system said of it.
class Error : public std::runtime_error {
public:
    Error(int number, std::string description, Operation operation = Operation::None,
          std::string systemMessage = {});

    int number() const { return m_number; }
    const std::string& description() const { return m_description; }
    // "open: File name too long"; "" when nothing more is known.
    std::string cause() const;

private:
    int m_number;
    std::string m_description;
    Operation m_operation;
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

Error make(int number, Operation operation = Operation::None, std::string systemMessage = {});
}  // namespace errors

}  // namespace platform
