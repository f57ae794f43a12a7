#include "mib/HvSnmpTypes.h"

namespace {

const HvOptionData kItemTypeData[] = {
    {SVT_SV, "SVT_SV"},   {MVT_SV, "MVT_SV"}, {MVT_FMV, "MVT_FMV"},
    {MVT_UMV, "MVT_UMV"}, {0, nullptr},
};

const HvOptionData kSyntaxData[] = {
    {SYNTAX_BOOLEAN, "boolean"},
    {SYNTAX_INTEGER, "integer"},
    {SYNTAX_BITSTR, "bitstr"},
    {SYNTAX_OCTETSTR, "octetstr"},
    {SYNTAX_NULL, "null"},
    {SYNTAX_OBJECTID, "objectid"},
    {SYNTAX_IPADDRESS, "ipaddress"},
    {SYNTAX_COUNTER, "counter"},
    {SYNTAX_GUAGE, "guage"},
    {SYNTAX_TIMETICKS, "timeticks"},
    {SYNTAX_OPAQUE, "opaque"},
    {SYNTAX_NSAPADDR, "nsapaddr"},
    {SYNTAX_COUNTER64, "counter64"},
    {SYNTAX_UINTEGER, "uinteger"},
    {SYNTAX_DOUBLE, "double"},
    {SYNTAX_MACADDRESS, "macaddress"},
    {SYNTAX_DATETIME, "datetime"},
    {SYNTAX_BCDATETIME, "bcdatetime"},
    {SYNTAX_DISPLAYSTR, "displaystr"},
    {SYNTAX_IPV6ADDRESS, "ipv6address"},
    {SYNTAX_BITLIST, "bitlist"},
    {SYNTAX_INETADDRESS, "inetaddress"},
    {SYNTAX_BOOL8, "bool8"},
    {SYNTAX_INT8, "int8"},
    {SYNTAX_UINT8, "uint8"},
    {SYNTAX_BOOL16, "bool16"},
    {SYNTAX_INT16, "int16"},
    {SYNTAX_UINT16, "uint16"},
    {0, nullptr},
};

const HvOptionData kAccessData[] = {
    {ACCESS_NOTACCESS, "notaccess"}, {ACCESS_READONLY, "readonly"},
    {ACCESS_WRITEONLY, "writeonly"}, {ACCESS_READWRITE, "readwrite"},
    {ACCESS_DERIVED, "derived"},     {ACCESS_HIDDEN, "hidden"},
    {ACCESS_INVALID, "invalid"},     {0, nullptr},
};

}  // namespace

bool IsKnownSyntax(int32_t syntax) {
    for (const HvOptionData* d = kSyntaxData; d->label != nullptr; ++d)
        if (d->value.number == syntax) return true;
    return false;
}

const HvOptionList ItemTypeNames(kItemTypeData, OVK_INTEGER);
const HvOptionList SyntaxNames(kSyntaxData, OVK_INTEGER);
const HvOptionList AccessNames(kAccessData, OVK_INTEGER);
