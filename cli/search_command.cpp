#include "cli/search_command.h"

#include <unistd.h>

#include "model/planet_rules.h"
#include "optimiser/genetic_run.h"

namespace quendal::cli {

void RunSearchCommand(const Options& o, CalcModel& model, const Prepared& prepared,
                      std::FILE* out) {
    const SearchOptions& s = o.searchOptions;
    // The search tab takes its planet as it does on entering the tab.
    const GeneticInputs inputs = SearchInputsOf(SearchTabOf(o, prepared), model.Planet.PlanetPrc,
                                                prepared.growth, s.seed, o.language);
    GeneticRun run;
    run.threads = o.threads.value_or(1);
    if (isatty(fileno(stderr)))
        run.onProgress = [&](const GeneticProgress& p) {
            const Language english = Language::English(); // a message, not a table
            std::fprintf(stderr, "\rgeneration %d of %d, elapsed %s, remaining %s\033[K",
                         p.generationsDone, s.params.generations,
                         FormatDuration(p.elapsedMs, english).c_str(),
                         FormatDuration(p.remainingMs, english).c_str());
            std::fflush(stderr);
        };
    const GeneticResults r = run.Run(model, inputs);
    if (run.onProgress)
        std::fputs("\r\033[K", stderr);

    std::fputs("result:", out);
    for (const int64_t figure : ShownFigures(r.figures))
        std::fprintf(out, " %lld", static_cast<long long>(figure));
    std::fputs("\nminus:\n", out);
    for (const std::string& line : r.queueMinusLines)
        std::fprintf(out, "  %s\n", line.c_str());
    std::fputs("plus:\n", out);
    for (const std::string& line : r.queuePlusLines)
        std::fprintf(out, "  %s\n", line.c_str());
}

} // namespace quendal::cli
