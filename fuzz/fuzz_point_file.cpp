// Any bytes given to the point-set reader: it must never crash, must yield
// exactly one point per line, and a file written from what it read must read
// back as the same set (what a user saves is what the next load shows). The
// bytes also go through a real file and the chunked reader, which must see
// the same lines as the whole-text splitter, wherever its chunks are cut.
#include <fcntl.h>
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/file_reader.h"
#include "core/point_file.h"

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz_point_file: %s\n", what);
    std::abort();
}

// Counted here on its own terms rather than through the reader's splitter,
// so a splitter that drops or invents a line shows up as a mismatch. The
// splitter takes a byte-order mark off the start; the chunked line counter,
// which only guards the limit, counts it as text.
size_t CountLines(std::string_view text, bool skipMark = true)
{
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    if (skipMark && text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
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

// The reader's chunk: padding puts the input's bytes across its edge.
constexpr size_t ChunkBytes = 65536;

const std::string& ScratchFile()
{
    static const std::string path = [] {
        char pattern[] = "/tmp/tovu-fuzz-XXXXXX";
        const int fd = ::mkstemp(pattern);
        if (fd < 0)
            Fail("no scratch file");
        ::close(fd);
        return std::string(pattern);
    }();
    static const bool removedAtExit = std::atexit([] { ::unlink(path.c_str()); }) == 0;
    (void)removedAtExit;
    return path;
}

void WriteScratch(const std::string& bytes)
{
    const int fd = ::open(ScratchFile().c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        Fail("cannot write the scratch file");
    ::close(fd);
}

// The text cut into three pieces at places the input chooses.
void CheckCountInPieces(std::string_view text, size_t expectedLines, uint8_t cutA, uint8_t cutB)
{
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    const size_t first = text.empty() ? 0 : cutA % (text.size() + 1);
    const size_t second = first + (text.size() - first == 0 ? 0 : cutB % (text.size() - first + 1));
    TLineCounter counter;
    counter.Feed(text.substr(0, first));
    counter.Feed(text.substr(first, second - first));
    counter.Feed(text.substr(second));
    if (counter.Lines() != expectedLines)
        Fail("the piecewise count differs from the whole text's");
}

// Through a file on disk and the chunked reader, with the input placed so
// that its bytes straddle a chunk's edge for one input in four.
void CheckFileRead(std::string_view text)
{
    std::string fileText;
    if (!text.empty() && static_cast<uint8_t>(text[0]) % 4 == 1)
        fileText = std::string(ChunkBytes - 2 - static_cast<uint8_t>(text[0]) % 64, 'x') + "\n";
    fileText.append(text);
    WriteScratch(fileText);
    TPointArray points = {{7, 7, 7}};
    const TFileResult result = ReadPointSetFile(ScratchFile(), points);
    const size_t lines = CountLines(fileText, false);
    if (lines > static_cast<size_t>(MaxPoints)) {
        if (result.ErrorText.rfind("Zbyt wiele punktów w pliku: ", 0) != 0)
            Fail("too many lines were not refused");
        if (points.size() != 1 || points[0].Next != 7)
            Fail("a refused file changed the set");
        return;
    }
    if (!result.Ok())
        Fail("a readable file was refused");
    if (!SamePoints(points, ParsePointSet(fileText)))
        Fail("the file reads otherwise than its whole text");
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

    CheckCountInPieces(text, CountLines(text, false), size > 1 ? data[size - 1] : 0, size > 2 ? data[size - 2] : 0);
    CheckFileRead(text);
    return 0;
}
