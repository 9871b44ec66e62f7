#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// A failure as the program reports it: a number and a short description;
// what() is the text the user is shown, "Error <number> <description>".
class Error : public std::runtime_error {
public:
    Error(int number, std::string description);

    int number() const { return m_number; }
    const std::string& description() const { return m_description; }

private:
    int m_number;
    std::string m_description;
};

// The numbers and texts the program uses for the failures it can name.
namespace errors {
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIo = 57;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int TooManyFiles = 67;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;

Error make(int number);
}  // namespace errors

}  // namespace platform
