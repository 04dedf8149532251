// The tab "Szukanie drogi"'s controls at their design places, and their fit
// to the window's font.
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
#include "ui/search_tab_places.h"
#include "ui/spin_edit.h"
#include "ui/window_progress.h"

namespace {

// The page at the window's design size; anchored controls keep their
// distances to its sides.
constexpr QSize SearchTabDesignSize(379, 397);
// The design's boxes and the room their controls need.
constexpr int DesignBoxHeightPx = 137;
// Where the design's controls may begin below a box's top edge.
constexpr int DesignContentTopPx = 14;
constexpr int BoxInnerMarginPx = 6;
constexpr int BoxGapPx = 6;
constexpr int PageMarginPx = 8;
// The result group still shows its label, a few lines and its button.
constexpr int MinResultsHeightPx = 110;
// The "Liczba prób" boxes show this many digits, the most a user types.
constexpr int CountDigits = 9;
// Where the method's boxes begin: below the row of the kind of route.
constexpr int BoxesTopPx = 120;

// A label that shows what fits of its text, ending in "…", and the whole
// text as its tooltip; text() is always the whole text.
class TElidedLabel : public QLabel {
public:
    using QLabel::QLabel;

    // What the label shows of its text.
    QString Shown() const { return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width()); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        (void)event;
        QPainter painter(this);
        painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, Shown());
    }
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip && !text().isEmpty()) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
            return true;
        }
        return QLabel::event(event);
    }
};

// A spin edit's width for digits digits, as the style draws its frame and
// buttons.
int SpinWidthFor(TSpinEdit* spin, int digits)
{
    QStyleOptionSpinBox option;
    option.initFrom(spin);
    option.frame = spin->hasFrame();
    option.buttonSymbols = spin->buttonSymbols();
    option.subControls =
        QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxEditField | QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    // Two pixels of room for the cursor, as the spin box keeps.
    const int text = spin->fontMetrics().horizontalAdvance(QString(digits, u'9')) + 2;
    return spin->style()->sizeFromContents(QStyle::CT_SpinBox, &option, QSize(text, spin->height()), spin).width();
}

}  // namespace

void TSearchTab::CreateControls(TDocument& document, TCommand* generate, TCommand* stop, TCommand* showWay)
{
    FAnchors = new TAnchors(this, SearchTabDesignSize);
    CreateMethodRow(generate, stop);
    CreateKindControls(document);
    CreateRandomControls();
    CreateGeneticStopRules();
    CreateLocalControls();
    CreateLocalThreads();
    CreateGeneticParams();
    CreateResults(document, showWay);
}

void TSearchTab::CreateMethodRow(TCommand* generate, TCommand* stop)
{
    TAnchors* anchors = FAnchors;
    PlaceAt(*anchors, MakeLabel(QStringLiteral("Wybierz metodę poszukiwania"), this), 12, 8);
    cbMethod = new QComboBox(this);
    cbMethod->setObjectName(QStringLiteral("cbMethod"));
    cbMethod->setEditable(false);
    cbMethod->addItems({QStringLiteral("Przeszukiwanie wyczerpujące (permutacje)"),
                        QStringLiteral("Przeszukiwanie losowe"), QStringLiteral("Algorytm genetyczny"),
                        QStringLiteral("Metoda dokładna"), QStringLiteral("Optymalizacja lokalna (2-opt, Or-opt)")});
    // The exact method chooses its way by the set's size.
    cbMethod->setItemData(3,
                          QStringLiteral("Najkrótsza droga z dowodem: do 16 punktów programowanie dynamiczne, "
                                         "powyżej metoda podziału i ograniczeń"),
                          Qt::ToolTipRole);
    cbMethod->setCurrentIndex(0);
    PlaceAt(*anchors, cbMethod, 12, 24, 289, 21);
    connect(cbMethod, &QComboBox::currentIndexChanged, this, [this] { cbMethodClick(); });

    Button1 = new QPushButton(generate->text(), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    BindButton(Button1, generate);
    PlaceAt(*anchors, Button1, 108, 56, 93, 29);
    Button2 = new QPushButton(QStringLiteral("Przerwij"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    BindButton(Button2, stop);
    PlaceAt(*anchors, Button2, 208, 56, 93, 29);

    lblSilniaDsc = MakeLabel(QStringLiteral("Liczba permutacji dla aktualnego zbioru punktów:"), this, "lblSilniaDsc");
    PlaceAt(*anchors, lblSilniaDsc, 20, BoxesTopPx + 12);
    // On a line of its own under its caption, as wide as the page: the 18
    // digits of a whole count fit there. Longer texts end in "…" and show
    // whole as the tooltip.
    lblSilnia = new TElidedLabel(QStringLiteral("0"), this);
    lblSilnia->setObjectName(QStringLiteral("lblSilnia"));
    PlaceAt(*anchors, lblSilnia, 20, BoxesTopPx + 30, SearchTabDesignSize.width() - 20 - PageMarginPx, -1,
            TAnchors::akLeft | TAnchors::akTop | TAnchors::akRight);
    cbMethod->setToolTip(QStringLiteral("Metoda szukania drogi; jej parametry pojawiają się poniżej"));
}

void TSearchTab::CreateRandomControls()
{
    TAnchors* anchors = FAnchors;
    const int leftTop = TAnchors::akLeft | TAnchors::akTop;
    gbRandom = new QGroupBox(QStringLiteral("Warunek zatrzymania"), this);
    gbRandom->setObjectName(QStringLiteral("gbRandom"));
    PlaceAt(*anchors, gbRandom, 12, BoxesTopPx, 157, 137, leftTop | TAnchors::akRight);
    MakeLabel(QStringLiteral("Liczba prób"), gbRandom)->move(12, 20);
    seRandomCount = new TSpinEdit(1, 32000, 1000, gbRandom);
    seRandomCount->setObjectName(QStringLiteral("seRandomCount"));
    seRandomCount->setGeometry(12, 36, 73, 21);
    seRandomCount->setToolTip(QStringLiteral("Ile losowych dróg sprawdzić (1–32 000); zostaje najkrótsza"));
    gbRandom->hide();
}

void TSearchTab::CreateGeneticStopRules()
{
    gbGenStopRules = new QGroupBox(QStringLiteral("Warunek zatrzymania"), this);
    gbGenStopRules->setObjectName(QStringLiteral("gbGenStopRules"));
    PlaceAt(*FAnchors, gbGenStopRules, 12, BoxesTopPx, 157, 137);
    rbGenTreshold = new QRadioButton(QStringLiteral("Próg zmienności populacji"), gbGenStopRules);
    rbGenTreshold->setObjectName(QStringLiteral("rbGenTreshold"));
    rbGenTreshold->move(8, 20);
    rbGenTreshold->resize(rbGenTreshold->sizeHint());
    seGenTreshold = new TSpinEdit(1, 100, 2, gbGenStopRules);
    seGenTreshold->setObjectName(QStringLiteral("seGenTreshold"));
    seGenTreshold->setGeometry(24, 36, 57, 21);
    MakeLabel(QStringLiteral("%"), gbGenStopRules)->move(85, 40);
    rbGenCount = new QRadioButton(QStringLiteral("Liczba pokoleń"), gbGenStopRules);
    rbGenCount->setObjectName(QStringLiteral("rbGenCount"));
    rbGenCount->move(8, 76);
    rbGenCount->resize(rbGenCount->sizeHint());
    rbGenCount->setChecked(true);
    seGenCount = new TSpinEdit(100, 32000, 2000, gbGenStopRules);
    seGenCount->setObjectName(QStringLiteral("seGenCount"));
    seGenCount->setGeometry(24, 96, 73, 21);
    const QString spreadHint = QStringLiteral(
        "Szukanie kończy się, gdy odchylenie standardowe długości dróg w pokoleniu spadnie do "
        "tej wartości podzielonej przez 1000 (1–100)");
    rbGenTreshold->setToolTip(spreadHint);
    seGenTreshold->setToolTip(spreadHint);
    const QString generationsHint = QStringLiteral("Szukanie kończy się po tylu pokoleniach (100–32 000)");
    rbGenCount->setToolTip(generationsHint);
    seGenCount->setToolTip(generationsHint);
    connect(seGenTreshold, &TSpinEdit::Entered, this, [this] { seGenTresholdEnter(); });
    connect(seGenCount, &TSpinEdit::Entered, this, [this] { seGenCountEnter(); });
    gbGenStopRules->hide();
}

void TSearchTab::CreateLocalControls()
{
    // The local search stops after a time or a number of perturbations,
    // chosen as the genetic search's rule is.
    gbLocal = new QGroupBox(QStringLiteral("Warunek zatrzymania"), this);
    gbLocal->setObjectName(QStringLiteral("gbLocal"));
    PlaceAt(*FAnchors, gbLocal, 12, BoxesTopPx, 157, 137);
    rbLocalTime = new QRadioButton(QStringLiteral("Limit czasu (s)"), gbLocal);
    rbLocalTime->setObjectName(QStringLiteral("rbLocalTime"));
    rbLocalTime->move(8, 20);
    rbLocalTime->resize(rbLocalTime->sizeHint());
    rbLocalTime->setChecked(true);
    seLocalTime = new TSpinEdit(static_cast<int>(MinLocalSeconds), static_cast<int>(MaxLocalSeconds), 5, gbLocal);
    seLocalTime->setObjectName(QStringLiteral("seLocalTime"));
    seLocalTime->setGeometry(24, 36, 73, 21);
    rbLocalTries = new QRadioButton(QStringLiteral("Liczba prób"), gbLocal);
    rbLocalTries->setObjectName(QStringLiteral("rbLocalTries"));
    rbLocalTries->move(8, 76);
    rbLocalTries->resize(rbLocalTries->sizeHint());
    seLocalTries = new TSpinEdit(MinLocalTries, MaxLocalTries, 1000, gbLocal);
    seLocalTries->setObjectName(QStringLiteral("seLocalTries"));
    seLocalTries->setGeometry(24, 96, 81, 21);
    const QString timeHint = QStringLiteral("Optymalizacja kończy się po tylu sekundach (1–3600)");
    rbLocalTime->setToolTip(timeHint);
    seLocalTime->setToolTip(timeHint);
    const QString triesHint = QStringLiteral(
        "Optymalizacja kończy się po tylu próbach: zaburzeniach drogi z ponowną optymalizacją (1–10 000 000)");
    rbLocalTries->setToolTip(triesHint);
    seLocalTries->setToolTip(triesHint);
    connect(seLocalTime, &TSpinEdit::Entered, this, [this] { rbLocalTime->setChecked(true); });
    connect(seLocalTries, &TSpinEdit::Entered, this, [this] { rbLocalTries->setChecked(true); });
    gbLocal->hide();
}

void TSearchTab::CreateLocalThreads()
{
    gbLocalThreads = new QGroupBox(QStringLiteral("Wątki"), this);
    gbLocalThreads->setObjectName(QStringLiteral("gbLocalThreads"));
    PlaceAt(*FAnchors, gbLocalThreads, 180, BoxesTopPx, 185, 137);
    auto* label = MakeLabel(QStringLiteral("Liczba wątków"), gbLocalThreads, "lblLocalThreads");
    label->move(8, 20);
    seLocalThreads = new TSpinEdit(0, MaxLocalThreads, 0, gbLocalThreads);
    seLocalThreads->setObjectName(QStringLiteral("seLocalThreads"));
    seLocalThreads->setGeometry(8, 36, 57, 21);
    auto* note = MakeLabel(QStringLiteral("0: jeden na każdy rdzeń"), gbLocalThreads, "lblLocalThreadsNote");
    note->move(8, 62);
    const QString hint = QStringLiteral(
                             "Ile wątków dzieli się próbami optymalizacji (0\u2013%1): 0 \u2013 jeden "
                             "na każdy rdzeń procesora, 1 \u2013 jeden wątek")
                             .arg(MaxLocalThreads);
    for (QWidget* control :
         {static_cast<QWidget*>(label), static_cast<QWidget*>(seLocalThreads), static_cast<QWidget*>(note)})
        control->setToolTip(hint);
    gbLocalThreads->hide();
}

void TSearchTab::CreateGeneticParams()
{
    gbGenParams = new QGroupBox(QStringLiteral("Parametry algorytmu"), this);
    gbGenParams->setObjectName(QStringLiteral("gbGenParams"));
    PlaceAt(*FAnchors, gbGenParams, 180, BoxesTopPx, 185, 137);
    MakeLabel(QStringLiteral("Liczność populacji"), gbGenParams)->move(8, 20);
    sePopulation = new TSpinEdit(10, 1000, 100, gbGenParams);
    sePopulation->setObjectName(QStringLiteral("sePopulation"));
    sePopulation->setGeometry(112, 16, 65, 21);
    MakeLabel(QStringLiteral("Prawdopodobieństwo krosowania"), gbGenParams)->move(8, 42);
    edtCrossover = new QLineEdit(QStringLiteral("0,5"), gbGenParams);
    edtCrossover->setObjectName(QStringLiteral("edtCrossover"));
    edtCrossover->setGeometry(8, 56, 65, 21);
    MakeLabel(QStringLiteral("Prawdopodobieństwo mutacji"), gbGenParams)->move(8, 80);
    edtMutation = new QLineEdit(QStringLiteral("0,05"), gbGenParams);
    edtMutation->setObjectName(QStringLiteral("edtMutation"));
    edtMutation->setGeometry(8, 94, 65, 21);
    chkSecureBad = new QCheckBox(QStringLiteral("Chroń najsłabszego osobnika"), gbGenParams);
    chkSecureBad->setObjectName(QStringLiteral("chkSecureBad"));
    chkSecureBad->move(8, 118);
    chkSecureBad->resize(chkSecureBad->sizeHint());
    chkSecureBad->setChecked(false);
    sePopulation->setToolTip(QStringLiteral("Liczba dróg w każdym pokoleniu (10–1000)"));
    edtCrossover->setToolTip(QStringLiteral(
        "Prawdopodobieństwo, że para sąsiednich dróg wymieni się odcinkami (krzyżowanie OX), od 0 do 1"));
    edtMutation->setToolTip(
        QStringLiteral("Prawdopodobieństwo, że w drodze zamienią się miejscami dwa punkty (mutacja), od 0 do 1"));
    chkSecureBad->setToolTip(
        QStringLiteral("Co pokolenie najlepsza dotąd droga wraca do populacji w miejsce losowo wybranej"));
    gbGenParams->hide();
}

void TSearchTab::CreateResults(const TDocument& document, TCommand* showWay)
{
    gbGenResults = new QGroupBox(QStringLiteral("Wyniki poszukiwania"), this);
    gbGenResults->setObjectName(QStringLiteral("gbGenResults"));
    PlaceAt(*FAnchors, gbGenResults, 12, 240, 353, 141,
            TAnchors::akLeft | TAnchors::akTop | TAnchors::akRight | TAnchors::akBottom);
    FResultsAnchors = new TAnchors(gbGenResults, QSize(353, 141));
    TAnchors* results = FResultsAnchors;
    FResultsLabel = MakeLabel(QStringLiteral("Informacje ogólne:"), gbGenResults);
    PlaceAt(*results, FResultsLabel, 12, 20);
    Button3 = new QPushButton(showWay->text(), gbGenResults);
    Button3->setObjectName(QStringLiteral("Button3"));
    BindButton(Button3, showWay);
    PlaceAt(*results, Button3, 12, 100, 141, 29, TAnchors::akLeft | TAnchors::akBottom);
    lbResults = new TResultList(document, gbGenResults);
    PlaceAt(*results, lbResults, 160, 16, 181, 113,
            TAnchors::akLeft | TAnchors::akTop | TAnchors::akRight | TAnchors::akBottom);
}

void TSearchTab::FitToFont()
{
    FitKindControls();
    // The places come from a style that draws a group box's title inside
    // its frame line; here the title may sit above it, so the controls move
    // down below the line, and the boxes grow to hold them.
    gbGenParams->ensurePolished();
    // The boxes of a count take nine digits, whatever the font.
    for (TSpinEdit* count : {seRandomCount, seLocalTries})
        count->resize(std::max(count->width(), SpinWidthFor(count, CountDigits)), count->height());
    const int shift = std::max(0, gbGenParams->contentsRect().top() - DesignContentTopPx);

    int lowestBottom = 0;
    int stopRulesWidth = 0;
    int paramsWidth = 0;
    for (QGroupBox* box : {gbRandom, gbGenStopRules, gbLocal, gbGenParams, gbLocalThreads}) {
        const bool rightColumn = box == gbGenParams || box == gbLocalThreads;
        for (QWidget* child : box->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            child->move(child->x(), child->y() + shift);
            // Texts are shown whole in whatever font the system gives.
            if (qobject_cast<QLabel*>(child) || qobject_cast<QAbstractButton*>(child))
                child->resize(child->sizeHint());
            lowestBottom = std::max(lowestBottom, child->geometry().bottom());
            const int right = child->geometry().right() + 1 + BoxInnerMarginPx;
            int& width = rightColumn ? paramsWidth : stopRulesWidth;
            width = std::max(width, right);
        }
    }
    const int boxHeight = std::max(DesignBoxHeightPx, lowestBottom + 1 + BoxInnerMarginPx);
    const QRect stopPlace = FAnchors->DesignPlace(gbGenStopRules);
    const QRect stopRules(stopPlace.topLeft(), QSize(std::max(stopPlace.width(), stopRulesWidth), boxHeight));
    FAnchors->Replace(gbGenStopRules, stopRules);
    FAnchors->Replace(gbLocal, stopRules);
    const QRect randomPlace = FAnchors->DesignPlace(gbRandom);
    FAnchors->Replace(gbRandom, QRect(randomPlace.topLeft(), QSize(randomPlace.width(), boxHeight)));
    const QRect paramsPlace = FAnchors->DesignPlace(gbGenParams);
    const QRect params(QPoint(std::max(paramsPlace.left(), stopRules.right() + 1 + BoxGapPx), paramsPlace.top()),
                       QSize(std::max(paramsPlace.width(), paramsWidth), boxHeight));
    FAnchors->Replace(gbGenParams, params);
    FAnchors->Replace(gbLocalThreads, params);

    // The result group starts below the boxes and keeps its bottom.
    QRect resultsPlace = FAnchors->DesignPlace(gbGenResults);
    const int below = stopRules.bottom() + 1 + BoxGapPx - 4 - resultsPlace.top();
    if (below > 0)
        resultsPlace.setTop(resultsPlace.top() + below);
    FAnchors->Replace(gbGenResults, resultsPlace);
    for (QWidget* child : {static_cast<QWidget*>(lbResults), static_cast<QWidget*>(FResultsLabel)}) {
        QRect place = FResultsAnchors->DesignPlace(child);
        place.moveTop(place.top() + shift);
        if (child == lbResults)
            place.setHeight(place.height() - shift);
        else
            place.setSize(child->sizeHint());
        FResultsAnchors->Replace(child, place);
    }

    // Nothing may be cut off: the page is at least as large as its
    // controls need, with the result group at a usable height.
    const int rightmost = std::max({params.right(), resultsPlace.right(), FKindRight - 1}) + 1 + PageMarginPx;
    setMinimumSize(rightmost, resultsPlace.top() + MinResultsHeightPx + PageMarginPx);
}
