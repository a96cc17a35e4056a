#include "optimiser/outcome_memory.h"

#include <cstring>
#include <utility>

#include "optimiser/search.h"

namespace quendal {

std::string OutcomeMemory::KeyOf(const DecodedTemplate& minus, const DecodedTemplate& plus) {
    std::string key;
    key.reserve(2 + 12 * static_cast<size_t>(minus.count + plus.count));
    for (const DecodedTemplate* t : {&minus, &plus}) {
        key += static_cast<char>(t->count);
        for (int32_t i = 0; i < t->count; ++i) {
            const QueueItem& item = t->items[i];
            const int32_t fields[3] = {item.kind, item.unitCost, item.count};
            key.append(reinterpret_cast<const char*>(fields), sizeof fields);
        }
    }
    return key;
}

std::optional<OutcomeMemory::Remembered> OutcomeMemory::Find(const std::string& key) const {
    const std::lock_guard<std::mutex> hold(lock_);
    const auto found = outcomes_.find(key);
    if (found == outcomes_.end())
        return std::nullopt;
    return found->second;
}

void OutcomeMemory::Keep(std::string key, const Remembered& outcome) {
    const std::lock_guard<std::mutex> hold(lock_);
    if (outcomes_.size() < kMaxRemembered)
        outcomes_.emplace(std::move(key), outcome);
}

} // namespace quendal
