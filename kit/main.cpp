// przygoda-kit: the authoring toolkit's command line (kit/Cli.h).
#include "kit/Cli.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const int status = kit::RunKit(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? status : kit::ExitTrouble;
}
