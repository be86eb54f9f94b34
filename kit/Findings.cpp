#include "kit/Findings.h"

#include <cstdio>

namespace kit {

std::string FindingText(const Finding& f) {
    if (f.line > 0) {
        return f.file + ":" + std::to_string(f.line) + ": " + f.message;
    }
    return f.file + ":" + std::to_string(f.record) + " (" + f.name +
           "): " + (f.severity == Severity::Error ? "błąd" : "ostrzeżenie") + ": " + f.message;
}

void TextSink::Report(const Finding& f) {
    out_ << FindingText(f) << "\n";
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
    out_ << (any_ ? ",\n  " : "[\n  ") << "{\"file\": " << JsonString(f.file);
    if (f.line > 0) {
        out_ << ", \"line\": " << f.line;
    } else {
        out_ << ", \"record\": " << f.record << ", \"name\": " << JsonString(f.name);
    }
    out_ << ", \"severity\": " << (f.severity == Severity::Error ? "\"error\"" : "\"warning\"")
         << ", \"message\": " << JsonString(f.message) << "}";
    any_ = true;
}

void JsonSink::Finish() {
    out_ << (any_ ? "\n]\n" : "[]\n");
}

} // namespace kit
