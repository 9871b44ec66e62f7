#include "platform/Error.h"

namespace platform {

Error::Error(int number, std::string description)
    : std::runtime_error("Error " + std::to_string(number) + " " + description),
      m_number(number),
      m_description(std::move(description)) {}

namespace errors {

static const char* describe(int number) {
    switch (number) {
        case Overflow:
            return "Overflow";
        case SubscriptOutOfRange:
            return "Subscript out of range";
        case BadFileName:
            return "Bad file name or number";
        case FileNotFound:
            return "File not found";
        case DeviceIo:
            return "Device I/O error";
        case DiskFull:
            return "Disk full";
        case InputPastEnd:
            return "Input past end of file";
        case TooManyFiles:
            return "Too many files";
        case DeviceUnavailable:
            return "Device unavailable";
        case PermissionDenied:
            return "Permission denied";
        case PathFileAccess:
            return "Path/File access error";
        case PathNotFound:
            return "Path not found";
        default:
            return "Application-defined or object-defined error";
    }
}

Error make(int number) { return Error(number, describe(number)); }

}  // namespace errors
}  // namespace platform
