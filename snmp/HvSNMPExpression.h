#pragma once
// The expression language of get and set expressions and of row conditions, evaluated
// directly on the text by splitting it at operators, and the text helpers it is built from.
//
// Numeric expressions (EvalNumber): "(" ")" first, then "+", "-", "*", "/" in this order of
// splitting, each at its first occurrence, the right side evaluated as a whole:
// "10-2-3" is 10-(2-3) = 11, "2*3+4" is 10, "-5" is 0-5. A "+" or "-" right behind "*" or
// "/", or in the exponent of a number ("1E-5"), is the sign of the number behind it, so
// "2*-3" is -6. Literals are read as C strtod reads them; "NOW" is the current local date
// and time as a date-time number (days since 1899-12-30).
//
// Conditions (EvalCondition): "(" ")" first, then "|" (weakest), "&", "!" and comparisons
// ("<>", ">=", "<=", ">", "<", "=", of the two sides as byte strings, after trimming blanks
// and removing surrounding double quotes). Operands are not trimmed around "|" and "&", so
// "true " is not a condition. Operators and parentheses inside double-quoted texts are part
// of the text.
#include <cstdint>
#include <string>
#include <vector>

// The value of a numeric expression. Division by zero gives 0 (a derived value whose divisor
// is not known yet reads 0 rather than an unprintable infinity). Never fails.
long double EvalNumber(const std::string& text);
// The value of a condition. Raises -1 (" Bad logic operand!") for a leaf that is neither a
// comparison nor "true" or "false" (case-insensitive).
bool EvalCondition(const std::string& text);
// One comparison, or a leaf "true"/"false". Raises -1 for anything else.
bool Compare(const std::string& text);

// Tries the operators in table order; the first one that occurs splits the text at its first
// occurrence into `left` and `right`, and its index is returned; -1 when none occurs (left
// and right are then unchanged). With `skipQuoted`, occurrences inside double-quoted texts
// do not count.
int SplitAtOperator(const std::vector<std::string>& operators, const std::string& text,
                    std::string& left, std::string& right, bool skipQuoted = false);
// A text that begins and ends with a double quote (at least two characters) loses both;
// any other text is returned unchanged.
std::string Unquote(const std::string& text);
// Replaces every occurrence of `pattern`, from left to right; inserted text is not searched
// again. An empty pattern changes nothing.
std::string ReplaceAll(const std::string& text, const std::string& pattern,
                       const std::string& replacement);
// From the 1-based position `start`, walks while the characters belong to `characters` and
// returns the 1-based position of the last one; 0 when the character at `start` does not
// belong (or `start` lies outside the text).
int LastOfRun(const std::string& text, int start, const std::string& characters);

// The current local date and time as a date-time number (days since 1899-12-30, time of
// day as the fraction).
long double NowDateTimeNumber();
