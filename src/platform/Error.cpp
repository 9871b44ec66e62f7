#include "platform/Error.h"

namespace platform {

namespace errors {
const char* describe(int number);
}

Error::Error(int number, Operation operation, int systemCode, std::string systemMessage)
    : std::runtime_error("Error " + std::to_string(number) + " " + errors::describe(number)),
      m_number(number),
      m_operation(operation),
      m_systemCode(systemCode),
      m_systemMessage(std::move(systemMessage)) {}

std::string Error::cause() const {
    static const char* const names[] = {"", "open", "read", "write", "flush", "close", "list"};
    if (m_systemMessage.empty()) return "";
    const std::string step = names[int(m_operation)];
    return step.empty() ? m_systemMessage : step + ": " + m_systemMessage;
}

namespace errors {

const char* describe(int number) {
    switch (number) {
        case BadFileName:
            return "Bad file name or number";
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

Error make(int number, Operation operation, std::string systemMessage) {
    return Error(number, operation, 0, std::move(systemMessage));
}

}  // namespace errors
}  // namespace platform
