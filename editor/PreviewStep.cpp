#include "editor/PreviewStep.h"

#include "scenario/Cp1250.h"
#include "scenario/StepTypes.h"

#include <string>

namespace editor {

namespace {

// One character at a time, so that one the code page lacks spoils only itself.
std::string Encoded(const std::string& utf8, std::size_t max) {
    std::string bytes;
    std::size_t at = 0;
    while (at < utf8.size() && bytes.size() < max) {
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(utf8[at]);
        if (lead >= 0xF0) {
            length = 4;
        } else if (lead >= 0xE0) {
            length = 3;
        } else if (lead >= 0xC0) {
            length = 2;
        }
        try {
            bytes += scenario::Utf8ToCp1250(std::string_view(utf8).substr(at, length));
        } catch (const scenario::Cp1250Error&) {
            bytes += '?';
        }
        at += length;
    }
    return bytes;
}

} // namespace

scenario::StepRecord RecordOf(const StepView& step) {
    scenario::StepRecord record;
    const std::array<const std::string*, 8> texts{&step.name,      &step.choice[0], &step.choice[1],
                                                  &step.choice[2], &step.choice[3], &step.opis,
                                                  &step.picture,   &step.sound};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        scenario::TextOf(record, i) = Encoded(*texts[i], scenario::TextFields[i].max);
    }
    for (std::size_t k = 0; k < 4; ++k) {
        if (step.target[k] && step.target[k]->kind == ChoiceTarget::Kind::Number) {
            record.Krok_Wybrany[k] = static_cast<std::int32_t>(step.target[k]->number);
        }
    }
    record.Typ = static_cast<std::uint8_t>(step.typ.value_or(0));
    return record;
}

std::optional<int> OpenByType(const StepView& step) {
    if (step.number == 1) {
        return 1;
    }
    return scenario::OpenAfter(static_cast<std::uint8_t>(step.typ.value_or(0)), std::nullopt);
}

} // namespace editor
