// Expressions and conditions: numeric expressions, conditions, value substitution, derived
// values and the text helpers.
#include <cmath>
#include <vector>

#include "request_test_util.h"
#include "snmp/HvSNMPExpression.h"

namespace {

const HvOptionData kStatusData[] = {{1, "enabled"}, {2, "disabled"}, {0, nullptr}};
const HvOptionList kStatus(kStatusData, OVK_INTEGER);

TEST(EvalNumber, Table) {
    const std::vector<std::pair<std::string, long double>> cases = {
        {"10-2-3", 11},  // 10-(2-3)
        {"2*3+4", 10},
        {"-5", -5},
        {"42", 42},
        {" 7", 7},
        {"", 0},
        {"abc", 0},
        {"3abc", 3},
        {"(1+2)*3", 9},
        {"(((3)))", 3},
        {"2*(0-3)", -6},  // the negative value written back behind "*"
        {"2*-3", -6},
        {"2/-4", -0.5},
        {"10--5", 15},
        {"8/4*2", 4},  // the "/" in front of the "*" is not dropped
        {"8/4/2", 4},  // 8/(4/2)
        {"8*3/2", 12},
        {"1e-3*1000", 1},
        {"(1E-20)*1E20", 1},  // the exponent of a value written back is not an operator
        {"1E+2", 100},
        {"0x10", 16},
        {"(1+2", 2},  // no matching ")": the "(" stays part of the literal "(1"
        {"1)+2", 3},
        {"1/0", 0},  // division by zero gives 0
        {"0/0", 0},
        {"5/(2-2)", 0},
        {"1e4000*1e4000", std::numeric_limits<long double>::infinity()},
    };
    for (const auto& [text, expected] : cases) {
        long double v = EvalNumber(text);
        if (std::isinf(expected))
            EXPECT_TRUE(std::isinf(v)) << text;
        else
            EXPECT_NEAR(static_cast<double>(v), static_cast<double>(expected), 1e-12) << text;
    }
}

TEST(EvalNumber, NowAndLongInput) {
    long double before = NowDateTimeNumber();
    long double now = EvalNumber("now");
    long double after = NowDateTimeNumber();
    EXPECT_GE(now, before);
    EXPECT_LE(now, after);
    EXPECT_GT(now, 42000);             // after 2023
    EXPECT_EQ(EvalNumber(" NOW"), 0);  // no blanks around NOW

    std::string sum = "1";
    for (int i = 0; i < 2000; ++i) sum += "+1";
    EXPECT_EQ(EvalNumber(sum), 2001);
    std::string nested = std::string(2000, '(') + "4" + std::string(2000, ')');
    EXPECT_EQ(EvalNumber(nested), 4);
    std::string chain = "1";
    for (int i = 0; i < 2000; ++i) chain += "*1-1/1";
    EXPECT_EQ(EvalNumber(chain), 1);
}

TEST(EvalCondition, Table) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"a=a", true},
        {"a<>b", true},
        {"a<>a", false},
        {"b>a", true},
        {"a>=a", true},
        {"a<=b", true},
        {"b<a", false},
        {"10>5", false},  // texts, not numbers
        {"7>5", true},
        {"\xFF>a", true},  // ordinal, byte by byte
        {"A<a", true},     // case-sensitive
        {"true", true},
        {"TRUE", true},
        {"False", false},
        {" a = a ", true},
        {"\"up\"=up", true},
        {"\"\"=", true},
        {"(x=x)|y=z", true},
        {"(x=y)|y=z", false},
        {"a=b|b=b", true},
        {"a=a&b=c", false},
        {"a=a&b=b", true},
        {"!a=b", true},
        {"!(a=a)", false},
        {"!!a=a", true},
        {"(a=a)&(b=b|c=d)", true},
        {"((a=b)|(c=c))&!(d=e)", true},
        {"true|garbage", true},  // the rest is not evaluated
        {"false&garbage", false},
        // Operators and parentheses inside quoted texts are part of the text.
        {"\"a|b\"=\"a|b\"", true},
        {"\"a=b\"=\"a=b\"", true},
        {"\"R&D\"=\"R&D\"&\"x<y\"<>\"x>y\"", true},
        {"\"(\"=\"(\"", true},
        {"\"hi!\"=\"hi!\"", true},
        {"NOW>4", true},
        {"NOW<5", true},
        {"\"now\">4", true},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(EvalCondition(text), expected) << text;
}

TEST(EvalCondition, BadOperands) {
    for (const std::string text :
         {"(x=x) |y=z", "x", "", "garbage|true", "true ", "!", "()", "maybe&a=a", "\"a\""}) {
        ExpectLibraryError([&] { EvalCondition(text); }, -1, text);
    }
    std::string chain;
    for (int i = 0; i < 2000; ++i) chain += "a=b|";
    EXPECT_TRUE(EvalCondition(chain + "a=a"));
    EXPECT_TRUE(EvalCondition(std::string(2000, '!') + "a=a"));
    EXPECT_TRUE(EvalCondition(std::string(2000, '(') + "a=a" + std::string(2000, ')')));
}

TEST(Compare, LeavesAndOperatorOrder) {
    EXPECT_TRUE(Compare("a<>b"));   // "<>" is tried before "<" and ">"
    EXPECT_FALSE(Compare("a=>b"));  // ">" splits: "a=" > "b" is false
    EXPECT_TRUE(Compare("true"));
    ExpectLibraryError([] { Compare("yes"); }, -1, "yes");
}

// ---- Requests ----------------------------------------------------------------------------

class ExpressionRequest : public ::testing::Test {
protected:
    void SetUp() override {
        FillList(request, {
                              {SYNTAX_INTEGER, "21"},                                   // 0
                              {SYNTAX_DISPLAYSTR, "down"},                              // 1
                              {SYNTAX_INTEGER, "7"},                                    // 2
                              {SYNTAX_BOOLEAN, "true"},                                 // 3
                              {SYNTAX_TIMETICKS, "1 day 0:00:00.00"},                   // 4
                              {SYNTAX_BCDATETIME, "2024/01/05 12:00:00"},               // 5
                              {SYNTAX_OCTETSTR, "0A"},                                  // 6
                              {SYNTAX_INTEGER, "(NULL)"},                               // 7
                              {SYNTAX_DISPLAYSTR, "$8 and $0"},                         // 8
                              {SYNTAX_INTEGER, "enabled", ACCESS_READWRITE, &kStatus},  // 9
                              {SYNTAX_BOOL16, "false"},                                 // 10
                              {SYNTAX_INT16, "-3"},                                     // 11
                              {SYNTAX_COUNTER64, "18446744073709551615"},               // 12
                              {SYNTAX_DOUBLE, "2.5"},                                   // 13
                          });
    }
    HvSNMPRequest request;
};

TEST_F(ExpressionRequest, SubstituteValues) {
    const std::vector<std::tuple<std::string, bool, std::string, std::string>> cases = {
        {"$0*2", false, "$", "21*2"},
        {"$3+$10", false, "$", "1+0"},
        {"$4", false, "$", "8640000"},
        {"$5", false, "$", "45296.5"},
        {"$9", false, "$", "1"},
        {"$11*$12+$13", false, "$", "-3*18446744073709551615+2.5"},
        {"$", false, "$", "21"},  // no digits: item 0
        {"$00x", false, "$", "21x"},
        {"$1=\"up\"", true, "$", "\"down\"=\"up\""},
        {"$6", true, "$", "\"0A\""},
        // A value holding the marker is inserted as it is and not searched again.
        {"$8|$8", true, "$", "\"$8 and $0\"|\"$8 and $0\""},
        {"#0+$0", false, "#", "21+$0"},
        {"#0", false, "", "#0"},
        {"no marker", false, "$", "no marker"},
    };
    for (const auto& [text, quote, marker, expected] : cases)
        EXPECT_EQ(request.SubstituteValues(text, quote, marker), expected) << text;

    ExpectLibraryError([&] { request.SubstituteValues("$1", false, "$"); }, -513, "unquoted");
    ExpectLibraryError([&] { request.SubstituteValues("$7", true, "$"); }, -512, "null");
    ExpectLibraryError([&] { request.SubstituteValues("$14", true, "$"); }, -512, "beyond");
    ExpectLibraryError([&] { request.SubstituteValues("$99999999999999999999", true, "$"); }, -512,
                       "huge index");
}

TEST_F(ExpressionRequest, Evaluate) {
    EXPECT_TRUE(request.Evaluate(""));
    EXPECT_TRUE(request.Evaluate("$1=\"up\"|$2>5"));
    request.List().Item(2).value = "10";
    EXPECT_FALSE(request.Evaluate("$1=\"up\"|$2>5"));  // "10" sorts before "5"
    EXPECT_TRUE(request.Evaluate("$1=down"));
    EXPECT_TRUE(request.Evaluate("$8=$8"));  // the inserted "$8 and $0" is not searched
    ExpectLibraryError([&] { request.Evaluate("$7=1"); }, -512, "null in condition");
    ExpectLibraryError([&] { request.Evaluate("$1"); }, -1, "leaf");
}

struct DeriveCase {
    int32_t syntax;
    const char* expr;
    std::string value;
};

TEST_F(ExpressionRequest, DeriveStoresBySyntax) {
    const std::vector<DeriveCase> cases = {
        {SYNTAX_INTEGER, "$0*2", "42"},
        {SYNTAX_INTEGER, "$0/4", "5"},  // truncated
        {SYNTAX_INTEGER, "0-$0/4", "-5"},
        {SYNTAX_INTEGER, "$0/0", "0"},
        {SYNTAX_INTEGER, "99999999999", "2147483647"},
        {SYNTAX_INTEGER, "-99999999999", "-2147483648"},
        {SYNTAX_INTEGER, "nan", "0"},
        {SYNTAX_BOOLEAN, "0", "false"},
        {SYNTAX_BOOLEAN, "0.5", "true"},
        {SYNTAX_COUNTER, "0-1", "0"},
        {SYNTAX_GUAGE, "4294967296", "4294967295"},
        {SYNTAX_UINTEGER, "$4/100", "86400"},
        {SYNTAX_TIMETICKS, "$4*2+1", "2 days, 0:00:00.01"},
        {SYNTAX_COUNTER64, "1e30", "18446744073709551615"},
        {SYNTAX_COUNTER64, "2*3", "6"},
        {SYNTAX_DOUBLE, "1/4", "0.25"},
        {SYNTAX_DOUBLE, "1/3", "0.333333333333333"},
        {SYNTAX_BCDATETIME, "$5+1", "2024/01/06 12:00:00"},
    };
    for (const DeriveCase& c : cases) {
        SetUp();
        HvSNMPVarList list = request.List();
        SnmpVarDef def[] = {{"1.3", "d", c.syntax, ACCESS_DERIVED, nullptr, c.expr, nullptr,
                             nullptr, "old", nullptr},
                            {}};
        list.Append(def);
        request.SetList(list);
        int32_t last = request.List().Count() - 1;
        request.Derive(last, HvDeriveDirection::Read);
        EXPECT_EQ(request.List().Item(last).value, c.value) << c.expr;
    }
}

TEST_F(ExpressionRequest, DeriveDirectionsOptionsAndErrors) {
    HvSNMPVarList list = request.List();
    SnmpVarDef defs[] = {
        {"1.1", "rw", SYNTAX_BOOLEAN, ACCESS_READWRITE, nullptr, "1", "$2-7", nullptr, "x",
         nullptr},
        {"1.2", "opt", SYNTAX_INTEGER, ACCESS_READWRITE, &kStatus, "$9+1", nullptr, nullptr, "",
         nullptr},
        {"1.3", "plain", SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, nullptr, nullptr, nullptr,
         "keep", nullptr},
        {"1.4", "text", SYNTAX_DISPLAYSTR, ACCESS_DERIVED, nullptr, "1", nullptr, nullptr, "",
         nullptr},
        {"1.5", "null", SYNTAX_INTEGER, ACCESS_DERIVED, nullptr, "$7", nullptr, nullptr, "",
         nullptr},
        {"1.6", "octets", SYNTAX_INTEGER, ACCESS_DERIVED, nullptr, "$6", nullptr, nullptr, "",
         nullptr},
        {},
    };
    list.Append(defs);
    request.SetList(list);
    request.Derive(14, HvDeriveDirection::Write);
    EXPECT_EQ(request.List().Item(14).value, "false");  // set expression 7-7
    request.Derive(14, HvDeriveDirection::Read);
    EXPECT_EQ(request.List().Item(14).value, "true");
    request.Derive(15, HvDeriveDirection::Read);
    EXPECT_EQ(request.List().Item(15).value, "disabled");  // 1+1 as its label
    request.Derive(15, HvDeriveDirection::Write);          // no set expression
    EXPECT_EQ(request.List().Item(15).value, "disabled");
    request.Derive(16, HvDeriveDirection::Read);
    EXPECT_EQ(request.List().Item(16).value, "keep");
    ExpectLibraryError([&] { request.Derive(17, HvDeriveDirection::Read); }, -513, "display");
    ExpectLibraryError([&] { request.Derive(18, HvDeriveDirection::Read); }, -512, "null");
    ExpectLibraryError([&] { request.Derive(19, HvDeriveDirection::Read); }, -513, "octets");
}

// ---- Text helpers --------------------------------------------------------------------------

TEST(TextHelpers, UnquoteReplaceAllSplitLastOfRun) {
    EXPECT_EQ(Unquote("\"up\""), "up");
    EXPECT_EQ(Unquote("\"\""), "");
    EXPECT_EQ(Unquote(""), "");
    EXPECT_EQ(Unquote("\""), "\"");
    EXPECT_EQ(Unquote("\"up"), "\"up");
    EXPECT_EQ(Unquote("up\""), "up\"");

    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAll("[X] [X]", "[X]", "1"), "1 1");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAll("abcabc", "bc", ""), "aa");

    const std::vector<std::string> ops = {"<>", ">=", "<=", ">", "<", "="};
    std::string left = "l", right = "r";
    EXPECT_EQ(SplitAtOperator(ops, "a=b<c", left, right), 4);  // "<" before "="
    EXPECT_EQ(left, "a=b");
    EXPECT_EQ(right, "c");
    EXPECT_EQ(SplitAtOperator(ops, "x>=1", left, right), 1);
    EXPECT_EQ(left, "x");
    EXPECT_EQ(right, "1");
    EXPECT_EQ(SplitAtOperator(ops, "\"a<b\"=c", left, right, true), 5);
    EXPECT_EQ(left, "\"a<b\"");
    left = right = "same";
    EXPECT_EQ(SplitAtOperator(ops, "none", left, right), -1);
    EXPECT_EQ(left + right, "samesame");

    const std::string set = "-0123456789.";
    EXPECT_EQ(LastOfRun("n-12.5}", 2, set), 6);
    EXPECT_EQ(LastOfRun("n-12.5", 2, set), 6);
    EXPECT_EQ(LastOfRun("n-12.5", 1, set), 0);
    EXPECT_EQ(LastOfRun("n-12.5", 0, set), 0);
    EXPECT_EQ(LastOfRun("n-12.5", 7, set), 0);
    EXPECT_EQ(LastOfRun("n5", 2, set), 2);
}

}  // namespace
