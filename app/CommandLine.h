#pragma once
// The program's command-line arguments as byte strings, exactly as the system passed them.
#include <string>
#include <vector>

// Stores argv (argv[0] is the program name). main() calls it before the main window exists.
void SetCommandLine(int argc, const char* const* argv);
void SetCommandLine(std::vector<std::string> arguments);

// The number of arguments after the program name.
int ParamCount();
// Argument index (0 is the program name); the empty text for an index out of range.
std::string ParamStr(int index);
// Arguments 1..ParamCount().
std::vector<std::string> ParamList();
