#pragma once
// Conversions between value texts, value bytes and their parts, and the text forms they are
// built from: hex text, time-ticks text, bit lists, real numbers, date-time numbers, and
// the option-list lookups. Value bytes are byte strings (std::string) whose layout is fixed
// per syntax. Every text parser here is total: any byte string is accepted without reading
// beyond it, and bytes that are not valid UTF-8 pass through unchanged.
#include <cstdint>
#include <string>

#include "mib/HvOptionList.h"

// ---- Value bytes ------------------------------------------------------------------------

// Value text to value bytes. "(NULL)" gives empty bytes. Raises -511 for an unknown syntax
// (also for "(NULL)"); a bcdatetime text that is not a date and time raises EConvertError.
// Numbers follow TextToInt32 / TextToUInt32 / TextToCounter64; an objectid, ipaddress or
// short inetaddress text that is not dotted decimal gives empty bytes.
std::string EncodeValue(const std::string& text, int32_t syntax);
// Value bytes to value text. Empty bytes give "(NULL)" (the empty text for displaystr).
// Raises -518 when the bytes are too short for the syntax, -511 for an unknown syntax.
// Only whole values are read: an objectid whose byte count is not a multiple of 4 and an
// inetaddress of 1 to 3 bytes raise -518; macaddress and ipv6address longer than 6 and 16
// bytes give the hex text of all bytes. int16 reads as a signed number (-32768..32767), as
// int8 does, so that the -1 written is read back as -1.
std::string DecodeValue(const std::string& bytes, int32_t syntax);
// The part of the syntax's width at `offset`. Empty bytes and syntax null give empty bytes.
// Raises -519 when the part does not fit (also for a negative offset, and for an offset past
// the end of the syntaxes that run to the end; an offset at the end gives empty bytes),
// -511 for an unknown syntax.
std::string ExtractPart(const std::string& bytes, int32_t offset, int32_t syntax);

// ---- Hex text -------------------------------------------------------------------------

// Two upper-case hex digits per byte, no separators.
std::string BytesToHexText(const std::string& bytes);
// Blanks (space, tab) are removed first. A 35-character text gives 16 bytes from its first
// 32 characters, skips the 33rd (the "%" before an IPv6 zone) and gives one byte from the
// last two. Any other text: an odd count gives one byte from the first digit alone, then
// one byte per pair. A character that is not a hex digit counts as 0.
std::string HexTextToBytes(const std::string& text);
// Value of one hex digit character, 0 for any other character.
int HexDigitValue(char c);

// ---- Numbers --------------------------------------------------------------------------

// The C atol rule (leading blanks, optional sign, decimal digits; stops at the first other
// character; 0 without digits), saturated at the 32-bit signed range.
int32_t TextToInt32(const std::string& text);
// The same rule for unsigned 32-bit fields: values from -2^31 to -1 wrap to their two's
// complement pattern (as the signed conversion cast to unsigned), values above 4294967295
// saturate to 4294967295, values below -2^31 give 2^31.
uint32_t TextToUInt32(const std::string& text);
// The C strtod rule, independent of the locale (leading blanks, sign, decimal or hex
// floating text, inf, nan; 0 when nothing fits).
double TextToDouble(const std::string& text);
long double TextToLongDouble(const std::string& text);
// A long double read by TextToLongDouble, truncated to 64 bits unsigned: NaN and values
// below 1 give 0, values of 2^64 and above give 2^64-1.
uint64_t TextToCounter64(const std::string& text);
// General format with 15 significant digits, locale-independent: "0.1", "42", "-2.5",
// "1E20", "1.5E-7", "INF", "-INF", "NAN".
std::string RealToText(double value);

// ---- Time ticks -----------------------------------------------------------------------

// "h:mm:ss.cc", "1 day h:mm:ss.cc" or "d days, h:mm:ss.cc" from hundredths of a second.
std::string TimeTicksToText(uint32_t ticks);
// Reads the forms above back; a text without any separator reads as 0. The sum is clamped
// to 0..4294967295.
uint32_t TextToTimeTicks(const std::string& text);

// ---- Date-time numbers (bcdatetime) -----------------------------------------------------

// Days since 1899-12-30 (fraction = time of day; for negative numbers the fraction counts
// forward from midnight of the day, as the platform's date-time numbers do) written as
// "yyyy/mm/dd hh:nn:ss", seconds truncated after rounding to milliseconds. Numbers outside
// 0001-01-01 .. 9999-12-31 23:59:59.999 (and NaN) are written as their RealToText instead.
std::string DateTimeNumberToText(double days);
// Reads "y/m/d", "y/m/d h:n", "y/m/d h:n:s" or "y/m/d h:n:s.z" ("-" also accepted as the
// date separator; fields need not be padded; blanks around the text ignored), or a time
// alone "h:n[:s[.z]]" (date 1899-12-30). Years 1..9999, real calendar dates, hours 0..23,
// minutes and seconds 0..59, milliseconds 0..999 (1..3 digits). Returns false for any
// other text, leaving `days` unchanged.
bool TryTextToDateTimeNumber(const std::string& text, double& days);
// As TryTextToDateTimeNumber; raises EConvertError "'<text>' is not a valid date and time"
// for a text it cannot read.
double TextToDateTimeNumber(const std::string& text);
// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar (month 1..12).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d);

// ---- Bit lists ------------------------------------------------------------------------

// Bits numbered from 1 = most significant bit of the first byte. Runs of set bits as "a" or
// "a-b" joined by ","; "0" when no bit is set. With brackets "[" + hex + "]" is appended:
// "E8" gives "1-3,5[E8]". Each pair of characters gives one byte (no blank removal); an odd
// last character is ignored.
std::string BitListToText(const std::string& hex, bool withBrackets);
// The characters after the first "[" up to the next "]"; without "[" from the first
// character; without a "]" after the start, up to (not including) the last character.
std::string StripBitListText(const std::string& text);
// "1-3,5" with current hex "0000" gives "e800": as many lower-case hex digits as the
// current hex text, 4 bits per digit. "all" sets every bit; "0" clears every bit. Pieces
// are split at ","; a piece is a bit number or a range "a-b" (blanks allowed around the
// numbers). A number outside 1..bits, a reversed range, or a piece that is not a number or
// range makes the conversion fail: returns false and leaves `hex` untouched.
bool TextToBitList(const std::string& text, const std::string& currentHex, std::string& hex);

// ---- Option lists ---------------------------------------------------------------------

// Text comparisons are case-insensitive (ASCII letters) unless the list is case-sensitive;
// bytes outside ASCII always compare exactly.

// Index of the first entry whose label equals the text (kind 3: whose label is a leading
// part of the text), or -1.
int FindLabel(const HvOptionList& list, const std::string& text);
// Kind 1: the text read as a decimal integer (optional sign, digits, nothing else; 32-bit);
// "(NULL)" and other texts match nothing. Kind 2: the first entry whose value text equals
// the text; kind 3: whose value text is a leading part of the text. -1 when none matches.
int FindValue(const HvOptionList& list, const std::string& text);
// The label of the value's entry (kind 3: followed by the rest of the text behind the
// value); the text unchanged when no entry matches.
std::string ValueToLabel(const HvOptionList& list, const std::string& text);
// The value of the label's entry (kind 1 in decimal; kind 3 followed by the rest of the text
// behind the label); the text unchanged when no entry matches.
std::string LabelToValue(const HvOptionList& list, const std::string& text);
