#pragma once

#include <string>

#include "core/number_text.h"
#include "search/run/run_control.h"

class TRunHistory;
struct TRunRecord;

// The texts of the history of runs: the table's cells, the chart's legend
// and the CSV file, each in the number format it is given.

// "Genetyczny": the method as the table and the legend name it.
std::string RunMethodName(TSearchMethod method);

// The method's parameters in short: "populacja: 100, krosowanie: 0,5,
// mutacja: 0,05, pokolenia: 2 000", "próby: 1 000", "limit czasu: 5 s,
// start: punkt 3", "wątki: 2".
std::string RunParametersText(const TRunRecord& record, const TNumberFormat& format);

// "1,234 s".
std::string RunTimeText(int64_t elapsedMs, const TNumberFormat& format);

// The measure in a word or two: "płaszczyzna", "EUC_2D", "CEIL_2D", "ATT",
// "GEO", "kula (km)".
std::string MetricShortName(TMetric metric);

// Why a run's length does not compare with the current ones: another set,
// another kind of route, another measure.
std::string RunNotComparableText(const TRunHistory& history, const TRunRecord& record);

// The history as a CSV file: UTF-8, a header row, one row per run, numbers
// in the C locale's notation (lengths exact, times in milliseconds, the gap
// in per cent as the table shows it), the kind of route and the measure as
// the table names them; fields with a comma or a quote quoted.
std::string RunsCsv(const TRunHistory& history);
