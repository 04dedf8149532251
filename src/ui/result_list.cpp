#include "ui/result_list.h"

#include "ui/document.h"

namespace {

// What an earlier line belongs to, kept with the line; none for a current one.
constexpr int EarlierRole = Qt::UserRole + 1;

}  // namespace

TResultList::TResultList(const TDocument& document, QWidget* parent) : QListWidget(parent)
{
    setObjectName(QStringLiteral("lbResults"));
    // Long lines wrap within the list's width rather than hide behind a
    // horizontal scroll bar.
    setWordWrap(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setResizeMode(QListView::Adjust);
    setTextElideMode(Qt::ElideNone);
    connect(&document, &TDocument::PointsChanged, this, [this] { MarkEarlier(TEarlier::Set); });
    connect(&document, &TDocument::PointMoved, this, [this] { MarkEarlier(TEarlier::Set); });
    connect(&document, &TDocument::LinksChanged, this, [this] { MarkEarlier(TEarlier::Route); });
}

void TResultList::AddLine(const QString& line)
{
    addItem(line);
}

void TResultList::MarkEarlier(TEarlier what)
{
    const QString routeTip =
        QStringLiteral("Wynik dla wcześniejszej drogi: połączenia punktów zmieniły się od tej pory");
    const QString setTip = QStringLiteral("Wynik dla wcześniejszego zbioru: punkty zmieniły się od tej pory");
    const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
    for (int row = 0; row < count(); ++row) {
        QListWidgetItem* line = item(row);
        const QVariant earlier = line->data(EarlierRole);
        // A line of an earlier route whose set then changed is one of an
        // earlier set too.
        if (earlier.isValid() && (earlier.toInt() == static_cast<int>(TEarlier::Set) || what == TEarlier::Route))
            continue;
        line->setData(EarlierRole, static_cast<int>(what));
        line->setForeground(grey);
        QFont font = line->font();
        font.setItalic(true);
        line->setFont(font);
        line->setToolTip(what == TEarlier::Set ? setTip : routeTip);
    }
}

bool TResultList::IsEarlier(int row) const
{
    const QListWidgetItem* line = item(row);
    return line && line->data(EarlierRole).isValid();
}
