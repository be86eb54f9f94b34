#pragma once
// One step as both files hold it: the step record's fields with their texts in code page 1250, and the
// type from the type list. The form the scenario writer takes and the authoring tools read.

#include "scenario/Records.h"

#include <array>
#include <cstdint>
#include <string>

namespace scenario {

struct StepRecord {
    std::string Nazwa;
    std::array<std::string, 4> Wybor;
    std::string Opis;
    std::string Bmp;
    std::string Wav;
    std::array<std::int32_t, 4> Krok_Wybrany{};
    std::uint8_t Typ = 0;

    bool operator==(const StepRecord&) const = default;
};

// The fields of StepRecord that hold texts, in record order, with their layouts.
inline constexpr std::array<ShortStringField, 8> TextFields{
    krok::Nazwa, krok::Wybor1, krok::Wybor2, krok::Wybor3, krok::Wybor4, krok::Opis, krok::Bmp, krok::Wav};
inline constexpr std::array<std::size_t, 4> TargetOffsets{krok::Krok_Wybrany1, krok::Krok_Wybrany2,
                                                          krok::Krok_Wybrany3, krok::Krok_Wybrany4};

// The text field i (in the order of TextFields) of a step.
std::string& TextOf(StepRecord& step, std::size_t i);
const std::string& TextOf(const StepRecord& step, std::size_t i);

// Reads a step as the player reads it: each text clamped to its field.
StepRecord DecodeStep(std::span<const std::uint8_t, KrokRecSize> krok, std::uint8_t typ);

// The step record: every text after its length byte, the filler and the unused bytes of each field are 0.
// Throws std::length_error for a text longer than its field.
TKrokRec EncodeStep(const StepRecord& step);

// The type-list record: the list entry holds the step's name as a short string, as the authors' type list
// shows it.
TLisRec LisRecOf(const StepRecord& step);

} // namespace scenario
