#pragma once

#include <string>

#include "cli/command_line.h"
#include "core/point_formats.h"
#include "core/point_set.h"
#include "core/point_set_format.h"

// The format of a point-set output named by option ("WYJŚCIE", "-o"): its
// extension, .tvu, .tsp or .csv in any letter case, or for "-" the value of
// "--format" (tvu without it). Strict, unlike the reader's rule (anything
// else is a .tvu): a file named .tps by a typo, or .png, should not quietly
// become a .tvu. Throws TUsageError as ChooseOutputKind does.
TPointFormat ChoosePointOutputFormat(const std::string& option, const std::string& fileName, const TParsedArgs& parsed);
