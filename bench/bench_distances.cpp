// The full distance matrix of 10 000 points, as a file load computes it:
// every cell with its progress step.

#include <chrono>
#include <cstdio>
#include <random>

#include "core/distances.h"

namespace {

class TQuietProgress : public TProgress {
public:
    void ShowStatus(const std::string&, int32_t) override {}
    TProgressBar& PrBar() override { return Bar; }
    void ProcessEvents() override {}
    bool GoOn() const override { return false; }
    TProgressBar Bar;
};

}  // namespace

int main()
{
    TPointSetState state;
    std::mt19937 random(12345);
    state.FPoints.resize(10000);
    for (TMapPoint& point : state.FPoints) {
        point.X = static_cast<int32_t>(random() % 495);
        point.Y = static_cast<int32_t>(random() % 382);
    }
    TQuietProgress host;
    const auto start = std::chrono::steady_clock::now();
    ComputeDistances(state.FPoints, state.FDistances, host, 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("distance matrix of 10000 points: %.2f s, %lld progress steps\n", seconds,
                static_cast<long long>(host.Bar.StepsTaken()));
    return 0;
}
