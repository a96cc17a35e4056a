// quendal-calc: the calculator without the window, for batch work and scripting.

#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "cli/calc_command.h"
#include "cli/options.h"
#include "cli/rank_command.h"
#include "cli/search_command.h"
#include "optimiser/worker_pool.h"

int main(int argc, char* argv[]) {
    using namespace quendal::cli;
    try {
        Options options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help || options.version) {
            std::fputs((options.help ? HelpText() : VersionText()).c_str(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        // One limit for every part of the companion that works in parallel.
        if (!options.threads)
            options.threads = quendal::AvailableCores();
        const quendal::ThreadLimit threadLimit(*options.threads);
        if (options.rank) {
            RunRankCommand(options, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        quendal::CalcModel model;
        const Prepared prepared = ApplyOptions(options, model);
        if (options.search)
            RunSearchCommand(options, model, prepared, stdout);
        else
            PrintCalculation(options, model, prepared, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "quendal-calc: %s (see --help)\n", e.what());
        return 2;
    } catch (const FileError& e) {
        std::fprintf(stderr, "quendal-calc: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quendal-calc: %s\n", e.what());
        return 1;
    }
}
