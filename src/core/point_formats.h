#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/point_set.h"
#include "core/point_text.h"

// The point-set formats the program reads, chosen by the file's extension.
enum class TPointFormat { Tvu, Tsplib, Csv };

// The text after the last dot of the name's last path part; empty when
// there is none.
std::string_view FileExtension(std::string_view fileName);

// ".tsp" and ".csv" in any letter case; anything else is a ".tvu".
TPointFormat PointFormatOfFile(const std::string& fileName);

// Reads a whole file's text in the given format. A ".tvu" text is read by
// the lenient rules of ParsePointSet (it never fails to parse; only more
// than MaxPoints lines are refused, whatever maxPoints says) and never has
// rounded coordinates. TSPLIB and CSV texts of more than maxPoints points
// are refused.
TPointParseResult ParsePointText(TPointFormat format, std::string_view text, int32_t maxPoints = MaxPoints);

// Lines of a ".tvu" text that yield no number at all: neither the part
// before the ";" nor the one after it reads as an integer by the lenient
// rules, so the line became the point (0, 0). The read is the same either
// way; a count above 0 hints that the file is not a point set.
size_t CountLinesWithoutNumbers(std::string_view text);

// "N wierszy bez liczb; czy to na pewno plik .tvu?", with the Polish plural
// for N; the command line puts "ostrzeżenie: " before it.
std::string LinesWithoutNumbersText(size_t count);

// Lines of a ".tvu" text where one of the two parts reads as an integer and
// the other does not ("12; abc", "120 ; 45", a line without ";"): the
// unreadable one became 0, which the user should hear of.
size_t CountLinesWithUnreadableNumber(std::string_view text);

// "N wierszy z nieczytelną liczbą (przyjęto 0)", with the Polish plural.
std::string LinesWithUnreadableNumberText(size_t count);
