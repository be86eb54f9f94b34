#include "editor/core/SaveStory.h"

#include "editor/core/JournalError.h"
#include "editor/core/JournalWriter.h"
#include "scenario/AtomicFile.h"

namespace editor {

void SaveStory(const std::string& path, std::string_view bytes, JournalWriter* journal) {
    if (journal != nullptr) {
        journal->RecordSaved(bytes);
        journal->Sync();
    }
    try {
        scenario::AtomicFile file(path);
        file.Write(bytes);
        file.Commit(true);
    } catch (const scenario::WriteError& e) {
        throw SaveError("Nie udało się zapisać opowieści " + path + ": " + DiskProblem(e.error()) +
                        ". Plik na dysku pozostał bez zmian.");
    }
    if (journal != nullptr) {
        journal->Rebase(path, bytes);
    }
}

} // namespace editor
