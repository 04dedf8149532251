#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QRadioButton>
#include <QTimer>

#include <cmath>

#include "search/run_control.h"
#include "ui/commands.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/spin_edit.h"

namespace {

// The window as the run control sees it: the main window's host, plus the
// result list, the command states and the cursor.
class TWindowRunHost : public TRunHost {
public:
    explicit TWindowRunHost(TMainForm& form) : FForm(form) {}

    void ShowStatus(const std::string& text, int32_t panel) override { FForm.ShowStatus(text, panel); }
    TProgressBar& PrBar() override { return FForm.PrBar(); }
    void ProcessEvents() override { FForm.ProcessEvents(); }
    bool GoOn() const override { return FForm.GoOn(); }
    TNumberFormat NumberFormat() const override { return FForm.NumberFormat(); }
    void FillDistanceGrid() override { FForm.FillDistanceGrid(); }
    void RefreshPointList() override { FForm.RefreshPointList(); }
    bool IsShowing() const override { return FForm.IsShowing(); }
    void ShowError(const std::string& caption, const std::string& text) override { FForm.ShowError(caption, text); }

    void BeginSearchView() override
    {
        FForm.lbResults->clear();
        FForm.actStop->Update();
        FForm.actGenerate->Update();
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    void AppendResult(const std::string& line) override { FForm.lbResults->addItem(QString::fromStdString(line)); }
    std::string LongTimeFormat() const override { return QLocale().timeFormat(QLocale::LongFormat).toStdString(); }

private:
    TMainForm& FForm;
};

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

void TMainForm::actGenerateExecute()
{
    const int method = cbMethod->currentIndex();
    const std::string refusal = SearchRefusal(method, static_cast<int32_t>(FPoints.size()));
    if (!refusal.empty()) {
        Dialogs().ShowInformation(this, QStringLiteral("Szukaj drogi"), QString::fromStdString(refusal));
        return;
    }

    TSearchSettings settings;
    settings.RandomCount = seRandomCount->Value();
    if (method == smGenetic) {
        TGeneticParams& genetic = settings.Genetic;
        genetic.Population = sePopulation->Value();
        genetic.CrossoverRate = ReadRate(edtCrossover, 0.5);
        genetic.MutationRate = ReadRate(edtMutation, 0.05);
        genetic.StopByCount = rbGenCount->isChecked();
        genetic.GenerationCount = seGenCount->Value();
        genetic.Treshold = seGenTreshold->Value();
        genetic.SecureBad = chkSecureBad->isChecked();
    }

    TWindowRunHost host(*this);
    RunSearch(*this, host, method, settings);
    if (FCloseAfterSearch) {
        FCloseAfterSearch = false;
        FCloseConfirmed = true;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TMainForm::actStopExecute()
{
    FSearching = false;
    FProgress.SetPosition(0);
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

bool TMainForm::actStopUpdate()
{
    const bool idle = !FSearching;
    gbGenStopRules->setEnabled(idle);
    gbRandom->setEnabled(idle);
    gbGenParams->setEnabled(idle);
    gbGenResults->setEnabled(idle);
    return FSearching;
}
