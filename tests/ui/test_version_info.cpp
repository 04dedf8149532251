// The version block: how the build lays it out, how it is found again in a
// file, and what the version component reads from the program itself.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ui/version/QZVersionInfo.h"
#include "ui/version/version_block.h"
#include "ui/version/version_file.h"
#include "version.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Bytes typed out field by field, every length counted by hand.
struct THandBytes {
    Bytes Data;
    void Words(std::initializer_list<std::uint16_t> words)
    {
        for (std::uint16_t w : words) {
            Data.push_back(static_cast<std::uint8_t>(w & 0xFF));
            Data.push_back(static_cast<std::uint8_t>(w >> 8));
        }
    }
    void DWords(std::initializer_list<std::uint32_t> dwords)
    {
        for (std::uint32_t d : dwords)
            Words({static_cast<std::uint16_t>(d & 0xFFFF), static_cast<std::uint16_t>(d >> 16)});
    }
    void Ascii16(const char* text)
    {
        for (; *text != '\0'; ++text)
            Words({static_cast<std::uint16_t>(*text)});
        Words({0});
    }
    void Pad(std::size_t bytes) { Data.insert(Data.end(), bytes, 0); }
};

// A small block: US English, Unicode code page, one string "FileVersion" = "2.5".
Bytes HandBuiltBlock()
{
    THandBytes b;
    b.Words({260, 52, 0});  // root
    b.Ascii16("VS_VERSION_INFO");
    b.Pad(2);
    b.DWords({0xFEEF04BD, 0x10000, 0x20005, 7, 0x20005, 0, 0x3F, 0, 4, 1, 0, 0, 0});
    b.Words({100, 0, 1});  // at 92
    b.Ascii16("StringFileInfo");
    b.Words({64, 0, 1});  // at 128
    b.Ascii16("040904B0");
    b.Words({40, 4, 1});  // at 152
    b.Ascii16("FileVersion");
    b.Pad(2);
    b.Ascii16("2.5");
    b.Words({68, 0, 1});  // at 192
    b.Ascii16("VarFileInfo");
    b.Pad(2);
    b.Words({36, 4, 0});  // at 224
    b.Ascii16("Translation");
    b.Pad(2);
    b.Words({0x0409, 0x04B0});
    return b.Data;
}

tovu::TVersionBlockContent HandBuiltContent()
{
    tovu::TVersionBlockContent content;
    content.Fixed.FileVersionMS = 0x20005;
    content.Fixed.FileVersionLS = 7;
    content.Fixed.ProductVersionMS = 0x20005;
    content.Fixed.FileFlagsMask = 0x3F;
    content.Fixed.FileOS = 4;
    content.Fixed.FileType = 1;
    content.Language = 0x0409;
    content.CodePage = 0x04B0;
    content.Strings = {{"FileVersion", "2.5"}};
    return content;
}

class VersionFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

    std::string WriteFile(const char* name, const Bytes& bytes)
    {
        const QString path = FDir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return QFile::encodeName(path).toStdString();
    }

    // The block through the file functions, the way the component reads it.
    static Bytes Load(const std::string& fileName)
    {
        const std::uint32_t size = tovu::VersionInfoSize(fileName.c_str());
        if (size == 0)
            return {};
        Bytes buffer(size);
        if (!tovu::ReadVersionInfo(fileName.c_str(), size, buffer.data()))
            return {};
        return buffer;
    }

    static bool Text(Bytes& buffer, const char* path, std::string& text)
    {
        void* value = nullptr;
        std::uint32_t length = 0;
        if (!tovu::QueryVersionValue(buffer.data(), static_cast<std::uint32_t>(buffer.size()), path, &value, &length))
            return false;
        text = static_cast<const char*>(value);
        return true;
    }

    QTemporaryDir FDir;
};

Bytes Garbage(std::size_t count, std::uint32_t seed)
{
    Bytes bytes(count);
    for (auto& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(seed >> 24);
    }
    return bytes;
}

TEST(VersionBlockBuilderTest, LaysOutTheBlockByteForByte)
{
    EXPECT_EQ(tovu::BuildVersionBlock(HandBuiltContent()), HandBuiltBlock());
}

TEST(VersionBlockBuilderTest, ProgramBlockLengthIsItsSize)
{
    const auto block = tovu::ProgramVersionBlock();
    EXPECT_EQ(block[0] | (block[1] << 8), static_cast<int>(block.size()));
    EXPECT_EQ(block.size() % 4, 0u);
}

TEST_F(VersionFileTest, FindsBlockAmidOtherBytes)
{
    Bytes file = Garbage(1001, 7);
    const Bytes block = HandBuiltBlock();
    file.insert(file.end(), block.begin(), block.end());
    const Bytes tail = Garbage(333, 9);
    file.insert(file.end(), tail.begin(), tail.end());
    const std::string name = WriteFile("amid.bin", file);

    EXPECT_EQ(tovu::VersionInfoSize(name.c_str()), tovu::VersionInfoBufferBytes(260));
    Bytes buffer = Load(name);
    ASSERT_FALSE(buffer.empty());
    EXPECT_TRUE(std::equal(block.begin(), block.end(), buffer.begin()));
}

TEST_F(VersionFileTest, SkipsKeyWithoutValidHeader)
{
    // The root key's characters alone, then a real block.
    THandBytes decoy;
    decoy.Words({9999, 3, 7});
    decoy.Ascii16("VS_VERSION_INFO");
    Bytes file = decoy.Data;
    const Bytes block = HandBuiltBlock();
    file.insert(file.end(), block.begin(), block.end());
    Bytes buffer = Load(WriteFile("decoy.bin", file));
    ASSERT_FALSE(buffer.empty());
    std::string text;
    ASSERT_TRUE(Text(buffer, "\\StringFileInfo\\040904B0\\FileVersion", text));
    EXPECT_EQ(text, "2.5");
}

TEST_F(VersionFileTest, QueriesFixedBlockTranslationAndStrings)
{
    Bytes buffer = Load(WriteFile("block.bin", HandBuiltBlock()));
    ASSERT_FALSE(buffer.empty());
    void* value = nullptr;
    std::uint32_t length = 0;
    const auto size = static_cast<std::uint32_t>(buffer.size());

    ASSERT_TRUE(tovu::QueryVersionValue(buffer.data(), size, "\\", &value, &length));
    EXPECT_EQ(length, 52u);
    std::uint32_t fixed[13];
    std::memcpy(fixed, value, sizeof fixed);
    EXPECT_EQ(fixed[0], 0xFEEF04BDu);
    EXPECT_EQ(fixed[2], 0x20005u);
    EXPECT_EQ(fixed[3], 7u);

    ASSERT_TRUE(tovu::QueryVersionValue(buffer.data(), size, "\\VarFileInfo\\Translation", &value, &length));
    EXPECT_EQ(length, 4u);
    std::uint32_t translation = 0;
    std::memcpy(&translation, value, 4);
    EXPECT_EQ(translation, 0x04B00409u);

    ASSERT_TRUE(
        tovu::QueryVersionValue(buffer.data(), size, "\\StringFileInfo\\040904B0\\FileVersion", &value, &length));
    EXPECT_STREQ(static_cast<const char*>(value), "2.5");
    EXPECT_EQ(length, 4u);  // characters with the terminator
}

TEST_F(VersionFileTest, KeysMatchWithoutRegardToCase)
{
    Bytes buffer = Load(WriteFile("case.bin", HandBuiltBlock()));
    std::string text;
    ASSERT_TRUE(Text(buffer, "\\stringfileinfo\\040904b0\\FILEVERSION", text));
    EXPECT_EQ(text, "2.5");
}

TEST_F(VersionFileTest, UnknownPathsAreNotFound)
{
    Bytes buffer = Load(WriteFile("unknown.bin", HandBuiltBlock()));
    ASSERT_FALSE(buffer.empty());
    std::string text;
    for (const char* path : {"\\StringFileInfo\\040904B0\\CompanyName", "\\StringFileInfo\\041504E2\\FileVersion",
                             "\\StringFileInfo\\040904B0\\FileVersio", "\\NoSuchBlock"})
        EXPECT_FALSE(Text(buffer, path, text)) << path;
}

TEST_F(VersionFileTest, TextsComeBackAsUtf8)
{
    tovu::TVersionBlockContent content = HandBuiltContent();
    content.Strings = {{"CompanyName", "Zespół Tovu"}, {"Comments", ""}};
    const std::vector<std::uint8_t> block = tovu::BuildVersionBlock(content);
    Bytes buffer = Load(WriteFile("utf8.bin", Bytes(block.begin(), block.end())));
    std::string text;
    ASSERT_TRUE(Text(buffer, "\\StringFileInfo\\040904B0\\CompanyName", text));
    EXPECT_EQ(text, "Zespół Tovu");
    ASSERT_TRUE(Text(buffer, "\\StringFileInfo\\040904B0\\Comments", text));
    EXPECT_EQ(text, "");
}

TEST_F(VersionFileTest, FilesWithoutBlockHaveNoVersionInfo)
{
    const Bytes block = HandBuiltBlock();
    struct TCase {
        const char* Name;
        Bytes Content;
    };
    const TCase cases[] = {
        {"empty", {}},
        {"garbage", Garbage(5000, 1)},
        {"cut inside fixed block", Bytes(block.begin(), block.begin() + 60)},
        {"cut before the end", Bytes(block.begin(), block.end() - 1)},
    };
    for (const TCase& c : cases) {
        const std::string name = WriteFile(c.Name, c.Content);
        EXPECT_EQ(tovu::VersionInfoSize(name.c_str()), 0u) << c.Name;
        Bytes buffer(1024);
        EXPECT_FALSE(tovu::ReadVersionInfo(name.c_str(), 1024, buffer.data())) << c.Name;
    }
    EXPECT_EQ(tovu::VersionInfoSize(FDir.filePath("missing").toLocal8Bit().constData()), 0u);
    EXPECT_EQ(tovu::VersionInfoSize(FDir.path().toLocal8Bit().constData()), 0u);
}

TEST_F(VersionFileTest, ReadRefusesTooSmallBuffer)
{
    const std::string name = WriteFile("small.bin", HandBuiltBlock());
    Bytes buffer(259);
    EXPECT_FALSE(tovu::ReadVersionInfo(name.c_str(), 259, buffer.data()));
}

TEST(VersionQueryTest, TextNeedsRoomAfterRawBlock)
{
    // Only the raw block: binary values are there, texts have nowhere to go.
    Bytes raw = HandBuiltBlock();
    void* value = nullptr;
    std::uint32_t length = 0;
    const auto size = static_cast<std::uint32_t>(raw.size());
    EXPECT_TRUE(tovu::QueryVersionValue(raw.data(), size, "\\", &value, &length));
    EXPECT_FALSE(tovu::QueryVersionValue(raw.data(), size, "\\StringFileInfo\\040904B0\\FileVersion", &value, &length));
}

// Every 16-bit word of the block set to extreme values in turn: whatever a
// query answers must lie inside the buffer.
TEST(VersionQueryTest, MalformedBlocksStayInsideBuffer)
{
    const Bytes block = HandBuiltBlock();
    const std::uint32_t size = tovu::VersionInfoBufferBytes(static_cast<std::uint32_t>(block.size()));
    const char* paths[] = {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904B0\\FileVersion",
                           "\\StringFileInfo", "\\VarFileInfo"};
    int answers = 0;
    for (std::size_t word = 0; word + 1 < block.size(); word += 2) {
        for (std::uint16_t replacement :
             {std::uint16_t{0}, std::uint16_t{1}, std::uint16_t{7}, std::uint16_t{0xFFFF}}) {
            Bytes buffer(block);
            buffer.resize(size);
            buffer[word] = static_cast<std::uint8_t>(replacement & 0xFF);
            buffer[word + 1] = static_cast<std::uint8_t>(replacement >> 8);
            for (const char* path : paths) {
                void* value = nullptr;
                std::uint32_t length = 0;
                if (!tovu::QueryVersionValue(buffer.data(), size, path, &value, &length))
                    continue;
                ++answers;
                const auto* at = static_cast<const std::uint8_t*>(value);
                ASSERT_GE(at, buffer.data()) << "word " << word << " path " << path;
                ASSERT_LE(at + length, buffer.data() + size) << "word " << word << " path " << path;
            }
        }
    }
    EXPECT_GT(answers, 0);
}

TEST(VersionQueryTest, TruncatedBuffersAreRejectedOrAnsweredInside)
{
    const Bytes block = HandBuiltBlock();
    for (std::size_t cut = 0; cut < block.size(); ++cut) {
        Bytes buffer(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(cut));
        void* value = nullptr;
        std::uint32_t length = 0;
        // The root's own length exceeds every shorter buffer.
        EXPECT_FALSE(tovu::QueryVersionValue(buffer.data(), static_cast<std::uint32_t>(cut), "\\", &value, &length))
            << cut;
    }
}

// The component against the built program itself.
class ProgramVersionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FInfo.SetFileName(QString::fromUtf8(TOVU_EXECUTABLE));
        FInfo.GetFileInfo();
        ASSERT_TRUE(FInfo.HaveVersionInfo());
    }
    TQZVersionInfo FInfo;
};

TEST_F(ProgramVersionTest, StringTableEntries)
{
    struct TCase {
        const char* Name;
        const char* Expected;
    };
    const TCase cases[] = {
        {"FileVersion", "1.0.0.13"},
        {"ProductVersion", "1.0.0.0"},
        {"CompanyName", ""},
        {"FileDescription", ""},
        {"InternalName", ""},
        {"LegalCopyright", ""},
        {"LegalTrademarks", ""},
        {"OriginalFilename", ""},
        {"ProductName", ""},
        {"Comments", ""},
        {"NoSuchEntry", "No such VersionInfo"},
        {"", "No such VersionInfo"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(FInfo.GetValue(QString::fromLatin1(c.Name)), QString::fromLatin1(c.Expected)) << c.Name;
}

TEST_F(ProgramVersionTest, FileVersionIsTheBuildsVersion)
{
    EXPECT_EQ(FInfo.GetValue(QStringLiteral("FileVersion")), QString::fromLatin1(tovu::VersionText));
}

TEST_F(ProgramVersionTest, FixedBlockFields)
{
    struct TCase {
        const char* Property;
        quint32 Expected;
    };
    const TCase cases[] = {
        {"Signature", 0xFEEF04BD},
        {"StrucVersion", 0x10000},
        {"FileVersionMS", 0x10000},
        {"FileVersionLS", 13},
        {"ProductVersionMS", 0x10000},
        {"ProductVersionLS", 13},
        {"FileFlagsMask", 0x3F},
        {"FileFlags", 0},
        {"FileOS", 4},
        {"FileType", 1},
        {"FileSubtype", 0},
        {"FileDateMS", 0},
        {"FileDateLS", 0},
        {"Language", 0x0415},
        {"CharSet", 0x04E2},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(FInfo.property(c.Property).toUInt(), c.Expected) << c.Property;
    EXPECT_EQ(FInfo.ProductVersionMS(), 0x10000u);
    EXPECT_EQ(FInfo.ProductVersionLS(), 13u);
}

class VersionComponentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        FPlainFile = FDir.filePath(QStringLiteral("plain.txt"));
        QFile file(FPlainFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("10; 20\r\n30; 40\r\n");
    }
    QTemporaryDir FDir;
    QString FPlainFile;
    const QString FProgram = QString::fromUtf8(TOVU_EXECUTABLE);
};

TEST_F(VersionComponentTest, CreationPointsAtRunningProgram)
{
    TQZVersionInfo info;
    EXPECT_EQ(info.FileName(), QCoreApplication::applicationFilePath());
    EXPECT_TRUE(info.AutoGetInfo());
}

TEST_F(VersionComponentTest, FileWithoutVersionData)
{
    TQZVersionInfo info;
    info.SetFileName(FPlainFile);
    info.GetFileInfo();
    EXPECT_FALSE(info.HaveVersionInfo());
    for (const char* name : {"FileVersion", "ProductVersion", "CompanyName"})
        EXPECT_EQ(info.GetValue(QString::fromLatin1(name)), QStringLiteral("No such VersionInfo")) << name;
}

TEST_F(VersionComponentTest, FailedReadForgetsEarlierFile)
{
    TQZVersionInfo info;
    info.SetFileName(FProgram);
    info.GetFileInfo();
    ASSERT_TRUE(info.HaveVersionInfo());
    info.SetFileName(FDir.filePath(QStringLiteral("missing.exe")));
    info.GetFileInfo();
    EXPECT_FALSE(info.HaveVersionInfo());
    EXPECT_EQ(info.FileVersionMS(), 0u);
    EXPECT_EQ(info.Language(), 0u);
    EXPECT_EQ(info.GetValue(QStringLiteral("FileVersion")), QStringLiteral("No such VersionInfo"));
}

TEST_F(VersionComponentTest, WritingFileNameReadsNothing)
{
    TQZVersionInfo info;
    info.SetFileName(FPlainFile);
    info.SetAutoGetInfo(false);  // reads the plain file
    ASSERT_FALSE(info.HaveVersionInfo());
    info.SetFileName(FProgram);
    EXPECT_FALSE(info.HaveVersionInfo());
    EXPECT_EQ(info.FileName(), FProgram);
    info.GetFileInfo();
    EXPECT_TRUE(info.HaveVersionInfo());
}

TEST_F(VersionComponentTest, SwitchingAutoGetInfoOffRereadsFileName)
{
    TQZVersionInfo info;
    info.SetFileName(FProgram);
    info.SetAutoGetInfo(false);
    EXPECT_FALSE(info.AutoGetInfo());
    EXPECT_TRUE(info.HaveVersionInfo());
    EXPECT_EQ(info.GetValue(QStringLiteral("FileVersion")), QStringLiteral("1.0.0.13"));
}

TEST_F(VersionComponentTest, SettingAutoGetInfoUnchangedDoesNothing)
{
    TQZVersionInfo info;
    info.SetFileName(FProgram);
    info.SetAutoGetInfo(false);
    info.SetFileName(FPlainFile);
    info.SetAutoGetInfo(false);
    EXPECT_TRUE(info.HaveVersionInfo());
    EXPECT_EQ(info.FileName(), FPlainFile);
}

TEST_F(VersionComponentTest, SwitchingAutoGetInfoOnPointsAtRunningProgram)
{
    TQZVersionInfo info;
    info.SetFileName(FPlainFile);
    info.SetAutoGetInfo(false);
    info.SetAutoGetInfo(true);
    EXPECT_TRUE(info.AutoGetInfo());
    EXPECT_EQ(info.FileName(), QCoreApplication::applicationFilePath());
}

}  // namespace
