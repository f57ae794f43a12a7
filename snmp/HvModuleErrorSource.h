#pragma once
// Connects the mib layer's error raising (mib/HvErrorRaise.h) to the library catalogue, so
// that the errors raised below the snmp layer carry the texts of loaded message files too.

// Does nothing by itself: referring to it links in the unit that installs ErrorText as the
// mib layer's text source during static initialisation. Variable lists refer to it, so
// every program that builds SNMP requests has the catalogue texts.
void LinkModuleErrorSource();
