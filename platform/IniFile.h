#pragma once
// GetPrivateProfileStringA, as far as the module needs it. The file is read as bytes with
// LF or CRLF line ends (a UTF-8 byte order mark is skipped); a relative file name is
// taken from the current directory (never from a system directory).
// - Section and key names match without regard to case, trimmed of blanks and tabs.
// - Only the first section of the name counts: a later section of the same name is not
//   searched. Within it the first line for the key wins.
// - Lines whose first non-blank character is ';' or '#' are comments; lines without '='
//   and lines that cannot be parsed are skipped.
// - The value is trimmed of blanks and tabs; a value enclosed in matching double (or
//   single) quotes loses them.
// - At most size - 1 characters (4095 for the module's 4096-byte buffer) are copied and
//   a NUL is appended; returns the number of characters copied (0 when size is 0).
// - When the key, the section or the file is missing, the default, without its trailing
//   blanks, is copied instead.
#include <cstddef>
#include <string>

std::size_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, char* buffer,
                                     std::size_t size, const std::string& fileName);
