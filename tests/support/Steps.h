#pragma once
// Helpers the scenario, game, shell and hostile-scenario tests share: a step built from its name, and
// leaving the reader closed after a test.

#include "scenario/IoError.h"
#include "scenario/StepReader.h"
#include "tests/support/ScenarioWriter.h"

#include <array>
#include <cstdint>
#include <string>

namespace fixtures {

// A step whose texts are made from its name: "Opis <name>" and "<name> 1" to "<name> 4".
inline Step StepNamed(const std::string& name, std::uint8_t typ, std::array<std::int32_t, 4> targets,
                      const std::string& bmp = {}, const std::string& wav = {}) {
    Step s;
    s.nazwa = name;
    s.opis = "Opis " + name;
    s.wybory = {name + " 1", name + " 2", name + " 3", name + " 4"};
    s.targets = targets;
    s.typ = typ;
    s.bmp = bmp;
    s.wav = wav;
    return s;
}

// Leaves the reader closed for the next test, whatever this one left open: each call closes what is
// open up to the first of the two files that is not, so two calls close both.
inline void CloseReader() {
    for (int i = 0; i < 2; ++i) {
        try {
            scenario::CloseScenario();
        } catch (const scenario::InOutError&) {
        }
    }
}

} // namespace fixtures
