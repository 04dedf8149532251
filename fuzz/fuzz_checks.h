#pragma once

// What every reader's fuzz target asks of the texts and points it gets.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/point_set.h"
#include "core/printable_text.h"

[[noreturn]] inline void FuzzFail(const char* target, const char* what)
{
    std::fprintf(stderr, "%s: %s\n", target, what);
    std::abort();
}

// A refusal is one line a terminal can show as it is: whatever the file
// held, its bytes reach the message escaped.
inline void CheckMessage(const char* target, const std::string& text)
{
    if (text.find('\n') != std::string::npos || PrintableText(text) != text)
        FuzzFail(target, "a message holds a line break or a control character");
}

inline bool SamePoints(const TPointArray& a, const TPointArray& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].X != b[i].X || a[i].Y != b[i].Y || a[i].Next != b[i].Next)
            return false;
    return true;
}

// Points as a reader gives them: within MaxPoints, no links.
inline void CheckReadPoints(const char* target, const TPointArray& points)
{
    if (points.size() > static_cast<size_t>(MaxPoints))
        FuzzFail(target, "more points than MaxPoints were read");
    for (const TMapPoint& point : points)
        if (point.Next != -1)
            FuzzFail(target, "a read point has a successor");
}
