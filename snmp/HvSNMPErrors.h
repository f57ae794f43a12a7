#pragma once
// Error codes, the seven message catalogues and the mapping of SNMP statuses to codes.
#include <cstdint>
#include <string>
#include <vector>

using MessageCatalogue = std::vector<std::string>;

extern MessageCatalogue CommonMessages;      // "errmsg\common.err",    code -i
extern MessageCatalogue SnmpStatusMessages;  // "errmsg\snmp.err",      code -101 - i
extern MessageCatalogue SnmpV3MpMessages;    // "errmsg\snmpv3.err",    code -201 - i
extern MessageCatalogue SnmpV3UsmMessages;   // "errmsg\snmpusm.err",   code -301 - i
extern MessageCatalogue SnmpClassMessages;   // "errmsg\snmpclass.err", code -401 - i
extern MessageCatalogue LibraryMessages;     // "errmsg\hvsnmp.err",    0, then -500 - i
extern MessageCatalogue LogTemplates;        // "errmsg\snmp.msg",      0 get, 1 set

// Replaces the catalogue by the non-blank lines of the file; never fails. A missing or
// blank-only file leaves the catalogue as it is. The file is read in pieces of at most 1023
// bytes (a longer line gives several entries); a line's CR LF or LF is removed, its blanks
// stay. `fileName` is a Windows-style name (see NativeFileName).
void LoadMessages(MessageCatalogue* catalogue, const std::string& fileName);

// Entry `index` of one of the seven catalogues above; an entry that a shorter message file
// left out gives the compiled-in text (the empty text beyond the compiled-in entries).
std::string MessageText(const MessageCatalogue& catalogue, size_t index);

struct MappedStatus {
    int32_t code;
    std::string text;
};
// SNMP++-numbered status (see the adapter) to module code and text.
MappedStatus MapStatus(int status);

// The text of a module error code (0, -1..-25, -101.., -201.., -301.., -401.., -501..-528).
// A code whose entry a shorter message file left out gets its compiled-in text.
std::string ErrorText(int32_t code);

// Raises the module's library error: Exception(ErrorText(code), code).
[[noreturn]] void RaiseLibraryError(int32_t code);
