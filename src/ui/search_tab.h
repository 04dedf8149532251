#pragma once

#include <QWidget>

#include <string>
#include <vector>

#include "search/run/run_control.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TAnchors;
class TCommand;
class TDocument;
class TResultList;
class TSearchRunner;
class TMeasureChoice;
class TSpinEdit;

// The tab "Szukanie drogi" (TabSheet3): the method list, the kind of route
// ("Rodzaj drogi", "Początek w punkcie", "Koniec w punkcie", the same for
// every method), the measure ("Miara odległości", see measure_choice.h),
// the search and stop buttons, each method's parameters, the
// permutation count and the result list. It reads the kind and the
// parameters into settings when a search starts and greys them while one
// runs (it follows the runner); the permutation count (of the routes the
// exhaustive search orders for the kind) and the result list follow the
// document. The kind is a setting of the next search, not of the set: the
// set's route keeps the kind it was found with. The run itself is
// TSearchRuns'. Its controls carry their design names, by which tests find
// them.
class TSearchTab : public QWidget {
    Q_OBJECT

public:
    TSearchTab(TDocument& document, const TSearchRunner& runner, TCommand* generate, TCommand* stop, TCommand* showWay,
               QWidget* parent = nullptr);

    // The words of the start and end boxes: no fixed point, and (start
    // only) the point selected on the list.
    static constexpr const char* NoPointWord = "brak";
    static constexpr const char* SelectedPointWord = "zaznaczony";

    TSearchMethod Method() const;
    // The kind of route asked for, with "zaznaczony" as the start read as
    // the one point selected on the list (selected: one flag per row); or,
    // in Refusal, why no kind can be read (a start or end that is no point
    // number, no single point selected). Whether the set can have the kind
    // is RouteKindRefusal's to say.
    struct TKindChoice {
        TRouteKind Kind;
        std::string Refusal;
    };
    TKindChoice ReadKind(const std::vector<char>& selected) const;
    // The parameters as the controls hold them now, for a route of kind; the
    // rates' edits are rewritten with the values used.
    TSearchSettings ReadSettings(const TRouteKind& kind);
    // The permutation count, whole.
    void ShowPermutationCount(const QString& text);

    // The result list (see TResultList).
    void ClearResults();
    void AddResultLine(const QString& line);
    bool ResultIsEarlier(int row) const;

    // Moves the focus to one of the tab's buttons, if the focus is on the tab
    // (or nowhere in the window) and the button can take it.
    enum class TButton { Search, Stop };
    void FocusOn(TButton which);

    // Moves and widens the controls so that the window's font and the
    // group-box style show every text whole and nothing on a frame line.
    // Called once the tab sits in its window and has the window's font.
    void FitToFont();

private:
    // Shows the controls of the selected method.
    void cbMethodClick();
    // The permutation count for the set's points and the kind chosen.
    void ShowPermutationCount();
    // Focus handlers of the two stop-rule spin edits: each chooses its rule.
    void seGenTresholdEnter();
    void seGenCountEnter();
    // Greys the parameters and the result group while a search runs.
    void ShowSearching(bool searching);

    // The controls, group by group, placed at their design places
    // (search_tab_layout.cpp).
    void CreateControls(TDocument& document, TCommand* generate, TCommand* stop, TCommand* showWay);
    void CreateMethodRow(TCommand* generate, TCommand* stop);
    void CreateKindControls(TDocument& document);
    void CreateRandomControls();
    void CreateGeneticStopRules();
    void CreateLocalControls();
    void CreateLocalThreads();
    void CreateGeneticParams();
    // The kind's controls placed for the font (part of FitToFont).
    void FitKindControls();
    void CreateResults(const TDocument& document, TCommand* showWay);

    QComboBox* cbMethod = nullptr;
    QLabel* lblRouteKind = nullptr;
    QComboBox* cbRouteKind = nullptr;
    QLabel* lblStartPoint = nullptr;
    QComboBox* cbStartPoint = nullptr;
    QLabel* lblEndPoint = nullptr;
    QComboBox* cbEndPoint = nullptr;
    TMeasureChoice* FMeasure = nullptr;
    QPushButton* Button1 = nullptr;  // actGenerate
    QPushButton* Button2 = nullptr;  // actStop, captioned "Przerwij"
    QLabel* lblSilniaDsc = nullptr;
    QLabel* lblSilnia = nullptr;
    QGroupBox* gbRandom = nullptr;
    TSpinEdit* seRandomCount = nullptr;
    QGroupBox* gbGenStopRules = nullptr;
    QRadioButton* rbGenTreshold = nullptr;
    TSpinEdit* seGenTreshold = nullptr;
    QRadioButton* rbGenCount = nullptr;
    TSpinEdit* seGenCount = nullptr;
    QGroupBox* gbGenParams = nullptr;
    TSpinEdit* sePopulation = nullptr;
    QLineEdit* edtCrossover = nullptr;
    QLineEdit* edtMutation = nullptr;
    QCheckBox* chkSecureBad = nullptr;
    // The local search's stop rule and its threads.
    QGroupBox* gbLocal = nullptr;
    QRadioButton* rbLocalTime = nullptr;
    TSpinEdit* seLocalTime = nullptr;
    QRadioButton* rbLocalTries = nullptr;
    TSpinEdit* seLocalTries = nullptr;
    QGroupBox* gbLocalThreads = nullptr;
    TSpinEdit* seLocalThreads = nullptr;
    QGroupBox* gbGenResults = nullptr;
    QPushButton* Button3 = nullptr;  // actShowWay
    TResultList* lbResults = nullptr;

    const TDocument& FDocument;
    TAnchors* FAnchors = nullptr;
    TAnchors* FResultsAnchors = nullptr;
    QLabel* FResultsLabel = nullptr;
    // The right end of the kind's controls, once fitted to the font.
    int FKindRight = 0;
};
