#include "ui/search_tab.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QToolTip>

#include <algorithm>
#include <cmath>

#include "core/number_text.h"
#include "search/local/local_search.h"
#include "ui/anchors.h"
#include "ui/commands.h"
#include "ui/document.h"
#include "ui/measure_choice.h"
#include "ui/result_list.h"
#include "ui/search_runner.h"
#include "ui/spin_edit.h"
#include "ui/window_progress.h"

namespace {

// A rate typed in the user's number format; text that is no finite number
// gives the default. The edit then shows the value that is used.
double ReadRate(QLineEdit* edit, double defaultValue)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double value = locale.toDouble(edit->text().trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        value = defaultValue;
    edit->setText(locale.toString(value, 'g', 15));
    return value;
}

// What a box of "Początek w punkcie" or "Koniec w punkcie" holds.
struct TPointChoice {
    enum TWhat { None, Selected, Number, NoNumber };
    TWhat What = None;
    int32_t Point = -1;
};

TPointChoice ReadPointChoice(const QString& shown)
{
    const QString text = shown.trimmed();
    if (text.isEmpty() || text.compare(QString::fromUtf8(TSearchTab::NoPointWord), Qt::CaseInsensitive) == 0)
        return {};
    if (text.compare(QString::fromUtf8(TSearchTab::SelectedPointWord), Qt::CaseInsensitive) == 0)
        return {TPointChoice::Selected, -1};
    bool digits = !text.isEmpty();
    for (const QChar c : text)
        digits = digits && c.isDigit() && c.unicode() < 128;
    if (!digits)
        return {TPointChoice::NoNumber, -1};
    // A number past every set is refused by its range, as any other.
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    const int32_t point = ok && value <= INT32_MAX ? static_cast<int32_t>(value) : INT32_MAX;
    return {TPointChoice::Number, point};
}

std::string NoNumberText(const char* box, const QString& text, bool selectedAllowed)
{
    return std::string(box) + ": \u201e" + text.trimmed().toStdString() +
           "\u201d nie jest numerem punktu. Wpisz numer punktu (od 0)" +
           (selectedAllowed ? ", \u201ezaznaczony\u201d" : "") + " albo \u201ebrak\u201d.";
}

}  // namespace

TSearchTab::TSearchTab(TDocument& document, const TSearchRunner& runner, TCommand* generate, TCommand* stop,
                       TCommand* showWay, QWidget* parent)
    : QWidget(parent), FDocument(document)
{
    setObjectName(QStringLiteral("TabSheet3"));
    CreateControls(document, generate, stop, showWay);
    connect(&runner, &TSearchRunner::SearchingChanged, this, [this](bool searching) { ShowSearching(searching); });
    connect(&document, &TDocument::PointsChanged, this, [this] { ShowPermutationCount(); });
    for (QComboBox* kind : {cbRouteKind, cbStartPoint, cbEndPoint})
        connect(kind, &QComboBox::currentTextChanged, this, [this] { ShowPermutationCount(); });
}

void TSearchTab::ShowPermutationCount()
{
    // The routes the exhaustive search orders: a round trip fixes its first
    // point, a fixed start or end stays in its place.
    const auto n = static_cast<int32_t>(FDocument.State().FPoints.size());
    const TPointChoice start = ReadPointChoice(cbStartPoint->currentText());
    const TPointChoice end = ReadPointChoice(cbEndPoint->currentText());
    int32_t ordered = n;
    if (cbRouteKind->currentIndex() == 1) {
        ordered = n - 1;
    } else {
        const bool startFixed = start.What == TPointChoice::Number || start.What == TPointChoice::Selected;
        const bool endFixed =
            end.What == TPointChoice::Number && !(start.What == TPointChoice::Number && start.Point == end.Point);
        ordered = n - (startFixed ? 1 : 0) - (endFixed ? 1 : 0);
    }
    ShowPermutationCount(QString::fromStdString(PermutationCountText(std::max(ordered, 0), WindowNumberFormat())));
}

void TSearchTab::cbMethodClick()
{
    const TSearchMethod method = Method();
    gbGenStopRules->setVisible(method == smGenetic);
    gbGenParams->setVisible(method == smGenetic);
    gbRandom->setVisible(method == smRandom);
    gbLocal->setVisible(method == smLocal);
    gbLocalThreads->setVisible(method == smLocal);
    lblSilnia->setVisible(method == smExhaustive);
    lblSilniaDsc->setVisible(method == smExhaustive);
}

void TSearchTab::seGenTresholdEnter()
{
    rbGenTreshold->setChecked(true);
}

void TSearchTab::seGenCountEnter()
{
    rbGenCount->setChecked(true);
}

TSearchMethod TSearchTab::Method() const
{
    return static_cast<TSearchMethod>(cbMethod->currentIndex());
}

TSearchTab::TKindChoice TSearchTab::ReadKind(const std::vector<char>& selected) const
{
    TKindChoice choice;
    choice.Kind.RoundTrip = cbRouteKind->currentIndex() == 1;
    const TPointChoice start = ReadPointChoice(cbStartPoint->currentText());
    const TPointChoice end = ReadPointChoice(cbEndPoint->currentText());
    if (start.What == TPointChoice::NoNumber) {
        choice.Refusal = NoNumberText("Początek w punkcie", cbStartPoint->currentText(), true);
        return choice;
    }
    if (end.What == TPointChoice::NoNumber || end.What == TPointChoice::Selected) {
        choice.Refusal = NoNumberText("Koniec w punkcie", cbEndPoint->currentText(), false);
        return choice;
    }
    choice.Kind.Start = start.Point;
    choice.Kind.End = end.Point;
    if (start.What == TPointChoice::Selected) {
        const auto count = std::count(selected.begin(), selected.end(), 1);
        if (count != 1) {
            choice.Refusal = "Zaznacz na liście jeden punkt, od którego ma się zaczynać droga.";
            return choice;
        }
        choice.Kind.Start = static_cast<int32_t>(std::find(selected.begin(), selected.end(), 1) - selected.begin());
    }
    return choice;
}

TSearchSettings TSearchTab::ReadSettings(const TRouteKind& kind)
{
    TSearchSettings settings;
    settings.Kind = kind;
    settings.Local.Threads = std::clamp(seLocalThreads->Value(), 0, MaxLocalThreads);
    settings.Local.StopByTime = rbLocalTime->isChecked();
    settings.Local.TimeLimitSeconds = seLocalTime->Value();
    settings.Local.Tries = seLocalTries->Value();
    settings.RandomCount = seRandomCount->Value();
    if (Method() == smGenetic) {
        TGeneticParams& genetic = settings.Genetic;
        genetic.Population = sePopulation->Value();
        genetic.CrossoverRate = ReadRate(edtCrossover, 0.5);
        genetic.MutationRate = ReadRate(edtMutation, 0.05);
        genetic.StopByCount = rbGenCount->isChecked();
        genetic.GenerationCount = seGenCount->Value();
        genetic.Treshold = seGenTreshold->Value();
        genetic.SecureBad = chkSecureBad->isChecked();
    }
    return settings;
}

void TSearchTab::ShowSearching(bool searching)
{
    gbGenStopRules->setEnabled(!searching);
    gbRandom->setEnabled(!searching);
    gbGenParams->setEnabled(!searching);
    gbLocal->setEnabled(!searching);
    gbLocalThreads->setEnabled(!searching);
    gbGenResults->setEnabled(!searching);
    for (QWidget* kind :
         {static_cast<QWidget*>(cbRouteKind), static_cast<QWidget*>(cbStartPoint), static_cast<QWidget*>(cbEndPoint)})
        kind->setEnabled(!searching);
    FMeasure->SetSearching(searching);
}

void TSearchTab::FocusOn(TButton which)
{
    QWidget* button = which == TButton::Search ? Button1 : Button2;
    QWidget* focused = QApplication::focusWidget();
    const bool onThisTab = focused == nullptr || isAncestorOf(focused) || focused == window();
    if (onThisTab && button->isEnabled() && button->isVisible())
        button->setFocus(Qt::OtherFocusReason);
}

void TSearchTab::ShowPermutationCount(const QString& text)
{
    lblSilnia->setText(text);
}

void TSearchTab::ClearResults()
{
    lbResults->clear();
}

void TSearchTab::AddResultLine(const QString& line)
{
    lbResults->AddLine(line);
}

bool TSearchTab::ResultIsEarlier(int row) const
{
    return lbResults->IsEarlier(row);
}
