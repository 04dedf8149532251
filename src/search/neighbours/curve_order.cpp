#include "search/neighbours/curve_order.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

// Cells of the grid per side: 2^Order.
constexpr int32_t Order = 20;

uint64_t CurveKey(uint32_t x, uint32_t y)
{
    uint64_t key = 0;
    for (uint32_t side = 1u << (Order - 1); side > 0; side >>= 1) {
        const uint32_t right = (x & side) != 0 ? 1 : 0;
        const uint32_t up = (y & side) != 0 ? 1 : 0;
        key += static_cast<uint64_t>(side) * side * ((3 * right) ^ up);
        // Each quarter is the whole curve turned so that it joins its
        // neighbours.
        if (up == 0) {
            if (right == 1) {
                x = side - 1 - (x & (side - 1)) + (x & ~(side - 1));
                y = side - 1 - (y & (side - 1)) + (y & ~(side - 1));
            }
            std::swap(x, y);
        }
    }
    return key;
}

uint32_t Cell(double value, double low, double scale)
{
    const double cell = std::floor((value - low) * scale);
    return static_cast<uint32_t>(std::clamp(cell, 0.0, static_cast<double>((1u << Order) - 1)));
}

}  // namespace

std::vector<int32_t> CurveOrder(const std::vector<double>& x, const std::vector<double>& y)
{
    const size_t n = x.size();
    std::vector<int32_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    if (n == 0)
        return order;
    const auto [minX, maxX] = std::minmax_element(x.begin(), x.end());
    const auto [minY, maxY] = std::minmax_element(y.begin(), y.end());
    const double side = std::max(*maxX - *minX, *maxY - *minY);
    const double scale = side > 0.0 ? static_cast<double>(1u << Order) / side : 0.0;
    std::vector<std::pair<uint64_t, int32_t>> keyed(n);
    for (size_t i = 0; i < n; ++i)
        keyed[i] = {CurveKey(Cell(x[i], *minX, scale), Cell(y[i], *minY, scale)), static_cast<int32_t>(i)};
    std::sort(keyed.begin(), keyed.end());
    for (size_t i = 0; i < n; ++i)
        order[i] = keyed[i].second;
    return order;
}
