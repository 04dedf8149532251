#include "core/random_source.h"

#include <chrono>
#include <utility>

namespace {

uint32_t randomState = 0;

TTimeOfDayClock& ReseedClock()
{
    static TTimeOfDayClock clock;
    return clock;
}

}  // namespace

uint32_t RandomState()
{
    return randomState;
}

void SetRandomState(uint32_t state)
{
    randomState = state;
}

int32_t RandomBelow(int32_t n)
{
    randomState = randomState * 134775813u + 1u;
    const uint64_t product = static_cast<uint64_t>(randomState) * static_cast<uint32_t>(n);
    return static_cast<int32_t>(product >> 32);
}

uint32_t SystemTimeOfDayMs()
{
    using namespace std::chrono;
    const auto now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(now % 86400000);
}

void SetReseedClock(TTimeOfDayClock clock)
{
    ReseedClock() = std::move(clock);
}

void ReseedFromClock()
{
    const TTimeOfDayClock& clock = ReseedClock();
    randomState = clock ? clock() : SystemTimeOfDayMs();
}
