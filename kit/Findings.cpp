#include "kit/Findings.h"

#include <cstdio>

namespace kit {

void TextSink::Report(const Finding& f) {
    out_ << f.file << ":" << f.record << " (" << f.name
         << "): " << (f.severity == Severity::Error ? "błąd" : "ostrzeżenie") << ": " << f.message << "\n";
}

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void JsonSink::Report(const Finding& f) {
    out_ << (any_ ? ",\n  " : "[\n  ") << "{\"file\": " << JsonString(f.file) << ", \"record\": " << f.record
         << ", \"name\": " << JsonString(f.name)
         << ", \"severity\": " << (f.severity == Severity::Error ? "\"error\"" : "\"warning\"")
         << ", \"message\": " << JsonString(f.message) << "}";
    any_ = true;
}

void JsonSink::Finish() {
    out_ << (any_ ? "\n]\n" : "[]\n");
}

} // namespace kit
