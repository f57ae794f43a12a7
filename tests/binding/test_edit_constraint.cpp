// Edit constraints: the format grammar, the typing rules, the leaving rules with their
// messages, the address checks, the saved handlers, and bad input.
#include <limits>
#include <string>
#include <vector>

#include "binding/HvEditConstraint.h"
#include "binding_test_support.h"
#include "platform/Exception.h"
#include "snmp/HvSNMPErrors.h"

namespace {

using bindingtest::GuiTest;

// ---- Format grammar ---------------------------------------------------------------------

struct FormatCase {
    const char* format;
    char kind;
    char delimiter;
    double minimum;
    double maximum;
    int maxLength;
    int flags;
    char address;
    char exitChar;
    char custom;
    int width;
};

TEST(EditFormat, ReadsEveryOption) {
    constexpr double kUMax = 4294967295.0;
    const double fLow = std::numeric_limits<double>::lowest();
    const double fHigh = std::numeric_limits<double>::max();
    const FormatCase cases[] = {
        {"%s", 's', 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"%s{}", 's', 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"%h", 'h', 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"%i", 'i', 0, -2147483648.0, 2147483647.0, 0, 0, 0, 0, 0, 0},
        {"%u{l5}", 'u', 0, 0, kUMax, 5, 0, 0, 0, 0, 0},
        {"%f", 'f', 0, fLow, fHigh, 0, 0, 0, 0, 0, 0},
        {"%n,{l4f}", 'n', ',', 0, kUMax, 4, 2, 0, 0, 0, 0},
        {"%n.", 'n', '.', 0, kUMax, 0, 0, 0, 0, 0, 0},
        {"%u{n5l3}", 'u', 0, 5, kUMax, 3, 0, 0, 0, 0, 0},
        {"%u{n10x20}", 'u', 0, 10, 20, 0, 0, 0, 0, 0, 0},
        {"%f{n-1.5x2.25}", 'f', 0, -1.5, 2.25, 0, 0, 0, 0, 0, 0},
        {"%s{l4a}", 's', 0, 0, 0, 4, 1, 0, 0, 0, 0},
        {"%s{l2nfa}", 's', 0, 0, 0, 2, 7, 0, 0, 0, 0},
        {"%u{l3x9}", 'u', 0, 0, 9, 3, 0, 0, 0, 0, 0},
        {"%s{l15I}", 's', 0, 0, 0, 15, 0, 1, 0, 0, 0},
        {"%s{I}", 's', 0, 0, 0, 0, 0, 1, 0, 0, 0},
        {"%s{Im}", 's', 0, 0, 0, 0, 0, 2, 0, 0, 0},
        {"%s{I6}", 's', 0, 0, 0, 0, 0, 3, 0, 0, 0},
        {"%s{I6m}", 's', 0, 0, 0, 0, 0, 4, 0, 0, 0},
        {"%s{Ixl2}", 's', 0, 0, 0, 2, 0, 1, 0, 0, 0},  // the letter behind I is its own
        {"%s{M}", 's', 0, 0, 0, 0, 0, 5, 0, 0, 0},
        {"%s{Mm}", 's', 0, 0, 0, 0, 0, 6, 0, 0, 0},
        {"%s{Mu}", 's', 0, 0, 0, 0, 0, 7, 0, 0, 0},
        {"%s{e.}", 's', 0, 0, 0, 0, 0, 0, '.', 0, 0},
        {"%s{e}}", 's', 0, 0, 0, 0, 0, 0, '}', 0, 0},
        {"%s{Z}", 's', 0, 0, 0, 0, 0, 0, 0, 1, 0},
        {"%s{w80l4}", 's', 0, 0, 0, 4, 0, 0, 0, 0, 80},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.format);
        const HvParsedFormat parsed = ParseEditFormat(c.format);
        EXPECT_EQ(parsed.rule.kind, c.kind);
        EXPECT_EQ(parsed.rule.delimiter, c.delimiter);
        EXPECT_EQ(parsed.rule.minimum, c.minimum);
        EXPECT_EQ(parsed.rule.maximum, c.maximum);
        EXPECT_EQ(parsed.rule.maxLength, c.maxLength);
        EXPECT_EQ(parsed.rule.lengthFlags, c.flags);
        EXPECT_EQ(parsed.rule.addressKind, c.address);
        EXPECT_EQ(parsed.rule.exitChar, c.exitChar);
        EXPECT_EQ(parsed.rule.customCheckFlag, c.custom);
        EXPECT_EQ(parsed.rule.customCheck, nullptr);
        EXPECT_EQ(parsed.width, c.width);
    }
}

TEST(EditFormat, RejectsMalformedFormatsWithText2) {
    const char* bad[] = {"",      "%",       "s",        "%q",      "%S",     "%n",
                         "%sx",   "%s{",     "%s{I",     "%s}",     "%s{Q}",  "%s{e}",
                         "%s{l}", "%s{lx}",  "%u{l3n5}", "%s{Il5}", "%s{w}",  "%u{n}",
                         "%u{x}", "%s{Mx5}", "% s",      "%u{na}",  "%s{l4}x"};
    for (const char* format : bad) {
        SCOPED_TRACE(format);
        try {
            ParseEditFormat(format);
            ADD_FAILURE() << "accepted";
        } catch (const EConvertError&) {
            ADD_FAILURE() << "conversion error instead of the format error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.HelpContext(), -2);
            EXPECT_EQ(e.Message(), " Bad format specifier of edit's constraint!");
        }
    }
}

TEST(EditFormat, BoundsThatAreNoNumbersRaiseTheConversionError) {
    for (const char* format : {"%u{n-}", "%u{n1.2.3}", "%f{x-5-3}", "%u{n.}"}) {
        SCOPED_TRACE(format);
        EXPECT_THROW(ParseEditFormat(format), EConvertError);
    }
}

TEST(EditFormat, SplitsSeveralFormatsBeforeEachPercent) {
    EXPECT_EQ(SplitEditFormats("%u%u{l3}%n,{l4f}"),
              (std::vector<std::string>{"%u", "%u{l3}", "%n,{l4f}"}));
    EXPECT_EQ(SplitEditFormats("%s"), (std::vector<std::string>{"%s"}));
    EXPECT_TRUE(SplitEditFormats("").empty());
}

// ---- Address checks ---------------------------------------------------------------------

TEST(EditAddress, ChecksEveryKind) {
    struct Case {
        int kind;
        const char* text;
        bool pass;
    };
    const Case cases[] = {
        {1, "192.168.0.1", true},
        {1, "192.168.000.001", true},
        {1, "0.0.0.0", true},
        {1, "255.255.255.255", true},
        {1, "192.168.0", false},
        {1, "192.168.0.256", false},
        {1, "1.2.3.4.5", false},
        {1, "1..2.3", false},
        {1, "1.2.3.4.", false},
        {1, "-1.2.3.4", false},  // a negative part is no octet
        {1, "0x1.2.3.4", false},
        {1, " 1.2.3.4", false},
        {1, "1.2.3.0004", false},
        {2, "239.1.1.1", true},
        {2, "224.0.0.1", true},
        {2, "240.1.1.1", false},
        {2, "10.1.1.1", false},
        {2, "239.1.1", false},
        {3, "20010db8000000000000000000000001", true},
        {3, "20010DB8000000000000000000000001", true},
        {3, "20010db800000000000000000000001", false},
        {3, "2001:0db8:0000:0000:0000:0000:0000:0001", false},
        {3, "20010db8000000000000000000000g01", false},
        {4, "anything at all", true},
        {5, "00-11-22-33-44-55", true},
        {5, "00.11.22.33.44.55", true},
        {5, "001122334455", true},
        {5, "aA-bB-cC-dD-eE-fF", true},
        {5, "00:11:22:33:44:55", false},
        {5, "00-11-22-33-44", false},
        {5, "0-11-22-33-44-55", false},
        {5, "000-11-22-33-44-55", false},  // three digits are no byte
        {5, "00-11-22-33-44-5g", false},
        {5, "00112233445", false},
        {5, "", false},
        {6, "01-00-5E-00-00-01", true},
        {6, "0100.5e00.0001", false},  // "." groups are still six bytes
        {6, "FF-FF-FF-FF-FF-FF", false},
        {6, "00-11-22-33-44-55", false},
        {6, "0a-00-00-00-00-01", false},
        {6, "01-00-00-00-00-00", false},  // ten zeros behind the second character
        {6, "03005e000001", true},
        {7, "00-11-22-33-44-55", true},
        {7, "02-00-00-00-00-01", true},
        {7, "00-00-00-00-00-00", false},
        {7, "01-00-5E-00-00-01", false},
        {7, "00-11-22-33-44", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + c.text);
        EXPECT_EQ(CheckAddress(c.kind, c.text), c.pass);
    }
}

// ---- Typing -----------------------------------------------------------------------------

class EditTyping : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form = ActiveForm();
        edit = AddEdit(form);
        next = AddEdit(form);
        constraint = std::make_unique<HvEditConstraint>(form, true);
    }
    void TearDown() override {
        constraint.reset();
        GuiTest::TearDown();
    }

    TForm* form = nullptr;
    TEdit* edit = nullptr;
    TEdit* next = nullptr;
    std::unique_ptr<HvEditConstraint> constraint;
};

TEST_F(EditTyping, TakesOutWhatTheKindDoesNotAllow) {
    struct Case {
        const char* format;
        const char* typed;
        bool paste;
        std::string expected;
        int beeps;
    };
    const Case cases[] = {
        {"%u", "12a", false, "12", 1},
        {"%u", "1a2b", true, "12", 2},
        {"%u", "-5", false, "5", 1},
        {"%i", "-5", false, "-5", 0},
        {"%i", "5-", false, "5", 1},
        {"%i", "--5", true, "-5", 1},
        {"%f", "-1.5", false, "-1.5", 0},
        {"%f", "1.2.3", false, "1.23", 1},
        {"%f", "1-", false, "1", 1},
        {"%n,", ",1", false, "1", 1},
        {"%n,", "1,,2", false, "1,2", 1},
        {"%n,", "10,20,30", true, "10,20,30", 0},
        {"%n.", "1..2.", false, "1.2.", 1},
        {"%h", "0aFg9", false, "0aF9", 1},
        {"%s", "a!b ~", false, "a!b ~", 0},
        {"%s", "\xc3\xa9t\xc3\xa9", true, "\xc3\xa9t\xc3\xa9", 0},
        // A non-ASCII character (two bytes) sounds once and goes as a whole.
        {"%u",
         "4\xc3\xa9"
         "2",
         true, "42", 1},
        {"%u",
         "1\t2\x01"
         "3",
         true, "123", 2},
        {"%h{l4}", "abcde", false, "abcd", 0},  // the fifth key is refused by the length
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " " + c.typed);
        constraint->AddConstraint(c.format, edit);
        edit->SetText("");
        Focus(edit);
        beeps = 0;
        if (c.paste) {
            Paste(edit, c.typed);
        } else {
            Type(edit, c.typed);
        }
        EXPECT_EQ(edit->Text(), c.expected);
        EXPECT_EQ(beeps, c.beeps);
    }
    EXPECT_EQ(lastBeep, (std::pair<unsigned, unsigned>{1000, 200}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(EditTyping, AForeignCharacterTypedInTheMiddleKeepsTheCursorThere) {
    constraint->AddConstraint("%u", edit);
    Focus(edit);
    Type(edit, "1234");
    edit->SetSelStart(2);
    Type(edit, "x5");
    EXPECT_EQ(edit->Text(),
              "125"
              "34");
    EXPECT_EQ(edit->SelStart(), 3);
}

TEST_F(EditTyping, AVeryLongPasteKeepsTheRuleAndDoesNotBeepForEver) {
    constraint->AddConstraint("%u", edit);
    Focus(edit);
    Paste(edit, "7" + std::string(30000, 'x') + "8");
    EXPECT_EQ(edit->Text(), "78");
    EXPECT_GE(beeps, 1);
    EXPECT_LE(beeps, 8);

    constraint->AddConstraint("%n,", edit);
    edit->SetText("");
    std::string list;
    for (int i = 0; i < 5000; ++i) list += "1,,";
    Paste(edit, list);
    std::string expected;
    for (int i = 0; i < 5000; ++i) expected += "1,";
    EXPECT_EQ(edit->Text(), expected);
}

TEST_F(EditTyping, ReachingTheLengthWithTheAdvanceFlagMovesTheFocus) {
    constraint->AddConstraint("%s{l4a}", edit);
    Focus(edit);
    Type(edit, "abc");
    EXPECT_TRUE(edit->Focused());
    Type(edit, "d");
    QTRY_VERIFY(next->Focused());
    EXPECT_EQ(edit->Text(), "abcd");

    // Without the flag the focus stays.
    constraint->AddConstraint("%s{l4}", next);
    Type(next, "wxyz");
    Settle();
    EXPECT_TRUE(next->Focused());
}

TEST_F(EditTyping, TheExitCharacterMovesTheFocusAndDisappears) {
    constraint->AddConstraint("%s{e.}", edit);
    Focus(edit);
    Type(edit, "ab.");
    QTRY_VERIFY(next->Focused());
    EXPECT_EQ(edit->Text(), "ab");
}

TEST_F(EditTyping, SeveralExitCharactersInOnePasteMoveTheFocusOnce) {
    TEdit* third = AddEdit(form);
    constraint->AddConstraint("%u{e/}", edit);
    Focus(edit);
    Paste(edit, "1/2/3");
    QTRY_VERIFY(next->Focused());
    Settle();
    EXPECT_TRUE(next->Focused());
    EXPECT_FALSE(third->Focused());
    EXPECT_EQ(edit->Text(), "123");
}

TEST_F(EditTyping, TextsTheProgramWritesNeverMoveTheFocus) {
    constraint->AddConstraint("%s{l4ae.}", edit);
    Focus(next);
    edit->SetText("1.2.3.4");
    edit->SetText("abcd");
    Settle();
    EXPECT_TRUE(next->Focused());
    EXPECT_EQ(edit->Text(), "abcd");
}

TEST_F(EditTyping, ProgramTextsAreFilteredByTheRuleToo) {
    constraint->AddConstraint("%u", edit);
    edit->SetText("12ab3");
    EXPECT_EQ(edit->Text(), "123");
    for (const char* placeholder : {"(NULL)", "(NOTDONE)"}) {
        edit->SetText(placeholder);
        EXPECT_EQ(edit->Text(), placeholder);
    }
}

TEST_F(EditTyping, TheSavedChangeHandlerRunsAndTagMinusOneStopsTheAdvance) {
    std::vector<std::string> seen;
    edit->SetOnChange([&](TObject* sender) {
        EXPECT_EQ(sender, edit);
        seen.push_back(edit->Text());
    });
    constraint->AddConstraint("%u{l2a}", edit);
    Focus(edit);
    Type(edit, "1x2");
    // "1"; "1x" is taken out again and the handler hears "1" once more; then "12".
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "1", "12"}));
    QTRY_VERIFY(next->Focused());

    edit->SetOnChange({});
    constraint->RemoveConstraint(edit);
    edit->SetOnChange([&](TObject*) { edit->SetTag(-1); });
    constraint->AddConstraint("%u{l2a}", edit);
    edit->SetText("");
    edit->SetTag(0);
    Focus(edit);
    Type(edit, "34");
    Settle();
    EXPECT_TRUE(edit->Focused());
}

// ---- Leaving ----------------------------------------------------------------------------

class EditLeaving : public EditTyping {
protected:
    // Puts `text` into the constrained edit (typed, or written by the program for texts
    // that the typing rules or the length would not let through) and leaves it.
    void EnterAndLeave(const std::string& text, bool byProgram) {
        Focus(edit);
        if (byProgram) {
            edit->SetText(text);
        } else {
            edit->SetText("");
            Type(edit, text);
        }
        Leave(edit, next);
    }
};

TEST_F(EditLeaving, FailedChecksShowTheRuleRestoreTheTextAndKeepTheFocus) {
    static const std::string kFourHundredNines(400, '9');
    struct Case {
        const char* format;
        const char* text;
        bool byProgram;
        const char* message;  // null: accepted
    };
    const Case cases[] = {
        {"%u{n10x20}", "25", false, " Please enter a number between 10 and 20!"},
        {"%u{n10x20}", "9", false, " Please enter a number between 10 and 20!"},
        {"%u{n10x20}", "15", false, nullptr},
        {"%u{n10x20}", "", false, nullptr},
        {"%i{n10x20}", "-", false, " Please enter a number between 10 and 20!"},
        {"%i", "-2147483649", false, " Please enter a number between -2147483648 and 2147483647!"},
        {"%i", "-2147483648", false, nullptr},
        {"%u", "4294967296", false, " Please enter a number between 0 and 4294967295!"},
        {"%f{n-1.5x2.25}", "2.5", false, " Please enter a number between -1.5 and 2.25!"},
        {"%f{n-1.5x2.25}", "-1.5", false, nullptr},
        {"%f", kFourHundredNines.c_str(), true,
         " Please enter a number between -1.79769313486232E308 and 1.79769313486232E308!"},
        {"%s{l3f}", "ab", false, " Please enter a string whose length is 3!"},
        {"%s{l3f}", "abc", false, nullptr},
        {"%s{l3}", "abcd", true, " Please enter a string whose length is less than 3!"},
        {"%s{l3}", "abc", false, nullptr},
        {"%h{l2f}", "a", false, " Please enter a hex string whose length is 2!"},
        {"%h{l2}", "abc", true, " Please enter a hex string whose length is less than 2!"},
        {"%s{l3n}", "", false, " Empty value is not allowed!"},
        {"%n,{l3}", "1,2,3,4", false,
         " Please enter a delimited number string with delimiter ','.\nHere,the count of the "
         "number is less than 3!"},
        {"%n,{l3}", "1,2,3", false, nullptr},
        {"%n,{l3f}", "1,2", false,
         " Please enter a delimited number string with delimiter ','.\nHere,the count of the "
         "number is equal to 3!"},
        {"%n,{n5x9}", "5,10", false,
         " Please enter a delimited number string with delimiter ','.\nHere,each number is "
         "between 5 and 9!"},
        {"%n,{n5x9}", "5,9", false, nullptr},
        // A number beyond 32 bits does not wrap round into the range.
        {"%n,", "99999999999", false,
         " Please enter a delimited number string with delimiter ','.\nHere,each number is "
         "between 0 and 4294967295!"},
        {"%s{Im}", "240.1.1.1", false, " Please enter a valid multicast IP address!"},
        {"%s{I6}", "1234", false, " Please enter a valid IPV6 address!"},
        {"%s{I6m}", "1234", false, nullptr},
        {"%s{M}", "00:11:22:33:44:55", false, " Please enter a valid MAC address!"},
        {"%s{Mm}", "00-11-22-33-44-55", false, " Please enter a valid multicast MAC address!"},
        {"%s{Mu}", "01-00-5E-00-00-01", false, " Please enter a valid unicast MAC address!"},
        {"%h{M}", "001122334455", false, nullptr},
        {"%u{n10x20}", "(NULL)", true, nullptr},
        {"%u{n10x20}", "(NOTDONE)", true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " [" + c.text + "]");
        constraint->AddConstraint(c.format, edit);
        // The last accepted text is what a failure brings back.
        Focus(edit);
        edit->SetText("");
        // A text of the rule's own alphabet.
        const char kind = c.format[1];
        const std::string previous = kind == 's' ? "prev" : kind == 'h' ? "ab" : "12";
        constraint->Find(edit)->acceptedText = previous;
        boxes.clear();
        EnterAndLeave(c.text, c.byProgram);
        if (c.message == nullptr) {
            EXPECT_TRUE(boxes.empty()) << boxes.front().text;
            EXPECT_EQ(edit->Text(), c.text);
            QTRY_VERIFY(next->Focused());
            if (*c.text != 0 && std::string(c.text)[0] != '(') {
                EXPECT_EQ(constraint->Find(edit)->acceptedText, c.text);
            }
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, c.message);
            EXPECT_EQ(boxes[0].caption, "KSV-720E Test");
            EXPECT_EQ(boxes[0].flags & 0xF, static_cast<unsigned>(MB_OK));
            EXPECT_EQ(edit->Text(), previous);
            QTRY_VERIFY(edit->Focused());
            EXPECT_EQ(constraint->Find(edit)->acceptedText, previous);
        }
    }
}

TEST_F(EditLeaving, AFirstFailureEmptiesTheEditAndAPassRemembersTheText) {
    constraint->AddConstraint("%u{n10x20}", edit);
    EnterAndLeave("25", false);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(edit->Text(), "");
    QTRY_VERIFY(edit->Focused());

    EnterAndLeave("12", false);
    EXPECT_EQ(boxes.size(), 1u);
    QTRY_VERIFY(next->Focused());
    EnterAndLeave("30", false);
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(edit->Text(), "12");
}

TEST_F(EditLeaving, AnInvalidIpAddressShowsItsOwnMessage) {
    constraint->AddConstraint("%s{I}", edit);
    const char* bad[] = {"192.168.0", "192.168.0.256", "1.2.3.4.5", "-1.2.3.4"};
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        boxes.clear();
        EnterAndLeave(text, false);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Please input a valid IP.");
        EXPECT_EQ(boxes[0].caption, "KSV-720E Test");
        QTRY_VERIFY(edit->Focused());
        EXPECT_EQ(edit->Text(), "");
    }
    boxes.clear();
    EnterAndLeave("192.168.000.001", false);
    EXPECT_TRUE(boxes.empty());
    QTRY_VERIFY(next->Focused());
}

TEST_F(EditLeaving, PlaceholderTextsAndEmptyTextsCheckNothing) {
    constraint->AddConstraint("%u{n10x20}", edit);
    bool exitRan = false;
    constraint->Find(edit)->savedOnExit = [&](TObject*) { exitRan = true; };
    EnterAndLeave("", false);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(exitRan);  // an empty text is not handed on
    EnterAndLeave("(NULL)", true);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(exitRan);
    EXPECT_EQ(constraint->Find(edit)->acceptedText, "");
}

TEST_F(EditLeaving, TheSavedExitHandlerRunsAfterThePassAndTagMinusOneRestores) {
    int exits = 0;
    edit->SetOnExit([&](TObject* sender) {
        EXPECT_EQ(sender, edit);
        ++exits;
    });
    constraint->AddConstraint("%u{n10x20}", edit);
    EnterAndLeave("15", false);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(constraint->Find(edit)->acceptedText, "15");
    EnterAndLeave("25", false);
    EXPECT_EQ(exits, 1);  // a failed check does not hand on

    constraint->Find(edit)->savedOnExit = [&](TObject*) {
        ++exits;
        edit->SetTag(-1);
    };
    QTRY_VERIFY(edit->Focused());
    EnterAndLeave("17", false);
    EXPECT_EQ(exits, 2);
    EXPECT_EQ(edit->Text(), "15");
    EXPECT_EQ(constraint->Find(edit)->acceptedText, "15");
    QTRY_VERIFY(next->Focused());  // the focus goes on
}

TEST_F(EditLeaving, WithoutRememberingTheAcceptedTextStaysEmpty) {
    HvEditConstraint forgetful(form, false);
    forgetful.AddConstraint("%u{n10x20}", edit);
    EnterAndLeave("15", false);
    EXPECT_EQ(forgetful.Find(edit)->acceptedText, "");
    forgetful.RememberText(edit);
    EXPECT_EQ(forgetful.Find(edit)->acceptedText, "15");
    forgetful.RemoveConstraint(edit);
}

bool g_customAnswer = false;
int g_customCalls = 0;
bool CustomCheck(TEdit*) {
    ++g_customCalls;
    return g_customAnswer;
}

TEST_F(EditLeaving, AnExternalCheckDecidesWithoutMessage) {
    g_customCalls = 0;
    constraint->AddConstraint("%u{Zn10x20}", edit);
    // Without a check set the kind's checks run.
    EnterAndLeave("25", false);
    EXPECT_EQ(boxes.size(), 1u);
    boxes.clear();
    constraint->SetCustomCheck(edit, &CustomCheck);
    g_customAnswer = true;
    EnterAndLeave("25", false);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(constraint->Find(edit)->acceptedText, "25");
    g_customAnswer = false;
    QTRY_VERIFY(next->Focused());
    EnterAndLeave("30", false);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(edit->Text(), "25");
    QTRY_VERIFY(edit->Focused());
    EXPECT_EQ(g_customCalls, 2);
}

TEST_F(EditLeaving, TwoFailingEditsDoNotSendTheFocusToEachOther) {
    constraint->AddConstraint("%s{l2fn}", edit);
    constraint->AddConstraint("%s{l2fn}", next);
    Focus(edit);
    Type(edit, "a");
    Leave(edit, next);
    Settle(30);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, " Please enter a string whose length is 2!");
    QTRY_VERIFY(edit->Focused());
    Settle(30);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(edit->Focused());
}

TEST_F(EditLeaving, AnOwnerInAnotherWindowStillBringsTheFocusBack) {
    TForm* other = new TForm(Application);
    constraint->SetOwner(other);
    constraint->AddConstraint("%u{n10x20}", edit);
    EnterAndLeave("25", false);
    ASSERT_EQ(boxes.size(), 1u);
    QTRY_VERIFY(edit->Focused());
    constraint->SetOwner(nullptr);
    EnterAndLeave("26", false);
    ASSERT_EQ(boxes.size(), 2u);
    QTRY_VERIFY(edit->Focused());
    // An owner that is gone counts as none.
    constraint->SetOwner(other);
    delete other;
    EnterAndLeave("27", false);
    ASSERT_EQ(boxes.size(), 3u);
    QTRY_VERIFY(edit->Focused());
}

// ---- Records ----------------------------------------------------------------------------

TEST_F(EditTyping, RemovingGivesTheHandlersBackAndReapplyingKeepsTheFirstOnes) {
    int changes = 0;
    int exits = 0;
    edit->SetOnChange([&](TObject*) { ++changes; });
    edit->SetOnExit([&](TObject*) { ++exits; });
    constraint->AddConstraint("%u", edit);
    constraint->AddConstraint("%h{l4}", edit);  // the record stays one, with the first handlers
    EXPECT_EQ(constraint->Count(), 1);
    EXPECT_EQ(constraint->Find(edit)->kind, 'h');
    EXPECT_EQ(edit->MaxLength(), 4);
    edit->SetText("zz1");  // 'z' is no hex digit
    EXPECT_EQ(edit->Text(), "1");
    EXPECT_EQ(changes, 1);

    constraint->RemoveConstraint(edit);
    EXPECT_EQ(constraint->Count(), 0);
    EXPECT_EQ(constraint->Find(edit), nullptr);
    changes = 0;
    edit->SetText("zz");
    EXPECT_EQ(edit->Text(), "zz");
    EXPECT_EQ(changes, 1);
    edit->OnExit()(edit);
    EXPECT_EQ(exits, 1);
    constraint->RemoveConstraint(edit);  // no record: nothing
}

TEST_F(EditTyping, ABadFormatLeavesTheEditAsItWas) {
    int changes = 0;
    edit->SetOnChange([&](TObject*) { ++changes; });
    EXPECT_THROW(constraint->AddConstraint("%s{Q}", edit), Exception);
    EXPECT_EQ(constraint->Count(), 0);
    edit->SetText("x");
    EXPECT_EQ(changes, 1);

    constraint->AddConstraint("%u{l3}", edit);
    EXPECT_THROW(constraint->AddConstraint("%u{l}", edit), Exception);
    EXPECT_EQ(constraint->Find(edit)->maxLength, 3);
}

TEST_F(EditTyping, AppliesSeveralFormats) {
    TEdit* third = AddEdit(form);
    constraint->AddConstraints("%u%h{l2w90}%n.{l4f}", {edit, next, third});
    EXPECT_EQ(constraint->Find(edit)->kind, 'u');
    EXPECT_EQ(constraint->Find(next)->kind, 'h');
    EXPECT_EQ(next->MaxLength(), 2);
    EXPECT_EQ(next->Width(), 90);
    EXPECT_EQ(constraint->Find(third)->delimiter, '.');
    EXPECT_EQ(third->MaxLength(), 0);  // the item count of a list is no character count
    // A count that does not match, or one bad piece, applies nothing.
    HvEditConstraint other(form, true);
    EXPECT_THROW(other.AddConstraints("%u%u", {edit}), Exception);
    EXPECT_THROW(other.AddConstraints("%u%q", {edit, next}), Exception);
    EXPECT_EQ(other.Count(), 0);
}

TEST_F(EditTyping, HandlersLeftBehindByADestroyedConstraintDoNothing) {
    constraint->AddConstraint("%u", edit);
    constraint.reset();
    Focus(edit);
    Type(edit, "1a");
    EXPECT_EQ(edit->Text(), "1a");
    EXPECT_EQ(beeps, 0);
    Leave(edit, next);
    EXPECT_TRUE(boxes.empty());
}

// ---- Messages ---------------------------------------------------------------------------

TEST(EditMessages, PlaceholdersAreReplacedEverywhereAndFileTextsBreakLines) {
    const MessageCatalogue saved = CommonMessages;
    CommonMessages[8] = " From [MIN] to [MAX], [MIN] first!\\nAgain.";
    EXPECT_EQ(CommonMessageText(8, {{"[MIN]", "1"}, {"[MAX]", "2"}}),
              " From 1 to 2, 1 first!\nAgain.");
    CommonMessages = saved;
    EXPECT_EQ(CommonMessageText(3), " Empty value is not allowed!");
}

}  // namespace
