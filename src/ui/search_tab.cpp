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
#include "ui/anchors.h"
#include "ui/commands.h"
#include "ui/document.h"
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

}  // namespace

TSearchTab::TSearchTab(const TDocument& document, const TSearchRunner& runner, TCommand* generate, TCommand* stop,
                       TCommand* showWay, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet3"));
    CreateControls(document, generate, stop, showWay);
    connect(&runner, &TSearchRunner::SearchingChanged, this, [this](bool searching) { ShowSearching(searching); });
    connect(&document, &TDocument::PointsChanged, this, [this, &document] {
        ShowPermutationCount(QString::fromStdString(
            PermutationCountText(static_cast<int32_t>(document.State().FPoints.size()), WindowNumberFormat())));
    });
}

void TSearchTab::cbMethodClick()
{
    const TSearchMethod method = Method();
    gbGenStopRules->setVisible(method == smGenetic);
    gbGenParams->setVisible(method == smGenetic);
    gbRandom->setVisible(method == smRandom);
    gbLocal->setVisible(method == smLocal);
    gbStart->setVisible(method == smExact || method == smLocal);
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

TSearchSettings TSearchTab::ReadSettings(int32_t startPoint)
{
    TSearchSettings settings;
    // The kind of route asked for: open, with free ends or from the chosen
    // start. A choice of kinds on this tab sets the rest of it here.
    settings.Kind.Start = startPoint;
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
    gbStart->setEnabled(!searching);
    gbGenResults->setEnabled(!searching);
}

bool TSearchTab::StartsAtSelected() const
{
    return chkStartAtSelected->isChecked();
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
