#include "cli/seed_option.h"

#include <cstdint>

#include "cli/option_values.h"
#include "core/random_source.h"

void ApplySeedOption(const TParsedArgs& parsed)
{
    if (!parsed.Has("--seed"))
        return;
    const auto seedMs = static_cast<uint32_t>(ParseIntOption("--seed", parsed.ValueOr("--seed", ""), 0, MaxSeedMs));
    SetReseedClock([seedMs] { return seedMs; });
}
