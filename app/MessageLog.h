#pragma once
// Unattended runs: with KSV720E_MESSAGE_LOG=<file> in the environment, message boxes are
// not shown. Each one appends its text and a line feed to that file and is answered with
// its first button (IDOK, or IDYES), so scripts and tests can run the program headless
// and read what it would have said.
#include <string>

inline constexpr char kMessageLogEnv[] = "KSV720E_MESSAGE_LOG";

// Installs the logging message-box handler when the variable names a file; returns
// whether it did.
bool InstallMessageLogFromEnvironment();
