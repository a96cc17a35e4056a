#pragma once

#include <string>
#include <vector>

#include "model/calc_setup.h"
#include "optimiser/controller.h"

namespace quendal::web {

// The page's answers from the controller, as the JSON texts the page shows as they are. Plain
// C++, so that they are built and tested natively too; web/bindings.cpp only hands them over.

// The page's fields the model does not hold, in the order the page lists them: start
// habitability, colonists, growth, years, П1..П6, criterion, interval, landing. Missing
// values read as 0.
struct PageFields {
    StartFields start;
    SearchTab search;
};
PageFields FieldsOf(std::vector<int> values);

// Everything the page shows of the controller's model and of what it keeps beside it, its texts
// in the controller's language.
std::string StateAnswer(const Controller& c);

// "Расчет": the two tables' lines, the chart's points and which series are drawn.
std::string CalculateAnswer(Controller& c, const PageFields& fields);

// A calculation file opened: {"error": message} when refused (nothing changes), else the start
// fields and the search tab to show, after which the page calculates. The page reads no file
// of its own: a list the file names is kept when the page holds one of that name.
std::string OpenCalcAnswer(Controller& c, const std::string& bytes, const std::string& name);

// The language of the texts this instance of the core answers the page with where no
// controller answers (the workers' jobs): the page's choice, set through its bindings.
Language& PageLanguage();

// The texts the page takes from the core, in `language`: the tables' header lines, the
// criteria and the captions, ranges, steps and first values of the fields the window shows too.
std::string CaptionsAnswer(Language language);

} // namespace quendal::web
