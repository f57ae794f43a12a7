#pragma once
// The vocabulary of variables: item types of variable lists, syntax codes and access bits,
// and the three name lists that give their text forms.
#include <cstdint>

#include "mib/HvOptionList.h"

// How the request engine addresses the variables of a list.
enum HvItemType : uint8_t {
    SVT_SV = 0,   // scalars: OID (+ instance) + ".0"
    MVT_SV = 1,   // one instance of table columns: OIDs sent unchanged
    MVT_FMV = 2,  // whole table, walked column-wise; leading PKeyCount items are the index
    MVT_UMV = 3,  // handled exactly like MVT_FMV
};

// Syntax codes. 2..6 and 64..70 are the ASN.1 tags of the SNMP types; 1 and 71..81 are the
// module's own syntaxes; 193..198 describe a byte or 16-bit part of an octet string.
enum HvSyntax : int32_t {
    SYNTAX_BOOLEAN = 1,
    SYNTAX_INTEGER = 2,
    SYNTAX_BITSTR = 3,
    SYNTAX_OCTETSTR = 4,
    SYNTAX_NULL = 5,
    SYNTAX_OBJECTID = 6,
    SYNTAX_IPADDRESS = 64,
    SYNTAX_COUNTER = 65,
    SYNTAX_GUAGE = 66,
    SYNTAX_TIMETICKS = 67,
    SYNTAX_OPAQUE = 68,
    SYNTAX_NSAPADDR = 69,
    SYNTAX_COUNTER64 = 70,
    SYNTAX_UINTEGER = 71,
    SYNTAX_DOUBLE = 72,
    SYNTAX_MACADDRESS = 73,
    SYNTAX_DATETIME = 74,
    SYNTAX_BCDATETIME = 75,
    SYNTAX_DISPLAYSTR = 76,
    SYNTAX_IPV6ADDRESS = 77,
    SYNTAX_BITLIST = 78,
    SYNTAX_INETADDRESS = 81,
    SYNTAX_BOOL8 = 193,
    SYNTAX_INT8 = 194,
    SYNTAX_UINT8 = 195,
    SYNTAX_BOOL16 = 196,
    SYNTAX_INT16 = 197,
    SYNTAX_UINT16 = 198,
};

// Access bits.
enum HvAccess : int32_t {
    ACCESS_NOTACCESS = 1,  // not read; a visible column; a key item takes it from the index
    ACCESS_READONLY = 2,   // takes part in reads
    ACCESS_WRITEONLY = 4,  // takes part in sets
    ACCESS_READWRITE = 6,
    ACCESS_DERIVED = 8,   // computed; a visible column
    ACCESS_HIDDEN = 16,   // not a visible column
    ACCESS_INVALID = 32,  // takes no part in reads, sets or columns
    ACCESS_IMPLIED = 64,  // index encoded without a length sub-identifier (not in AccessNames)
};

// True for every code of the HvSyntax table.
bool IsKnownSyntax(int32_t syntax);

// {code, name} lists (value kind 1): "SVT_SV".."MVT_UMV", "boolean".."uint16" (with the
// spelling "guage"), "notaccess".."invalid". Module-wide objects built during static
// initialisation; read them only after main() has started.
extern const HvOptionList ItemTypeNames;
extern const HvOptionList SyntaxNames;
extern const HvOptionList AccessNames;
