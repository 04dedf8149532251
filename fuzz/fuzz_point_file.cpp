// Any bytes given to the point-set reader: it must never crash, must yield
// exactly one point per line, and a file written from what it read must read
// back as the same set (what a user saves is what the next load shows).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/point_file.h"

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz_point_file: %s\n", what);
    std::abort();
}

// Counted here on its own terms rather than through the reader's splitter,
// so a splitter that drops or invents a line shows up as a mismatch.
size_t CountLines(std::string_view text)
{
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    size_t breaks = 0;
    bool openLine = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            ++breaks;
            openLine = false;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            openLine = true;
        }
    }
    return breaks + (openLine ? 1 : 0);
}

bool SamePoints(const TPointArray& a, const TPointArray& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].X != b[i].X || a[i].Y != b[i].Y || a[i].Next != b[i].Next)
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string_view> lines = SplitPointFileLines(text);
    const size_t expectedLines = CountLines(text);
    if (lines.size() != expectedLines)
        Fail("line count differs from the number of line breaks");
    for (std::string_view line : lines) {
        if (line.find_first_of("\r\n") != std::string_view::npos || line.find('\0') != std::string_view::npos)
            Fail("a line still holds a line break or a NUL");
        if (line.data() < text.data() || line.data() + line.size() > text.data() + text.size())
            Fail("a line points outside the text");
    }

    const TPointArray points = ParsePointSet(text);
    if (points.size() != expectedLines)
        Fail("point count differs from the line count");
    for (const TMapPoint& p : points)
        if (p.Next != -1)
            Fail("a loaded point has a successor");

    const std::string saved = FormatPointSet(points);
    if (CountLines(saved) != points.size())
        Fail("the saved text has not one line per point");
    if (saved.find_first_not_of("0123456789-; \r\n") != std::string::npos)
        Fail("the saved text holds a character the format never writes");
    if (!saved.empty() && saved.compare(saved.size() - 2, 2, "\r\n") != 0)
        Fail("the saved text does not end with CR LF");
    const TPointArray reloaded = ParsePointSet(saved);
    if (!SamePoints(points, reloaded))
        Fail("reloading a save gives another set");
    if (FormatPointSet(reloaded) != saved)
        Fail("saving a reloaded set gives other bytes");
    return 0;
}
