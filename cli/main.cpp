// quendal-calc: the calculator without the window, for batch work and scripting.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
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
        const std::vector<std::string> args(argv + 1, argv + argc);
        Options options = ParseOptions(args);
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
        // A calculation file comes first: its values are the defaults the options override.
        std::optional<quendal::CalcSetup> base;
        if (options.calc) {
            base = ReadCalcOption(*options.calc);
            const int32_t threads = *options.threads;
            options = ParseOptions(args, DefaultsFrom(*base));
            options.threads = threads;
        }
        quendal::CalcModel model;
        const Prepared prepared = ApplyOptions(options, model, base ? &*base : nullptr);
        // With --save-calc the output waits for the file: a failed save prints nothing else.
        char* held = nullptr;
        size_t heldSize = 0;
        std::FILE* out = options.saveCalc ? open_memstream(&held, &heldSize) : stdout;
        if (!out)
            throw std::runtime_error("out of memory");
        if (options.search)
            RunSearchCommand(options, model, prepared, out);
        else
            PrintCalculation(options, model, prepared, out);
        if (options.saveCalc) {
            std::fclose(out);
            const std::unique_ptr<char, decltype(&std::free)> text(held, &std::free);
            SaveCalculation(options, model, prepared, options.search || prepared.searchKept);
            std::fwrite(text.get(), 1, heldSize, stdout);
        }
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
