#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

class QTabWidget;
class TDistanceGrid;
class TDocument;
class TPointList;
class TSearchTab;
class TWindowProgress;

// Sets up to this many points keep their whole distance matrix between
// searches (8 MB at the most); larger ones have one only while a method
// that reads it runs, and the distance table works out the cells it shows.
inline constexpr int32_t KeptMatrixPoints = 1024;

// What shows the set, kept current: the distance matrix and the distance
// table, the point list with the permutation count, and the map. It listens
// to the document and rebuilds what each change reaches, in the program's
// order: the matrix and the table, then the list, then the map.
class TSetViews : public QObject {
    Q_OBJECT

public:
    enum class TRebuild {
        Map,         // DrawMap
        List,        // RefreshPointList, which draws the map
        Matrix,      // ComputeDistances and FillDistanceGrid only
        Everything,  // Matrix, then List
    };

    TSetViews(TDocument& document, TWindowProgress& progress, TDistanceGrid& grid, TPointList& list,
              TSearchTab& searchTab, QTabWidget& pages, QObject* parent);

    // The map's drawing, which the map controller does.
    void SetDrawMap(std::function<void()> drawMap) { FDrawMap = std::move(drawMap); }
    // Before the window is first shown only the matrix follows the set;
    // the first showing builds the list and the map.
    void SetShown() { FShown = true; }

    // Each step including the ones after it.
    void Rebuild(TRebuild what, int32_t firstNewPoint = 0);
    void FillDistanceGrid();
    void RefreshPointList();
    void DrawMap();

    // The whole matrix for a method that reads it, kept or made for the run.
    void MakeMatrixForSearch();
    // A matrix made for a run only is given back.
    void EndSearchMatrix();

private:
    // The matrix as the set's size allows: extended from firstNewPoint, or
    // none for a large set (unless a running search holds one).
    void ComputeMatrix(int32_t firstNewPoint);

    TDocument& FDocument;
    TWindowProgress& FProgress;
    TDistanceGrid& FGrid;
    TPointList& FList;
    TSearchTab& FSearchTab;
    QTabWidget& FPages;
    std::function<void()> FDrawMap;
    bool FShown = false;
};
