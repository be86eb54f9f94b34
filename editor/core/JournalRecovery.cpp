#include "editor/core/JournalRecovery.h"

#include "editor/core/JournalError.h"
#include "editor/core/JournalFormat.h"
#include "editor/core/LineList.h"
#include "kit/Polish.h"

#include <algorithm>
#include <span>

namespace editor {

namespace {

using journal::Identity;
using journal::RecordKind;
using journal::Scan;

std::string Changes(std::size_t n) {
    return kit::Count(static_cast<long long>(n), "zmianę", "zmiany", "zmian");
}

std::size_t CountChanges(const Scan& scan) {
    return static_cast<std::size_t>(
        std::count_if(scan.records.begin(), scan.records.end(),
                      [](const auto& r) { return r.kind == RecordKind::Change; }));
}

// The first record to replay onto the file on disk: after the last save whose bytes are on disk, else from
// the start when the disk still holds the text the journal was begun on.
std::size_t StartingRecord(const Scan& scan, const Identity& disk) {
    for (std::size_t i = scan.records.size(); i-- > 0;) {
        const journal::Record& record = scan.records[i];
        if (record.kind == RecordKind::Saved && record.saved == disk) {
            return i + 1;
        }
    }
    if (scan.base == disk) {
        return 0;
    }
    throw JournalError("Plik opowieści zmienił się poza edytorem od ostatniego zapisu: zmian z dziennika "
                       "(zapisanych: " +
                       std::to_string(CountChanges(scan)) +
                       ") nie da się do niego przyłożyć. Plik opowieści zostaje, jaki jest.");
}

bool Apply(std::vector<std::string>& lines, const journal::ChangeRecord& change) {
    if (change.first > lines.size() || change.removedCount > lines.size() - change.first) {
        return false;
    }
    const auto first = lines.begin() + static_cast<std::ptrdiff_t>(change.first);
    if (journal::HashLines(std::span(first, change.removedCount)) != change.removedHash) {
        return false;
    }
    const std::size_t kept = std::min<std::size_t>(change.removedCount, change.inserted.size());
    std::copy(change.inserted.begin(), change.inserted.begin() + static_cast<std::ptrdiff_t>(kept), first);
    if (change.removedCount > kept) {
        lines.erase(first + static_cast<std::ptrdiff_t>(kept), first + change.removedCount);
    } else {
        lines.insert(first + static_cast<std::ptrdiff_t>(kept),
                     change.inserted.begin() + static_cast<std::ptrdiff_t>(kept), change.inserted.end());
    }
    return true;
}

std::string DamageWarning(const Scan& scan, std::size_t journalSize, std::size_t changes) {
    const std::string where =
        "w bajcie " + std::to_string(scan.endOffset) + " z " + std::to_string(journalSize);
    const std::string saved = "Odzyskano " + Changes(changes) + " sprzed tego miejsca.";
    if (scan.end == Scan::End::Torn) {
        return "Dziennik urywa się " + where + ": ostatni wpis nie został zapisany w całości. " + saved;
    }
    return "Dziennik jest uszkodzony " + where + " (" + scan.problem + "). " + saved +
           " Pominięto resztę dziennika (" +
           kit::Count(static_cast<long long>(journalSize - scan.endOffset), "bajt", "bajty", "bajtów") + ").";
}

} // namespace

Recovered RecoverJournal(std::string_view journalBytes, std::string_view storyOnDisk) {
    const Scan scan = journal::ScanJournal(journalBytes);
    const std::size_t start = StartingRecord(scan, Identity::Of(storyOnDisk));

    Recovered result;
    result.storyPath = scan.storyPath;
    std::vector<std::string> lines = SplitLines(storyOnDisk);
    for (std::size_t i = start; i < scan.records.size(); ++i) {
        const journal::Record& record = scan.records[i];
        if (record.kind != RecordKind::Change) {
            continue;
        }
        if (!Apply(lines, record.change)) {
            result.warning = "Zmiana nr " + std::to_string(result.changes + 1) + " z dziennika (bajt " +
                             std::to_string(record.offset) + ") nie pasuje do tekstu. Odzyskano " +
                             Changes(result.changes) + " sprzed niej.";
            break;
        }
        ++result.changes;
    }
    if (result.warning.empty() && scan.end != Scan::End::Whole) {
        result.warning = DamageWarning(scan, journalBytes.size(), result.changes);
    }
    result.bytes = JoinLines(lines);
    return result;
}

} // namespace editor
