// Writes the scenario the preview test plays and previews, byte for byte through the fixture writer:
//   write_preview_scenario DIR
// DIR/Most.Kro, DIR/Most.lis and the pictures in DIR/Obrazki. Step 1 leads by choice 1 to step 2, a step of
// type 4 with an odd-sized picture and a description that wraps, whose choice 1 leads to step 3, of type 7
// (it keeps the buttons), whose choice 2 leads to the ending, step 4.
#include "tests/support/BmpFile.h"
#include "tests/support/Files.h"
#include "tests/support/ScenarioWriter.h"

#include <exception>
#include <filesystem>
#include <iostream>

namespace {

fixtures::Step MakeStep(std::string nazwa, std::uint8_t typ, std::string opis, std::string bmp,
                        std::array<std::string, 4> wybory, std::array<std::int32_t, 4> targets) {
    fixtures::Step step;
    step.nazwa = std::move(nazwa);
    step.typ = typ;
    step.opis = std::move(opis);
    step.bmp = std::move(bmp);
    step.wybory = std::move(wybory);
    step.targets = targets;
    return step;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_preview_scenario DIR\n";
        return 2;
    }
    try {
        const std::filesystem::path dir(argv[1]);
        fixtures::WriteScenario(
            dir / "Most.Kro",
            {MakeStep("Zero", 0, "", "", {"", "", "", ""}, {1, 1, 1, 1}),
             MakeStep("Brama", 1, "Stoisz przed bramą starego parku.", "brama.bmp",
                      {"Wejdź do parku", "Zawróć", "Zapukaj", "Czekaj"}, {2, 1, 1, 1}),
             MakeStep("Aleja", 4,
                      "Aleja lip prowadzi ku stawowi. Liście szeleszczą, a na ławce ktoś zostawił "
                      "rozłożoną gazetę i kapelusz. Za stawem, między drzewami, widać most nad rzeką.",
                      "aleja.bmp", {"Idź na most", "Wróć do bramy", "Usiądź na ławce", "Czytaj gazetę"},
                      {3, 1, 2, 2}),
             MakeStep("Most", 7, "Most kołysze się nad rzeką.", "", {"Wróć", "Przejdź", "Skacz", "Czekaj"},
                      {2, 4, 4, 3}),
             MakeStep("Brzeg", 2, "Drugi brzeg. Tu kończy się spacer.", "", {"", "", "", ""}, {4, 4, 4, 4})});
        std::filesystem::create_directories(dir / "Obrazki");
        fixtures::WriteBytes(dir / "Obrazki/brama.bmp", fixtures::Bmp24(64, 64, [](int x, int y) {
                                 return (x * 4) << 16 | (y * 4) << 8;
                             }));
        // Odd sizes: drawn one pixel smaller and centred on the area's middle.
        fixtures::WriteBytes(dir / "Obrazki/aleja.bmp", fixtures::Bmp24(97, 61, [](int x, int y) {
                                 return static_cast<std::uint32_t>((x * 2) << 16 | (255 - y * 3) << 8 |
                                                                   (x + y));
                             }));
    } catch (const std::exception& e) {
        std::cerr << "write_preview_scenario: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
