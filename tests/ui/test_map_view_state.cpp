#include <gtest/gtest.h>

#include "raster/map_fit.h"
#include "ui/map_view_state.h"

namespace {

const TPointArray OnTheMap = {{10, 10, -1}, {60, 40, -1}};
const TPointArray BeyondTheMap = {{0, 0, -1}, {2000, 1000, -1}};

// A set that does not lie on the map is fitted by the map itself, and the
// next one that does goes back to 1:1 when it comes from outside.
TEST(MapViewStateTest, TheMapFitsASetItCannotShowWholeAndLetsGoOfItsOwnFit)
{
    TMapViewState view;
    ASSERT_TRUE(view.NoteReplaced(BeyondTheMap, true));
    TMapLook look = view.LookAtSet(BeyondTheMap, 200, 100);
    EXPECT_TRUE(look.Changed && look.FittedByMap);
    EXPECT_EQ(view.Mode, TMapViewMode::Fitted);
    EXPECT_TRUE(view.Next(BeyondTheMap, 200, 100).On);

    ASSERT_TRUE(view.NoteReplaced(OnTheMap, true));
    look = view.LookAtSet(OnTheMap, 200, 100);
    EXPECT_TRUE(look.Changed && look.BackToPixels);
    EXPECT_EQ(view.Mode, TMapViewMode::Pixels);
    EXPECT_FALSE(view.Next(OnTheMap, 200, 100).On);
}

// A step of the history keeps the user's zoom and Ctrl+0's choice; a set
// of the same extent (a search's start) is not looked at again.
TEST(MapViewStateTest, StepsKeepTheUsersViewAndTheSameExtentIsNotLookedAtAgain)
{
    TMapViewState view;
    view.NoteReplaced(OnTheMap, true);
    view.LookAtSet(OnTheMap, 200, 100);
    view.ZoomAbout(2.0, 100, 50);
    EXPECT_EQ(view.Mode, TMapViewMode::Free);
    EXPECT_DOUBLE_EQ(view.Next(OnTheMap, 200, 100).Scale, 2.0);
    EXPECT_FALSE(view.NoteReplaced(OnTheMap, true));

    ASSERT_TRUE(view.NoteReplaced(BeyondTheMap, false));
    EXPECT_FALSE(view.LookAtSet(BeyondTheMap, 200, 100).Changed);
    EXPECT_EQ(view.Mode, TMapViewMode::Free);

    view.ToPixels();
    view.NoteReplaced(OnTheMap, false);
    view.LookAtSet(OnTheMap, 200, 100);
    ASSERT_TRUE(view.NoteReplaced(BeyondTheMap, false));
    EXPECT_FALSE(view.LookAtSet(BeyondTheMap, 200, 100).Changed);
    EXPECT_EQ(view.Mode, TMapViewMode::Pixels);
}

// The same file opened again is looked at again, though its extent is the same.
TEST(MapViewStateTest, ASetOpenedAgainIsLookedAtAgain)
{
    TMapViewState view;
    view.NoteReplaced(OnTheMap, true);
    view.LookAtSet(OnTheMap, 200, 100);
    view.Pan(5, 7);
    view.NoteOpened();
    ASSERT_TRUE(view.NoteReplaced(OnTheMap, false));
    EXPECT_TRUE(view.LookAtSet(OnTheMap, 200, 100).BackToPixels);
    EXPECT_EQ(view.Mode, TMapViewMode::Pixels);
}

// The check mark is the user's word: on, the set is fitted; off, a fitted
// view goes back to 1:1 but a zoomed one stays.
TEST(MapViewStateTest, TheFitCheckMarkChoosesTheMode)
{
    TMapViewState view;
    view.FollowFitCheck(true);
    EXPECT_EQ(view.Mode, TMapViewMode::Fitted);
    view.FollowFitCheck(false);
    EXPECT_EQ(view.Mode, TMapViewMode::Pixels);
    view.Pan(3, 4);
    view.FollowFitCheck(false);
    EXPECT_EQ(view.Mode, TMapViewMode::Free);
    EXPECT_EQ(view.Next(OnTheMap, 200, 100).MapX(10), 13);
}

}  // namespace
