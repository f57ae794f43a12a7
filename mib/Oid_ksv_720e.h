#pragma once
// The KSV-720E device tables: the compiled-in variable definitions of the device's views.
// Every object lies under the maker's subtree 1.3.6.1.4.1.43917.50.1.10.1.1. Each array ends
// with an all-zero record.
#include "mib/SnmpVarDef.h"

// The agent version group (scalars, read as OID + ".0"; sub-identifier 4 is not used).
extern const SnmpVarDef AgentVersionVars[];
// Volume, disk and UPS tables: item 0, "Number", is the single index column (not read by
// itself, filled from each row's index); the other five are read-only display strings.
extern const SnmpVarDef VolumeInfoVars[];
extern const SnmpVarDef DiskInfoVars[];
extern const SnmpVarDef UpsInfoVars[];
