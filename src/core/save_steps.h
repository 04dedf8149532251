#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/file_result.h"

// The steps that the ways of saving a file share (safe_save, in_place_write).

// Asked while a save waits or writes: true gives the save up. Empty: the
// save never gives up.
using TStopAsked = std::function<bool()>;

// What a save returns when it was given up.
inline constexpr const char* SaveStoppedText = "Zapis przerwano";

inline bool StopAsked(const TStopAsked& stop)
{
    return stop && stop();
}

// The folder part with its slash ("" for a bare name), and the name in it.
std::string FolderPrefix(const std::string& path);
std::string BaseName(const std::string& path);

// The path of a file beside path named before + NAME + after, NAME cut
// short if needed (never inside a UTF-8 character) so that the name, with
// extraBytes more to come, still fits a folder entry.
std::string NameBeside(const std::string& path, std::string_view before, std::string_view after, size_t extraBytes = 0);

// Writes all of content at fd's offset, for blocking and non-blocking
// descriptors alike: a stream that takes nothing is waited on, and stop is
// asked between the pieces and while waiting. False with errno set on
// failure; errno is ECANCELED when stop gave the write up.
bool WriteAll(int fd, std::string_view content, const TStopAsked& stop);

// The failure for errno after a step: SaveStoppedText for ECANCELED.
TFileResult WriteFailure(int error);

// Syncs the folder of path, so that a new or renamed entry is on disk too.
void SyncFolder(const std::string& path);

// Closes fd; a failing close turns a success into its failure.
TFileResult CloseWithResult(int fd, TFileResult result);
