#pragma once

#include <QString>

#include <string>

// File names between Qt's strings and the system's bytes. Qt decodes a name
// that is not UTF-8 (an ISO-8859-2 name, say) with replacement characters,
// which do not encode back to the bytes on disk; FileNameToStd then finds
// the entry whose decoded name is the one given, so such files open too.
std::string FileNameToStd(const QString& name);
QString FileNameFromStd(const std::string& name);
