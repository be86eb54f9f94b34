#include "scenario/IoError.h"

namespace scenario {

std::string IoErrorMessage(int code) {
    switch (code) {
    case iocode::FileNotFound:
        return "File not found";
    case iocode::InvalidFilename:
        return "Invalid filename";
    case iocode::TooManyOpenFiles:
        return "Too many open files";
    case iocode::AccessDenied:
        return "File access denied";
    case iocode::ReadBeyondEnd:
        return "Read beyond end of file";
    case iocode::DiskFull:
        return "Disk full";
    case iocode::InvalidNumericInput:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(code);
    }
}

InOutError::InOutError(int code) : std::runtime_error(IoErrorMessage(code)), code_(code) {}

} // namespace scenario
