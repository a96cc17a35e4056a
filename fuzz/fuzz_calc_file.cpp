// Parses arbitrary bytes as a calculation file. Whatever the reader accepts must save and load
// back to the same calculation (and save to the same text again), and apply to a model; what it
// refuses must be refused in one line.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "io/calc_file.h"
#include "model/calc_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quendal;
    const CalcFileResult read =
        ParseCalcFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (read.error) {
        if (read.error->Message(Language::English()).find('\n') != std::string::npos ||
            read.error->Message(Language()).find('\n') != std::string::npos)
            __builtin_trap();
        return 0;
    }
    const std::string text = WriteCalcFile(read.setup);
    const CalcFileResult again = ParseCalcFile(text);
    if (again.error || !(again.setup == read.setup) || WriteCalcFile(again.setup) != text)
        __builtin_trap();
    auto model = std::make_unique<CalcModel>();
    ApplySetup(*model, read.setup);
    if (model->RaceLoaded != read.setup.race.has_value())
        __builtin_trap();
    const CalcSetup captured = CaptureSetup(*model, read.setup.race, read.setup.planetTab.list,
                                            read.setup.start, read.setup.search, {});
    if (captured.minus != read.setup.minus || captured.plus != read.setup.plus ||
        captured.search.result.has_value() != read.setup.search.result.has_value())
        __builtin_trap();
    return 0;
}
