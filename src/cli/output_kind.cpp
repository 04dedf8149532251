#include "cli/output_kind.h"

#include <algorithm>

#include "cli/exit_status.h"
#include "core/point_formats.h"

namespace {

std::string LowerCase(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// ".png albo .svg", ".tvu, .tsp albo .csv"
std::string KindList(const std::vector<std::string>& kinds, const std::string& dot)
{
    std::string text;
    for (size_t i = 0; i < kinds.size(); ++i) {
        if (i > 0)
            text += i + 1 == kinds.size() ? " albo " : ", ";
        text += dot + kinds[i];
    }
    return text;
}

bool Known(const std::vector<std::string>& kinds, const std::string& kind)
{
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

std::string Extension(const std::string& fileName)
{
    return LowerCase(std::string(FileExtension(fileName)));
}

}  // namespace

std::string ChooseOutputKind(const TOutputKinds& kinds, const std::string& fileName, const TParsedArgs& parsed)
{
    if (fileName == "-") {
        if (!parsed.Has("--format"))
            return kinds.Kinds.front();
        const std::string kind = LowerCase(parsed.ValueOr("--format", ""));
        if (!Known(kinds.Kinds, kind))
            throw TUsageError("--format: nieznany rodzaj pliku „" + parsed.ValueOr("--format", "") + "” (" +
                              KindList(kinds.Kinds, "") + ")");
        return kind;
    }
    if (parsed.Has("--format"))
        throw TUsageError("opcja --format dotyczy tylko zapisu na standardowe wyjście („-”); rodzaj pliku „" +
                          fileName + "” wynika z jego rozszerzenia");
    const std::string kind = Extension(fileName);
    if (!Known(kinds.Kinds, kind))
        throw TUsageError(kinds.Option + ": " + kinds.What + " zapisuje się do pliku " + KindList(kinds.Kinds, ".") +
                          ", podano „" + fileName + "”");
    return kind;
}
