#pragma once
// One step of a story as the editor's form shows it, and what a choice's "Cel" names.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace editor {

struct ChoiceTarget { // what a "Cel" names
    enum class Kind { Number, Label } kind = Kind::Number;
    std::int64_t number = 0;
    std::string label; // without '@'
    bool operator==(const ChoiceTarget&) const = default;
};

struct StepView {            // one step as the form shows it (UTF-8 texts)
    std::int64_t number = 0; // record number
    std::string label;       // without '@', empty if none
    std::string name;        // Nazwa, UTF-8 as written (decoded from the source TEXT)
    std::optional<int> typ;
    std::string picture, sound, opis;
    std::array<std::string, 4> choice;
    std::array<std::optional<ChoiceTarget>, 4> target; // nullopt: no "wybor K" line
    std::size_t firstLine = 0, endLine = 0;            // the step's lines [firstLine, endLine), 0-based
    bool operator==(const StepView&) const = default;
};

} // namespace editor
