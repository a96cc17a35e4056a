// Runs the companion in-process on argument lists made of its real options and values and of
// noise, with --race, --planets and --calc naming files made from the shipped samples with
// values changed by the bytes. It must end with status 0 or 2, print nothing after an error
// message, and open or leave no file in its folder but those its arguments name. A file that
// --save-calc wrote must open again with --calc and give the tables the run printed.
#include <fuzzer/FuzzedDataProvider.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/companion.h"
#include "fuzz/fuzzed_model.h"
#include "model/output.h"

namespace {

namespace fs = std::filesystem;

struct Sandbox {
    std::string home; // the fuzzer's own folder, where it keeps its corpus and findings
    std::string dir;  // the companion's folder
    int watch = -1;   // inotify descriptor on dir
    std::string races[2], planets, calc;
};
Sandbox box;

std::string Slurp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file)
        std::fprintf(stderr, "fuzz_companion: cannot read %s\n", path.c_str()), std::exit(1);
    return text.str();
}

const char* const kOptions[] = {"--help",
                                "--version",
                                "--csv",
                                "--calc",
                                "--save-calc",
                                "--start-prc",
                                "--race",
                                "--start-men",
                                "--growth",
                                "--years",
                                "--planets",
                                "--pick",
                                "--env",
                                "--tform-limit",
                                "--full-tform",
                                "--homeworld",
                                "--concentration",
                                "--minerals",
                                "--factories",
                                "--mines",
                                "--minus",
                                "--plus",
                                "--rank",
                                "--search",
                                "--criterion",
                                "--population",
                                "--generations",
                                "--elite",
                                "--survival",
                                "--mutation",
                                "--crossover",
                                "--search-years",
                                "--search-men",
                                "--seed",
                                "--threads",
                                "-h",
                                "--race=race.urc",
                                "--years=3",
                                "--",
                                "-"};
const char* const kFiles[] = {"race.urc",    "planets.txt", "in.cal", "out.cal",
                              "missing.urc", ".",           ""};
const char* const kEdges[] = {"0",           "1",     "-1",         "2147483647", "2147483648",
                              "-2147483649", "99999", "100000",     "4294967295", "4294967296",
                              "9999",        "1e3",   " 5",         "5 ",         "+5",
                              "0x10",        "",      "-0",         "007",        "1,2",
                              "1,2,3,4",     "1,,3",  "-75,50,100", "102,102,102"};
const char* const kElements[] = {"min",    "max:1", "max:20",  "max:21",         "fab:3",
                                 "mine:2", "fab:0", "mine:-1", "fab:2147483647", "max",
                                 "fab:",   "x:1",   ""};
// Keys whose large values make a run long for reasons the player chose: kept small.
const char* const kCostlyKeys[] = {"Years=", "Population=", "Generations=", "Interval="};

std::string Number(FuzzedDataProvider& in) {
    return in.ConsumeBool() ? std::to_string(in.ConsumeIntegralInRange(-2, 12))
                            : in.PickValueInArray(kEdges);
}

// A sample file with some values changed, some lines dropped, and now and then noise.
std::string Mutated(const std::string& sample, FuzzedDataProvider& in) {
    std::istringstream lines(sample);
    std::string out, line;
    while (std::getline(lines, line)) {
        switch (in.ConsumeIntegralInRange(0, 9)) {
        case 0: {
            const size_t eq = line.find('=');
            const bool costly =
                std::any_of(std::begin(kCostlyKeys), std::end(kCostlyKeys),
                            [&](const char* key) { return line.rfind(key, 0) == 0; });
            const std::string value = costly ? std::to_string(in.ConsumeIntegralInRange(0, 12))
                                      : in.ConsumeBool()
                                          ? std::to_string(quendal::fuzz::AnyNumber(in, -10, 110))
                                          : std::string(in.PickValueInArray(kEdges));
            if (eq != std::string::npos) {
                line = line.substr(0, eq + 1) + value;
            } else {
                // A tab-separated field of a planet list.
                size_t begin = 0;
                for (int k = in.ConsumeIntegralInRange(0, 7); k > 0 && begin != std::string::npos;
                     --k) {
                    const size_t tab = line.find('\t', begin);
                    begin = tab == std::string::npos ? tab : tab + 1;
                }
                if (begin != std::string::npos) {
                    const size_t end = line.find('\t', begin);
                    line.replace(begin, end == std::string::npos ? end : end - begin, value);
                }
            }
            break;
        }
        case 1:
            continue; // dropped
        case 2:
            line += in.ConsumeRandomLengthString(8);
            break;
        default:
            break;
        }
        out += line + '\n';
    }
    return out;
}

// No path leaves the companion's folder.
std::string Local(std::string text) {
    std::replace(text.begin(), text.end(), '/', '_');
    return text;
}

std::vector<std::string> Arguments(FuzzedDataProvider& in) {
    // Small searches, whatever the bytes ask later (the last value of an option counts).
    std::vector<std::string> args = {"--population", "4", "--generations", "2"};
    for (int n = in.ConsumeIntegralInRange(0, 14); n > 0; --n) {
        switch (in.ConsumeIntegralInRange(0, 9)) {
        case 0:
        case 1:
        case 2:
        case 3:
            args.push_back(in.PickValueInArray(kOptions));
            break;
        case 4:
            args.push_back(Number(in));
            break;
        case 5:
            args.push_back(in.PickValueInArray(kFiles));
            break;
        case 6:
            args.push_back(Number(in) + "," + Number(in) + "," + Number(in));
            break;
        case 7: {
            std::string list;
            for (int k = in.ConsumeIntegralInRange(0, 4); k > 0; --k)
                list += std::string(list.empty() ? "" : ",") + in.PickValueInArray(kElements);
            args.push_back(list);
            break;
        }
        default:
            args.push_back(Local(in.ConsumeRandomLengthString(24)));
            break;
        }
    }
    // Now and then one of the companion's commands, whole, ahead of the rest (chosen last, so
    // that inputs from before it keep their arguments).
    static const std::vector<std::string> kCommands[] = {
        {},
        {"--race", "race.urc", "--planets", "planets.txt", "--rank"},
        {"--race", "race.urc", "--planets", "planets.txt", "--rank", "--search"},
        {"--race", "race.urc", "--planets", "planets.txt", "--pick", "1"},
        {"--race", "race.urc", "--search"},
        {"--calc", "in.cal", "--save-calc", "out.cal"}};
    const std::vector<std::string>& command = in.PickValueInArray(kCommands);
    args.insert(args.begin() + 4, command.begin(), command.end());
    return args;
}

void Fail(const char* check, const std::vector<std::string>& args, const std::string& output) {
    std::fprintf(stderr, "finding: %s\nargs:", check);
    for (const std::string& a : args)
        std::fprintf(stderr, " '%s'", a.c_str());
    std::fprintf(stderr, "\noutput:\n%s\n", output.c_str());
    __builtin_trap();
}

// The files opened, created or renamed into the folder since the last call.
struct Touch {
    std::string name;
    uint32_t mask;
};
std::vector<Touch> Touched() {
    std::vector<Touch> names;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = read(box.watch, buffer, sizeof buffer);
        if (got <= 0)
            return names;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0)
                names.push_back({event->name, event->mask});
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

void Write(const std::string& name, const std::string& text) {
    std::ofstream(box.dir + "/" + name, std::ios::binary) << text;
}

// Runs the companion in its folder; its status and what it printed.
int Run(const std::vector<std::string>& args, std::string& output) {
    char* text = nullptr;
    size_t length = 0;
    std::FILE* stream = open_memstream(&text, &length);
    if (chdir(box.dir.c_str()) != 0)
        std::perror("fuzz_companion: chdir"), std::exit(1);
    const int status = quendal::cli::RunCompanion(args, stream, stream);
    if (chdir(box.home.c_str()) != 0)
        std::perror("fuzz_companion: chdir"), std::exit(1);
    std::fclose(stream);
    output.assign(text, length);
    std::free(text);
    return status;
}

// The tables of a run's output (or its CSV) with at most the rows of the years a calculation
// file gives back: a file's years count at most kMaxShownYears, as the window calculates them.
std::string Capped(const std::string& output, bool csv) {
    const size_t most = (csv ? 1 : 2) + quendal::kMaxShownYears + 1; // headers, years 0..N
    std::istringstream lines(output);
    std::string line, kept;
    size_t at = 0; // the line within its table
    while (std::getline(lines, line)) {
        if (line.empty())
            at = 0;
        else if (at++ >= most)
            continue;
        kept += line + '\n';
    }
    return kept;
}

// The file --save-calc wrote opens again with --calc alone, and gives the tables (or the CSV)
// that the run printed; a search's file opens again.
void CheckReopens(const std::string& saved, const std::vector<std::string>& args,
                  const std::string& output) {
    const bool csv = output.rfind("year,", 0) == 0;
    const bool tables = csv || output.rfind(quendal::kDataHeader1, 0) == 0;
    std::vector<std::string> again = {"--calc", saved};
    if (csv)
        again.push_back("--csv");
    std::string reopened;
    if (Run(again, reopened) != 0)
        Fail("a file --save-calc wrote does not open with --calc", args, output + reopened);
    if (tables && Capped(reopened, csv) != Capped(output, csv))
        Fail("a file --save-calc wrote gives other tables", args,
             output + "\n--calc " + saved + ":\n" + reopened);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    box.home = fs::current_path().string();
    const std::string source = QUENDAL_SOURCE_DIR;
    box.races[0] = Slurp(source + "/data/typical.urc");
    box.races[1] = Slurp(source + "/data/immune-two.urc");
    box.planets = Slurp(source + "/data/planets-8.txt");
    box.calc = Slurp(source + "/fuzz/seeds/calc_file/colony.cal");
    char dir[] = "/tmp/quendal-fuzz-companion-XXXXXX";
    if (!mkdtemp(dir))
        std::perror("fuzz_companion: mkdtemp"), std::exit(1);
    box.dir = dir;
    box.watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (box.watch < 0 || inotify_add_watch(box.watch, dir, IN_OPEN | IN_CREATE | IN_MOVED_TO) < 0)
        std::perror("fuzz_companion: inotify"), std::exit(1);
    // The companion runs in its folder; findings still go to the fuzzer's own.
    static std::vector<char*> args(*argv, *argv + *argc);
    static std::string prefix = "-artifact_prefix=" + box.home + "/";
    if (std::none_of(args.begin(), args.end(),
                     [](const char* a) { return std::strncmp(a, "-artifact_prefix=", 17) == 0; }))
        args.insert(args.begin() + 1, prefix.data());
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size() - 1);
    *argv = args.data();
    std::atexit([] { fs::remove_all(box.dir); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    for (const auto& entry : fs::directory_iterator(box.dir))
        fs::remove_all(entry.path());
    const std::set<std::string> written = {"race.urc", "planets.txt", "in.cal"};
    Write("race.urc", Mutated(box.races[in.ConsumeBool() ? 1 : 0], in));
    Write("planets.txt", Mutated(box.planets, in));
    Write("in.cal", Mutated(box.calc, in));
    const std::vector<std::string> args = Arguments(in);

    // What the arguments name: every argument, and the value of an --option=value.
    std::set<std::string> named(args.begin(), args.end());
    for (const std::string& a : args)
        if (const size_t eq = a.find('='); eq != std::string::npos)
            named.insert(a.substr(eq + 1));
    const bool saving = named.count("--save-calc") > 0 ||
                        std::any_of(args.begin(), args.end(), [](const std::string& a) {
                            return a.rfind("--save-calc=", 0) == 0;
                        });

    Touched(); // the files just written
    std::string output;
    const int status = Run(args, output);

    if (status != 0 && status != 2)
        Fail("status other than 0 or 2", args, output);
    const size_t error =
        output.rfind("quendal-calc: ", 0) == 0 ? 0 : output.find("\nquendal-calc: ");
    if (status == 2) {
        const size_t line = error == 0 ? 0 : error + 1;
        if (error == std::string::npos || output.find('\n', line) != output.size() - 1)
            Fail("status 2 without an error message as the last line", args, output);
    } else if (error != std::string::npos) {
        Fail("an error message with status 0", args, output);
    }
    // The atomic save's temporary file stands beside the file it replaces.
    const auto allowed = [&](const std::string& name) {
        return named.count(name) > 0 || (saving && name.rfind(".quendal-save-", 0) == 0);
    };
    std::string saved; // the file the atomic save renamed into place
    for (const Touch& touch : Touched()) {
        if (!allowed(touch.name))
            Fail(("opened a file no argument names: " + touch.name).c_str(), args, output);
        if ((touch.mask & IN_MOVED_TO) != 0)
            saved = touch.name;
    }
    for (const auto& entry : fs::directory_iterator(box.dir)) {
        const std::string name = entry.path().filename().string();
        if (written.count(name) == 0 && !named.count(name))
            Fail(("left a file no argument names: " + name).c_str(), args, output);
    }
    if (status == 0 && !saved.empty()) {
        CheckReopens(saved, args, output);
        Touched(); // the reopened file
    }
    return 0;
}
