#include "core/steptable.h"
#include "fake_window.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using cr::StepResult;

StepResult stepOf(int step, double statistisch, std::array<int, 3> leer,
                  std::array<int, 3> einmal) {
    StepResult r;
    r.step = step;
    r.statistisch = statistisch;
    r.leer = leer;
    r.einmal = einmal;
    return r;
}

// Three steps at step rate 37; the mean is 74 (18/37)^k.
const std::vector<StepResult> kThreeSteps = {
    stepOf(1, 37, {36, 38, 35}, {38, 36, 39}),
    stepOf(2, 18.5, {17, 20, 16}, {19, 18, 21}),
    stepOf(3, 9, {8, 11, 9}, {10, 8, 12}),
};

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) {
        fields.push_back(field);
    }
    return fields;
}

// Lines without their CR LF; a line ended otherwise fails the test.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
        lines.push_back(text.substr(begin, end - begin));
        EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << lines.back();
    }
    EXPECT_EQ(begin, text.size()) << "text after the last CR LF";
    return lines;
}

TEST(StepTable, LaysOutTitlesStepNumbersCountersAndTheExactMean) {
    EXPECT_EQ(cr::stepTableText(kThreeSteps, 37, ","), "Step \t1\t2\t3\r\n"
                                                       "Statistisch \t37\t18,5\t9\r\n"
                                                       "leer   RS \t36\t17\t8\r\n"
                                                       "leer   MP \t38\t20\t11\r\n"
                                                       "leer   GU \t35\t16\t9\r\n"
                                                       "1xrot    RS \t38\t19\t10\r\n"
                                                       "1xrot    MP \t36\t18\t8\r\n"
                                                       "1xrot    GU \t39\t21\t12\r\n"
                                                       "Erwartungswert \t36,00\t17,51\t8,52\r\n");
    const auto lines = linesOf(cr::stepTableText(kThreeSteps, 37, "."));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[1], "Statistisch \t37\t18.5\t9");
    EXPECT_EQ(lines[8], "Erwartungswert \t36.00\t17.51\t8.52");
}

// A real run past the fifteen steps the export keeps: every step gets its
// column, and the statistics cells read exactly as the label showed them.
TEST(StepTable, HoldsEveryStepOfARunAsTheWindowShowedIt) {
    cr::testing::Harness h;
    std::vector<int> numbers(100, 7);
    numbers[3] = 0;
    h.startWith("40", "2", numbers);
    for (int i = 0; i < 20; ++i) {
        h.run.step();
    }
    ASSERT_EQ(h.run.history().size(), 20u);

    const auto lines = linesOf(cr::stepTableText(h.run.history(), h.run.runSteprate(), ","));
    ASSERT_EQ(lines.size(), 9u);
    for (const std::string& line : lines) {
        EXPECT_EQ(fieldsOf(line).size(), 21u) << line;
    }
    const auto header = fieldsOf(lines[0]);
    EXPECT_EQ(header[1], "1");
    EXPECT_EQ(header[20], "20");
    const auto statistics = fieldsOf(lines[1]);
    for (std::size_t s = 1; s <= cr::kRecordedSteps; ++s) {
        EXPECT_EQ(statistics[s], h.run.state().feldtitel[0][s]) << "step " << s;
    }
    EXPECT_EQ(statistics[2], "1");
    EXPECT_EQ(statistics[3], "0,5");
    // The counters after the last step are the ones the window shows.
    EXPECT_EQ(fieldsOf(lines[2]).back(), h.window.textOf(cr::Control::labtempa));
    EXPECT_EQ(fieldsOf(lines[7]).back(), h.window.textOf(cr::Control::labtempf));
}

} // namespace
