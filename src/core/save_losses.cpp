#include "core/save_losses.h"

#include <algorithm>
#include <cmath>

#include "core/point_text.h"

namespace {

int64_t NotWholeCoordinates(const TPlaceArray& places)
{
    int64_t count = 0;
    for (const TPlace& place : places)
        count += (std::trunc(place.X) != place.X ? 1 : 0) + (std::trunc(place.Y) != place.Y ? 1 : 0);
    return count;
}

bool PlanarTsplibMetric(TMetric metric)
{
    return metric == TMetric::Euc2d || metric == TMetric::Ceil2d || metric == TMetric::Att;
}

std::string QuotedNames(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "„" : ", „") + name + "”";
    return text;
}

}  // namespace

std::string FormatExtension(TPointFormat format)
{
    switch (format) {
    case TPointFormat::Tsplib:
        return ".tsp";
    case TPointFormat::Csv:
        return ".csv";
    case TPointFormat::Tvu:
        break;
    }
    return ".tvu";
}

std::vector<TSaveLoss> SaveLosses(TPointFormat format, const TPointArray& points, const TSetPlaces& places)
{
    std::vector<TSaveLoss> losses;
    const TMetric metric = places.FileMetric;
    const bool own = places.OwnPlaces() && places.Places.size() == points.size();
    const bool onEarth = MetricOnEarth(metric) && own;
    const TSetFileFacts& facts = places.File;
    if (format == TPointFormat::Tvu && onEarth)
        losses.push_back({TSaveLossKind::Degrees, true,
                          "współrzędnych geograficznych ani odległości po kole wielkim (zapisze tylko punkty "
                          "mapy, mierzone potem na płaszczyźnie)"});
    if (format == TPointFormat::Tvu && own && !onEarth) {
        const int64_t count = NotWholeCoordinates(places.Places);
        if (count > 0)
            losses.push_back({TSaveLossKind::Decimals, true,
                              std::to_string(count) + " " +
                                  PolishPlural(count, "współrzędnej niecałkowitej", "współrzędnych niecałkowitych",
                                               "współrzędnych niecałkowitych") +
                                  " (zapisze je zaokrąglone do liczb całkowitych)"});
    }
    if (format == TPointFormat::Csv && metric == TMetric::Geo)
        losses.push_back({TSaveLossKind::EarthMeasure, true,
                          "miary GEO z TSPLIB (zapisze stopnie dziesiętne, mierzone potem po kole wielkim na kuli "
                          "6371 km, bez zaokrąglania do kilometrów)"});
    if (format == TPointFormat::Tsplib && metric == TMetric::Sphere)
        losses.push_back({TSaveLossKind::EarthMeasure, true,
                          "odległości po kole wielkim na kuli 6371 km (zapisze typ GEO z TSPLIB, liczony w "
                          "całych kilometrach na kuli 6378,388 km)"});
    if (!facts.CsvOtherColumns.empty())
        losses.push_back({TSaveLossKind::OtherColumns, true,
                          std::string(facts.CsvOtherColumns.size() == 1 ? "kolumny " : "kolumn ") +
                              QuotedNames(facts.CsvOtherColumns) + " pliku CSV (program czyta tylko współrzędne)"});
    if (format != TPointFormat::Tsplib && PlanarTsplibMetric(metric))
        losses.push_back({TSaveLossKind::PlaneMeasure, false,
                          "miary " + TsplibMetricWord(metric) +
                              " z TSPLIB (zbiór wczytany z powrotem będzie "
                              "mierzony euklidesowo na płaszczyźnie)"});
    if (format == TPointFormat::Tsplib && metric == TMetric::Plane)
        losses.push_back({TSaveLossKind::PlaneMeasure, false,
                          "miary euklidesowej na płaszczyźnie (zapisze EUC_2D z TSPLIB, z odcinkami zaokrąglonymi "
                          "do liczb całkowitych)"});
    if (format != TPointFormat::Tsplib && (!facts.TsplibName.empty() || !facts.TsplibComments.empty()))
        losses.push_back({TSaveLossKind::TsplibHeader, false, "nazwy (NAME) ani komentarza (COMMENT) z TSPLIB"});
    std::stable_partition(losses.begin(), losses.end(), [](const TSaveLoss& loss) { return loss.Serious; });
    return losses;
}

bool AnySeriousLoss(const std::vector<TSaveLoss>& losses)
{
    return std::any_of(losses.begin(), losses.end(), [](const TSaveLoss& loss) { return loss.Serious; });
}

std::string SaveLossQuestion(TPointFormat format, const std::vector<TSaveLoss>& losses)
{
    std::string text = "Plik " + FormatExtension(format) + " nie zapisze wszystkiego, co ma ten zbiór. Nie zapisze:";
    for (const TSaveLoss& loss : losses)
        text += "\n– " + loss.Text;
    return text + "\n\nZapisać mimo to?";
}
