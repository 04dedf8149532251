#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_result.h"
#include "core/save_steps.h"

// The point file a command reads, as the core names it: "-" stands for
// standard input.
std::string InputFileName(const std::string& argument);

// "tovu-cli solve: dane.tvu: ", how an error line names the command and the
// file it is about (as the user typed it).
std::string FilePlace(const std::string& command, const std::string& fileName);

// Saves an output file (-o); "-" writes it to standard output instead. A
// failure is one error line naming the file and gives false. A signal
// (Ctrl+C, SIGTERM, SIGHUP) gives the save up, the old file whole and no
// temporary file left, and then ends the program with its status.
bool SaveOutputFile(const std::string& command, const std::string& fileName, std::string_view content);

// Runs save with the signals held as SaveOutputFile holds them: a signal
// asks the save to give up, and ends the program once it has. A failure,
// a save given up included, is one error line naming the file.
bool GuardedSave(const std::string& command, const std::string& fileName,
                 const std::function<TFileResult(const TStopAsked&)>& save);

// Whether the two names lead (through links too) to one file that exists.
bool SameExistingFile(const std::string& first, const std::string& second);

// Refuses an output that is the same file (device and inode) as one of the
// inputs the command reads ("-" for standard input among them): saving it
// would destroy what is read. A refusal is one error line naming the output,
// and false; "-" as the output and a file not made yet pass.
bool CheckOutputIsNoInput(const std::string& command, const std::string& outName,
                          const std::vector<std::string>& inputNames);
