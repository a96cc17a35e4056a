// The search of the search tab, spread over the page's workers: the search worker drives the
// core's search generation by generation and scores the tail of each generation itself; the
// helper workers score the front, each with an evaluator of its own on the same calculation.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "io/calc_file.h"
#include "model/calc_setup.h"
#include "model/output.h"
#include "optimiser/controller.h"
#include "optimiser/genetic_run.h"
#include "optimiser/stepped_search.h"
#include "web/json_out.h"
#include "web/page_answers.h"

namespace quendal::web {

using emscripten::val;

// A calculation as the page saves it (the search tab's fields in [Search], the growth in
// [Start]) opened by a controller of the worker's own, with the search's inputs for `seed`.
struct SearchTask {
    explicit SearchTask(const std::string& calText, double seed) {
        controller.SetLanguage(PageLanguage());
        OpenedCalc opened = controller.OpenCalc(ParseCalcFile(calText), "", {});
        error = std::move(opened.error);
        if (!error.empty())
            return;
        setup = std::move(opened.setup);
        inputs =
            controller.SearchInputs(setup.search, setup.start.growth, static_cast<uint32_t>(seed));
    }

    Controller controller;
    CalcModel& model = controller.Model();
    std::string error;
    CalcSetup setup;
    GeneticInputs inputs;
};

namespace {

// What the task's snapshot holds: the eight figures, both templates' lines and the
// calculation with its result, for the page's controller.
void Found(SearchTask& task, JsonOut& out) {
    s_GeneticState& state = task.model.GeneticState;
    const bool searched = state.searched;
    state.searched = true;
    const CalcSetup& setup = task.setup;
    const CalcSetup found =
        CaptureSetup(task.model, setup.race, setup.planetTab.list, setup.start, setup.search, {});
    state.searched = searched;
    const SearchOutcome& result = *found.search.result;
    out.Key("figures").BeginArray();
    for (const int64_t figure : ShownFigures(GenResFigures(state)))
        out.Int(figure);
    out.EndArray();
    out.Key("minus").Strings(TemplateLines(result.minus, PageLanguage()));
    out.Key("plus").Strings(TemplateLines(result.plus, PageLanguage()));
    out.Key("cal").String(WriteCalcFile(found));
}

} // namespace

// A helper worker's side: scores whole chromosomes as the driver's engine would.
class SearchHelper {
public:
    SearchHelper(const std::string& calText, double seed) : task_(calText, seed) {
        if (task_.error.empty())
            evaluator_.emplace(task_.model, task_.inputs);
    }

    const std::string& error() const { return task_.error; }
    std::vector<double> Score(const std::vector<uint8_t>& bytes) const {
        return evaluator_->ScoreBatch(bytes.data(), bytes.size());
    }
    val score(const val& bytes) const {
        const std::vector<double> s =
            Score(emscripten::convertJSArrayToNumberVector<uint8_t>(bytes));
        return val(emscripten::typed_memory_view(s.size(), s.data())).call<val>("slice");
    }

private:
    SearchTask task_;
    std::optional<BatchEvaluator> evaluator_;
};

// The search worker's side. After `begin` the generation's pending chromosomes are cut as the
// worker chooses: `pendingBytes` for a helper and `takeScores` of its answer, `evaluate` for the
// parts scored here (the last individual last, so that the snapshot is what one-by-one
// evaluation leaves).
class SearchDriver {
public:
    SearchDriver(const std::string& calText, double seed) : task_(calText, seed) {
        if (task_.error.empty())
            search_ = std::make_unique<SteppedSearch>(task_.model, task_.inputs, SearchControl{});
    }

    const std::string& error() const { return task_.error; }
    int generations() const { return search_->generations(); }
    int generationsDone() const { return search_->generationsDone(); }
    int begin() { return static_cast<int>(search_->BeginGeneration().size()); }

    val pendingBytes(int first, int count) const {
        const std::vector<uint8_t> bytes = search_->PendingChromosomes(first, count);
        return val(emscripten::typed_memory_view(bytes.size(), bytes.data())).call<val>("slice");
    }
    void takeScores(int first, const val& scores) {
        const std::vector<double> s = emscripten::convertJSArrayToNumberVector<double>(scores);
        for (size_t k = 0; k < s.size(); ++k)
            search_->TakeScore(first + static_cast<int>(k), s[k]);
    }
    void evaluate(int first, int count) { search_->EvaluatePending(first, count); }

    // Ends the generation: its progress as JSON.
    std::string end() {
        const GeneticProgress p = search_->EndGeneration(true);
        JsonOut out;
        out.Begin().Key("generations").Int(p.generationsDone).Key("position").Int(p.position);
        out.Key("elapsed").String(p.elapsedText).Key("remaining").String(p.remainingText);
        return out.End().Text();
    }

    // The refined best: Found and the number of evaluations.
    std::string finish() {
        const GeneticResults r = search_->Finish();
        JsonOut out;
        out.Begin();
        Found(task_, out);
        out.Key("evaluations").Int(r.evaluations);
        return out.End().Text();
    }

private:
    SearchTask task_;
    std::unique_ptr<SteppedSearch> search_; // after task_: it keeps a reference to its model
};

// What an interrupt shows: Found of the individual `chromosome` (its bytes, as pendingBytes
// gives them) that the search worker simulated last, simulated again here from the same
// calculation. The search worker only sends the bytes: a JSON text for every report would cost
// the search more than the simulation does.
std::string SearchFound(const std::string& calText, double seed, const val& chromosome) {
    SearchTask task(calText, seed);
    JsonOut out;
    out.Begin();
    if (!task.error.empty())
        return out.Key("error").String(task.error).End().Text();
    const BatchEvaluator evaluator(task.model, task.inputs);
    const std::vector<uint8_t> bytes =
        emscripten::convertJSArrayToNumberVector<uint8_t>(chromosome);
    if (bytes.size() != static_cast<size_t>(evaluator.chromosomeSize()))
        return out.Key("error").String(Tr(PageLanguage(), "Подбор ОП: нет особи")).End().Text();
    evaluator.Show(bytes.data(), task.model.GeneticState);
    Found(task, out);
    return out.End().Text();
}

EMSCRIPTEN_BINDINGS(quendal_search) {
    emscripten::function("searchFound", &SearchFound);
    using emscripten::class_;
    class_<SearchDriver>("SearchDriver")
        .constructor<std::string, double>()
        .function("error", &SearchDriver::error)
        .function("generations", &SearchDriver::generations)
        .function("generationsDone", &SearchDriver::generationsDone)
        .function("begin", &SearchDriver::begin)
        .function("pendingBytes", &SearchDriver::pendingBytes)
        .function("takeScores", &SearchDriver::takeScores)
        .function("evaluate", &SearchDriver::evaluate)
        .function("end", &SearchDriver::end)
        .function("finish", &SearchDriver::finish);
    class_<SearchHelper>("SearchHelper")
        .constructor<std::string, double>()
        .function("error", &SearchHelper::error)
        .function("score", &SearchHelper::score);
}

} // namespace quendal::web
