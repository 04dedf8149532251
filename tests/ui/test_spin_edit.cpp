#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "scripted_dialogs.h"
#include "ui/point_list.h"
#include "ui/search_tab.h"
#include "ui/spin_edit.h"
#include "ui/window_parts.h"
#include "window_fixture.h"

namespace {

// A spin edit for the range 10 .. 1000 and a second control to take the
// focus away from it.
class SpinEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&Window);
        Spin = new TSpinEdit(10, 1000, 100, &Window);
        Other = new QLineEdit(&Window);
        layout->addWidget(Spin);
        layout->addWidget(Other);
        Window.show();
        Window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    }

    void FocusSpin()
    {
        Spin->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }

    void LeaveSpin()
    {
        Other->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }

    QWidget Window;
    TSpinEdit* Spin = nullptr;
    QLineEdit* Other = nullptr;
};

TEST_F(SpinEditTest, StartsWithItsDefault)
{
    EXPECT_EQ(Spin->Text(), QStringLiteral("100"));
    EXPECT_EQ(Spin->Value(), 100);
}

TEST_F(SpinEditTest, TypedCharactersAreFiltered)
{
    struct TRow {
        const char* Typed;
        const char* Kept;
    };
    const TRow rows[] = {
        {"12a3", "123"}, {"-5", "-5"}, {"+7", "+7"}, {"1,5", "1,5"},  // the Polish decimal separator
        {"1.5", "15"},   {"x y", ""},
    };
    for (const TRow& row : rows) {
        FocusSpin();
        Spin->SetText(QString());
        QTest::keyClicks(Spin, QString::fromUtf8(row.Typed));
        EXPECT_EQ(Spin->Text(), QString::fromUtf8(row.Kept)) << row.Typed;
    }
}

TEST_F(SpinEditTest, EnterIsRefused)
{
    EXPECT_FALSE(TSpinEdit::IsValidChar(u'\r'));
    EXPECT_TRUE(TSpinEdit::IsValidChar(u'\b'));
    EXPECT_TRUE(TSpinEdit::IsValidChar(u'7'));
    EXPECT_FALSE(TSpinEdit::IsValidChar(u'e'));
}

TEST_F(SpinEditTest, ValueReadsTheTextWithoutLimitingIt)
{
    struct TRow {
        const char* Text;
        int32_t Value;
    };
    const TRow rows[] = {
        {"5000", 5000}, {"-3", -3}, {"1,5", 10}, {"", 10}, {"+", 10}, {"  42", 42}, {"42 ", 10},
    };
    for (const TRow& row : rows) {
        Spin->SetText(QString::fromUtf8(row.Text));
        EXPECT_EQ(Spin->Value(), row.Value) << row.Text;
    }
}

TEST_F(SpinEditTest, LosingFocusBringsTheValueIntoRange)
{
    struct TRow {
        const char* Typed;
        const char* After;
    };
    const TRow rows[] = {
        {"5000", "1000"},
        {"5", "10"},
        {"-3", "10"},
        {"500", "500"},
        // Not a number: it reads as the minimum, which is in range, so the
        // text stays as typed.
        {"1,5", "1,5"},
        {"", ""},
    };
    for (const TRow& row : rows) {
        FocusSpin();
        Spin->SetText(QString());
        QTest::keyClicks(Spin, QString::fromUtf8(row.Typed));
        EXPECT_EQ(Spin->Text(), QString::fromUtf8(row.Typed)) << row.Typed;
        LeaveSpin();
        EXPECT_EQ(Spin->Text(), QString::fromUtf8(row.After)) << row.Typed;
    }
}

TEST_F(SpinEditTest, ArrowKeysChangeTheValueByOne)
{
    FocusSpin();
    QTest::keyClick(Spin, Qt::Key_Up);
    EXPECT_EQ(Spin->Value(), 101);
    QTest::keyClick(Spin, Qt::Key_Down);
    QTest::keyClick(Spin, Qt::Key_Down);
    EXPECT_EQ(Spin->Value(), 99);
    Spin->stepBy(1);
    EXPECT_EQ(Spin->Value(), 100);
}

TEST_F(SpinEditTest, StepsStayInsideTheRange)
{
    Spin->SetValue(1000);
    Spin->stepBy(1);
    EXPECT_EQ(Spin->Value(), 1000);
    Spin->SetValue(10);
    Spin->stepBy(-1);
    EXPECT_EQ(Spin->Value(), 10);
}

TEST(SearchTabSpinEditTest, FocusChoosesTheStopRule)
{
    TScriptedDialogs dialogs;
    auto form = MakeWindows();
    form->show();
    WritableState(*form).FPoints = {{0, 0, -1}, {3, 4, -1}};
    Part<TPointList>(*form, "ListBox1")->Refresh();
    Part<QTabWidget>(*form, "PageControl1")->setCurrentIndex(1);
    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(2);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

    ASSERT_TRUE(Part<QRadioButton>(*form, "rbGenCount")->isChecked());
    Part<TSpinEdit>(*form, "seGenTreshold")->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Part<QRadioButton>(*form, "rbGenTreshold")->isChecked());
    EXPECT_FALSE(Part<QRadioButton>(*form, "rbGenCount")->isChecked());

    Part<TSpinEdit>(*form, "seGenCount")->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Part<QRadioButton>(*form, "rbGenCount")->isChecked());
}

TEST(SearchTabSpinEditTest, RangesAndDefaults)
{
    TScriptedDialogs dialogs;
    auto form = MakeWindows();
    struct TRow {
        TSpinEdit* Spin;
        int32_t Min;
        int32_t Max;
        int32_t Default;
    };
    const TRow rows[] = {
        {Part<TSpinEdit>(*form, "seRandomCount"), 1, 32000, 1000},
        {Part<TSpinEdit>(*form, "seGenTreshold"), 1, 100, 2},
        {Part<TSpinEdit>(*form, "seGenCount"), 100, 32000, 2000},
        {Part<TSpinEdit>(*form, "sePopulation"), 10, 1000, 100},
    };
    for (const TRow& row : rows) {
        const std::string name = row.Spin->objectName().toStdString();
        EXPECT_EQ(row.Spin->MinValue(), row.Min) << name;
        EXPECT_EQ(row.Spin->MaxValue(), row.Max) << name;
        EXPECT_EQ(row.Spin->Value(), row.Default) << name;
    }
}

}  // namespace
