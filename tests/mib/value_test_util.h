#pragma once
// Helpers shared by the value-format tests.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/Exception.h"
#include "tests/support/LibraryErrorTestSupport.h"

inline const char* LibraryText(int code) {
    switch (code) {
        case -511:
            return "Bad SNMP syntax!";
        case -518:
            return "Bad value of the associated SNMP variable's (partial) data!";
        case -519:
            return "Out of range for the bit(byte) index of the associated SNMP variable's "
                   "(partial) data!";
    }
    return "";
}

// Runs `f`, which must raise the library error `code` with its catalogue text.
template <typename F>
void ExpectLibraryError(F&& f, int code, const std::string& context) {
    ExpectLibraryErrorText(std::forward<F>(f), code, context, LibraryText);
}
