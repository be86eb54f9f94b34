#pragma once
// What the toolkit reports: one finding a line, "NAME.Kro:RECORD (Nazwa): błąd|ostrzeżenie: message" about
// a scenario's record, "STORY.txt:LINE: message" about a line of a story source (as compilers write their
// errors), or the same as JSON for other tools.

#include <cstdint>
#include <ostream>
#include <string>

namespace kit {

enum class Severity { Error, Warning };

struct Finding {
    std::string file;
    std::int64_t record = 0;
    std::string name; // the step's Nazwa in UTF-8; empty when the record does not exist
    Severity severity = Severity::Error;
    std::string message;
    int line = 0; // a story source's line, counted from 1, in place of record and name; 0 for a record
};

// A finding about a line of a story source.
inline Finding SourceFinding(std::string file, int line, std::string message) {
    return Finding{std::move(file), 0, {}, Severity::Error, std::move(message), line};
}

// The finding as one line of text, without the line break.
std::string FindingText(const Finding& finding);

class FindingSink {
  public:
    virtual ~FindingSink() = default;
    virtual void Report(const Finding& finding) = 0;
    virtual void Finish() {}
};

class TextSink : public FindingSink {
  public:
    explicit TextSink(std::ostream& out) : out_(out) {}
    void Report(const Finding& finding) override;

  private:
    std::ostream& out_;
};

// A JSON array of {"file", "record", "name", "severity": "error"|"warning", "message"}, with "line" in
// place of "record" and "name" for a line of a story source.
class JsonSink : public FindingSink {
  public:
    explicit JsonSink(std::ostream& out) : out_(out) {}
    void Report(const Finding& finding) override;
    void Finish() override;

  private:
    std::ostream& out_;
    bool any_ = false;
};

std::string JsonString(const std::string& utf8);

} // namespace kit
