#pragma once
// Small operating-system services the module uses: tick count, file existence,
// current directory, message processing and Windows-style file names.
#include <cstdint>
#include <string>

// Milliseconds since an arbitrary start, wrapping at 2^32 like GetTickCount.
uint32_t GetTickCount();

// Processes pending events of the event loop (timers, sockets, posted messages)
// without waiting. Safe to call without an application object (then it does nothing).
void ProcessMessages();

// File names are composed as Windows texts ("errmsg\common.err"); only when a file is
// actually opened are backslashes turned into the platform's separator.
std::string NativeFileName(const std::string& windowsName);
bool FileExists(const std::string& windowsName);
// The current directory with a trailing separator-free path, as GetCurrentDir.
std::string GetCurrentDir();

// The caption of message boxes; set by the application object.
const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);
