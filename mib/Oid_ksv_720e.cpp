#include "mib/Oid_ksv_720e.h"

#include "mib/HvSnmpTypes.h"

namespace {

// A definition without options, expressions or initial texts.
constexpr SnmpVarDef Var(const char* oid, const char* label, int32_t syntax, int32_t access) {
    return {oid, label, syntax, access, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
}
// The all-zero terminator.
constexpr SnmpVarDef kEnd{};

}  // namespace

// Labels are stored byte for byte: the trailing blanks widen the columns of the table windows.
const SnmpVarDef AgentVersionVars[] = {
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.1", "Agent Version", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.2", "Software Version", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.3", "Host Name", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.5", "FTP Server", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.6", "Net Type", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.7", "Temperature", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.8", "Fan Status", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    kEnd,
};

const SnmpVarDef VolumeInfoVars[] = {
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.9.1.1", "Number", SYNTAX_INTEGER, ACCESS_NOTACCESS),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.9.1.2", "Name           ", SYNTAX_DISPLAYSTR,
        ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.9.1.3", "File System Type", SYNTAX_DISPLAYSTR,
        ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.9.1.4", "Raid Level", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.9.1.5", "Size             ", SYNTAX_DISPLAYSTR,
        ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.9.1.6", "Free Space", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    kEnd,
};

const SnmpVarDef DiskInfoVars[] = {
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.10.1.1", "Number", SYNTAX_INTEGER, ACCESS_NOTACCESS),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.10.1.2", "Vendor", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.10.1.3", "Model                  ", SYNTAX_DISPLAYSTR,
        ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.10.1.4", "Serial Number", SYNTAX_DISPLAYSTR,
        ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.10.1.5", "Temperature", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.10.1.6", "Capacity", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    kEnd,
};

const SnmpVarDef UpsInfoVars[] = {
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.11.1.1", "Number", SYNTAX_INTEGER, ACCESS_NOTACCESS),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.11.1.2", "Mode      ", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.11.1.3", "Manufacturer", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.11.1.4", "Product   ", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.11.1.5", "Battery Charge", SYNTAX_DISPLAYSTR,
        ACCESS_READONLY),
    Var("1.3.6.1.4.1.43917.50.1.10.1.1.11.1.6", "Status ", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
    kEnd,
};
