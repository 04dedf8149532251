// What a save refuses or gives up: links another user planted in a shared
// folder, files nobody may write, and a save asked to stop.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>

#include "core/safe_save.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t Nobody = 65534;

enum class TLinkOwner { Saver, FolderOwner, Other };

struct TLinkCase {
    const char* Name;
    // The folder that holds the link: sticky and writable by everyone, or not.
    mode_t FolderMode;
    TLinkOwner Owner;
    bool Followed;
};

// The rule the system keeps for the links it follows itself.
const TLinkCase LinkCases[] = {
    {"OtherUsersLinkInSharedFolder", 01777, TLinkOwner::Other, false},
    {"OwnLinkInSharedFolder", 01777, TLinkOwner::Saver, true},
    {"FolderOwnersLinkInSharedFolder", 01777, TLinkOwner::FolderOwner, true},
    {"OtherUsersLinkInStickyPrivateFolder", 01755, TLinkOwner::Other, true},
    {"OtherUsersLinkInWritableFolderWithoutSticky", 0777, TLinkOwner::Other, true},
};

class LinkOwnerTable : public testing::TestWithParam<TLinkCase> {};

}  // namespace

TEST_P(LinkOwnerTable, LinkInASharedFolderIsFollowedOnlyForItsRightfulOwners)
{
    const TLinkCase& c = GetParam();
    TScratchFolder folder;
    const std::string shared = folder.File("shared");
    const std::string target = folder.File("precious.tvu");
    const std::string link = shared + "/set.tvu";
    WriteBytes(target, "1; 1\r\n");
    fs::create_directory(shared);
    // The shared folder belongs to another user, as /tmp belongs to root.
    const uid_t folderOwner = ::geteuid() == 0 ? 1 : ::geteuid();
    const uid_t linkOwner = c.Owner == TLinkOwner::Saver         ? ::geteuid()
                            : c.Owner == TLinkOwner::FolderOwner ? folderOwner
                                                                 : Nobody;
    fs::create_symlink(target, link);
    if (::chown(shared.c_str(), folderOwner, static_cast<gid_t>(-1)) != 0 ||
        ::lchown(link.c_str(), linkOwner, static_cast<gid_t>(-1)) != 0)
        GTEST_SKIP() << "owners can only be set by root";
    ASSERT_EQ(::chmod(shared.c_str(), c.FolderMode), 0);

    const TFileResult result = WriteFileReplacing(link, "2; 2\r\n");
    if (c.Followed) {
        EXPECT_TRUE(result.Ok()) << result.ErrorText;
        EXPECT_EQ(ReadBytes(target), "2; 2\r\n");
    } else {
        EXPECT_NE(result.ErrorText.find("„" + link + "”"), std::string::npos) << result.ErrorText;
        EXPECT_EQ(ReadBytes(target), "1; 1\r\n");
    }
    EXPECT_TRUE(fs::is_symlink(link));
}

INSTANTIATE_TEST_SUITE_P(Rows, LinkOwnerTable, testing::ValuesIn(LinkCases),
                         [](const testing::TestParamInfo<TLinkCase>& info) { return info.param.Name; });

// No write bit at all is the owner's "read-only", which root's rights
// would pass over; the message names the file a link led to.
TEST(SaveGuards, FileWithoutWriteBitsIsReadOnlyForEveryone)
{
    TScratchFolder folder;
    const std::string path = folder.File("set.tvu");
    WriteBytes(path, "1; 1\r\n");
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(WriteFileReplacing(path, "2; 2\r\n").ErrorText, "Plik jest tylko do odczytu");
    fs::create_symlink("set.tvu", folder.File("link.tvu"));
    EXPECT_EQ(WriteFileReplacing(folder.File("link.tvu"), "2; 2\r\n").ErrorText,
              "Plik „" + path + "” jest tylko do odczytu");
    EXPECT_EQ(ReadBytes(path), "1; 1\r\n");
    // One write bit, anyone's, and the save goes on as the rights say.
    ::chmod(path.c_str(), 0644);
    EXPECT_TRUE(WriteFileReplacing(path, "3; 3\r\n").Ok());
    EXPECT_EQ(folder.Entries(), std::set<std::string>({"link.tvu", "set.tvu"}));
}

// A save asked to stop before its rename leaves the old file as it was and
// takes its temporary file away.
TEST(SaveGuards, StoppedSaveKeepsTheOldFileAndLeavesNothing)
{
    TScratchFolder folder;
    const std::string path = folder.File("set.tvu");
    WriteBytes(path, "1; 1\r\n");
    for (const int askedBeforeStop : {0, 1, 3}) {
        int asked = 0;
        const std::string content(5u << 20, '7');
        const TFileResult result = WriteFileReplacing(path, content, [&] { return asked++ >= askedBeforeStop; });
        EXPECT_EQ(result.ErrorText, SaveStoppedText) << askedBeforeStop;
        EXPECT_EQ(ReadBytes(path), "1; 1\r\n");
        EXPECT_EQ(folder.Entries(), std::set<std::string>({"set.tvu"}));
    }
}

// A reader that opened the FIFO but never reads would hold the save for
// ever; asked to stop, the save gives up.
TEST(SaveGuards, FifoWhoseReaderNeverReadsGivesUpWhenAsked)
{
    TScratchFolder folder;
    const std::string path = folder.File("pipe.tvu");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    int asked = 0;
    const std::string content(1u << 20, '7');
    const TFileResult result = WriteFileReplacing(path, content, [&asked] { return ++asked > 5; });
    ::close(reader);
    EXPECT_EQ(result.ErrorText, SaveStoppedText);
    EXPECT_EQ(folder.Entries(), std::set<std::string>({"pipe.tvu"}));
}

namespace {

struct TPathLinkCase {
    const char* Name;
    // The link in the shared folder belongs to another user.
    bool Planted;
    // The save goes through a link of the saver's own in a private folder,
    // whose text leads through the shared folder's link.
    bool ThroughOwnLink;
};

const TPathLinkCase PathLinkCases[] = {
    {"PlantedLinkAsAFolderOfThePath", true, false},
    {"PlantedLinkReachedThroughAnOwnLink", true, true},
    {"OwnLinkAsAFolderOfThePath", false, false},
};

class PathLinkTable : public testing::TestWithParam<TPathLinkCase> {};

}  // namespace

// The rule holds for every link met on the way to the file, not only for
// the last part of its name: a folder of the path may be a planted link.
TEST_P(PathLinkTable, EveryLinkOnThePathKeepsTheSharedFolderRule)
{
    const TPathLinkCase& c = GetParam();
    TScratchFolder folder;
    const std::string shared = folder.File("shared");
    const std::string secret = folder.File("secret");
    fs::create_directory(shared);
    fs::create_directory(secret);
    const std::string link = shared + "/tdir";
    fs::create_symlink(secret, link);
    const uid_t folderOwner = ::geteuid() == 0 ? 1 : ::geteuid();
    if (::chown(shared.c_str(), folderOwner, static_cast<gid_t>(-1)) != 0 ||
        ::lchown(link.c_str(), c.Planted ? Nobody : ::geteuid(), static_cast<gid_t>(-1)) != 0)
        GTEST_SKIP() << "owners can only be set by root";
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    std::string name = link + "/data.tvu";
    if (c.ThroughOwnLink) {
        fs::create_symlink("shared/tdir", folder.File("mine"));
        name = folder.File("mine/data.tvu");
    }

    const TFileResult result = WriteFileReplacing(name, "2; 2\r\n");
    if (c.Planted) {
        EXPECT_EQ(result.ErrorText.find("Dowiązanie symboliczne „" + link + "”"), 0u) << result.ErrorText;
        EXPECT_TRUE(fs::is_empty(secret));
    } else {
        EXPECT_TRUE(result.Ok()) << result.ErrorText;
        EXPECT_EQ(ReadBytes(secret + "/data.tvu"), "2; 2\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, PathLinkTable, testing::ValuesIn(PathLinkCases),
                         [](const testing::TestParamInfo<TPathLinkCase>& info) { return info.param.Name; });

// Parts of the name that are no plain folder: "..", "." and a link to a
// folder whose text climbs with "..", all resolved as the system does.
TEST(SaveGuards, DotsAndRelativeFolderLinksLandWhereTheSystemPutsThem)
{
    TScratchFolder folder;
    fs::create_directories(folder.File("a/b"));
    fs::create_directory(folder.File("c"));
    fs::create_symlink("../../c", folder.File("a/b/up"));
    EXPECT_TRUE(WriteFileReplacing(folder.File("a/b/up/./x.tvu"), "1; 1\r\n").Ok());
    EXPECT_EQ(ReadBytes(folder.File("c/x.tvu")), "1; 1\r\n");
    EXPECT_TRUE(WriteFileReplacing(folder.File("a/b/up/../a/y.tvu"), "2; 2\r\n").Ok());
    EXPECT_EQ(ReadBytes(folder.File("a/y.tvu")), "2; 2\r\n");
    EXPECT_EQ(WriteFileReplacing(folder.File("a/b/up/"), "3; 3\r\n").ErrorText, FolderText);
    EXPECT_EQ(WriteFileReplacing(folder.File("c/x.tvu/z.tvu"), "4; 4\r\n").ErrorText, SystemErrorText(ENOTDIR));
}
