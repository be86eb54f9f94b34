// Edits a story the way the editor does, through the same journal and save, so that it can be killed at
// any moment and what it leaves behind checked.
//
//   kill_driver run DIR SEED        edits DIR/las.txt until killed: seeded random changes, a flush after
//                                   every 1-20 of them ("recorded N" on stdout once change N is written),
//                                   now and then a save
//   kill_driver check DIR SEED N    recovers DIR as the editor would after a crash, replays the same seed
//                                   and checks that the story file is whole, one of the saved versions,
//                                   and that the draft holds at least change N (-1: nothing was reported)
#include "editor/core/JournalError.h"
#include "editor/core/JournalPaths.h"
#include "editor/core/JournalRecovery.h"
#include "editor/core/JournalWriter.h"
#include "editor/core/LineList.h"
#include "editor/core/SaveStory.h"

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

namespace {

using editor::Patch;

// splitmix64: the same sequence for a seed on every machine and library.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }

  private:
    std::uint64_t state_;
};

constexpr std::size_t MaxLines = 300;
constexpr std::size_t MaxLineBytes = 100;

std::string RandomLine(Random& random) {
    static const char* const pieces[] = {"krok ", "opis ", "wybor 1 ", "-> ", "Las", "ż",  "ó",  "ł", "Ą",
                                         " ",     "7",     "@start",   "\r",  "\"",  "\t", "ść", "x"};
    std::string line;
    const std::size_t count = random.Below(8);
    for (std::size_t i = 0; i < count; ++i) {
        line += pieces[random.Below(std::size(pieces))];
    }
    return line;
}

std::vector<std::string> RandomLines(Random& random, std::size_t count) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < count; ++i) {
        lines.push_back(RandomLine(random));
    }
    return lines;
}

// One change such as the editor makes: typing in a line, lines added, removed, or a block replaced.
Patch RandomPatch(const std::vector<std::string>& lines, Random& random) {
    const std::size_t size = lines.size();
    std::size_t kind = random.Below(10);
    if (size > MaxLines) {
        kind = 7;
    }
    Patch patch;
    if (kind < 5) {
        patch.first = random.Below(size);
        std::string line = lines[patch.first];
        if (line.size() > MaxLineBytes || (!line.empty() && random.Below(3) == 0)) {
            line.erase(random.Below(line.size()), 1);
        } else {
            line.insert(random.Below(line.size() + 1), RandomLine(random).substr(0, 2));
        }
        patch.inserted = {line};
    } else if (kind < 7) {
        patch.first = random.Below(size + 1);
        patch.inserted = RandomLines(random, 1 + random.Below(3));
    } else {
        patch.first = random.Below(size);
        // Leaves at least one line: the text of no bytes is one empty line.
        const std::size_t most = std::min<std::size_t>(3, size - patch.first);
        std::size_t count = 1 + random.Below(most);
        if (count == size && kind < 9) {
            count = size - 1;
        }
        if (kind == 9 || count == size) {
            patch.inserted = RandomLines(random, (count == size ? 1 : 0) + random.Below(4));
        }
        patch.removed.assign(lines.begin() + static_cast<std::ptrdiff_t>(patch.first),
                             lines.begin() + static_cast<std::ptrdiff_t>(patch.first + count));
    }
    if (kind < 5) {
        patch.removed = {lines[patch.first]};
    }
    return patch;
}

void Apply(std::vector<std::string>& lines, const Patch& patch) {
    const auto first = lines.begin() + static_cast<std::ptrdiff_t>(patch.first);
    lines.erase(first, first + static_cast<std::ptrdiff_t>(patch.removed.size()));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(patch.first), patch.inserted.begin(),
                 patch.inserted.end());
}

// The script a seed makes: a starting text, then rounds of changes, each ended by a flush and maybe a save.
class Script {
  public:
    explicit Script(std::uint64_t seed) : random_(seed) {
        lines_ = RandomLines(random_, 1 + random_.Below(30));
        if (random_.Below(2) == 0) {
            lines_.emplace_back();
        }
    }

    std::string Bytes() const { return editor::JoinLines(lines_); }
    std::size_t Changes() const { return changes_; }
    std::size_t RoundLength() { return 1 + random_.Below(20); }
    Patch NextChange() {
        Patch patch = RandomPatch(lines_, random_);
        Apply(lines_, patch);
        ++changes_;
        return patch;
    }
    bool SaveNow() { return random_.Below(10) == 0; }

  private:
    Random random_;
    std::vector<std::string> lines_;
    std::size_t changes_ = 0;
};

void Say(const std::string& line) {
    const std::string out = line + "\n";
    if (::write(STDOUT_FILENO, out.data(), out.size()) < 0) {
        std::_Exit(2);
    }
}

int Run(const std::filesystem::path& dir, std::uint64_t seed) {
    // Ends with the harness, whatever happens to the harness.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const std::string story = (dir / "las.txt").string();
    Script script(seed);
    editor::SaveStory(story, script.Bytes(), nullptr);
    editor::JournalWriter journal(editor::JournalPathFor(story), story, script.Bytes());
    Say("recorded 0");
    // Bounded, so that a driver nobody kills still ends.
    while (script.Changes() < 5'000'000) {
        for (std::size_t n = script.RoundLength(); n > 0; --n) {
            journal.Record(script.NextChange());
        }
        journal.Flush();
        Say("recorded " + std::to_string(script.Changes()));
        if (script.SaveNow()) {
            editor::SaveStory(story, script.Bytes(), &journal);
        }
    }
    journal.Close(true);
    return 3;
}

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct Expected {
    std::vector<std::string> onDisk; // the story files a save may have left
    std::vector<std::string> drafts; // drafts[i]: the text after change reported + i
    std::size_t firstDraft = 0;
};

// Replays the script to the flush after the reported one: the journal holds every change up to the report,
// and at most those up to the next flush, whose write may have begun before the kill.
Expected Replay(std::uint64_t seed, long long reported) {
    Script script(seed);
    Expected expected;
    expected.onDisk = {script.Bytes()};
    if (reported < 0) {
        return expected;
    }
    expected.firstDraft = static_cast<std::size_t>(reported);
    std::string lastSave = script.Bytes();
    if (reported == 0) {
        expected.drafts.push_back(script.Bytes());
    }
    for (;;) {
        for (std::size_t n = script.RoundLength(); n > 0; --n) {
            script.NextChange();
            if (script.Changes() >= expected.firstDraft) {
                expected.drafts.push_back(script.Bytes());
            }
        }
        if (script.Changes() > expected.firstDraft) {
            return expected;
        }
        // The save made after this flush had at most begun when the next report was due.
        if (script.SaveNow()) {
            const bool finished = script.Changes() < expected.firstDraft;
            expected.onDisk = finished ? std::vector<std::string>{script.Bytes()}
                                       : std::vector<std::string>{lastSave, script.Bytes()};
            lastSave = script.Bytes();
        } else if (script.Changes() == expected.firstDraft) {
            expected.onDisk = {lastSave};
        }
    }
}

int Check(const std::filesystem::path& dir, std::uint64_t seed, long long reported) {
    const std::string story = (dir / "las.txt").string();
    const Expected expected = Replay(seed, reported);
    const std::optional<std::string> disk = ReadFile(story);
    const std::optional<std::string> journal = ReadFile(editor::JournalPathFor(story));
    if (reported < 0) {
        if (journal || (disk && *disk != expected.onDisk[0])) {
            std::cout << "FAIL: killed before the first change, yet the story or a journal changed\n";
            return 1;
        }
        std::cout << "ok: killed before the first change\n";
        return 0;
    }
    if (!disk || std::find(expected.onDisk.begin(), expected.onDisk.end(), *disk) == expected.onDisk.end()) {
        std::cout << "FAIL: the story file is " << (disk ? "none of the saved versions" : "missing")
                  << " (reported change " << reported << ")\n";
        return 1;
    }
    editor::Recovered recovered{*disk, 0, "", story};
    if (journal) {
        try {
            recovered = editor::RecoverJournal(*journal, *disk);
        } catch (const editor::JournalError& e) {
            std::cout << "FAIL: the journal cannot be recovered: " << e.what() << "\n";
            return 1;
        }
    }
    const auto match = std::find(expected.drafts.begin(), expected.drafts.end(), recovered.bytes);
    if (match == expected.drafts.end()) {
        std::cout << "FAIL: the recovered draft is not the text after change " << reported << " nor after any"
                  << " change up to " << expected.firstDraft + expected.drafts.size() - 1 << " ("
                  << recovered.changes << " changes replayed; " << recovered.warning << ")\n";
        return 1;
    }
    std::cout << "ok: reported " << reported << ", recovered "
              << expected.firstDraft + static_cast<std::size_t>(match - expected.drafts.begin()) << " ("
              << (journal ? std::to_string(recovered.changes) + " from the journal"
                          : std::string("no journal"))
              << (recovered.warning.empty() ? "" : "; torn")
              << (expected.onDisk.size() < 2        ? ""
                  : *disk == expected.onDisk.back() ? "; killed saving, after the rename"
                                                    : "; killed saving, before the rename")
              << ")\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 3 && args[0] == "run") {
            return Run(args[1], std::stoull(args[2]));
        }
        if (args.size() == 4 && args[0] == "check") {
            return Check(args[1], std::stoull(args[2]), std::stoll(args[3]));
        }
    } catch (const std::exception& e) {
        std::cout << "FAIL: " << e.what() << "\n";
        return 1;
    }
    std::cerr << "usage: kill_driver run DIR SEED | check DIR SEED REPORTED\n";
    return 2;
}
