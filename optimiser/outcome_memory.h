#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "model/simulation.h"

namespace quendal {

struct DecodedTemplate;

// What a search has simulated, by the templates a chromosome decodes to: many chromosomes
// (an elite's copies, crossovers of alike parents, the refinement's neighbours, elements left
// out whose counts differ) decode to templates already simulated, and the simulation is a
// function of the templates alone for the search's fixed inputs. Remembering its results once
// per search gives the same scores and outcomes without simulating again. Safe to use from
// several threads at once.
class OutcomeMemory {
public:
    // Enough for the searches the window offers many times over; a larger search simulates
    // what it meets after that, with the same results.
    static constexpr size_t kMaxRemembered = 200000;

    struct Remembered {
        GenSimResults results;
        double score = 0;
    };

    // The key of a pair of decoded templates (the negative one empty for a habitable planet).
    static std::string KeyOf(const DecodedTemplate& minus, const DecodedTemplate& plus);

    std::optional<Remembered> Find(const std::string& key) const;
    void Keep(std::string key, const Remembered& outcome);

private:
    mutable std::mutex lock_;
    std::unordered_map<std::string, Remembered> outcomes_;
};

} // namespace quendal
