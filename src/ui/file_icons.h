#pragma once

#include <QFileIconProvider>
#include <QMimeDatabase>

// Icons and type names for the file dialogs, from a file's name and kind
// alone. Qt's own providers ask the MIME database for every ordinary file,
// and the database reads the first bytes of a file whose name does not
// settle its type (QAbstractFileIconProvider::type and icon); the platform
// theme may look inside as well. A dialog showing /proc then blocks for good
// in a read of /proc/kmsg, and one showing any folder reads every file in it.
// These never open a file.
class TFileIconsByName final : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    QMimeDatabase FMimeTypes;
};
