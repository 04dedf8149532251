// The tab "Szukanie drogi"'s row of the kind of route and the measure: the
// controls at their design places, and their fit to the window's font.
#include <QComboBox>
#include <QLabel>

#include <algorithm>
#include <utility>

#include "ui/measure_choice.h"
#include "ui/search_tab.h"
#include "ui/search_tab_places.h"

namespace {

// The row of the route's fixed points, between the buttons and the boxes.
constexpr int KindRowTopPx = 92;
// Between a label and its box, and between two pairs on a row.
constexpr int LabelGapPx = 4;
constexpr int PairGapPx = 10;
// Room of a combo box beside its text: the arrow and the frame.
constexpr int ComboExtraPx = 36;

}  // namespace

void TSearchTab::CreateKindControls(TDocument& document)
{
    // Beside the method: the kind of route, the same for every method. Its
    // places are set by FitToFont, after the method list's width.
    TAnchors* anchors = FAnchors;
    const QString kindHint = QStringLiteral(
        "Otwarta: droga kończy się w ostatnim punkcie. Zamknięta: po ostatnim punkcie wraca do pierwszego, "
        "a jej długość liczy i ten powrót. Dotyczy każdej metody.");
    lblRouteKind = MakeLabel(QStringLiteral("Rodzaj drogi"), this, "lblRouteKind");
    lblRouteKind->setToolTip(kindHint);
    PlaceAt(*anchors, lblRouteKind, 261, 8);
    cbRouteKind = new QComboBox(this);
    cbRouteKind->setObjectName(QStringLiteral("cbRouteKind"));
    cbRouteKind->addItems({QStringLiteral("otwarta"), QStringLiteral("zamknięta")});
    cbRouteKind->setCurrentIndex(0);
    cbRouteKind->setToolTip(kindHint);
    PlaceAt(*anchors, cbRouteKind, 261, 24, -1, 21);
    FMeasure = new TMeasureChoice(document, *this);
    PlaceAt(*anchors, FMeasure->Label(), 261, 8);
    PlaceAt(*anchors, FMeasure->Box(), 261, 24, -1, 21);

    const QString startHint = QStringLiteral(
        "Punkt, w którym droga się zaczyna: jego numer (od 0), \u201ezaznaczony\u201d \u2013 punkt zaznaczony na "
        "liście punktów, albo \u201ebrak\u201d \u2013 dowolny");
    const QString endHint = QStringLiteral(
        "Punkt, w którym kończy się droga otwarta: jego numer (od 0) albo \u201ebrak\u201d \u2013 dowolny. Droga "
        "zamknięta wraca do początku i nie ma osobnego końca.");
    const struct {
        QLabel*& Label;
        QComboBox*& Box;
        const char* LabelName;
        const char* BoxName;
        QString Caption;
        QStringList Items;
        QString Hint;
    } pairs[] = {
        {lblStartPoint,
         cbStartPoint,
         "lblStartPoint",
         "cbStartPoint",
         QStringLiteral("Początek w punkcie"),
         {QString::fromUtf8(NoPointWord), QString::fromUtf8(SelectedPointWord)},
         startHint},
        {lblEndPoint,
         cbEndPoint,
         "lblEndPoint",
         "cbEndPoint",
         QStringLiteral("Koniec w punkcie"),
         {QString::fromUtf8(NoPointWord)},
         endHint},
    };
    for (const auto& pair : pairs) {
        pair.Label = MakeLabel(pair.Caption, this, pair.LabelName);
        pair.Label->setToolTip(pair.Hint);
        pair.Box = new QComboBox(this);
        pair.Box->setObjectName(QString::fromLatin1(pair.BoxName));
        // A point's number is typed; the list holds the words.
        pair.Box->setEditable(true);
        pair.Box->setInsertPolicy(QComboBox::NoInsert);
        pair.Box->addItems(pair.Items);
        pair.Box->setCurrentIndex(0);
        pair.Box->setToolTip(pair.Hint);
        pair.Label->setBuddy(pair.Box);
        PlaceAt(*anchors, pair.Label, 12, KindRowTopPx + 4);
        PlaceAt(*anchors, pair.Box, 12, KindRowTopPx, -1, 21);
    }
}

void TSearchTab::FitKindControls()
{
    // The method list as wide as its longest method, the kind of route
    // right of it; below the buttons the route's fixed points, each box
    // after its label.
    const QRect methodPlace = FAnchors->DesignPlace(cbMethod);
    const int methodWidth = std::max(cbMethod->sizeHint().width(), cbMethod->minimumSizeHint().width());
    FAnchors->Replace(cbMethod, QRect(methodPlace.topLeft(), QSize(methodWidth, methodPlace.height())));
    const int kindLeft = methodPlace.left() + methodWidth + PairGapPx;
    FAnchors->Replace(lblRouteKind,
                      QRect(QPoint(kindLeft, FAnchors->DesignPlace(lblRouteKind).top()), lblRouteKind->sizeHint()));
    const int kindWidth =
        std::max(cbRouteKind->sizeHint().width(),
                 cbRouteKind->fontMetrics().horizontalAdvance(cbRouteKind->itemText(1)) + ComboExtraPx);
    FAnchors->Replace(cbRouteKind, QRect(kindLeft, methodPlace.top(), kindWidth, methodPlace.height()));
    // The measure right of the kind, as wide as its longest text.
    const int measureLeft = kindLeft + kindWidth + PairGapPx;
    QLabel* measureLabel = FMeasure->Label();
    FAnchors->Replace(measureLabel,
                      QRect(QPoint(measureLeft, FAnchors->DesignPlace(measureLabel).top()), measureLabel->sizeHint()));
    int measureWidth = 0;
    for (const QString& item : TMeasureChoice::AllItems())
        measureWidth = std::max(measureWidth, FMeasure->Box()->fontMetrics().horizontalAdvance(item));
    measureWidth += ComboExtraPx;
    FAnchors->Replace(FMeasure->Box(), QRect(measureLeft, methodPlace.top(), measureWidth, methodPlace.height()));
    FKindRight = measureLeft + measureWidth;

    int x = FAnchors->DesignPlace(lblStartPoint).left();
    for (const auto& [label, box] : {std::pair{lblStartPoint, cbStartPoint}, std::pair{lblEndPoint, cbEndPoint}}) {
        const QRect labelPlace = FAnchors->DesignPlace(label);
        FAnchors->Replace(label, QRect(QPoint(x, labelPlace.top()), label->sizeHint()));
        x += label->sizeHint().width() + LabelGapPx;
        // Room for the longest word of the list, or a point's number.
        int widest = box->fontMetrics().horizontalAdvance(QStringLiteral("999999"));
        for (int i = 0; i < box->count(); ++i)
            widest = std::max(widest, box->fontMetrics().horizontalAdvance(box->itemText(i)));
        const QRect boxPlace = FAnchors->DesignPlace(box);
        FAnchors->Replace(box, QRect(x, boxPlace.top(), widest + ComboExtraPx, boxPlace.height()));
        x += widest + ComboExtraPx + PairGapPx;
    }
    FKindRight = std::max(FKindRight, x - PairGapPx);
}
