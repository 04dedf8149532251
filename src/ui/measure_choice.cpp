#include "ui/measure_choice.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

#include "core/set_places.h"
#include "ui/document.h"

namespace {

const char* const PlaneItem = "euklidesowa na płaszczyźnie";

QString FromFileItem(TMetric metric)
{
    const std::string word = TsplibMetricWord(metric);
    return QStringLiteral("z pliku: ") + QString::fromStdString(word.empty() ? MetricText(metric) : word);
}

}  // namespace

TMeasureChoice::TMeasureChoice(TDocument& document, QWidget& page) : QObject(&page), FDocument(document)
{
    FLabel = new QLabel(QStringLiteral("Miara odległości"), &page);
    FLabel->setObjectName(QStringLiteral("lblMeasure"));
    FBox = new QComboBox(&page);
    FBox->setObjectName(QStringLiteral("cbMeasure"));
    FLabel->setBuddy(FBox);
    Refresh();
    connect(FBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        // Index 1 is the plane's only when the file has a measure of its own.
        if (FBox->count() == 2)
            FDocument.SetPlaneChosen(index == 1);
    });
    connect(&document, &TDocument::SetOpened, this, [this] { Refresh(); });
    connect(&document, &TDocument::MeasureChanged, this, [this] { Refresh(); });
    connect(&document, &TDocument::PointsChanged, this, [this] { Refresh(); });
}

QStringList TMeasureChoice::AllItems()
{
    QStringList items{QString::fromUtf8(PlaneItem)};
    for (const TMetric metric : {TMetric::Euc2d, TMetric::Ceil2d, TMetric::Att, TMetric::Geo, TMetric::Sphere})
        items << FromFileItem(metric);
    return items;
}

void TMeasureChoice::Refresh()
{
    const TSetPlaces& places = FDocument.State().FPlaces;
    const TMetric file = places.FileMetric;
    const QSignalBlocker blocker(FBox);
    FBox->clear();
    if (file != TMetric::Plane)
        FBox->addItem(FromFileItem(file));
    FBox->addItem(QString::fromUtf8(PlaneItem));
    FBox->setCurrentIndex(file != TMetric::Plane && !places.PlaneChosen ? 0 : FBox->count() - 1);
    FBox->setEnabled(!FSearching && FBox->count() == 2);
    const QString inUse = QString::fromStdString(MetricText(places.ActiveMetric()));
    const QString hint = file == TMetric::Plane
                             ? QStringLiteral("Odległości liczone na płaszczyźnie, wprost ze współrzędnych punktów.")
                             : QStringLiteral(
                                   "W użyciu: %1. Plik określa miarę %2; \u201eeuklidesowa na płaszczyźnie\u201d liczy "
                                   "odległości wprost ze współrzędnych zapisanych w pliku. Zmiana miary nie zmienia "
                                   "zbioru i nie jest krokiem do cofnięcia.")
                                   .arg(inUse, QString::fromStdString(MetricText(file)));
    FBox->setToolTip(hint);
    FLabel->setToolTip(hint);
}

void TMeasureChoice::SetSearching(bool searching)
{
    FSearching = searching;
    FBox->setEnabled(!FSearching && FBox->count() == 2);
}
