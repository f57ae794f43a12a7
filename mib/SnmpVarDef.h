#pragma once
// One compiled-in variable definition. Device tables are static, null-terminated arrays of
// it (the terminator is an all-zero record, or at least one whose oid is null). The records
// own nothing: a variable list copies every string it needs.
#include <cstdint>

class HvOptionList;

struct SnmpVarDef {
    const char* oid;    // dotted OID without instance suffix; null only in the terminator
    const char* label;  // row label / column caption, byte for byte (trailing blanks kept)
    int32_t syntax;     // syntax code (HvSnmpTypes.h)
    int32_t access;     // access bits (HvSnmpTypes.h)
    const HvOptionList* options;  // value names of an enumerated variable, or null; not owned
    const char* getExpr;          // get expression, or null
    const char* setExpr;          // set expression, or null
    const char* spare;            // third optional text, copied with the item, read by nothing
    const char* value;            // initial value text, or null (empty)
    const char* lastOid;          // initial walk position, or null (empty)
};
