#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

// Values typed on the command line. Each throws TUsageError naming the
// option when the text is not what it should be; nothing is read leniently
// here, because a script's typo should stop the run, not change it.

// A whole decimal number (optional sign) within min..max.
int64_t ParseIntOption(const std::string& option, const std::string& text, int64_t min, int64_t max);

// A decimal in the C locale's notation ("0.5", "1e-3"); any finite value.
double ParseDecimalOption(const std::string& option, const std::string& text);
// The same within min..max.
double ParseDecimalOption(const std::string& option, const std::string& text, double min, double max);

struct TMapSize {
    int32_t Width = 0;
    int32_t Height = 0;
};

// The map window's client area at its design size.
inline constexpr TMapSize DefaultMapSize{495, 382};
// A side beyond this would make a picture of several hundred megabytes.
inline constexpr int32_t MaxMapSidePx = 8192;
// A point set is no picture: its map may be as wide as a coordinate goes.
inline constexpr int32_t MaxPointMapSide = INT32_MAX;

// "WxH" (or "W×H"), both sides 1..maxSide.
TMapSize ParseMapSize(const std::string& option, const std::string& text, int32_t maxSide);

// "I,J,K": whole numbers separated by commas, at least one; digits with an
// optional minus, as a tour file writes them (no plus sign).
std::vector<int32_t> ParseIndexList(const std::string& option, const std::string& text);

// Throws TUsageError unless every index names one of count points (or,
// with allowNoPoint, is -1, which a route may hold where it names no point).
void CheckIndices(const std::string& option, const std::vector<int32_t>& indices, size_t count,
                  bool allowNoPoint = false);
