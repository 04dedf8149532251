#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

// Reads the version resource of a file: the fixed file-information block, the
// first translation and the entries of its string table. Created, it reads
// the running program's own file.
class TQZVersionInfo : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(bool AutoGetInfo READ AutoGetInfo WRITE SetAutoGetInfo)
    Q_PROPERTY(bool HaveVersionInfo READ HaveVersionInfo)
    Q_PROPERTY(quint32 Language READ Language)
    Q_PROPERTY(quint32 CharSet READ CharSet)
    Q_PROPERTY(quint32 Signature READ Signature)
    Q_PROPERTY(quint32 StrucVersion READ StrucVersion)
    Q_PROPERTY(quint32 FileVersionMS READ FileVersionMS)
    Q_PROPERTY(quint32 FileVersionLS READ FileVersionLS)
    Q_PROPERTY(quint32 ProductVersionMS READ ProductVersionMS)
    Q_PROPERTY(quint32 ProductVersionLS READ ProductVersionLS)
    Q_PROPERTY(quint32 FileFlagsMask READ FileFlagsMask)
    Q_PROPERTY(quint32 FileFlags READ FileFlags)
    Q_PROPERTY(quint32 FileOS READ FileOS)
    Q_PROPERTY(quint32 FileType READ FileType)
    Q_PROPERTY(quint32 FileSubtype READ FileSubtype)
    Q_PROPERTY(quint32 FileDateMS READ FileDateMS)
    Q_PROPERTY(quint32 FileDateLS READ FileDateLS)

public:
    explicit TQZVersionInfo(QObject* owner = nullptr);
    ~TQZVersionInfo() override;

    // Only stores the name; GetFileInfo reads it.
    QString FileName() const;
    void SetFileName(const QString& fileName);

    bool AutoGetInfo() const { return FAutoGetInfo; }
    // Switching it on points FileName at the running program again; any change
    // reads the information anew.
    void SetAutoGetInfo(bool value);

    bool HaveVersionInfo() const { return FHaveVersionInfo; }
    quint32 Language() const { return FLanguage; }
    quint32 CharSet() const { return FCharSet; }
    quint32 Signature() const { return FFixed[0]; }
    quint32 StrucVersion() const { return FFixed[1]; }
    quint32 FileVersionMS() const { return FFixed[2]; }
    quint32 FileVersionLS() const { return FFixed[3]; }
    quint32 ProductVersionMS() const { return FFixed[4]; }
    quint32 ProductVersionLS() const { return FFixed[5]; }
    quint32 FileFlagsMask() const { return FFixed[6]; }
    quint32 FileFlags() const { return FFixed[7]; }
    quint32 FileOS() const { return FFixed[8]; }
    quint32 FileType() const { return FFixed[9]; }
    quint32 FileSubtype() const { return FFixed[10]; }
    quint32 FileDateMS() const { return FFixed[11]; }
    quint32 FileDateLS() const { return FFixed[12]; }

    // Reads the version resource of FileName again.
    void GetFileInfo();
    // An entry of the first translation's string table, or "No such VersionInfo".
    QString GetValue(const QString& name);

    // The running program's own executable file.
    static QString RunningProgramFile();

private:
    void ForgetVersionData();
    bool Query(const char* subBlock);

    std::unique_ptr<char[]> FFileName;  // zero-terminated, in the file system's encoding
    bool FAutoGetInfo = true;
    bool FHaveVersionInfo = false;
    quint32 FLanguage = 0;
    quint32 FCharSet = 0;
    quint32 FFixed[13] = {};
    std::unique_ptr<std::uint8_t[]> FVersionData;
    std::uint32_t FVersionDataSize = 0;
    char FTranslationKey[9] = {};
    void* FQueryValue = nullptr;
    std::uint32_t FQueryLength = 0;
};
