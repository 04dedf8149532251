#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/file_result.h"

// Counts lines by the point file's rules (CR LF, a lone CR and a lone LF
// each end a line; a break at the very end starts no further line) over a
// text that arrives in pieces. A CR that ends one piece and an LF that opens
// the next are one break, as they would be in the whole text.
class TLineCounter {
public:
    // The piece must not hold a NUL: the text ends before one.
    void Feed(std::string_view piece);
    // The number of lines if the text ended after the last piece fed.
    size_t Lines() const { return FBreaks + (FOpenLine ? 1 : 0); }

private:
    size_t FBreaks = 0;
    bool FOpenLine = false;
    bool FPendingCr = false;
};

// What a bounded read of a text file gave.
struct TBoundedText {
    // The text up to its first NUL; complete unless a limit was passed.
    std::string Text;
    // Lines counted, at least maxLines + 1 when TooManyLines.
    size_t Lines = 0;
    bool TooManyLines = false;
    bool TooManyBytes = false;
    // Whether the input's end (or its first NUL) was seen, so that Lines is
    // the count of the whole text even when a limit stopped the reading.
    bool SawEnd = false;
};

// Reads fd in chunks until its end, its first NUL (the text ends there), or
// a limit: more than maxLines lines or more than maxBytes of text. Memory
// stays within maxBytes whatever the input. knownSize is the file's size
// when it is an ordinary file, -1 for a stream.
TFileResult ReadBoundedText(int fd, long long knownSize, size_t maxLines, size_t maxBytes, TBoundedText& result);

// Opens a file for reading text. Ordinary files, terminals, standard input
// ("/dev/stdin", whatever it is) and the memory devices that never block
// (/dev/null, /dev/zero...) are opened; a folder, a FIFO, a socket or any
// other device is refused with a Polish text without being opened, so that
// neither a FIFO without a writer nor a device that reacts to being opened
// can hold the program. knownSize as for ReadBoundedText.
TFileResult OpenForReading(const std::string& fileName, int& fd, long long& knownSize);
