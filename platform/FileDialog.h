#pragma once
// The open-file dialog seam.

#include <QString>

namespace platform {

class IOpenFileDialog {
  public:
    virtual ~IOpenFileDialog() = default;
    // Modal. True when the user confirmed one existing file: FileName() is then its full path and the
    // file's folder has become the process's current directory. False when cancelled; nothing changes.
    virtual bool Execute() = 0;
    virtual QString FileName() const = 0;
};

} // namespace platform
