#include <gtest/gtest.h>

#include "search/bound/bound_texts.h"

// "najwyżej" promises an upper limit: the gap is rounded up to a tenth,
// never down, and only what the bound certifies is said.
TEST(BoundTexts, GapLineRoundsUpAndSaysOnlyWhatIsCertified)
{
    const TNumberFormat format{",", " "};
    const auto bound = [](double value, bool certified) {
        TLowerBound b;
        b.Value = value;
        b.Certified = certified;
        b.Completed = certified;
        return b;
    };
    const struct {
        const char* name;
        double length;
        TLowerBound bound;
        std::string line;
        std::string percent;
    } rows[] = {
        {"3.249 % rounds up", 1032.49, bound(1000.0, true),
         "Długość drogi: 1 032,49, najwyżej 3,3% więcej niż najkrótsza", "3,3%"},
        {"exactly 3.2 %", 1032.0, bound(1000.0, true), "Długość drogi: 1 032,00, najwyżej 3,2% więcej niż najkrótsza",
         "3,2%"},
        {"route at the bound", 1000.0, bound(1000.0, true),
         "Długość drogi: 1 000,00, najwyżej 0,0% więcej niż najkrótsza", "0,0%"},
        {"length 0", 0.0, bound(0.0, true), "Długość drogi: 0,00, najwyżej 0,0% więcej niż najkrótsza", "0,0%"},
        {"bound 0, route not", 5.0, bound(0.0, true), "", ""},
        {"nothing certified", 5.0, bound(0.0, false), "", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(GapLine(row.length, row.bound, format), row.line) << row.name;
        // The table of runs shows the same rounded figure alone.
        EXPECT_EQ(GapPercentText(row.length, row.bound, format), row.percent) << row.name;
    }
}

TEST(BoundTexts, BoundLineMarksAnInterruptedEstimate)
{
    const TNumberFormat format{",", " "};
    TLowerBound bound;
    EXPECT_EQ(BoundLine(bound, format),
              "Dolne ograniczenie długości drogi: nieznane (przerwano przed pierwszym pewnym oszacowaniem)");
    bound.Certified = true;
    bound.Value = 1234.5;
    EXPECT_EQ(BoundLine(bound, format), "Dolne ograniczenie długości drogi: 1 234,50 (szacowanie przerwane)");
    bound.Completed = true;
    EXPECT_EQ(BoundLine(bound, format), "Dolne ograniczenie długości drogi: 1 234,50");
}
