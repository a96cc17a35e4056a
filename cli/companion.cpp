#include "cli/companion.h"

#include <cstdlib>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>

#include "cli/calc_command.h"
#include "cli/options.h"
#include "cli/rank_command.h"
#include "cli/search_command.h"
#include "optimiser/worker_pool.h"

namespace quendal::cli {

namespace {

// An error message quotes what was given; control characters in it (a newline in an argument,
// an escape sequence) are written as escapes, so that the message stays one line and cannot
// drive the terminal.
std::string OneLine(const char* message) {
    std::string line;
    for (const char* c = message; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte == '\n') {
            line += "\\n";
        } else if (byte == '\t') {
            line += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            static const char kHex[] = "0123456789abcdef";
            line += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        } else {
            line += *c;
        }
    }
    return line;
}

} // namespace

int RunCompanion(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    try {
        Options options = ParseOptions(args);
        if (options.help || options.version) {
            std::fputs((options.help ? HelpText() : VersionText()).c_str(), out);
            return std::fflush(out) == 0 ? 0 : 1;
        }
        // One limit for every part of the companion that works in parallel.
        if (!options.threads)
            options.threads = AvailableCores();
        const ThreadLimit threadLimit(*options.threads);
        if (options.rank) {
            RunRankCommand(options, out);
            return std::fflush(out) == 0 ? 0 : 1;
        }
        // A calculation file comes first: its values are the defaults the options override.
        std::optional<CalcSetup> base;
        if (options.calc) {
            base = ReadCalcOption(*options.calc);
            const int32_t threads = *options.threads;
            options = ParseOptions(args, DefaultsFrom(*base));
            options.threads = threads;
        }
        Controller controller;
        const Prepared prepared = ApplyOptions(options, controller, base ? &*base : nullptr);
        CalcModel& model = controller.Model();
        // With --save-calc the output waits for the file: a failed save prints nothing else.
        char* held = nullptr;
        size_t heldSize = 0;
        std::FILE* results = options.saveCalc ? open_memstream(&held, &heldSize) : out;
        if (!results)
            throw std::runtime_error("out of memory");
        struct Held {
            std::FILE* stream;
            char*& text;
            ~Held() {
                if (stream)
                    std::fclose(stream);
                std::free(text);
            }
        } hold{options.saveCalc ? results : nullptr, held};
        if (options.search)
            RunSearchCommand(options, model, prepared, results);
        else
            PrintCalculation(options, model, prepared, results);
        if (options.saveCalc) {
            std::fclose(hold.stream);
            hold.stream = nullptr;
            SaveCalculation(options, model, prepared);
            std::fwrite(held, 1, heldSize, out);
        }
        return std::fflush(out) == 0 ? 0 : 1;
    } catch (const UsageError& e) {
        std::fprintf(err, "quendal-calc: %s (see --help)\n", OneLine(e.what()).c_str());
        return 2;
    } catch (const FileError& e) {
        std::fprintf(err, "quendal-calc: %s\n", OneLine(e.what()).c_str());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(err, "quendal-calc: %s\n", OneLine(e.what()).c_str());
        return 1;
    }
}

} // namespace quendal::cli
