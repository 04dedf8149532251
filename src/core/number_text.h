#pragma once

#include <cstdint>
#include <string>

// Number texts as the user's regional settings give them. The separators
// come from the host (the window reads them from the system locale).
struct TNumberFormat {
    std::string DecimalSeparator = ",";
    std::string ThousandSeparator = "\u00a0";
};

// "%n": the given number of decimals and a thousands separator between every
// group of three digits (also for four-digit numbers). Halves round away
// from zero.
std::string FormatNumber(double value, int decimals, const TNumberFormat& format);

// "0.00": two decimals, no thousands separator.
std::string FormatFixed2(double value, const TNumberFormat& format);

// count! carried out in extended precision (exact up to 20 points).
long double FactorialExtended(int32_t count);

// The permutation count beside the search controls: a whole number grouped
// by three up to 18 digits, beyond that the general scientific form with up
// to 18 significant digits ("2,43290200817664E18").
std::string FormatPermutationCount(int32_t count, const TNumberFormat& format);

// The permutation count as the window shows it: the whole number grouped by
// three up to 18 digits, as FormatPermutationCount; beyond that the count
// rounded to three significant digits times a power of ten written with
// superscript digits ("2,43 · 10¹⁸"), never a bare "E".
std::string PermutationCountText(int32_t count, const TNumberFormat& format);

// An elapsed time written with a time-of-day pattern (H, HH, h, hh, m, mm,
// s, ss, AP, ap): hours, minutes, seconds; fractions dropped, whole days not
// shown, and any time-zone field ("t") left out.
std::string FormatElapsedTime(int64_t milliseconds, const std::string& pattern);
