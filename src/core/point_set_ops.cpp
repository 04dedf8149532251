#include "core/point_set_ops.h"

#include "core/point_file.h"
#include "core/point_set_format.h"
#include "core/tsplib_file.h"

void NewPointSet(TPointSetState& state)
{
    state.FPoints.clear();
    state.FPlaces = TSetPlaces();
    state.FModified = false;
    state.FFileName.clear();
}

void ClearRoute(TPointSetState& state)
{
    for (TMapPoint& point : state.FPoints)
        point.Next = -1;
    state.FModified = true;
}

TOperationResult LoadPointSet(TPointSetState& state, const std::string& fileName, TPointReadInfo* info,
                              int32_t maxPoints)
{
    TPointArray points;
    TSetPlaces places;
    TPointReadInfo found;
    const TFileResult result = ReadSetAnyFormat(fileName, maxPoints, points, places, found);
    if (!result.Ok())
        return TOperationError{"Błąd odczytu", result.ErrorText};
    if (info)
        *info = found;
    state.FPoints = std::move(points);
    state.FPlaces = std::move(places);
    state.FFileName = fileName;
    state.FModified = false;
    return std::nullopt;
}

TOperationResult SavePointSet(TPointSetState& state, const std::string& fileName)
{
    std::string text;
    TFileResult result =
        FormatSetAs(PointFormatOfFile(fileName), TsplibName(fileName), state.FPoints, state.FPlaces, text);
    if (result.Ok())
        result = WriteFileReplacing(fileName, text);
    if (!result.Ok())
        return TOperationError{"Błąd zapisu", result.ErrorText};
    state.FFileName = fileName;
    state.FModified = false;
    return std::nullopt;
}
