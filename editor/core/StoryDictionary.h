#pragma once
// The words an author taught the spell check for one story: NAME.slownik.txt beside NAME.txt, so that
// they travel with the story. UTF-8, one word a line, sorted; written whole to a temporary file and
// renamed into place.

#include <set>
#include <string>

namespace editor {

// The dictionary file of the story at `storyPath` (its extension replaced).
std::string StoryDictionaryPath(const std::string& storyPath);

class StoryDictionary {
  public:
    // Reads the file at `path`; a missing file is an empty dictionary. Throws std::runtime_error with a
    // Polish message for a file that cannot be read or is too large to be a word list.
    void Load(const std::string& path);
    // Adds `word` (UTF-8) and, with a path, writes the file again; a story not saved yet keeps its words
    // until it gets one (SaveTo).
    void Add(const std::string& word);
    void SaveTo(const std::string& path);
    void Clear() { words_.clear(); }

    bool Contains(const std::string& word) const { return words_.count(word) != 0; }
    const std::set<std::string>& Words() const { return words_; }
    const std::string& Path() const { return path_; }

    // A word list larger than this is not one an author wrote.
    static constexpr std::size_t MaxBytes = 4 * 1024 * 1024;

  private:
    std::string path_;
    std::set<std::string> words_;
};

} // namespace editor
