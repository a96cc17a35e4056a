#include "web/page_answers.h"

#include <gtest/gtest.h>

#include <string>

#include "io/file_bytes.h"

namespace quendal::web {
namespace {

std::string DataFile(const char* name) {
    return ReadFileBytes(std::string(QUENDAL_SOURCE_DIR) + "/data/" + name).value_or("");
}

bool Holds(const std::string& json, const std::string& part) {
    return json.find(part) != std::string::npos;
}

TEST(PageAnswers, FieldsComeInThePagesOrder) {
    const PageFields f = FieldsOf({-20, 250, 16, 30, 100, 20, 5, 80, 1, 40, 3, 12, 900});
    EXPECT_EQ(f.start, (StartFields{-20, 250, 16, 30}));
    EXPECT_EQ(f.search.params[0], 100);
    EXPECT_EQ(f.search.params[5], 40);
    EXPECT_EQ(f.search.criterion, Criterion::Factories);
    EXPECT_EQ(f.search.interval, 12);
    EXPECT_EQ(f.search.landing, 900);
    EXPECT_EQ(FieldsOf({7}).search.landing, 0); // a short list reads as zeros
}

TEST(PageAnswers, AnOpenedFileAnswersItsFieldsOrItsRefusal) {
    Controller saved;
    saved.LoadRace(DataFile("typical.urc"), "typical.urc", -20);
    SearchTab search;
    search.criterion = Criterion::Factories;
    search.interval = 12;
    const std::string text = saved.CalcText({-20, 300, 16, 30}, search);

    Controller page;
    const std::string opened = OpenCalcAnswer(page, text, "colony.cal");
    for (const char* part :
         {"\"prc\":-20", "\"men\":300", "\"growth\":16", "\"years\":30",
          "\"params\":[100,20,5,80,1,40]", "\"criterion\":3", "\"interval\":12", "\"result\":null"})
        EXPECT_TRUE(Holds(opened, part)) << part << " in " << opened;
    EXPECT_TRUE(page.RaceLoaded());

    const std::string refused = OpenCalcAnswer(page, "[QuendalCalculation]\n", "bad.cal");
    EXPECT_EQ(refused.rfind("{\"error\":\"Не удалось загрузить файл «bad.cal»: ", 0), 0u)
        << refused;
    EXPECT_FALSE(Holds(refused, "\"prc\""));
    EXPECT_TRUE(page.RaceLoaded()); // nothing changed
}

TEST(PageAnswers, StateShowsTheFactorRowsAndTheSaveButton) {
    Controller c;
    c.LoadRace(DataFile("immune-gravity.urc"), "immune-gravity.urc", 100);
    const std::string before = StateAnswer(c);
    EXPECT_TRUE(Holds(before, "\"rowEnabled\":[false,true,true]")) << before;
    EXPECT_TRUE(Holds(before, "\"spinEnabled\":[false,true,true]")) << before;
    EXPECT_TRUE(Holds(before, "\"canSave\":false")) << before;
    const std::string shown = CalculateAnswer(c, FieldsOf({100, 250, 15, 2}));
    EXPECT_TRUE(Holds(shown, "\"shown\":{\"resources\":true")) << shown;
    EXPECT_TRUE(Holds(StateAnswer(c), "\"canSave\":true"));
}

} // namespace
} // namespace quendal::web
