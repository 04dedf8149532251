#pragma once

#include <string>

#include "core/number_text.h"

// The machine's regional settings (LC_ALL, LC_NUMERIC, LC_TIME, LANG), read
// the way the window reads them, so that both print the same numbers and
// times. Read once; the settings don't change during a run.
const TNumberFormat& SystemNumberFormat();
// The long time pattern ("HH:mm:ss t"); FormatElapsedTime drops the zone.
const std::string& SystemLongTimeFormat();
