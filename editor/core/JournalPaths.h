#pragma once
// Where journals live. A saved story's journal lies hidden beside it: "story.txt" keeps ".story.txt.dziennik"
// in the same folder, so that it moves with the story and is found by whoever opens it next. A story not
// saved yet has no folder: its journal goes to the user's data folder
// ($XDG_DATA_HOME/przygoda-edytor, by default ~/.local/share/przygoda-edytor) as "bez-nazwy-*.dziennik".

#include <string>
#include <vector>

namespace editor {

std::string JournalPathFor(const std::string& storyPath);

std::string UntitledJournalFolder();
// A fresh name in that folder, different for every call and every running editor.
std::string NewUntitledJournalPath();
// The untitled journals left behind, oldest name first, leaving out those an editor is writing right now.
std::vector<std::string> FindUntitledJournals();

// Whether a running editor holds the journal open (the writer locks it while it exists).
bool JournalInUse(const std::string& journalPath);

} // namespace editor
