#pragma once
// What a step's type byte means to the player: how many choice buttons it opens, and the ending.

#include <cstdint>
#include <optional>
#include <string_view>

namespace scenario {

// The type of an ending: the buttons are disabled and the end message is shown.
inline constexpr std::uint8_t TypKoniec = 2;

// How many choice buttons, counted from button 1, a step of this type leaves enabled. Types with no
// entry (the ending and 6-255) leave the buttons as they were.
constexpr std::optional<int> OpenChoices(std::uint8_t Typ) {
    switch (Typ) {
    case 0:
    case 3:
        return 1;
    case 1:
        return 4;
    case 4:
        return 2;
    case 5:
        return 3;
    default:
        return std::nullopt;
    }
}

// The buttons left open by reaching a step of type `Typ` with `open` buttons open: none for an ending,
// the table's count for types 0, 1, 3, 4 and 5, and for the others the buttons as they were. `open` is
// nullopt where nobody knows how many were open (a step nobody reaches); so is the answer then for the
// types that carry the buttons over.
constexpr std::optional<int> OpenAfter(std::uint8_t Typ, std::optional<int> open) {
    if (Typ == TypKoniec) {
        return 0;
    }
    if (const std::optional<int> offered = OpenChoices(Typ)) {
        return *offered;
    }
    // Rebuilt rather than copied: GCC 12 takes the copy of an empty optional for a read of its value.
    return open ? std::optional<int>(*open) : std::nullopt;
}

// The names the authors' type list gives types 1 to 5; empty for the others.
constexpr std::string_view TypeName(std::uint8_t Typ) {
    switch (Typ) {
    case 1:
        return "Normalny";
    case 2:
        return "Koniec";
    case 3:
        return "Wybory1";
    case 4:
        return "Wybory2";
    case 5:
        return "Wybory3";
    default:
        return {};
    }
}

} // namespace scenario
