#include "ui/version/QZVersionInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "ui/version/version_file.h"

namespace {

constexpr std::uint32_t FixedFieldCount = 13;

std::uint32_t LittleEndianDWord(const void* at)
{
    const auto* bytes = static_cast<const std::uint8_t*>(at);
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

}  // namespace

TQZVersionInfo::TQZVersionInfo(QObject* owner) : QObject(owner)
{
    SetFileName(RunningProgramFile());
    FAutoGetInfo = true;
    FLanguage = 0;
    FCharSet = 0;
    GetFileInfo();
}

TQZVersionInfo::~TQZVersionInfo() = default;

QString TQZVersionInfo::RunningProgramFile()
{
    if (QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString TQZVersionInfo::FileName() const
{
    return QFile::decodeName(FFileName.get());
}

void TQZVersionInfo::SetFileName(const QString& fileName)
{
    const QByteArray encoded = QFile::encodeName(fileName);
    auto buffer = std::make_unique<char[]>(static_cast<std::size_t>(encoded.size()) + 1);
    std::memcpy(buffer.get(), encoded.constData(), static_cast<std::size_t>(encoded.size()) + 1);
    FFileName = std::move(buffer);
}

void TQZVersionInfo::SetAutoGetInfo(bool value)
{
    if (value == FAutoGetInfo)
        return;
    FAutoGetInfo = value;
    if (FAutoGetInfo)
        SetFileName(RunningProgramFile());
    GetFileInfo();
}

// Every read starts from nothing, so the properties always describe the
// last file read rather than a mix of it and an earlier one.
void TQZVersionInfo::ForgetVersionData()
{
    FVersionData.reset();
    FVersionDataSize = 0;
    FHaveVersionInfo = false;
    FLanguage = 0;
    FCharSet = 0;
    std::fill(std::begin(FFixed), std::end(FFixed), 0u);
    FTranslationKey[0] = '\0';
    FQueryValue = nullptr;
    FQueryLength = 0;
}

bool TQZVersionInfo::Query(const char* subBlock)
{
    FQueryValue = nullptr;
    FQueryLength = 0;
    if (!FVersionData)
        return false;
    return tovu::QueryVersionValue(FVersionData.get(), FVersionDataSize, subBlock, &FQueryValue, &FQueryLength);
}

void TQZVersionInfo::GetFileInfo()
{
    ForgetVersionData();
    const std::uint32_t size = tovu::VersionInfoSize(FFileName.get());
    FHaveVersionInfo = size != 0;
    if (!FHaveVersionInfo)
        return;
    try {
        FVersionData = std::make_unique<std::uint8_t[]>(size);
        FVersionDataSize = size;
        FHaveVersionInfo = tovu::ReadVersionInfo(FFileName.get(), size, FVersionData.get());
        if (!FHaveVersionInfo) {
            ForgetVersionData();
            return;
        }
        // Data without a whole fixed block is no version information at all.
        if (!Query("\\") || FQueryLength < FixedFieldCount * 4) {
            ForgetVersionData();
            return;
        }
        const auto* fixed = static_cast<const std::uint8_t*>(FQueryValue);
        for (std::uint32_t i = 0; i < FixedFieldCount; ++i)
            FFixed[i] = LittleEndianDWord(fixed + 4 * i);

        // Without a translation table the key stays empty and no string entry
        // can be found.
        if (Query("\\VarFileInfo\\Translation") && FQueryLength >= 4) {
            const std::uint32_t first = LittleEndianDWord(FQueryValue);
            FLanguage = first & 0xFFFF;
            FCharSet = first >> 16;
            std::snprintf(FTranslationKey, sizeof FTranslationKey, "%04X%04X", static_cast<unsigned>(FLanguage),
                          static_cast<unsigned>(FCharSet));
        }
    } catch (const std::bad_alloc&) {
        ForgetVersionData();
    }
}

QString TQZVersionInfo::GetValue(const QString& name)
{
    const QByteArray path =
        QByteArrayLiteral("\\StringFileInfo\\") + QByteArray(FTranslationKey) + '\\' + name.toLocal8Bit();
    if (Query(path.constData()))
        return QString::fromLocal8Bit(static_cast<const char*>(FQueryValue));
    return QStringLiteral("No such VersionInfo");
}
