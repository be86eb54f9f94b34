// Writes the small scenario the screen-reader test plays, byte for byte through the fixture writer:
//   write_orca_scenario DIR
// writes DIR/Las.Kro and DIR/Las.lis, and prints the steps to standard output, one a line, as the test
// expects to hear them: record, type, description, the four choice texts and the four targets, separated
// by tabs.
#include "tests/support/ScenarioWriter.h"

#include <cstdio>
#include <exception>
#include <iostream>

namespace {

fixtures::Step MakeStep(std::uint8_t typ, std::string opis, std::array<std::string, 4> wybory,
                        std::array<std::int32_t, 4> targets) {
    fixtures::Step step;
    step.nazwa = "Krok";
    step.typ = typ;
    step.opis = std::move(opis);
    step.wybory = std::move(wybory);
    step.targets = targets;
    return step;
}

std::vector<fixtures::Step> Steps() {
    return {
        MakeStep(0, "Rekord zerowy, nieużywany.", {"", "", "", ""}, {1, 1, 1, 1}),
        // Step 1 offers only its first choice, whatever its texts and type say.
        MakeStep(1,
                 "Stoisz na progu chaty leśniczego. Wąska ścieżka wiedzie ku polanie, nad którą krążą "
                 "wrony.",
                 {"Idź ścieżką na polanę", "Zostań w chacie", "Przeszukaj strych", "Połóż się spać"},
                 {2, 7, 7, 7}),
        // Longer than the description box shows: the rest is below its lower edge.
        MakeStep(1,
                 "Polana tonie w porannej mgle. Na jej skraju szumi strumień, pośrodku rośnie stary dąb "
                 "o konarach szerokich jak dach, a dalej, za olchami, widać chybotliwą kładkę nad wodą. "
                 "Gdzieś w trawie cyka świerszcz, a wrony milkną jedna po drugiej.",
                 {"Zejdź do strumienia", "Wespnij się na dąb", "Skok && bieg przez kładkę", "Wróć do chaty"},
                 {3, 4, 5, 1}),
        MakeStep(3, "Woda w strumieniu jest lodowata. Na drugim brzegu widać dym z komina twojego domu.",
                 {"Przejdź w bród do domu", "", "", ""}, {6, 7, 7, 7}),
        MakeStep(5, "Z korony dębu widać całą okolicę: strumień, kładkę i dom za lasem.",
                 {"Zejdź do strumienia", "Wróć na polanę", "Zeskocz na mech", "Leć jak ptak"}, {3, 2, 6, 7}),
        MakeStep(4, "Kładka trzeszczy pod stopami, ale trzyma.",
                 {"Wróć na polanę", "Przejdź na brzeg pod dębem", "Skocz do wody", "Zanurkuj"}, {2, 4, 7, 7}),
        MakeStep(2, "Docierasz do domu. Babcia czeka z gorącą herbatą.", {"", "", "", ""}, {6, 6, 6, 6}),
        // Reached only through a disabled choice: hearing it means a number key did what no click could.
        MakeStep(0, "Tego kroku nikt nie powinien usłyszeć.", {"Nigdzie", "", "", ""}, {7, 7, 7, 7}),
    };
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_orca_scenario DIR\n";
        return 2;
    }
    try {
        const std::vector<fixtures::Step> steps = Steps();
        fixtures::WriteScenario(std::filesystem::path(argv[1]) / "Las.Kro", steps);
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const fixtures::Step& s = steps[i];
            std::cout << i << '\t' << int(s.typ) << '\t' << s.opis;
            for (const std::string& wybor : s.wybory) {
                std::cout << '\t' << wybor;
            }
            for (const std::int32_t target : s.targets) {
                std::cout << '\t' << target;
            }
            std::cout << '\n';
        }
    } catch (const std::exception& e) {
        std::cerr << "write_orca_scenario: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
