#include "ui/file_icons.h"

#include <QApplication>
#include <QStyle>

namespace {

// The program's own formats, which the MIME database does not know.
struct TOwnType {
    const char* Suffix;
    const char* Name;
};
const TOwnType OwnTypes[] = {
    {"tvu", "Zbiór punktów Tovu"},
    {"tsp", "Zbiór punktów TSPLIB"},
    {"tour", "Trasa TSPLIB"},
};

}  // namespace

QIcon TFileIconsByName::icon(const QFileInfo& info) const
{
    const QStyle* style = QApplication::style();
    if (info.isRoot())
        return style->standardIcon(QStyle::SP_DriveHDIcon);
    if (info.isDir())
        return style->standardIcon(info.isSymLink() ? QStyle::SP_DirLinkIcon : QStyle::SP_DirIcon);
    return style->standardIcon(info.isSymLink() ? QStyle::SP_FileLinkIcon : QStyle::SP_FileIcon);
}

QString TFileIconsByName::type(const QFileInfo& info) const
{
    // Folders, devices, FIFOs and sockets are named from their kind by Qt,
    // without reading; only ordinary files (and links to them) are sniffed.
    if (!info.isFile())
        return QFileIconProvider::type(info);
    const QString suffix = info.suffix().toLower();
    for (const TOwnType& own : OwnTypes)
        if (suffix == QLatin1String(own.Suffix))
            return QString::fromUtf8(own.Name);
    const QMimeType mimeType = FMimeTypes.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    return mimeType.comment().isEmpty() ? mimeType.name() : mimeType.comment();
}
