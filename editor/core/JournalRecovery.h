#pragma once
// Reading a journal back after the editor was stopped without closing it. The journal is read as untrusted
// bytes: whatever it holds, recovery returns the text with every whole change replayed, or throws
// JournalError with a message for the author. It never writes the story file.

#include <cstddef>
#include <string>
#include <string_view>

namespace editor {

struct Recovered {
    std::string bytes;       // the story as the editor last had it, as far as the journal tells
    std::size_t changes = 0; // replayed onto the file on disk
    std::string warning;     // empty when the journal was whole; else where it was cut or damaged
    std::string storyPath;   // the story the journal was kept for; empty for an untitled one
};

// `storyOnDisk`: the story file's bytes now (empty for an untitled story). The changes start from it when it
// is the text the journal was begun on, or the text of its last save that reached the disk.
Recovered RecoverJournal(std::string_view journal, std::string_view storyOnDisk);

} // namespace editor
