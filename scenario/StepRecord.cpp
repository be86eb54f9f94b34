#include "scenario/StepRecord.h"

#include <algorithm>

namespace scenario {

namespace {

template <class Step, class Text> Text& Field(Step& step, std::size_t i) {
    switch (i) {
    case 0:
        return step.Nazwa;
    case 1:
    case 2:
    case 3:
    case 4:
        return step.Wybor[i - 1];
    case 5:
        return step.Opis;
    case 6:
        return step.Bmp;
    default:
        return step.Wav;
    }
}

} // namespace

std::string& TextOf(StepRecord& step, std::size_t i) {
    return Field<StepRecord, std::string>(step, i);
}

const std::string& TextOf(const StepRecord& step, std::size_t i) {
    return Field<const StepRecord, const std::string>(step, i);
}

StepRecord DecodeStep(std::span<const std::uint8_t, KrokRecSize> krok, std::uint8_t typ) {
    StepRecord step;
    for (std::size_t i = 0; i < TextFields.size(); ++i) {
        TextOf(step, i) = ReadShortString(krok, TextFields[i]);
    }
    for (std::size_t k = 0; k < 4; ++k) {
        step.Krok_Wybrany[k] = ReadInt32LE(krok, TargetOffsets[k]);
    }
    step.Typ = typ;
    return step;
}

TKrokRec EncodeStep(const StepRecord& step) {
    TKrokRec rec;
    for (std::size_t i = 0; i < TextFields.size(); ++i) {
        WriteShortString(rec.bytes, TextFields[i], TextOf(step, i));
    }
    for (std::size_t k = 0; k < 4; ++k) {
        WriteInt32LE(rec.bytes, TargetOffsets[k], step.Krok_Wybrany[k]);
    }
    return rec;
}

TLisRec LisRecOf(const StepRecord& step) {
    TLisRec rec;
    const std::size_t length = std::min<std::size_t>(step.Nazwa.size(), rec.Wpis.size() - 1);
    rec.Wpis[0] = static_cast<std::uint8_t>(length);
    std::copy_n(step.Nazwa.begin(), length, rec.Wpis.begin() + 1);
    rec.Typ = step.Typ;
    return rec;
}

} // namespace scenario
