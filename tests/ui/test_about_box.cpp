// The About box: its texts, fonts and places, closing by keyboard, the two
// links, and the contact lines they lead to.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include "scripted_dialogs.h"
#include "ui/about_box.h"
#include "ui/commands.h"
#include "ui/contact.h"
#include "ui/window_parts.h"
#include "window_fixture.h"

namespace {

QLabel* LabelNamed(TAboutForm& form, const char* name)
{
    return form.findChild<QLabel*>(QString::fromLatin1(name));
}

TEST(AboutBoxTest, Texts)
{
    TAboutForm form;
    EXPECT_EQ(form.objectName(), QStringLiteral("AboutForm"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Informacje o programie"));
    struct TCase {
        const char* Name;
        QString Text;
    };
    const TCase cases[] = {
        {"ADescription",
         QStringLiteral("Program rozwiązuje problem komiwojażera z wykorzystaniem tradycyjnej metody przeszukiwania "
                        "wyczerpującego, a także za pomocą algorytmu genetycznego (krzyżowanie z porządkowaniem OX).")},
        {"Label1", QStringLiteral("Autor:")},
        {"Label2", QStringLiteral("Strona domowa:")},
        {"Label3", QStringLiteral("Zespół Tovu")},
        {"Label4", QStringLiteral("https://tovu.example.org/")},
    };
    for (const TCase& c : cases) {
        QLabel* label = LabelNamed(form, c.Name);
        ASSERT_NE(label, nullptr) << c.Name;
        EXPECT_EQ(label->text(), c.Text) << c.Name;
    }
    auto* button = form.findChild<QPushButton*>(QStringLiteral("Button1"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("Zamknij"));
}

TEST(AboutBoxTest, LinkHints)
{
    TAboutForm form;
    EXPECT_EQ(form.Label3->toolTip(), QStringLiteral("Wyślij wiadomość e-mail do autora"));
    EXPECT_EQ(form.Label4->toolTip(), QStringLiteral("Odwiedź stronę https://tovu.example.org/"));
}

TEST(AboutBoxTest, TitleAndVersionShowWhatOwnerSets)
{
    TAboutForm form;
    form.ATitle->setText(QStringLiteral("Tovu"));
    form.AVersion->setText(QStringLiteral("1.0.0.13"));
    // Both texts must fit in the room the labels get.
    for (QLabel* label : {form.ATitle, form.AVersion})
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
    EXPECT_GE(form.ATitle->height(), form.ATitle->sizeHint().height());
}

TEST(AboutBoxTest, Fonts)
{
    TAboutForm form;
    EXPECT_EQ(form.font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(form.font().pixelSize(), 11);
    const QFont title = form.ATitle->font();
    EXPECT_EQ(title.family(), QStringLiteral("Arial"));
    EXPECT_EQ(title.pixelSize(), 21);
    EXPECT_TRUE(title.bold());
    EXPECT_TRUE(title.italic());
    EXPECT_EQ(form.AVersion->font().pixelSize(), 11);
    EXPECT_FALSE(form.AVersion->font().bold());
}

TEST(AboutBoxTest, LinksLookLikeLinks)
{
    TAboutForm form;
    for (QLabel* link : {form.Label3, form.Label4}) {
        const std::string name = link->objectName().toStdString();
        EXPECT_TRUE(link->font().underline()) << name;
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255)) << name;
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << name;
    }
    EXPECT_FALSE(form.Label1->font().underline());
}

TEST(AboutBoxTest, WindowFrameAndSize)
{
    TAboutForm form;
    EXPECT_EQ(form.size(), QSize(398, 175));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(AboutBoxTest, Placement)
{
    TAboutForm form;
    struct TCase {
        const char* Name;
        QPoint TopLeft;
    };
    const TCase cases[] = {
        {"ATitle", {88, 8}},   {"AVersion", {88, 36}}, {"ADescription", {88, 52}}, {"Label1", {88, 136}},
        {"Label2", {88, 152}}, {"Label3", {172, 136}}, {"Label4", {172, 152}},     {"Button1", {12, 136}},
    };
    for (const TCase& c : cases) {
        auto* widget = form.findChild<QWidget*>(QString::fromLatin1(c.Name));
        ASSERT_NE(widget, nullptr) << c.Name;
        EXPECT_EQ(widget->pos(), c.TopLeft) << c.Name;
    }
    EXPECT_EQ(form.ADescription->size(), QSize(273, 73));
    EXPECT_TRUE(form.ADescription->wordWrap());
    EXPECT_EQ(form.Button1->size(), QSize(61, 29));
}

TEST(AboutBoxTest, DescriptionFitsItsBox)
{
    TAboutForm form;
    EXPECT_LE(form.ADescription->heightForWidth(273), 73);
}

TEST(AboutBoxTest, CentredOverOwner)
{
    QWidget owner;
    owner.setGeometry(100, 120, 640, 480);
    owner.show();
    TAboutForm form(&owner);
    form.show();
    const QPoint offset = form.frameGeometry().center() - owner.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << ", " << offset.y();
}

TEST(AboutBoxTest, PaintsIconAtItsPlace)
{
    TAboutForm form;
    const QImage image = form.grab().toImage();
    const QRgb background = image.pixel(5, 5);
    int iconPixels = 0;
    for (int y = 16; y < 48; ++y)
        for (int x = 24; x < 56; ++x)
            if (image.pixel(x, y) != background)
                ++iconPixels;
    EXPECT_GT(iconPixels, 100);
    // Nothing is painted between the icon and the texts.
    for (int y = 16; y < 48; ++y)
        EXPECT_EQ(image.pixel(70, y), background) << y;
}

// Runs the box modally and presses a key inside its loop; a key that fails
// to close it lets a guard end the loop with a result no button gives.
int ExecAndPress(Qt::Key key)
{
    constexpr int NotClosed = 99;
    TAboutForm form;
    QTimer::singleShot(0, &form, [&form, key] {
        QWidget* target = form.focusWidget() != nullptr ? form.focusWidget() : &form;
        QTest::keyClick(target, key);
    });
    QTimer::singleShot(3000, &form, [&form] { form.done(NotClosed); });
    return form.exec();
}

TEST(AboutBoxTest, EnterClosesIt)
{
    EXPECT_EQ(ExecAndPress(Qt::Key_Return), QDialog::Accepted);
    EXPECT_EQ(ExecAndPress(Qt::Key_Enter), QDialog::Accepted);
}

TEST(AboutBoxTest, EscClosesIt)
{
    EXPECT_EQ(ExecAndPress(Qt::Key_Escape), QDialog::Rejected);
}

TEST(AboutBoxTest, ButtonClosesIt)
{
    TAboutForm form;
    form.show();
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST(AboutBoxTest, LinkClicksRunCommandsAndKeepBoxOpen)
{
    TAboutForm form;
    form.show();
    QSignalSpy mail(&form, &TAboutForm::AuthorLinkClicked);
    QSignalSpy home(&form, &TAboutForm::HomePageLinkClicked);
    QTest::mouseClick(form.Label3, Qt::LeftButton);
    EXPECT_EQ(mail.count(), 1);
    EXPECT_EQ(home.count(), 0);
    QTest::mouseClick(form.Label4, Qt::LeftButton);
    EXPECT_EQ(mail.count(), 1);
    EXPECT_EQ(home.count(), 1);
    EXPECT_TRUE(form.isVisible());
}

TEST(AboutBoxTest, ReleaseOffTheLinkIsNoClick)
{
    TAboutForm form;
    form.show();
    QSignalSpy mail(&form, &TAboutForm::AuthorLinkClicked);
    QTest::mousePress(form.Label3, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(form.Label3, Qt::LeftButton, {}, QPoint(form.Label3->width() + 20, 2));
    QTest::mouseClick(form.Label3, Qt::RightButton);
    EXPECT_EQ(mail.count(), 0);
}

TEST(ContactTest, MailLinkCarriesTitleAsSubject)
{
    EXPECT_EQ(tovu::AuthorMailLink(QStringLiteral("Tovu")), QStringLiteral("mailto:tovu@example.org?subject=Tovu"));
    EXPECT_EQ(tovu::AuthorMailUrl(QStringLiteral("Tovu")).toString(),
              QStringLiteral("mailto:tovu@example.org?subject=Tovu"));
}

TEST(ContactTest, MailUrlKeepsTitleWithBlanksAndAmpersandWhole)
{
    const QUrl url = tovu::AuthorMailUrl(QStringLiteral("Tovu & spółka"));
    ASSERT_TRUE(url.isValid());
    EXPECT_EQ(url.path(), QStringLiteral("tovu@example.org"));
    EXPECT_EQ(QUrlQuery(url).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
              QStringLiteral("Tovu & spółka"));
}

TEST(ContactTest, HomePageIsAWebAddress)
{
    const QUrl url = tovu::HomePageUrl();
    ASSERT_TRUE(url.isValid());
    EXPECT_EQ(url.scheme(), QStringLiteral("https"));
    EXPECT_EQ(url.host(), QStringLiteral("tovu.example.org"));
    EXPECT_EQ(tovu::HomePageHint(), QStringLiteral("Odwiedź stronę https://tovu.example.org/"));
}

// Where no mail program or browser starts, the address is shown in a box
// (whose text can be copied) instead of nothing at all.
TEST(ContactTest, ContactCommandsShowTheAddressWhenNothingOpens)
{
    TScriptedDialogs dialogs;
    auto form = MakeWindows();
    const struct {
        TCommand* command;
        const char* scheme;
        const char* address;
        bool opens;
    } rows[] = {
        {Command(*form, "cmdEmail"), "mailto", tovu::AuthorMailAddress, false},
        {Command(*form, "cmdEmail"), "mailto", tovu::AuthorMailAddress, true},
        {Command(*form, "cmdVisitWWW"), "https", tovu::HomePageAddress, false},
        {Command(*form, "cmdVisitWWW"), "https", tovu::HomePageAddress, true},
    };
    for (const auto& row : rows) {
        const std::string name = row.command->objectName().toStdString() + (row.opens ? ", opens" : ", nothing opens");
        dialogs.Boxes.clear();
        dialogs.LinksOpen = row.opens;
        ASSERT_TRUE(row.command->Execute()) << name;
        ASSERT_EQ(dialogs.Boxes.size(), row.opens ? 1u : 2u) << name;
        EXPECT_TRUE(dialogs.Boxes.front().Text.startsWith(QString::fromLatin1(row.scheme) + u':')) << name;
        if (!row.opens) {
            EXPECT_EQ(dialogs.Boxes.back().Kind, QStringLiteral("information")) << name;
            EXPECT_EQ(dialogs.Boxes.back().Caption, row.command->text()) << name;
            EXPECT_TRUE(dialogs.Boxes.back().Text.endsWith(u'\n' + QString::fromUtf8(row.address))) << name;
        }
    }
}

}  // namespace
