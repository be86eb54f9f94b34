#pragma once
// A journal that cannot be used or written, or a story that cannot be saved, with the editor's own
// (Polish) message.

#include <stdexcept>
#include <string>

namespace editor {

class JournalError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class SaveError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What an operating-system error number means for the author, in a few words.
std::string DiskProblem(int error);

} // namespace editor
