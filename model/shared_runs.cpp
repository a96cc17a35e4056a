#include "model/shared_runs.h"

#include <bit>

namespace quendal {

namespace {

void AppendInt(std::string& key, int64_t value) {
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void AppendItem(std::string& key, const QueueItem& item) {
    AppendInt(key, item.kind);
    AppendInt(key, item.unitCost);
    AppendInt(key, item.count);
    AppendInt(key, static_cast<int64_t>(std::bit_cast<uint64_t>(item.invested)));
}

} // namespace

SharedRuns::Taken SharedRuns::Take(const SimState& s, int64_t step) {
    return {s, s.minus.pos, s.plus.pos, step};
}

std::string SharedRuns::KeyOf(const std::string& prefix, const SimState& s) {
    std::string key = prefix;
    const int32_t seen = s.plusSeen;
    const int32_t size = s.plus.size();
    // The size counts only as more than what was examined, unless the elements examined
    // reach the end.
    AppendInt(key, size > seen ? -1 : size);
    AppendInt(key, seen);
    // Which elements follow whole, in part or by their kind alone: the key's layout.
    AppendInt(key, s.plusPlaced);
    AppendInt(key, s.plusWhole);
    for (int32_t i = 0; i < seen; ++i) {
        const QueueItem& item = s.plus[i];
        const uint32_t bit = uint32_t{1} << i;
        if ((s.plusWhole & bit) != 0) {
            AppendItem(key, item);
        } else if ((s.plusPlaced & bit) != 0) { // its count only as above the largest part
            QueueItem above = item;
            above.count = -s.plusPart[i];
            AppendItem(key, above);
        } else {
            AppendInt(key, item.kind);
        }
    }
    return key;
}

bool SharedRuns::TakeUp(const std::string& key, SimState& s, int64_t& step, bool& atRefill,
                        GenSimResults& results) {
    const std::lock_guard<std::mutex> hold(lock_);
    auto found = readings_.find(key);
    if (found == readings_.end()) {
        if (readings_.size() < kMaxReadings)
            readings_.emplace(key, Reading{});
        return false;
    }
    const Reading& reading = found->second;
    if (reading.end) {
        results = *reading.end;
        return true;
    }
    if (reading.before && reading.before->step > step) {
        const Taken& taken = *reading.before;
        static_cast<SimProgress&>(s) = taken.progress;
        s.minus.pos = taken.minusPos;
        s.plus.pos = taken.plusPos;
        step = taken.step;
        atRefill = true;
    }
    return false;
}

void SharedRuns::KeepBefore(const std::string& key, const Taken& before) {
    const std::lock_guard<std::mutex> hold(lock_);
    const auto found = readings_.find(key);
    if (found != readings_.end() && !found->second.before)
        found->second.before = before;
}

void SharedRuns::KeepEnd(const std::string& key, const GenSimResults& results) {
    const std::lock_guard<std::mutex> hold(lock_);
    const auto found = readings_.find(key);
    if (found != readings_.end() && !found->second.end)
        found->second.end = results;
}

void SharedRuns::Run(const QueueItem* minus, int32_t minusCount, const QueueItem* plus,
                     int32_t plusCount, GenSimResults& results) {
    if (plusCount > SimProgress::kReadElements) { // longer than the readings kept
        RunGenSimulation(inputs_, minus, minusCount, plus, plusCount, results);
        return;
    }
    SimState s;
    s.StartHeadless(inputs_);
    s.minus.Load(minus, minusCount);
    s.plus.Load(plus, plusCount);
    std::string prefix;
    AppendInt(prefix, s.minus.size());
    for (int32_t i = 0; i < s.minus.size(); ++i)
        AppendItem(prefix, s.minus[i]);

    const int64_t total = int64_t{inputs_.years} * kSubStepsPerYear;
    int64_t step = 0;
    bool atRefill = false; // at the refill of sub-step `step`, taken up from the memory
    std::string key = KeyOf(prefix, s);
    if (TakeUp(key, s, step, atRefill, results))
        return;
    int64_t simulated = 0;
    while (step < total) {
        TemplateRing& active = s.ActiveTemplate();
        if (atRefill || s.RefillDue(active)) {
            atRefill = false;
            const int32_t reads = s.plusReads;
            const Taken before = Take(s, step);
            s.RefillStep(active);
            if (s.plusReads != reads) {
                KeepBefore(key, before);
                key = KeyOf(prefix, s);
                if (TakeUp(key, s, step, atRefill, results)) {
                    const std::lock_guard<std::mutex> hold(lock_);
                    simulated_ += simulated;
                    return;
                }
                if (atRefill)
                    continue;
            }
        }
        s.FinishSubStep();
        ++simulated;
        if (++step % kSubStepsPerYear == 0)
            s.EndYear();
    }
    TakeHeadlessResults(s, results);
    KeepEnd(key, results);
    const std::lock_guard<std::mutex> hold(lock_);
    simulated_ += simulated;
}

int64_t SharedRuns::simulatedSubSteps() const {
    const std::lock_guard<std::mutex> hold(lock_);
    return simulated_;
}

} // namespace quendal
