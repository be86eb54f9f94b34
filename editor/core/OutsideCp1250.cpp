#include "editor/core/OutsideCp1250.h"

#include "kit/Source.h"
#include "scenario/Cp1250.h"

namespace editor {

namespace {

// The byte length of the UTF-8 sequence led by `lead`; 1 for a byte that leads none.
std::size_t SequenceLength(unsigned char lead) {
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// The byte offset of character `n` of `utf8`.
std::size_t ByteOf(std::string_view utf8, std::size_t n) {
    std::size_t at = 0;
    for (; n > 0 && at < utf8.size(); --n) {
        at += SequenceLength(static_cast<unsigned char>(utf8[at]));
    }
    return std::min(at, utf8.size());
}

} // namespace

std::vector<OutsideMark> FindOutsideCp1250(std::string_view utf8, const std::string& what) {
    std::vector<OutsideMark> marks;
    std::size_t before = 0; // characters already passed
    // Each bad character restarts the encoder just after it, so every one is reported, with the
    // position the toolkit would give it.
    while (!utf8.empty()) {
        try {
            scenario::Utf8ToCp1250(utf8);
            break;
        } catch (const scenario::Cp1250Error& e) {
            marks.push_back({before + e.position(), e.character(), kit::Cp1250Message(what, e, before)});
            const std::size_t at = ByteOf(utf8, e.position());
            const std::size_t next = at + SequenceLength(static_cast<unsigned char>(utf8[at]));
            utf8.remove_prefix(std::min(next, utf8.size()));
            before += e.position() + 1;
        }
    }
    return marks;
}

} // namespace editor
