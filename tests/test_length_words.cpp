#include <gtest/gtest.h>

#include "core/length_words.h"
#include "search/bound/bound_texts.h"
#include "search/run/run_control.h"

// Every line that gives a length names a round trip as such and ends a
// length on the Earth in kilometres; an open route on the plane keeps its
// lines word for word.
TEST(LengthWords, LinesNameTheKindAndTheUnit)
{
    const TNumberFormat format{",", " "};
    TLowerBound bound;
    bound.Value = 1000.0;
    bound.Certified = true;
    bound.Completed = true;
    const struct {
        const char* Name;
        TRouteKind Kind;
        TMetric Metric;
        std::string Length;
        std::string Bound;
        std::string Gap;
    } rows[] = {
        {"open on the plane",
         {false, 2, 5},
         TMetric::Plane,
         "Długość najkrótszej drogi: 1 032,49",
         "Dolne ograniczenie długości drogi: 1 000,00",
         "Długość drogi: 1 032,49, najwyżej 3,3% więcej niż najkrótsza"},
        {"round trip, EUC_2D",
         {true, -1, -1},
         TMetric::Euc2d,
         "Długość najkrótszej drogi zamkniętej: 1 032,49",
         "Dolne ograniczenie długości drogi zamkniętej: 1 000,00",
         "Długość drogi zamkniętej: 1 032,49, najwyżej 3,3% więcej niż najkrótsza"},
        {"open, GEO",
         {false, -1, -1},
         TMetric::Geo,
         "Długość najkrótszej drogi: 1 032,49 km",
         "Dolne ograniczenie długości drogi: 1 000,00 km",
         "Długość drogi: 1 032,49 km, najwyżej 3,3% więcej niż najkrótsza"},
        {"round trip on the sphere",
         {true, 0, -1},
         TMetric::Sphere,
         "Długość najkrótszej drogi zamkniętej: 1 032,49 km",
         "Dolne ograniczenie długości drogi zamkniętej: 1 000,00 km",
         "Długość drogi zamkniętej: 1 032,49 km, najwyżej 3,3% więcej niż najkrótsza"},
    };
    for (const auto& row : rows) {
        const TLengthWords words = LengthWordsOf(row.Kind, row.Metric);
        EXPECT_EQ(LengthLine(smExhaustive, true, 1032.49, format, words), row.Length) << row.Name;
        EXPECT_EQ(BoundLine(bound, format, words), row.Bound) << row.Name;
        EXPECT_EQ(GapLine(1032.49, bound, format, words), row.Gap) << row.Name;
    }
    // The lines without words are the open route's on the plane.
    EXPECT_EQ(LengthLine(smLocal, false, 12.5, format), "Długość najlepszej znalezionej drogi: 12,50");
}
