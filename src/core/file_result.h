#pragma once

#include <string>

// Outcome of a file operation: empty ErrorText means success.
struct TFileResult {
    std::string ErrorText;
    bool Ok() const { return ErrorText.empty(); }
};

// The system's description of an error number, without the trailing blanks,
// line breaks and periods some systems put after it.
std::string SystemErrorText(int errorNumber);

// A failure described by the system's text for errorNumber.
TFileResult SystemFailure(int errorNumber);

// Refusals of a path that names no ordinary file, shared by reading and
// saving so the window and the command line say the same thing.
inline constexpr const char* FolderText = "To jest folder, a nie plik";
inline constexpr const char* FifoText = "To jest potok (FIFO), a nie plik";
inline constexpr const char* SocketText = "To jest gniazdo, a nie plik";
inline constexpr const char* DeviceText = "To jest urządzenie, a nie plik";
