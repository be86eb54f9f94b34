#pragma once
// The reader's I/O failures: a result code and the message the player shows for it.

#include <stdexcept>
#include <string>

namespace scenario {

namespace iocode {
inline constexpr int FileNotFound = 2;
inline constexpr int InvalidFilename = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int SharingViolation = 32;
inline constexpr int ReadBeyondEnd = 100;
inline constexpr int DiskFull = 101;
inline constexpr int FileNotOpen = 103;
inline constexpr int InvalidNumericInput = 106;
inline constexpr int NegativeSeek = 131;
// An operating-system error the table has no condition for gets this plus its errno, far above every
// code of the table, so that EIO (5) never reads "File access denied".
inline constexpr int OsErrorBase = 10000;
} // namespace iocode

// The code of an operating-system error outside the table's conditions.
constexpr int OsErrorCode(int error) {
    return iocode::OsErrorBase + error;
}

// The code of an open of `name` that failed with `error`.
int OpenErrorCode(int error, const std::string& name);

std::string IoErrorMessage(int code);

class InOutError : public std::runtime_error {
  public:
    explicit InOutError(int code);
    int code() const noexcept { return code_; }

  private:
    int code_;
};

} // namespace scenario
