#pragma once
// Helpers of the tests that check value bytes and the library's error raises.
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

// Runs `f`, which must raise the library error `code` with the text `textOf(code)`.
template <typename F, typename TextOf>
void ExpectLibraryErrorText(F&& f, int code, const std::string& context, TextOf&& textOf) {
    try {
        f();
        ADD_FAILURE() << context << ": no error raised, expected " << code;
    } catch (const Exception& e) {
        EXPECT_EQ(e.HelpContext(), code) << context;
        EXPECT_EQ(e.Message(), textOf(code)) << context;
    }
}
