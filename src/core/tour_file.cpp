#include "core/tour_file.h"

#include <vector>

#include "core/point_text.h"
#include "core/tsplib_lines.h"

std::string FormatTour(const std::string& name, const TSpecimen& route)
{
    std::string text =
        "NAME : " + name + "\nTYPE : TOUR\nDIMENSION : " + std::to_string(route.size()) + "\nTOUR_SECTION\n";
    for (const int32_t index : route)
        text += std::to_string(int64_t{index} + 1) + "\n";
    text += "-1\nEOF\n";
    return text;
}

namespace {

TTourParseResult Refusal(std::string text)
{
    TTourParseResult result;
    result.ErrorText = std::move(text);
    return result;
}

// Digits only, compared as text so a huge number cannot overflow.
bool SameCount(std::string_view digits, size_t count)
{
    const size_t first = digits.find_first_not_of('0');
    const std::string_view significant = first == std::string_view::npos ? std::string_view("0") : digits.substr(first);
    return significant == std::to_string(count);
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// What a field of TOUR_SECTION holds: a point's 1-based number, the -1 that
// ends the tour, a whole number that names no point, or no whole number at
// all ("2.0", "+1": TSPLIB writes bare digits).
enum class TTourField { Point, End, OutOfRange, NotWhole };

TTourField ReadTourField(std::string_view field, size_t pointCount, int64_t& number)
{
    if (field == "-1")
        return TTourField::End;
    if (field[0] == '-' && AllDigits(field.substr(1)))
        return TTourField::OutOfRange;
    if (!AllDigits(field))
        return TTourField::NotWhole;
    const size_t first = field.find_first_not_of('0');
    const std::string_view significant = first == std::string_view::npos ? std::string_view("0") : field.substr(first);
    if (significant.size() > 10)
        return TTourField::OutOfRange;
    number = std::stoll(std::string(significant));
    return number >= 1 && static_cast<uint64_t>(number) <= pointCount ? TTourField::Point : TTourField::OutOfRange;
}

// The tour as read, refused when it leaves points out.
TTourParseResult Finished(TTourParseResult result, size_t pointCount)
{
    if (result.Route.size() != pointCount)
        return Refusal("Trasa odwiedza " + std::to_string(result.Route.size()) + " z " + std::to_string(pointCount) +
                       " " + PolishPlural(static_cast<int64_t>(pointCount), "punktu", "punktów", "punktów") +
                       " zbioru");
    return result;
}

std::string CountOfPoints(size_t count)
{
    return std::to_string(count) + " " + PolishPlural(static_cast<int64_t>(count), "punkt", "punkty", "punktów");
}

}  // namespace

TTourParseResult ParseTour(std::string_view text, size_t pointCount)
{
    TTourParseResult result;
    std::vector<char> seen(pointCount, 0);
    bool inSection = false;
    bool sawSection = false;
    int64_t lineNumber = 0;
    std::string_view rest = SkipByteOrderMark(text);
    while (!rest.empty()) {
        const std::string_view line = TrimBlanks(TakeLine(rest));
        ++lineNumber;
        if (line.empty())
            continue;
        if (IsTsplibKeyLine(line)) {
            // A key line after the numbers ends the tour as -1 would.
            if (!result.Route.empty())
                break;
            const TTsplibKeyLine key = SplitTsplibKeyLine(line);
            if (key.Key == "EOF")
                break;
            inSection = key.Key == "TOUR_SECTION";
            sawSection = sawSection || inSection;
            if (key.Key == "TYPE" && UpperCase(key.Value) != "TOUR")
                return Refusal("To nie jest plik trasy: TYPE " + QuotedExcerpt(key.Value) + " (oczekiwano TOUR)");
            if (key.Key == "DIMENSION" &&
                (key.Value.empty() || key.Value.find_first_not_of("0123456789") != std::string_view::npos ||
                 !SameCount(key.Value, pointCount)))
                return Refusal("Trasa ma DIMENSION " + QuotedExcerpt(key.Value) + ", a zbiór ma " +
                               CountOfPoints(pointCount));
            continue;
        }
        if (!inSection)
            return Refusal(LineMessage(lineNumber, "dane poza sekcją TOUR_SECTION: " + QuotedExcerpt(line)));
        for (const std::string_view field : SplitBlankFields(line)) {
            int64_t number = 0;
            const TTourField read = ReadTourField(field, pointCount, number);
            if (read == TTourField::End)
                return Finished(std::move(result), pointCount);
            if (read == TTourField::NotWhole)
                return Refusal(LineMessage(
                    lineNumber, "numer punktu " + QuotedExcerpt(field) + " nie jest liczbą całkowitą (same cyfry)"));
            if (read == TTourField::OutOfRange)
                return Refusal(LineMessage(lineNumber, "numer punktu " + QuotedExcerpt(field) + " spoza zakresu 1.." +
                                                           std::to_string(pointCount)));
            if (seen[static_cast<size_t>(number - 1)] != 0)
                return Refusal(LineMessage(lineNumber, "punkt " + std::to_string(number) + " powtarza się w trasie"));
            seen[static_cast<size_t>(number - 1)] = 1;
            result.Route.push_back(static_cast<int32_t>(number - 1));
        }
    }
    if (!sawSection)
        return Refusal("W pliku trasy brak sekcji TOUR_SECTION");
    return Finished(std::move(result), pointCount);
}
