#pragma once

#include <string>
#include <vector>

#include "cli/command_line.h"
#include "search/run/run_control.h"

// The command line of "solve": which method, and its settings.

// The name a script types for the method ("exhaustive", "local").
const char* MethodName(TSearchMethod method);
// Throws TUsageError for a name that is no method.
TSearchMethod ParseMethod(const std::string& text);

std::vector<TOptionRule> SolveOptionRules();

// The method's settings from its options, the window's defaults for the
// rest. Throws TUsageError for an option of another method, a value out of
// the method's range and options that exclude each other. "--start" is
// taken as given; CheckRouteKindOptions checks it against the set.
TSearchSettings ReadSettings(const TParsedArgs& parsed, TSearchMethod method);

// Empty when the distance matrix of pointCount points fits the memory the
// program may take now, else the refusal naming both sizes.
std::string MatrixShortage(int32_t pointCount);
