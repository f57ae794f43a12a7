// Expressions and conditions over the values of a variable list, and their text helpers.
//
// Evaluation works on the text itself: parentheses are replaced by their value written as
// text, then the text is split at its first operator and both sides are evaluated. A chain
// "a op b op c" is evaluated as a op (b op c); the chains are walked in a loop rather than by
// recursion, so a long expression cannot exhaust the stack.
#include "snmp/HvSNMPExpression.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>

#include "mib/HvSnmpTypes.h"
#include "mib/HvValueFormat.h"
#include "snmp/HvSNMPErrors.h"
#include "snmp/HvSNMPRequest.h"

namespace {

constexpr int32_t kBadLogicOperand = -1;
constexpr int32_t kNullInExpression = -512;
constexpr int32_t kBadSyntaxInExpression = -513;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsAlnum(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(const std::string& text, const char* word) {
    size_t i = 0;
    for (; word[i] != '\0'; ++i)
        if (i >= text.size() || LowerAscii(text[i]) != word[i]) return false;
    return i == text.size();
}

// Blanks and control characters at both ends removed.
std::string Trim(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return text.substr(begin, end - begin);
}

// ---- Numeric expressions ----------------------------------------------------------------

long double Literal(const std::string& text) {
    if (EqualsNoCase(text, "now")) return NowDateTimeNumber();
    return TextToLongDouble(text);
}

// A "+" or "-" that belongs to the number behind it rather than being an operator: right
// behind "*" or "/" (blanks between allowed), or the exponent sign of a decimal number.
bool IsSign(const std::string& t, size_t p) {
    size_t j = p;
    while (j > 0 && t[j - 1] == ' ') --j;
    if (j > 0 && (t[j - 1] == '*' || t[j - 1] == '/')) return true;
    if (p >= 2 && (t[p - 1] == 'e' || t[p - 1] == 'E')) {
        size_t i = p - 1, digits = 0;
        while (i > 0 && (IsDigit(t[i - 1]) || t[i - 1] == '.')) {
            if (IsDigit(t[i - 1])) ++digits;
            --i;
        }
        return digits > 0 && (i == 0 || !IsAlnum(t[i - 1]));
    }
    return false;
}

size_t FindNumberOperator(const std::string& t, char op) {
    for (size_t p = t.find(op); p != std::string::npos; p = t.find(op, p + 1))
        if ((op != '+' && op != '-') || !IsSign(t, p)) return p;
    return std::string::npos;
}

// The closing parenthesis that matches the one at `open` (depth counting from it), or npos.
// Positions with skip[i] set do not count.
size_t MatchingClose(const std::string& t, size_t open, const std::vector<char>* skip) {
    size_t depth = 0;
    for (size_t i = open; i < t.size(); ++i) {
        if (skip != nullptr && (*skip)[i]) continue;
        if (t[i] == '(') ++depth;
        if (t[i] == ')' && --depth == 0) return i;
    }
    return std::string::npos;
}

// Replaces parenthesised parts by their values while the first "(" has a matching ")". The
// innermost pair inside that group is replaced first; the text inside a pair is balanced,
// so this gives the same text as evaluating the group's contents as a whole, without
// recursing once per level of nesting.
template <typename FindOpen, typename Evaluate>
void ResolveParentheses(std::string& t, FindOpen findOpen, Evaluate evaluate,
                        std::vector<char>* skip) {
    for (;;) {
        size_t open = findOpen(t, 0);
        if (open == std::string::npos) return;
        if (MatchingClose(t, open, skip) == std::string::npos) return;
        // First ")" after the group's "(", and the last "(" before it.
        size_t close = open;
        while (t[close] != ')' || (skip != nullptr && (*skip)[close])) ++close;
        size_t inner = close;
        while (t[inner] != '(' || (skip != nullptr && (*skip)[inner])) --inner;
        std::string value = evaluate(t.substr(inner + 1, close - inner - 1));
        t = t.substr(0, inner) + value + t.substr(close + 1);
    }
}

long double Apply(long double left, char op, long double right) {
    switch (op) {
        case '+':
            return left + right;
        case '-':
            return left - right;
        case '*':
            return left * right;
        default:
            // Division by zero gives 0.
            return right == 0 ? 0 : left / right;
    }
}

// ---- Conditions -----------------------------------------------------------------------------

// Marks the characters of double-quoted texts, the quotes included. A quote without a
// partner quotes nothing.
std::vector<char> QuotedMask(const std::string& t) {
    std::vector<char> mask(t.size(), 0);
    for (size_t open = t.find('"'); open != std::string::npos;) {
        size_t close = t.find('"', open + 1);
        if (close == std::string::npos) break;
        for (size_t i = open; i <= close; ++i) mask[i] = 1;
        open = t.find('"', close + 1);
    }
    return mask;
}

size_t FindOutside(const std::string& t, const std::vector<char>& mask, char c, size_t from = 0) {
    for (size_t p = t.find(c, from); p != std::string::npos; p = t.find(c, p + 1))
        if (!mask[p]) return p;
    return std::string::npos;
}

// ---- Derived values --------------------------------------------------------------------

// x truncated toward zero and held within [low, high]; NaN gives 0.
template <typename T>
T Truncated(long double x, T low, T high) {
    if (std::isnan(x)) return 0;
    x = std::trunc(x);
    if (x <= static_cast<long double>(low)) return low;
    if (x >= static_cast<long double>(high)) return high;
    return static_cast<T>(x);
}

}  // namespace

// ---- Text helpers ----------------------------------------------------------------------

int SplitAtOperator(const std::vector<std::string>& operators, const std::string& text,
                    std::string& left, std::string& right, bool skipQuoted) {
    std::vector<char> mask = skipQuoted ? QuotedMask(text) : std::vector<char>(text.size(), 0);
    for (size_t k = 0; k < operators.size(); ++k) {
        const std::string& op = operators[k];
        if (op.empty()) continue;
        for (size_t p = text.find(op); p != std::string::npos; p = text.find(op, p + 1)) {
            if (mask[p]) continue;
            left = text.substr(0, p);
            right = text.substr(p + op.size());
            return static_cast<int>(k);
        }
    }
    return -1;
}

std::string Unquote(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

std::string ReplaceAll(const std::string& text, const std::string& pattern,
                       const std::string& replacement) {
    if (pattern.empty()) return text;
    std::string out;
    size_t pos = 0;
    for (size_t p = text.find(pattern); p != std::string::npos; p = text.find(pattern, pos)) {
        out.append(text, pos, p - pos);
        out += replacement;
        pos = p + pattern.size();
    }
    out.append(text, pos, std::string::npos);
    return out;
}

int LastOfRun(const std::string& text, int start, const std::string& characters) {
    if (start < 1 || static_cast<size_t>(start) > text.size()) return 0;
    size_t i = static_cast<size_t>(start) - 1;
    if (characters.find(text[i]) == std::string::npos) return 0;
    while (i + 1 < text.size() && characters.find(text[i + 1]) != std::string::npos) ++i;
    return static_cast<int>(i + 1);
}

long double NowDateTimeNumber() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const long double ms = static_cast<long double>(
        duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    const int64_t days =
        DaysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                      static_cast<unsigned>(local.tm_mday)) -
        DaysFromCivil(1899, 12, 30);
    const long double dayTime =
        (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + ms / 1000) / 86400;
    return static_cast<long double>(days) + dayTime;
}

// ---- Evaluation -------------------------------------------------------------------------

long double EvalNumber(const std::string& text) {
    struct Pending {
        long double value;
        char op;
    };
    std::vector<Pending> pending;
    std::string t = text;
    long double value;
    for (;;) {
        ResolveParentheses(
            t, [](const std::string& s, size_t from) { return s.find('(', from); },
            [](const std::string& inner) {
                return RealToText(static_cast<double>(EvalNumber(inner)));
            },
            nullptr);
        size_t p = std::string::npos;
        char op = 0;
        for (char candidate : {'+', '-', '*', '/'}) {
            p = FindNumberOperator(t, candidate);
            if (p != std::string::npos) {
                op = candidate;
                break;
            }
        }
        if (op == 0) {
            value = Literal(t);
            break;
        }
        // The left side holds no operator of this or an earlier kind, so evaluating it
        // recurses at most four levels. The left side of "/" is a number; that of "*" is
        // evaluated, so that a "/" in front of the "*" divides: "8/4*2" is 4.
        std::string left = t.substr(0, p);
        pending.push_back({op == '/' ? Literal(left) : EvalNumber(left), op});
        t.erase(0, p + 1);
    }
    for (size_t i = pending.size(); i-- > 0;) value = Apply(pending[i].value, pending[i].op, value);
    return value;
}

bool Compare(const std::string& text) {
    static const std::vector<std::string> kOperators = {"<>", ">=", "<=", ">", "<", "="};
    std::string left, right;
    int op = SplitAtOperator(kOperators, text, left, right, true);
    if (op < 0) {
        if (EqualsNoCase(text, "true")) return true;
        if (EqualsNoCase(text, "false")) return false;
        RaiseLibraryError(kBadLogicOperand);
    }
    left = Unquote(Trim(left));
    right = Unquote(Trim(right));
    if (EqualsNoCase(left, "now")) left = RealToText(static_cast<double>(NowDateTimeNumber()));
    if (EqualsNoCase(right, "now")) right = RealToText(static_cast<double>(NowDateTimeNumber()));
    const int c = left.compare(right);  // ordinal, byte by byte
    switch (op) {
        case 0:
            return c != 0;
        case 1:
            return c >= 0;
        case 2:
            return c <= 0;
        case 3:
            return c > 0;
        case 4:
            return c < 0;
        default:
            return c == 0;
    }
}

bool EvalCondition(const std::string& text) {
    std::string t = text;
    bool negate = false;
    for (;;) {
        std::vector<char> mask = QuotedMask(t);
        ResolveParentheses(
            t,
            [&mask](const std::string& s, size_t from) {
                mask = QuotedMask(s);
                return FindOutside(s, mask, '(', from);
            },
            [](const std::string& inner) {
                return std::string(EvalCondition(inner) ? "true" : "false");
            },
            &mask);
        mask = QuotedMask(t);
        // The left side of "|" holds no "|", that of "&" neither "|" nor "&": evaluating it
        // recurses at most three levels.
        if (size_t p = FindOutside(t, mask, '|'); p != std::string::npos) {
            if (EvalCondition(t.substr(0, p))) return !negate;
            t.erase(0, p + 1);
        } else if (size_t q = FindOutside(t, mask, '&'); q != std::string::npos) {
            if (!EvalCondition(t.substr(0, q))) return negate;
            t.erase(0, q + 1);
        } else if (FindOutside(t, mask, '!') != std::string::npos) {
            // The "!" is expected as the first character. A run of leading "!" changes
            // neither quotes nor parentheses, so it is taken in one step.
            size_t run = t[0] == '!' ? t.find_first_not_of('!') : 1;
            if (run == std::string::npos) run = t.size();
            if (run % 2 == 1) negate = !negate;
            t.erase(0, run);
        } else {
            return Compare(t) != negate;
        }
    }
}

// ---- The request's expression operations ------------------------------------------------

std::string HvSNMPRequest::SubstituteValues(const std::string& text, bool quote,
                                            const std::string& marker) {
    if (marker.empty()) return text;
    std::string out;
    size_t pos = 0;
    // One pass from left to right: a replacement is never searched again, so a value that
    // contains the marker (or refers back to itself) is inserted as it is.
    for (size_t p = text.find(marker); p != std::string::npos; p = text.find(marker, pos)) {
        out.append(text, pos, p - pos);
        pos = p + marker.size();
        uint64_t index = 0;
        while (pos < text.size() && IsDigit(text[pos])) {
            if (index <= std::numeric_limits<int32_t>::max())
                index = index * 10 + static_cast<uint64_t>(text[pos] - '0');
            ++pos;
        }
        // A reference to an item the list does not have has no value, like a null value.
        if (index >= static_cast<uint64_t>(list_.Count())) RaiseLibraryError(kNullInExpression);
        const VarItem& item = list_.Item(static_cast<int32_t>(index));
        const std::string value =
            item.options != nullptr ? LabelToValue(*item.options, item.value) : item.value;
        if (value == kNullValueText) RaiseLibraryError(kNullInExpression);
        switch (item.syntax) {
            case SYNTAX_BOOLEAN:
            case SYNTAX_BOOL8:
            case SYNTAX_BOOL16:
                out += value == "true" ? "1" : "0";
                break;
            case SYNTAX_INTEGER:
            case SYNTAX_COUNTER:
            case SYNTAX_GUAGE:
            case SYNTAX_COUNTER64:
            case SYNTAX_UINTEGER:
            case SYNTAX_DOUBLE:
            case SYNTAX_INT8:
            case SYNTAX_UINT8:
            case SYNTAX_INT16:
            case SYNTAX_UINT16:
                out += value;
                break;
            case SYNTAX_TIMETICKS:
                out += std::to_string(TextToTimeTicks(value));
                break;
            case SYNTAX_BCDATETIME:
                out += RealToText(TextToDateTimeNumber(value));
                break;
            default:
                if (!quote) RaiseLibraryError(kBadSyntaxInExpression);
                out += '"';
                out += value;
                out += '"';
        }
    }
    out.append(text, pos, std::string::npos);
    return out;
}

void HvSNMPRequest::Derive(int32_t item, HvDeriveDirection direction) {
    VarItem& it = list_.Item(item);
    const std::optional<std::string>& expr =
        direction == HvDeriveDirection::Read ? it.getExpr : it.setExpr;
    if (!expr) return;
    const long double x = EvalNumber(SubstituteValues(*expr, false, "$"));
    // Values beyond the range of the syntax are held at its nearest limit; NaN stores 0.
    std::string text;
    switch (it.syntax) {
        case SYNTAX_BOOLEAN:
            text = !std::isnan(x) && x != 0 ? "true" : "false";
            break;
        case SYNTAX_INTEGER:
            text = std::to_string(Truncated<int32_t>(x, std::numeric_limits<int32_t>::min(),
                                                     std::numeric_limits<int32_t>::max()));
            break;
        case SYNTAX_COUNTER:
        case SYNTAX_GUAGE:
        case SYNTAX_UINTEGER:
            text = std::to_string(Truncated<uint32_t>(x, 0, std::numeric_limits<uint32_t>::max()));
            break;
        case SYNTAX_TIMETICKS:
            text = TimeTicksToText(Truncated<uint32_t>(x, 0, std::numeric_limits<uint32_t>::max()));
            break;
        case SYNTAX_COUNTER64:
            text = std::to_string(Truncated<uint64_t>(x, 0, std::numeric_limits<uint64_t>::max()));
            break;
        case SYNTAX_DOUBLE:
            text = RealToText(static_cast<double>(x));
            break;
        case SYNTAX_BCDATETIME:
            text = DateTimeNumberToText(static_cast<double>(x));
            break;
        default:
            RaiseLibraryError(kBadSyntaxInExpression);
    }
    it.value = it.options != nullptr ? ValueToLabel(*it.options, text) : text;
}

bool HvSNMPRequest::Evaluate(const std::string& condition) {
    if (condition.empty()) return true;
    return EvalCondition(SubstituteValues(condition, true, "$"));
}
