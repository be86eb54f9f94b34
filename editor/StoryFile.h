#pragma once
// Where the open story lives: its source file, if any, and the folder its pictures and sounds are in.

#include <QString>

namespace editor {

struct StoryFile {
    // The story source; empty for a story not saved yet.
    QString path;
    // The folder of Obrazki/ and Dzwieki/ and of the built scenario.
    QString folder = ".";
    // The name offered when the story is first saved ("las.txt" for an unpacked las.Kro).
    QString suggested;
    // Whether `path` is the file the editor opened or saved: saving over any other file asks first.
    bool own = false;
};

} // namespace editor
