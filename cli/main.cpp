// quendal-calc: the calculator without the window, for batch work and scripting.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/companion.h"

int main(int argc, char* argv[]) {
    return quendal::cli::RunCompanion(std::vector<std::string>(argv + 1, argv + argc), stdout,
                                      stderr);
}
