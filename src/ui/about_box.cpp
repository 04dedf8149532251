#include "ui/about_box.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

#include "ui/contact.h"

// The icon's resource file sits in a static library, whose registration the
// linker keeps only when something names it; it has to be done outside any
// namespace.
static void RegisterTovuResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(tovu);
        return true;
    }();
    static_cast<void>(registered);
}

namespace {

constexpr int ClientWidthPx = 398;
constexpr int ClientHeightPx = 175;
constexpr int FontPixels = 11;
constexpr int TitleFontPixels = 21;
constexpr int IconSizePx = 32;
constexpr int TextLeftPx = 88;
constexpr int LinkLeftPx = 172;

const char DescriptionText[] =
    "Program rozwiązuje problem komiwojażera z wykorzystaniem tradycyjnej metody przeszukiwania "
    "wyczerpującego, a także za pomocą algorytmu genetycznego (krzyżowanie z porządkowaniem OX).";

QLabel* NewLabel(QWidget* parent, const char* objectName, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->move(x, y);
    label->adjustSize();
    return label;
}

void MakeLink(QLabel* label, const QString& hint)
{
    QFont underlined = label->font();
    underlined.setUnderline(true);
    label->setFont(underlined);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(hint);
    label->adjustSize();
}

}  // namespace

TAboutForm::TAboutForm(QWidget* owner) : QDialog(owner)
{
    RegisterTovuResources();
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("Informacje o programie"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidthPx, ClientHeightPx);
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(FontPixels);
    setFont(formFont);

    // The owner sets the title and version texts after creation, so these two
    // get room up to the right edge instead of being sized to their text.
    ATitle = NewLabel(this, "ATitle", QString(), TextLeftPx, 8);
    QFont titleFont = formFont;
    titleFont.setPixelSize(TitleFontPixels);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    ATitle->setFont(titleFont);
    ATitle->setGeometry(TextLeftPx, 8, ClientWidthPx - TextLeftPx - 8, 26);

    AVersion = NewLabel(this, "AVersion", QString(), TextLeftPx, 36);
    AVersion->setGeometry(TextLeftPx, 36, ClientWidthPx - TextLeftPx - 8, 14);

    ADescription = NewLabel(this, "ADescription", QString::fromUtf8(DescriptionText), TextLeftPx, 52);
    ADescription->setWordWrap(true);
    ADescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ADescription->setGeometry(TextLeftPx, 52, 273, 73);

    Label1 = NewLabel(this, "Label1", QStringLiteral("Autor:"), TextLeftPx, 136);
    Label2 = NewLabel(this, "Label2", QStringLiteral("Strona domowa:"), TextLeftPx, 152);

    Label3 = NewLabel(this, "Label3", QString::fromUtf8(tovu::AuthorName), LinkLeftPx, 136);
    MakeLink(Label3, QStringLiteral("Wyślij wiadomość e-mail do autora"));
    Label3->installEventFilter(this);

    Label4 = NewLabel(this, "Label4", QString::fromUtf8(tovu::HomePageAddress), LinkLeftPx, 152);
    MakeLink(Label4, tovu::HomePageHint());
    Label4->installEventFilter(this);

    // Default button for Enter; Esc already rejects a dialog. Either closes it.
    Button1 = new QPushButton(QStringLiteral("Zamknij"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(12, 136, 61, 29);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutForm::Label3Click()
{
    emit AuthorLinkClicked();
}

void TAboutForm::Label4Click()
{
    emit HomePageLinkClicked();
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Label3 || watched == Label4) && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* label = static_cast<QLabel*>(watched);
        // A press that is dragged off the link and released elsewhere is no click.
        if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
            if (watched == Label3)
                Label3Click();
            else
                Label4Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutForm::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    FormPaint();
}

void TAboutForm::FormPaint()
{
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = QIcon(QStringLiteral(":/icons/tovu.svg"));
    QPainter painter(this);
    icon.paint(&painter, QRect(24, 16, IconSizePx, IconSizePx));
}

void TAboutForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        CentreOverOwner();
    QDialog::showEvent(event);
}

void TAboutForm::CentreOverOwner()
{
    const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    if (owner == nullptr)
        return;
    const QRect ownerFrame = owner->frameGeometry();
    const QSize frame = frameGeometry().size();
    move(ownerFrame.center() - QPoint(frame.width() / 2, frame.height() / 2));
}
