#include "scenario/IoError.h"

#include <cerrno>
#include <filesystem>

namespace scenario {

int OpenErrorCode(int error, const std::string& name) {
    switch (error) {
    case ENOENT: {
        // Either the file or a folder above it is missing; the two have different codes.
        std::error_code ec;
        const auto parent = std::filesystem::path(name).parent_path();
        const bool parentExists = parent.empty() || std::filesystem::is_directory(parent, ec);
        return parentExists ? iocode::FileNotFound : iocode::InvalidFilename;
    }
    case ENOTDIR:
    case ENAMETOOLONG:
    case EILSEQ:
        return iocode::InvalidFilename;
    case EMFILE:
    case ENFILE:
        return iocode::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return iocode::AccessDenied;
    case ETXTBSY:
    case EBUSY:
        return iocode::SharingViolation;
    default:
        return OsErrorCode(error);
    }
}

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
