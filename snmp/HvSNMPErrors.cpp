#include "snmp/HvSNMPErrors.h"

#include <cstdio>

#include "platform/Exception.h"
#include "platform/System.h"

namespace {

const MessageCatalogue kCommonTexts = {
    " Ok!",
    " Bad logic operand!",
    " Bad format specifier of edit's constraint!",
    " Empty value is not allowed!",
    " Please enter a string whose length is less than [MAXLEN]!",
    " Please enter a string whose length is [LEN]!",
    " Please enter a hex string whose length is less than [MAXLEN]!",
    " Please enter a hex string whose length is [LEN]!",
    " Please enter a number between [MIN] and [MAX]!",
    " Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the count of "
    "the number is less than [MAXCOUNT]!",
    " Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the count of "
    "the number is equal to [COUNT]!",
    " Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,each number "
    "is between [MIN] and [MAX]!",
    " Out of range at index of array or list!",
    " Destination buffer is undersize!",
    " The source to dncrypt is not encrypted!",
    " Fail to read data from file([FILENAME])!",
    " Fail to write data to file([FILENAME])!",
    " Fail to write value in ini file([FILENAME])!",
    " Fail to read option data from file([FILENAME])!",
    " Please enter a valid IP address!",
    " Please enter a valid multicast IP address!",
    " Please enter a valid IPV6 address!",
    " Please enter a valid multicast IPV6 address!",
    " Please enter a valid MAC address!",
    " Please enter a valid multicast MAC address!",
    " Please enter a valid unicast MAC address!",
};

const MessageCatalogue kSnmpStatusTexts = {
    "(SNMP) Response PDU Too Big!",
    "(SNMP) Variable does not exist!",
    "(SNMP) Cannot modify variable: Bad Value!",
    "(SNMP) Cannot modify object, Read Only!",
    "(SNMP) Cannot perform operation, General Error!",
    "(SNMP) Cannot access variable, No Access!",
    "(SNMP) Cannot create/modify variable, Wrong Type!",
    "(SNMP) Cannot create/set variable, Wrong Length!",
    "(SNMP) Cannot create/set variable, Wrong Encoding!",
    "(SNMP) Cannot create/set variable, Wrong Value!",
    "(SNMP) Cannot create variable, Creation Not Allowed!",
    "(SNMP) Cannot create/set variable, Inconsistent Value!",
    "(SNMP) Cannot create/set variable, Resource Unavailable!",
    "(SNMP) Cannot create/set variable, Commit Failed!",
    "(SNMP) Cannot create/set variable, Undo Failed!",
    "(SNMP) Cannot perform operation, Authorization Error!",
    "(SNMP) Cannot create/set variable, Not Writable!",
    "(SNMP) Cannot create variable, Inconsistent Name!",
};

const MessageCatalogue kSnmpV3MpTexts = {
    "(SNMPv3) Unsupported Security Model!",
    "(SNMPv3) Message not in Time Window!",
    "(SNMPv3) Received same Message twice!",
    "(SNMPv3) Invalid Message!",
    "(SNMPv3) Invalid EngineID!",
    "(SNMPv3) v3MP not initialized!",
    "(SNMPv3) Parse Error!",
    "(SNMPv3) Received Message with unknown MsgID!",
    "(SNMPv3) Message does not match known message!",
    "(SNMPv3) Community format error!",
    "(SNMPv3) Unknown UserName!",
    "(SNMPv3) Build error!",
    "(SNMPv3) USM: error!",
    "(SNMPv3) Unknown pdu handlers!",
    "(SNMPv3) Unavailable Context!",
    "(SNMPv3) Unknown Context!",
    "(SNMPv3) Report sent!",
};

const MessageCatalogue kSnmpV3UsmTexts = {
    "(SNMPv3USM) error!",
    "(SNMPv3USM) Configfile write error!",
    "(SNMPv3USM) Unsupported SecurityLevel!",
    "(SNMPv3USM) Unknown SecurityName!",
    "(SNMPv3USM) Encryption error!",
    "(SNMPv3USM) Decryption error!",
    "(SNMPv3USM) Authentication error!",
    "(SNMPv3USM) Authentication failure!",
    "(SNMPv3USM) Parse error!",
    "(SNMPv3USM) Unknown EngineID!",
    "(SNMPv3USM) Message not in TimeWindow!",
    "(SNMPv3USM) Unsupported AuthProtocol!",
    "(SNMPv3USM) Unsupported PrivProtocol!",
    "(SNMPv3USM) Address error!",
};

const MessageCatalogue kSnmpClassTexts = {
    "(SNMPClass) Operation failed!",
    "(SNMPClass) Resource unavailable!",
    "(SNMPClass) Internal error!",
    "(SNMPClass) Unsupported function!",
    "(SNMPClass) SNMP request timed out!",
    "(SNMPClass) Received SNMP Response!",
    "(SNMPClass) Received SNMP Notification (trap or inform)!",
    "(SNMPClass) Closing session with outstanding requests!",
    "(SNMPClass)Unknown error code!",
    "(SNMPClass) Class not valid!",
    "(SNMPClass) Invalid Pdu!",
    "(SNMPClass) Invalid Target!",
    "(SNMPClass) Invalid (null) Callback Function!",
    "(SNMPClass) Invalid Request Id!",
    "(SNMPClass) Invalid Notification Id!",
    "(SNMPClass) SNMP Operation not supported on specified Target!",
    "(SNMPClass) Invalid Object Identifier!",
    "(SNMPClass) Invalid Address!",
    "(SNMPClass) Agent indicates error in SNMP request!",
    "(SNMP Class) Transport is not supported!",
    "(SNMPClass) Transport is in use!",
    "(SNMPClass) Transport operation failed!",
    "(SNMPClass) Blocked Mode Shutdown!",
};

const MessageCatalogue kLibraryTexts = {
    "Ok!",
    "Fail to read SNMP variables from file([FILENAME])!",
    "Bad format at line([LINENO])in SNMP variables file([FILENAME])!",
    "Bad item type at line([LINENO])in SNMP variables file([FILENAME])!",
    "Bad syntax at line([LINENO])in SNMP variables file([FILENAME])!",
    "Bad access type at line([LINENO])in SNMP variables file([FILENAME])!",
    "Cannot create the global HvSNMP++ session!",
    "Error when loading SNMP engine boots counter!",
    "Error when saving SNMP engine boots counter!",
    "Invalid IP Address or DNS name!",
    "Can't send get-next command for a SNMP variable list with single value!",
    "Bad SNMP syntax!",
    "Null value in the expression!",
    "Bad SNMP syntax in the expression!",
    "Bad key count of SNMP variable list!",
    "Bad item type of SNMP variable list!",
    "Bad item type of associated SNMP variable list!",
    "Bad syntax of the associated SNMP variable's (partial) data!",
    "Bad value of the associated SNMP variable's (partial) data!",
    "Out of range for the bit(byte) index of the associated SNMP variable's (partial) data!",
    "No reference option list for a SNMP variable's (partial) data associating with a optional "
    "visual control!",
    "Bad type of the associated visual control!",
    "Count of the associated visual controls is not enough!",
    "No system start time for the time whose data source is the SNMP variable's (partial) data "
    "with syntax timeticks!",
    "Count of the value items for the chart's history data is not enough!",
    "Log database is not connected!",
    "Log database field not found!",
    "Bad syntax for the history chart of log!",
    "Unknown error code!",
};

const MessageCatalogue kLogTexts = {
    "Get: [ERROR] Request:[VARLIST]. Receive at [TIME].",
    "Set: [ERROR] Request:[VARLIST]. Receive at [TIME].",
};

constexpr int32_t kUnknownCode = -528;

// fgets into a 1024-byte buffer: at most 1023 bytes, up to and including a line feed. The
// piece is a C string, so it ends at the first NUL byte.
bool ReadPiece(FILE* f, std::string& piece) {
    char buffer[1024];
    if (std::fgets(buffer, sizeof buffer, f) == nullptr) return false;
    piece.assign(buffer);
    return true;
}

bool IsBlankOrControl(unsigned char c) {
    return c <= ' ' || c == 0x7F;
}

bool CountsAsLine(const std::string& piece) {
    for (unsigned char c : piece)
        if (!IsBlankOrControl(c)) return true;
    return false;
}

std::string WithoutLineEnd(std::string piece) {
    const size_t n = piece.size();
    if (n >= 2 && piece[n - 2] == '\r' && piece[n - 1] == '\n')
        piece.resize(n - 2);
    else if (n >= 1 && piece[n - 1] == '\n')
        piece.resize(n - 1);
    return piece;
}

std::string Entry(const MessageCatalogue& catalogue, const MessageCatalogue& builtIn,
                  size_t index) {
    if (index < catalogue.size()) return catalogue[index];
    if (index < builtIn.size()) return builtIn[index];
    return std::string();
}

}  // namespace

MessageCatalogue CommonMessages = kCommonTexts;
MessageCatalogue SnmpStatusMessages = kSnmpStatusTexts;
MessageCatalogue SnmpV3MpMessages = kSnmpV3MpTexts;
MessageCatalogue SnmpV3UsmMessages = kSnmpV3UsmTexts;
MessageCatalogue SnmpClassMessages = kSnmpClassTexts;
MessageCatalogue LibraryMessages = kLibraryTexts;
MessageCatalogue LogTemplates = kLogTexts;

void LoadMessages(MessageCatalogue* catalogue, const std::string& fileName) {
    if (catalogue == nullptr) return;
    FILE* f = std::fopen(NativeFileName(fileName).c_str(), "r");
    if (f == nullptr) return;
    MessageCatalogue entries;
    std::string piece;
    while (ReadPiece(f, piece)) {
        if (CountsAsLine(piece)) entries.push_back(WithoutLineEnd(piece));
    }
    std::fclose(f);
    if (entries.empty()) return;
    *catalogue = std::move(entries);
}

std::string MessageText(const MessageCatalogue& catalogue, size_t index) {
    const MessageCatalogue* builtIn = nullptr;
    if (&catalogue == &CommonMessages)
        builtIn = &kCommonTexts;
    else if (&catalogue == &SnmpStatusMessages)
        builtIn = &kSnmpStatusTexts;
    else if (&catalogue == &SnmpV3MpMessages)
        builtIn = &kSnmpV3MpTexts;
    else if (&catalogue == &SnmpV3UsmMessages)
        builtIn = &kSnmpV3UsmTexts;
    else if (&catalogue == &SnmpClassMessages)
        builtIn = &kSnmpClassTexts;
    else if (&catalogue == &LibraryMessages)
        builtIn = &kLibraryTexts;
    else if (&catalogue == &LogTemplates)
        builtIn = &kLogTexts;
    static const MessageCatalogue kNone;
    return Entry(catalogue, builtIn ? *builtIn : kNone, index);
}

std::string ErrorText(int32_t code) {
    if (code == 0) return MessageText(LibraryMessages, 0);
    if (code >= -25 && code <= -1) return MessageText(CommonMessages, static_cast<size_t>(-code));
    if (code >= -118 && code <= -101)
        return MessageText(SnmpStatusMessages, static_cast<size_t>(-101 - code));
    if (code >= -217 && code <= -201)
        return MessageText(SnmpV3MpMessages, static_cast<size_t>(-201 - code));
    if (code >= -314 && code <= -301)
        return MessageText(SnmpV3UsmMessages, static_cast<size_t>(-301 - code));
    if (code >= -423 && code <= -401)
        return MessageText(SnmpClassMessages, static_cast<size_t>(-401 - code));
    if (code >= -528 && code <= -501)
        return MessageText(LibraryMessages, static_cast<size_t>(-500 - code));
    return MessageText(LibraryMessages, static_cast<size_t>(-500 - kUnknownCode));
}

MappedStatus MapStatus(int status) {
    int32_t code = kUnknownCode;
    if (status == 0 || status == 1400 || status == -1401)
        code = 0;
    else if (status >= 1 && status <= 18)
        code = -100 - status;
    else if (status >= 1401 && status <= 1414)
        code = 1100 - status;
    else if (status >= -1418 && status <= -1402)
        code = status + 1201;
    else if (status >= -23 && status <= -1)
        code = status - 400;
    return MappedStatus{code, ErrorText(code)};
}

void RaiseLibraryError(int32_t code) {
    throw Exception(ErrorText(code), code);
}
