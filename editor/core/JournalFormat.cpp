#include "editor/core/JournalFormat.h"

#include "editor/core/JournalError.h"

namespace editor::journal {

namespace {

void PutU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void PutU64(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// Reads little-endian numbers and byte runs, each only if the bytes hold it whole.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t Remaining() const { return bytes_.size() - position_; }
    std::size_t Position() const { return position_; }

    bool U8(std::uint8_t& value) {
        std::uint64_t wide = 0;
        const bool ok = Number(1, wide);
        value = static_cast<std::uint8_t>(wide);
        return ok;
    }
    bool U32(std::uint32_t& value) {
        std::uint64_t wide = 0;
        const bool ok = Number(4, wide);
        value = static_cast<std::uint32_t>(wide);
        return ok;
    }
    bool U64(std::uint64_t& value) { return Number(8, value); }
    bool Bytes(std::size_t count, std::string_view& run) {
        if (count > Remaining()) {
            return false;
        }
        run = bytes_.substr(position_, count);
        position_ += count;
        return true;
    }

  private:
    bool Number(int width, std::uint64_t& value) {
        if (static_cast<std::size_t>(width) > Remaining()) {
            return false;
        }
        value = 0;
        for (int i = 0; i < width; ++i) {
            value |= std::uint64_t{static_cast<unsigned char>(bytes_[position_ + i])} << (8 * i);
        }
        position_ += width;
        return true;
    }

    std::string_view bytes_;
    std::size_t position_ = 0;
};

void AppendRecord(std::string& out, std::string_view payload) {
    PutU32(out, static_cast<std::uint32_t>(payload.size()));
    PutU32(out, Crc32(payload));
    out += payload;
}

bool DecodeChange(Reader& in, ChangeRecord& change) {
    std::uint32_t count = 0;
    if (!in.U64(change.first) || !in.U32(change.removedCount) || !in.U64(change.removedHash) ||
        !in.U32(count) || count > in.Remaining() / 4) {
        return false;
    }
    change.inserted.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t length = 0;
        std::string_view line;
        if (!in.U32(length) || !in.Bytes(length, line)) {
            return false;
        }
        change.inserted.push_back(line);
    }
    return in.Remaining() == 0;
}

bool DecodePayload(std::string_view payload, Record& record) {
    Reader in(payload);
    std::uint8_t kind = 0;
    if (!in.U8(kind)) {
        return false;
    }
    record.kind = static_cast<RecordKind>(kind);
    switch (record.kind) {
    case RecordKind::Change:
        return DecodeChange(in, record.change);
    case RecordKind::Saved:
        return in.U64(record.saved.size) && in.U64(record.saved.hash) && in.Remaining() == 0;
    }
    return false;
}

void ReadHeader(std::string_view bytes, Scan& scan, Reader& in) {
    std::string_view magic;
    if (!in.Bytes(Magic.size(), magic) || magic != Magic) {
        throw JournalError("To nie jest dziennik edytora opowieści (plik zaczyna się inaczej).");
    }
    std::uint32_t version = 0;
    std::uint32_t pathLength = 0;
    std::string_view path;
    std::uint32_t crc = 0;
    const bool whole = in.U32(version);
    if (whole && version != Version) {
        throw JournalError("Dziennik ma wersję " + std::to_string(version) +
                           ", a ten edytor zna tylko wersję " + std::to_string(Version) + ".");
    }
    const std::size_t crcOffset = in.Position() + 20;
    if (!whole || !in.U64(scan.base.size) || !in.U64(scan.base.hash) || !in.U32(pathLength) ||
        !in.Bytes(pathLength, path) || !in.U32(crc) ||
        crc != Crc32(bytes.substr(0, crcOffset + pathLength))) {
        throw JournalError(
            "Nagłówek dziennika jest uszkodzony: nie wiadomo, od jakiego tekstu liczą się zmiany.");
    }
    scan.storyPath = path;
}

} // namespace

std::uint64_t HashLines(std::span<const std::string> lines) {
    Hash64 hash;
    std::string length;
    for (const std::string& line : lines) {
        length.clear();
        PutU64(length, line.size());
        hash.Add(length).Add(line);
    }
    return hash.Value();
}

std::string EncodeHeader(const Identity& base, std::string_view storyPath) {
    std::string out(Magic);
    PutU32(out, Version);
    PutU64(out, base.size);
    PutU64(out, base.hash);
    PutU32(out, static_cast<std::uint32_t>(storyPath.size()));
    out += storyPath;
    PutU32(out, Crc32(out));
    return out;
}

void AppendChange(std::string& out, const Patch& patch) {
    std::string payload(1, static_cast<char>(RecordKind::Change));
    PutU64(payload, patch.first);
    PutU32(payload, static_cast<std::uint32_t>(patch.removed.size()));
    PutU64(payload, HashLines(patch.removed));
    PutU32(payload, static_cast<std::uint32_t>(patch.inserted.size()));
    for (const std::string& line : patch.inserted) {
        PutU32(payload, static_cast<std::uint32_t>(line.size()));
        payload += line;
    }
    AppendRecord(out, payload);
}

void AppendSaved(std::string& out, const Identity& saved) {
    std::string payload(1, static_cast<char>(RecordKind::Saved));
    PutU64(payload, saved.size);
    PutU64(payload, saved.hash);
    AppendRecord(out, payload);
}

Scan ScanJournal(std::string_view bytes) {
    Scan scan;
    Reader in(bytes);
    ReadHeader(bytes, scan, in);
    while (in.Remaining() > 0) {
        const std::size_t offset = in.Position();
        std::uint32_t length = 0;
        std::uint32_t crc = 0;
        std::string_view payload;
        scan.endOffset = offset;
        if (!in.U32(length) || !in.U32(crc) || !in.Bytes(length, payload)) {
            scan.end = Scan::End::Torn;
            return scan;
        }
        Record record;
        record.offset = offset;
        if (Crc32(payload) != crc) {
            scan.problem = "suma kontrolna wpisu się nie zgadza";
        } else if (!DecodePayload(payload, record)) {
            scan.problem = "wpis ma nieznany rodzaj albo złą budowę";
        }
        if (!scan.problem.empty()) {
            scan.end = Scan::End::Corrupt;
            return scan;
        }
        scan.records.push_back(std::move(record));
    }
    scan.endOffset = bytes.size();
    return scan;
}

} // namespace editor::journal
