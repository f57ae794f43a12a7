#include "platform/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

std::vector<char16_t> Units(const QString& text) {
    return std::vector<char16_t>(text.utf16(), text.utf16() + text.size());
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::vector<char16_t> units;
};

TEST(Strings, DecodesValidUtf8AndEscapesEveryInvalidByte) {
    using namespace std::string_literals;
    const DecodeCase cases[] = {
        {"empty", "", {}},
        {"ascii", "Ab1", {u'A', u'b', u'1'}},
        {"nul bytes", "a\0\0b"s, {u'a', 0, 0, u'b'}},
        {"two-byte", "\xC3\xA9", {0x00E9}},
        {"three-byte", "\xE2\x82\xAC", {0x20AC}},
        {"four-byte", "\xF0\x9F\x98\x80", {0xD83D, 0xDE00}},
        {"highest code point", "\xF4\x8F\xBF\xBF", {0xDBFF, 0xDFFF}},
        {"lone continuation", "a\x80z", {u'a', 0xDC80, u'z'}},
        {"overlong slash", "\xC0\xAF", {0xDCC0, 0xDCAF}},
        {"overlong three-byte", "\xE0\x80\xAF", {0xDCE0, 0xDC80, 0xDCAF}},
        {"overlong four-byte", "\xF0\x8F\xBF\xBF", {0xDCF0, 0xDC8F, 0xDCBF, 0xDCBF}},
        {"truncated at end", "x\xE2\x82", {u'x', 0xDCE2, 0xDC82}},
        {"truncated before ascii", "\xF0\x9F\x98z", {0xDCF0, 0xDC9F, 0xDC98, u'z'}},
        {"surrogate in UTF-8", "\xED\xA0\x80", {0xDCED, 0xDCA0, 0xDC80}},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", {0xDCF4, 0xDC90, 0xDC80, 0xDC80}},
        {"never valid bytes", "\xF5\xFE\xFF", {0xDCF5, 0xDCFE, 0xDCFF}},
        {"latin-1 text", "caf\xE9!", {u'c', u'a', u'f', 0xDCE9, u'!'}},
        {"valid after invalid", "\xC3\xC3\xA9", {0xDCC3, 0x00E9}},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = ToQString(c.bytes);
        EXPECT_EQ(Units(text), c.units);
        EXPECT_EQ(FromQString(text), c.bytes);
    }
}

TEST(Strings, EncodesQtTextAsUtf8) {
    const QString text = QString::fromUtf8(
        "Gr\xC3\xBC\xC3\x9F"
        "e \xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(FromQString(text), text.toUtf8().toStdString());
    // Lone surrogates other than the escapes have no UTF-8 form: U+FFFD stands for them.
    const QString lone[] = {QString(QChar(0xD800)) + u'a', QString(QChar(0xDC7F)),
                            QString(QChar(0xDBFF))};
    EXPECT_EQ(FromQString(lone[0]),
              "\xEF\xBF\xBD"
              "a");
    EXPECT_EQ(FromQString(lone[1]), "\xEF\xBF\xBD");
    EXPECT_EQ(FromQString(lone[2]), "\xEF\xBF\xBD");
}

TEST(Strings, RandomByteStringsRoundTrip) {
    std::mt19937 random(20240611);
    // Pieces that make valid, broken and mixed sequences likely.
    const std::string pieces[] = {"a",
                                  std::string(1, '\0'),
                                  "\xC3\xA9",
                                  "\xE2\x82\xAC",
                                  "\xF0\x9F\x98\x80",
                                  "\xED\xA0\x80",
                                  "\xC0\x80",
                                  "\x80",
                                  "\xE2\x82",
                                  "\xF4\x90\x80\x80",
                                  "\xFF"};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            if (random() % 2) {
                bytes += static_cast<char>(random() % 256);
            } else {
                bytes += pieces[random() % std::size(pieces)];
            }
        }
        const QString text = ToQString(bytes);
        ASSERT_EQ(FromQString(text), bytes) << "round " << round;
        // Where Qt sees valid UTF-8, both decodings agree.
        const auto units = Units(text);
        if (std::none_of(units.begin(), units.end(),
                         [](char16_t u) { return u >= 0xDC80 && u <= 0xDCFF; })) {
            QString qt = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
            ASSERT_EQ(text, qt) << "round " << round;
        }
    }
}

TEST(Strings, RandomCodePointsDecodeExactly) {
    std::mt19937 random(7);
    for (int round = 0; round < 1000; ++round) {
        std::vector<char32_t> codePoints;
        for (int i = 0; i < 20; ++i) {
            char32_t c = random() % 0x110000;
            if (c >= 0xD800 && c <= 0xDFFF) c -= 0x800;  // keep to scalar values
            codePoints.push_back(c);
        }
        const QString expected =
            QString::fromUcs4(codePoints.data(), static_cast<qsizetype>(codePoints.size()));
        const std::string utf8 = expected.toUtf8().toStdString();
        ASSERT_EQ(ToQString(utf8), expected) << "round " << round;
        ASSERT_EQ(FromQString(expected), utf8) << "round " << round;
    }
}

}  // namespace
