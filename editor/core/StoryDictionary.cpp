#include "editor/core/StoryDictionary.h"

#include "scenario/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace editor {

std::string StoryDictionaryPath(const std::string& storyPath) {
    std::filesystem::path path(storyPath);
    path.replace_extension(".slownik.txt");
    return path.string();
}

void StoryDictionary::Load(const std::string& path) {
    path_ = path;
    words_.clear();
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return;
    }
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        throw std::runtime_error("Nie można odczytać słownika " + path + ": " + error.message());
    }
    if (size > MaxBytes) {
        throw std::runtime_error("Słownik " + path + " jest za duży (" + std::to_string(size) +
                                 " bajtów, najwyżej " + std::to_string(MaxBytes) + ")");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("Nie można odczytać słownika " + path + ": " + std::strerror(errno));
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() != '#') {
            words_.insert(line);
        }
    }
}

void StoryDictionary::Add(const std::string& word) {
    if (word.empty() || word.find('\n') != std::string::npos || !words_.insert(word).second) {
        return;
    }
    if (!path_.empty()) {
        SaveTo(path_);
    }
}

void StoryDictionary::SaveTo(const std::string& path) {
    std::string text = "# Słowa tej historii, których nie zna słownik pisowni.\n";
    for (const std::string& word : words_) {
        text += word;
        text += '\n';
    }
    scenario::AtomicFile file(path);
    file.Write(text);
    file.Commit(true);
    path_ = path;
}

} // namespace editor
