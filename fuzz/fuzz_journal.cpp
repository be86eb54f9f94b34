// Recovers a fuzzed journal against the two texts the seed journals start from: no story yet, and a
// short story. Recovery may refuse a journal, but never crash, and whatever it returns is made of the
// story and the journal's own bytes alone.
#include "editor/core/JournalError.h"
#include "editor/core/JournalRecovery.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

constexpr std::string_view SeedStory = "scenariusz Las\nkrok 1 Start\ntyp 1\nopis Ciemny las.\n";
// The smallest change record: its frame, kind, first line, removed count and hash, inserted count.
constexpr std::size_t SmallestChange = 8 + 1 + 8 + 4 + 8 + 4;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view journal(reinterpret_cast<const char*>(data), size);
    for (const std::string_view story : {std::string_view(), SeedStory}) {
        try {
            const editor::Recovered r = editor::RecoverJournal(journal, story);
            if (r.bytes.size() > story.size() + journal.size() ||
                r.changes > journal.size() / SmallestChange) {
                std::abort();
            }
        } catch (const editor::JournalError&) {
        }
    }
    return 0;
}
