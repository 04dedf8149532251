#include "core/point_set_ops.h"

#include "core/distances.h"
#include "core/point_file.h"

void NewPointSet(TPointSetState& state, TCoreHost& host)
{
    state.FPoints.clear();
    state.FModified = false;
    state.FFileName.clear();
    ComputeDistances(state, host, 0);
    host.RefreshPointList();
}

void ClearRoute(TPointSetState& state, TCoreHost& host)
{
    for (TMapPoint& point : state.FPoints)
        point.Next = -1;
    state.FModified = true;
    ComputeDistances(state, host, 0);
    host.RefreshPointList();
}

bool LoadPointSet(TPointSetState& state, TCoreHost& host, const std::string& fileName)
{
    TPointArray points;
    const TFileResult result = ReadPointSetFile(fileName, points);
    if (!result.Ok()) {
        host.ShowError("Błąd odczytu", result.ErrorText);
        return false;
    }
    state.FPoints = std::move(points);
    state.FFileName = fileName;
    state.FModified = false;
    ComputeDistances(state, host, 0);
    if (host.IsShowing())
        host.RefreshPointList();
    return true;
}

bool SavePointSet(TPointSetState& state, TCoreHost& host, const std::string& fileName)
{
    std::string text;
    TFileResult result = FormatPointSetForSave(state.FPoints, text);
    if (result.Ok())
        result = WriteFileReplacing(fileName, text);
    if (!result.Ok()) {
        host.ShowError("Błąd zapisu", result.ErrorText);
        return false;
    }
    state.FFileName = fileName;
    state.FModified = false;
    host.RefreshPointList();
    return true;
}
