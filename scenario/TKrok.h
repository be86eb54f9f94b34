#pragma once
// The current step as texts and integers, copied from one step record.

#include <cstdint>
#include <string>

namespace scenario {

// Texts are UTF-8, decoded from the record's code page 1250 bytes; each keeps its field's limit
// (in characters): Nazwa 20, Wybor1..4 45, Opis 250, Bmp 20, Wav 20.
class TKrok {
  public:
    std::string Nazwa;
    std::string Wybor1;
    std::string Wybor2;
    std::string Wybor3;
    std::string Wybor4;
    std::string Opis;
    std::string Bmp;
    std::string Wav;
    std::int32_t Krok_Wybrany1 = 0;
    std::int32_t Krok_Wybrany2 = 0;
    std::int32_t Krok_Wybrany3 = 0;
    std::int32_t Krok_Wybrany4 = 0;
};

} // namespace scenario
