#pragma once
// The characters of a field that code page 1250 cannot hold, found as they are typed, each with what the
// toolkit's build would say of it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

struct OutsideMark {
    std::size_t position = 0; // in characters (code points), from 0
    char32_t character = 0;
    std::string message; // the toolkit's words, "<what>: znak N (U+XXXX) jest spoza strony kodowej 1250"
};

// `what` names the field as the toolkit does ("opis", "wybor 1").
std::vector<OutsideMark> FindOutsideCp1250(std::string_view utf8, const std::string& what);

} // namespace editor
