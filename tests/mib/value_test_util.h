#pragma once
// Helpers shared by the value-format tests.
#include <gtest/gtest.h>

#include <string>

#include "platform/Exception.h"

// "0A 1B FF" -> the three bytes; written out independently of the code under test.
inline std::string Bytes(const std::string& spaced) {
    std::string out;
    int digits = 0, value = 0;
    for (char c : spaced) {
        int d = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (d < 0) continue;
        value = value * 16 + d;
        if (++digits == 2) {
            out.push_back(static_cast<char>(value));
            digits = value = 0;
        }
    }
    return out;
}

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
    try {
        f();
        ADD_FAILURE() << context << ": no error raised, expected " << code;
    } catch (const Exception& e) {
        EXPECT_EQ(e.HelpContext(), code) << context;
        EXPECT_EQ(e.Message(), LibraryText(code)) << context;
    }
}
