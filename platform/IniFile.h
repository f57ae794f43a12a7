#pragma once
// GetPrivateProfileStringA, as far as the module needs it: section and key names match
// without regard to case, the first matching section and key win, the value is trimmed
// of blanks, lines starting with ';' are comments, and at most size - 1 characters
// (4095 for the module's 4096-byte buffer) are copied. Returns the number of characters
// copied; when the key (or the file) is missing the default is copied instead.
#include <cstddef>
#include <string>

std::size_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, char* buffer,
                                     std::size_t size, const std::string& fileName);
