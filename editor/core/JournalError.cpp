#include "editor/core/JournalError.h"

#include <cerrno>
#include <cstring>

namespace editor {

std::string DiskProblem(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return "brak miejsca na dysku";
    case EACCES:
    case EPERM:
        return "brak uprawnień do zapisu w tym folderze";
    case EROFS:
        return "dysk jest tylko do odczytu";
    case ENOENT:
        return "folder nie istnieje";
    case EIO:
        return "błąd wejścia-wyjścia dysku";
    default:
        return std::string("błąd systemu: ") + std::strerror(error);
    }
}

} // namespace editor
