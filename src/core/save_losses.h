#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/point_formats.h"
#include "core/point_set.h"

// What a point-set format can't hold of a set: said before a save, so that
// nothing is lost without the user's word.

enum class TSaveLossKind {
    // Latitudes and longitudes: only the map's points are written.
    Degrees,
    // Coordinates that are not whole numbers: written rounded.
    Decimals,
    // A measure on the Earth that the format writes as another.
    EarthMeasure,
    // A TSPLIB measure on the plane (EUC_2D, CEIL_2D, ATT) into a format
    // without measures, or the plane's own into TSPLIB, which writes EUC_2D:
    // the coordinates stay, the legs are measured as the format's reader
    // measures them.
    PlaneMeasure,
    // Columns of a CSV that the reader passed over.
    OtherColumns,
    // A TSPLIB file's NAME and COMMENT.
    TsplibHeader,
};

struct TSaveLoss {
    TSaveLossKind Kind = TSaveLossKind::Degrees;
    // Worth asking about before a save: coordinates or columns the file
    // had, or a measure on the Earth. The others are told, not asked.
    bool Serious = false;
    // What goes, in a phrase that follows "Plik .tvu nie zapisze: ".
    std::string Text;
};

// What a save of the set in format would lose, serious losses first; empty
// when the format holds it all.
std::vector<TSaveLoss> SaveLosses(TPointFormat format, const TPointArray& points, const TSetPlaces& places);

bool AnySeriousLoss(const std::vector<TSaveLoss>& losses);

// ".tvu", ".tsp" or ".csv".
std::string FormatExtension(TPointFormat format);

// The question before such a save: "Plik .tvu nie zapisze wszystkiego, co
// ma ten zbiór:", a line for each loss, then "Zapisać mimo to?".
std::string SaveLossQuestion(TPointFormat format, const std::vector<TSaveLoss>& losses);
