#pragma once
// The journal file, all numbers little-endian:
//
//   header:  "DZIENNIK", u32 version (1), u64 base size, u64 base hash (Hash64 of the story bytes the
//            changes start from), u32 path length, the story's path (UTF-8; empty for an untitled story,
//            whose base is then the empty text), u32 CRC-32 of all the header bytes before it
//   records: u32 payload length, u32 CRC-32 of the payload, the payload:
//            1 (change): u64 first line, u32 removed line count, u64 HashLines(removed lines),
//                        u32 inserted line count, then each inserted line as u32 length + bytes
//            2 (saved):  u64 size, u64 hash of the bytes a save is about to put in place
//
// Appended only; the header is written once, with the file, before the file gets its name.

#include "editor/core/Checksums.h"
#include "editor/core/Patch.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace editor::journal {

inline constexpr std::string_view Magic = "DZIENNIK";
inline constexpr std::uint32_t Version = 1;

enum class RecordKind : std::uint8_t { Change = 1, Saved = 2 };

// Which bytes a story file holds, without keeping them.
struct Identity {
    std::uint64_t size = 0;
    std::uint64_t hash = Hash64::Start;

    static Identity Of(std::string_view bytes) { return {bytes.size(), HashBytes(bytes)}; }
    bool operator==(const Identity&) const = default;
};

std::uint64_t HashLines(std::span<const std::string> lines);

std::string EncodeHeader(const Identity& base, std::string_view storyPath);
void AppendChange(std::string& out, const Patch& patch);
void AppendSaved(std::string& out, const Identity& saved);

// A change as the journal keeps it: what it removed only by count and hash, to check on replay.
struct ChangeRecord {
    std::uint64_t first = 0;
    std::uint32_t removedCount = 0;
    std::uint64_t removedHash = 0;
    std::vector<std::string_view> inserted; // into the journal's bytes
};

struct Record {
    RecordKind kind = RecordKind::Change;
    std::size_t offset = 0; // of its length field
    ChangeRecord change;    // kind Change
    Identity saved;         // kind Saved
};

// The journal's bytes as far as they are whole. Stops at the first record that is cut short (`Torn`) or
// does not check out (`Corrupt`, with `problem` saying how); throws JournalError when the header itself
// cannot be used. Every size read from the bytes is checked against the bytes that follow it.
struct Scan {
    enum class End { Whole, Torn, Corrupt };

    Identity base;
    std::string storyPath;
    std::vector<Record> records;
    End end = End::Whole;
    std::size_t endOffset = 0;
    std::string problem;
};

Scan ScanJournal(std::string_view bytes);

} // namespace editor::journal
