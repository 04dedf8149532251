#include "ui/file_names.h"

#include <QFile>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>

namespace {

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The entry of folder whose name Qt decodes to name, or the encoded name
// when there is none.
std::string MatchEntry(const std::string& folder, const QString& name)
{
    const std::string encoded = QFile::encodeName(name).toStdString();
    if (Exists(folder + encoded))
        return encoded;
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!listing)
        return encoded;
    std::string found = encoded;
    while (const dirent* entry = ::readdir(listing)) {
        if (QFile::decodeName(entry->d_name) == name) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(listing);
    return found;
}

}  // namespace

std::string FileNameToStd(const QString& name)
{
    const std::string encoded = QFile::encodeName(name).toStdString();
    if (encoded.empty() || Exists(encoded))
        return encoded;
    // Part by part, each matched against its folder's entries.
    std::string path = name.startsWith(u'/') ? "/" : "";
    const QStringList parts = name.split(u'/', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        path += MatchEntry(path, parts[i]);
        if (i + 1 < parts.size())
            path += '/';
    }
    return path;
}

QString FileNameFromStd(const std::string& name)
{
    return QFile::decodeName(QByteArray::fromStdString(name));
}
