#pragma once

#include <QWidget>

#include <string>

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
class TSpinEdit;

// The tab "Szukanie drogi" (TabSheet3): the method list, the search and stop
// buttons, each method's parameters, the permutation count and the result
// list. It reads the parameters into settings when a search starts and
// greys them while one runs (it follows the runner); the permutation count
// and the result list follow the document. The run itself is TSearchRuns'.
// Its controls carry their design names, by which tests find them.
class TSearchTab : public QWidget {
    Q_OBJECT

public:
    TSearchTab(const TDocument& document, const TSearchRunner& runner, TCommand* generate, TCommand* stop,
               TCommand* showWay, QWidget* parent = nullptr);

    TSearchMethod Method() const;
    // The parameters as the controls hold them now; the rates' edits are
    // rewritten with the values used. startPoint is the point a route starts
    // at (the caller's choice under "Zacznij od zaznaczonego punktu"), -1 for none.
    TSearchSettings ReadSettings(int32_t startPoint = -1);
    // "Zacznij od zaznaczonego punktu" is checked.
    bool StartsAtSelected() const;
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
    // Focus handlers of the two stop-rule spin edits: each chooses its rule.
    void seGenTresholdEnter();
    void seGenCountEnter();
    // Greys the parameters and the result group while a search runs.
    void ShowSearching(bool searching);

    // The controls, group by group, placed at their design places
    // (search_tab_layout.cpp).
    void CreateControls(const TDocument& document, TCommand* generate, TCommand* stop, TCommand* showWay);
    void CreateMethodRow(TCommand* generate, TCommand* stop);
    void CreateRandomControls();
    void CreateGeneticStopRules();
    void CreateLocalControls();
    void CreateStartControls();
    void CreateGeneticParams();
    void CreateResults(const TDocument& document, TCommand* showWay);

    QComboBox* cbMethod = nullptr;
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
    // The local search's stop rule and the start point of methods 3 and 4.
    QGroupBox* gbLocal = nullptr;
    QRadioButton* rbLocalTime = nullptr;
    TSpinEdit* seLocalTime = nullptr;
    QRadioButton* rbLocalTries = nullptr;
    TSpinEdit* seLocalTries = nullptr;
    QGroupBox* gbStart = nullptr;
    QCheckBox* chkStartAtSelected = nullptr;
    QGroupBox* gbGenResults = nullptr;
    QPushButton* Button3 = nullptr;  // actShowWay
    TResultList* lbResults = nullptr;

    TAnchors* FAnchors = nullptr;
    TAnchors* FResultsAnchors = nullptr;
    QLabel* FResultsLabel = nullptr;
};
