#include "binding/HvEditConstraint.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>

#include <QApplication>
#include <QWidget>

#include "mib/HvValueFormat.h"
#include "platform/Exception.h"
#include "platform/MessageBox.h"
#include "platform/System.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/StdCtrls.h"
#include "snmp/HvSNMPErrors.h"
#include "snmp/HvSNMPExpression.h"
#include "snmp/HvSNMPRequest.h"

namespace {

// Beeps for one change of the text: one per character taken out, but a long paste of
// foreign characters does not sound for seconds.
constexpr int kMaxBeepsPerChange = 8;
constexpr unsigned kBeepFrequency = 1000;
constexpr unsigned kBeepDurationMs = 200;

// The message of the IPv4 check; it is not one of the catalogue's texts.
constexpr char kInvalidIpText[] = "Please input a valid IP.";

constexpr char kNumberRunCharacters[] = "-0123456789.";

[[noreturn]] void RaiseBadFormat() {
    RaiseLibraryError(-2);
}

bool IsPlaceholder(const std::string& text) {
    return text == kNullValueText || text == kNotDoneValueText;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// A run of decimal digits at `pos` as an int, saturated at `limit`; false without a digit.
bool ReadDigits(const std::string& text, size_t& pos, size_t end, int limit, int& value) {
    if (pos >= end || !IsDigit(text[pos])) return false;
    int64_t v = 0;
    while (pos < end && IsDigit(text[pos])) {
        v = v * 10 + (text[pos] - '0');
        if (v > limit) v = limit;
        ++pos;
    }
    value = static_cast<int>(v);
    return true;
}

// The toolkit's text-to-float conversion for the bound options: an optional "-", digits
// with at most one ".", at least one digit.
double StrictTextToDouble(const std::string& text) {
    size_t i = 0;
    if (i < text.size() && text[i] == '-') ++i;
    bool digit = false;
    bool dot = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            digit = true;
        } else if (text[i] == '.' && !dot) {
            dot = true;
        } else {
            digit = false;
            break;
        }
    }
    if (!digit) throw EConvertError("'" + text + "' is not a valid floating point value");
    return TextToDouble(text);
}

// A bound option (n or x) at `pos` (just behind its letter) inside the options ending at
// `end`.
double ReadBound(const std::string& format, size_t& pos, size_t end) {
    const int last = LastOfRun(format, static_cast<int>(pos) + 1, kNumberRunCharacters);
    if (last == 0 || static_cast<size_t>(last) > end) RaiseBadFormat();
    const std::string run = format.substr(pos, static_cast<size_t>(last) - pos);
    pos = static_cast<size_t>(last);
    return StrictTextToDouble(run);
}

void SetDefaultBounds(EditConstraint_s& rule) {
    switch (rule.kind) {
        case 'i':
            rule.minimum = -2147483648.0;
            rule.maximum = 2147483647.0;
            break;
        case 'u':
        case 'n':
            rule.minimum = 0;
            rule.maximum = 4294967295.0;
            break;
        case 'f':
            rule.minimum = std::numeric_limits<double>::lowest();
            rule.maximum = std::numeric_limits<double>::max();
            break;
        default:
            rule.minimum = 0;
            rule.maximum = 0;
            break;
    }
}

// A bound cut to a whole unsigned 32-bit number.
uint32_t CutBound(double bound) {
    if (!(bound > 0)) return 0;
    if (bound >= 4294967295.0) return 4294967295u;
    return static_cast<uint32_t>(bound);
}

// The items of a number list as whole numbers, read by the number-list rule (a "." that is
// not the delimiter starts a fraction that does not count), without wrapping: false for an
// item above 4294967295 or one with a character that is neither a digit nor a dot.
bool ReadListItems(const std::string& text, char delimiter, std::vector<uint32_t>& items) {
    items.clear();
    uint64_t item = 0;
    bool fraction = false;
    bool ok = true;
    for (char c : text) {
        if (c == delimiter) {
            items.push_back(static_cast<uint32_t>(item));
            item = 0;
            fraction = false;
        } else if (c == '.') {
            fraction = true;
        } else if (!IsDigit(c)) {
            ok = false;
        } else if (!fraction) {
            item = item * 10 + static_cast<uint64_t>(c - '0');
            if (item > 4294967295u) {
                ok = false;
                item = 4294967295u;
            }
        }
    }
    items.push_back(static_cast<uint32_t>(item));
    return ok;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        if (at == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

// IPv4: the four parts; false when the text is not a dotted quad of numbers 0..255.
bool ReadIpv4(const std::string& text, int& firstPart) {
    if (text.size() > 16) return false;
    const std::vector<std::string> parts = Split(text, '.');
    if (parts.size() != 4) return false;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part.empty() || part.size() > 3) return false;
        int value = 0;
        for (char c : part) {
            if (!IsDigit(c)) return false;
            value = value * 10 + (c - '0');
        }
        if (value > 255) return false;
        if (i == 0) firstPart = value;
    }
    return true;
}

bool CheckMac(const std::string& text) {
    char separator = 0;
    if (text.find('-') != std::string::npos) {
        separator = '-';
    } else if (text.find('.') != std::string::npos) {
        separator = '.';
    }
    if (separator == 0) {
        if (text.size() != 12) return false;
        for (char c : text)
            if (!IsHexDigit(c)) return false;
        return true;
    }
    const std::vector<std::string> groups = Split(text, separator);
    if (groups.size() != 6) return false;
    for (const std::string& group : groups)
        if (group.size() != 2 || !IsHexDigit(group[0]) || !IsHexDigit(group[1])) return false;
    return true;
}

size_t CountOf(const std::string& text, const char* characters, size_t from = 0) {
    size_t n = 0;
    for (size_t i = from; i < text.size(); ++i)
        if (std::string(characters).find(text[i]) != std::string::npos) ++n;
    return n;
}

std::string SignedText(int value) {
    return std::to_string(value);
}

}  // namespace

// ---- Formats ------------------------------------------------------------------------------

HvParsedFormat ParseEditFormat(const std::string& format) {
    HvParsedFormat parsed;
    EditConstraint_s& rule = parsed.rule;
    if (format.size() < 2 || format[0] != '%') RaiseBadFormat();
    const char kind = format[1];
    if (std::string("shiufn").find(kind) == std::string::npos) RaiseBadFormat();
    rule.kind = kind;
    size_t pos = 2;
    if (kind == 'n') {
        if (format.size() < 3) RaiseBadFormat();
        rule.delimiter = format[2];
        pos = 3;
    }
    SetDefaultBounds(rule);
    if (pos == format.size()) return parsed;
    if (format[pos] != '{' || format.back() != '}' || format.size() - pos < 2) RaiseBadFormat();

    bool hasMinimum = false;
    bool hasMaximum = false;
    double minimum = 0;
    double maximum = 0;
    const size_t end = format.size() - 1;  // the closing brace
    pos += 1;
    while (pos < end) {
        const char option = format[pos++];
        switch (option) {
            case 'I': {
                // The character behind always belongs to the option.
                const char sub = pos < end ? format[pos] : 0;
                if (pos < end) ++pos;
                if (sub == 'm') {
                    rule.addressKind = ADDRESS_IPV4_MULTICAST;
                } else if (sub == '6') {
                    const char sub6 = pos < end ? format[pos] : 0;
                    if (pos < end) ++pos;
                    rule.addressKind = sub6 == 'm' ? ADDRESS_IPV6_MULTICAST : ADDRESS_IPV6;
                } else {
                    rule.addressKind = ADDRESS_IPV4;
                }
                break;
            }
            case 'M': {
                const char sub = pos < end ? format[pos] : 0;
                if (pos < end) ++pos;
                rule.addressKind = sub == 'm'   ? ADDRESS_MAC_MULTICAST
                                   : sub == 'u' ? ADDRESS_MAC_UNICAST
                                                : ADDRESS_MAC;
                break;
            }
            case 'Z':
                rule.customCheckFlag = 1;
                break;
            case 'e':
                if (pos >= end) RaiseBadFormat();
                rule.exitChar = format[pos++];
                break;
            case 'l': {
                if (!ReadDigits(format, pos, end, std::numeric_limits<int>::max(), rule.maxLength))
                    RaiseBadFormat();
                for (int k = 0; k < 3 && pos < end; ++k) {
                    const char flag = format[pos];
                    if (flag == 'a') {
                        rule.lengthFlags |= LENGTH_ADVANCE;
                    } else if (flag == 'f') {
                        rule.lengthFlags |= LENGTH_EXACT;
                    } else if (flag == 'n') {
                        rule.lengthFlags |= LENGTH_NOTEMPTY;
                    } else {
                        break;
                    }
                    ++pos;
                }
                break;
            }
            case 'n':
                minimum = ReadBound(format, pos, end);
                hasMinimum = true;
                break;
            case 'x':
                maximum = ReadBound(format, pos, end);
                hasMaximum = true;
                break;
            case 'w': {
                int width = 0;
                if (!ReadDigits(format, pos, end, 32767, width)) RaiseBadFormat();
                parsed.width = width;
                break;
            }
            default:
                RaiseBadFormat();
        }
    }
    if (hasMinimum) rule.minimum = minimum;
    if (hasMaximum) rule.maximum = maximum;
    return parsed;
}

std::vector<std::string> SplitEditFormats(const std::string& formats) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t i = 1; i <= formats.size(); ++i) {
        if (i == formats.size() || formats[i] == '%') {
            pieces.push_back(formats.substr(start, i - start));
            start = i;
        }
    }
    return pieces;
}

// ---- Address checks -----------------------------------------------------------------------

bool CheckAddress(int addressKind, const std::string& text) {
    int first = 0;
    switch (addressKind) {
        case ADDRESS_IPV4:
            return ReadIpv4(text, first);
        case ADDRESS_IPV4_MULTICAST:
            return ReadIpv4(text, first) && first >= 224 && first <= 239;
        case ADDRESS_IPV6:
            if (text.size() != 32) return false;
            for (char c : text)
                if (!IsHexDigit(c)) return false;
            return true;
        case ADDRESS_MAC:
            return CheckMac(text);
        case ADDRESS_MAC_MULTICAST:
            return CheckMac(text) && CountOf(text, "Ff") != 12 && CountOf(text, "0", 2) <= 9 &&
                   (HexDigitValue(text[1]) & 1) == 1;
        case ADDRESS_MAC_UNICAST:
            return CheckMac(text) && CountOf(text, "0") != 12 && (HexDigitValue(text[1]) & 1) == 0;
        default:
            return true;  // none, and multicast IPv6, which has no check
    }
}

// ---- Messages -----------------------------------------------------------------------------

std::string CommonMessageText(int number,
                              const std::vector<std::pair<std::string, std::string>>& values) {
    std::string text = ReplaceAll(ErrorText(-number), "\\n", "\n");
    for (const auto& [placeholder, value] : values) text = ReplaceAll(text, placeholder, value);
    return text;
}

// ---- The constraint object ----------------------------------------------------------------

HvEditConstraint::HvEditConstraint(TWinControl* owner, bool rememberAccepted)
    : owner_(nullptr), rememberAccepted_(rememberAccepted) {
    SetOwner(owner);
}

void HvEditConstraint::SetOwner(TWinControl* owner) {
    owner_ = owner;
    ownerWidget_ = owner != nullptr ? owner->Widget() : nullptr;
}

HvEditConstraint::~HvEditConstraint() = default;

EditConstraint_s* HvEditConstraint::Find(const TEdit* edit) {
    if (edit == nullptr) return nullptr;
    for (auto& record : records_)
        if (record->edit == edit) return record.get();
    return nullptr;
}

const EditConstraint_s* HvEditConstraint::Find(const TEdit* edit) const {
    return const_cast<HvEditConstraint*>(this)->Find(edit);
}

void HvEditConstraint::AddConstraint(const std::string& format, TEdit* edit) {
    const HvParsedFormat parsed = ParseEditFormat(format);
    if (edit == nullptr) return;
    Apply(parsed, edit);
}

void HvEditConstraint::AddConstraints(const std::string& formats,
                                      const std::vector<TEdit*>& edits) {
    const std::vector<std::string> pieces = SplitEditFormats(formats);
    if (pieces.size() != edits.size()) RaiseBadFormat();
    std::vector<HvParsedFormat> parsed;
    parsed.reserve(pieces.size());
    for (const std::string& piece : pieces) parsed.push_back(ParseEditFormat(piece));
    for (size_t k = 0; k < edits.size(); ++k)
        if (edits[k] != nullptr) Apply(parsed[k], edits[k]);
}

void HvEditConstraint::Apply(const HvParsedFormat& parsed, TEdit* edit) {
    EditConstraint_s* record = Find(edit);
    if (record == nullptr) {
        records_.push_back(std::make_unique<EditConstraint_s>());
        record = records_.back().get();
        record->edit = edit;
        record->savedOnChange = edit->OnChange();
        record->savedOnExit = edit->OnExit();
    }
    const EditConstraint_s& rule = parsed.rule;
    record->kind = rule.kind;
    record->delimiter = rule.delimiter;
    record->minimum = rule.minimum;
    record->maximum = rule.maximum;
    record->maxLength = rule.maxLength;
    record->customCheckFlag = rule.customCheckFlag;
    record->addressKind = rule.addressKind;
    record->customCheck = nullptr;
    record->lengthFlags = rule.lengthFlags;
    record->exitChar = rule.exitChar;

    // For a number list the maximum length counts items, not characters.
    edit->SetMaxLength(rule.kind == 'n' ? 0 : rule.maxLength);
    if (parsed.width > 0) edit->SetWidth(parsed.width);
    const std::weak_ptr<char> alive = alive_;
    edit->SetOnChange([this, alive](TObject* sender) {
        if (!alive.expired()) EditChange(sender);
    });
    edit->SetOnExit([this, alive](TObject* sender) {
        if (!alive.expired()) EditExit(sender);
    });
}

void HvEditConstraint::RemoveConstraint(TEdit* edit) {
    for (auto it = records_.begin(); it != records_.end(); ++it) {
        if ((*it)->edit != edit) continue;
        edit->SetOnChange((*it)->savedOnChange);
        edit->SetOnExit((*it)->savedOnExit);
        if (returningTo_ == edit->Widget()) returningTo_ = nullptr;
        records_.erase(it);
        return;
    }
}

void HvEditConstraint::RememberText(TEdit* edit) {
    if (EditConstraint_s* record = Find(edit)) record->acceptedText = edit->Text();
}

void HvEditConstraint::SetCustomCheck(TEdit* edit, HvCustomCheck check) {
    if (EditConstraint_s* record = Find(edit)) record->customCheck = check;
}

TWinControl* HvEditConstraint::FocusTarget(TEdit* edit) const {
    // WM_NEXTDLGCTL moves the focus within the form of the control it is posted to.
    if (owner_ != nullptr && ownerWidget_ && owner_->ParentForm() != nullptr &&
        owner_->ParentForm() == edit->ParentForm())
        return owner_;
    return edit;
}

// ---- Typing -------------------------------------------------------------------------------

void HvEditConstraint::EditChange(TObject* sender) {
    auto* edit = dynamic_cast<TEdit*>(sender);
    EditConstraint_s* rule = Find(edit);
    if (rule == nullptr) return;
    const std::string text = edit->Text();
    if (text.empty() || IsPlaceholder(text)) return;
    // Focus moves belong to what the user types; texts the program writes into an edit
    // that does not have the focus never move it.
    const bool typing = edit->Focused();

    if (typing && rule->exitChar != 0 && text.find(rule->exitChar) != std::string::npos) {
        std::string rest;
        for (char c : text)
            if (c != rule->exitChar) rest += c;
        PostMessage(FocusTarget(edit), WM_NEXTDLGCTL, 0, 0);
        // The focus is already on its way: the shortened text must not move it again.
        const bool advance = suppressAdvance_;
        suppressAdvance_ = true;
        edit->SetText(rest);
        suppressAdvance_ = advance;
        return;
    }

    if (rule->kind != 's') {
        // Taking the first foreign character out, again and again, leaves the same text as
        // keeping each character that the rule allows behind what was kept before it.
        const char kind = rule->kind;
        const char delimiter = rule->delimiter;
        std::string kept;
        kept.reserve(text.size());
        bool dotKept = false;
        int removed = 0;
        int sounds = 0;
        const int caret = edit->SelStart();
        int newCaret = caret;
        bool previousRemoved = false;
        for (size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            bool allowed = false;
            switch (kind) {
                case 'h':
                    allowed = IsHexDigit(c);
                    break;
                case 'i':
                    allowed = IsDigit(c) || (c == '-' && kept.empty());
                    break;
                case 'u':
                    allowed = IsDigit(c);
                    break;
                case 'f':
                    allowed = IsDigit(c) || (c == '-' && kept.empty()) || (c == '.' && !dotKept);
                    break;
                case 'n':
                    allowed =
                        IsDigit(c) || (c == delimiter && !kept.empty() && kept.back() != delimiter);
                    break;
                default:
                    allowed = true;
                    break;
            }
            if (allowed) {
                kept += c;
                if (c == '.') dotKept = true;
                previousRemoved = false;
                continue;
            }
            ++removed;
            if (static_cast<int>(i) < caret) --newCaret;
            // The bytes of one multi-byte character sound once.
            const bool continuation = (static_cast<unsigned char>(c) & 0xC0) == 0x80;
            if (!(continuation && previousRemoved)) ++sounds;
            previousRemoved = true;
        }
        if (removed > 0) {
            for (int k = 0; k < sounds && k < kMaxBeepsPerChange; ++k)
                Beep(kBeepFrequency, kBeepDurationMs);
            const QPointer<QWidget> widget = edit->Widget();
            edit->SetText(kept);  // runs this handler again on the shortened text
            if (widget) edit->SetSelStart(newCaret < 0 ? 0 : newCaret);
            return;
        }
    }

    if (rule->savedOnChange) {
        const std::weak_ptr<char> alive = alive_;
        const QPointer<QWidget> widget = edit->Widget();
        const TNotifyEvent handler = rule->savedOnChange;
        handler(edit);
        if (alive.expired() || !widget) return;
        rule = Find(edit);
        if (rule == nullptr || edit->Tag() == -1) return;
    }

    // A number list cannot tell from its length when the last number is complete.
    if (typing && !suppressAdvance_ && (rule->lengthFlags & LENGTH_ADVANCE) != 0 &&
        rule->kind != 'n' && rule->maxLength > 0 &&
        static_cast<int64_t>(text.size()) == rule->maxLength)
        PostMessage(FocusTarget(edit), WM_NEXTDLGCTL, 0, 0);
}

// ---- Leaving ------------------------------------------------------------------------------

void HvEditConstraint::Restore(TEdit* edit, bool refocus) {
    EditConstraint_s* rule = Find(edit);
    if (rule == nullptr) return;
    const QPointer<QWidget> widget = edit->Widget();
    const std::weak_ptr<char> alive = alive_;
    edit->SetText(rule->acceptedText);
    if (!refocus || alive.expired() || !widget) return;
    returningTo_ = widget;
    PostMessage(FocusTarget(edit), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), 1);
}

void HvEditConstraint::Fail(TEdit* edit, const std::string& message) {
    const QPointer<QWidget> widget = edit->Widget();
    const std::weak_ptr<char> alive = alive_;
    MessageBox(message, ApplicationTitle(), MB_OK);
    if (alive.expired() || !widget) return;
    Restore(edit, true);
}

bool HvEditConstraint::CheckText(const EditConstraint_s& rule, const std::string& text,
                                 std::string& message, bool& ownDialog) const {
    ownDialog = false;
    const int length = static_cast<int>(std::min<size_t>(text.size(), 0x7FFFFFFF));
    switch (rule.kind) {
        case 'f':
        case 'i':
        case 'u': {
            const double v = TextToDouble(text);
            if (v < rule.minimum || v > rule.maximum) {
                message = CommonMessageText(
                    8, {{"[MIN]", RealToText(rule.minimum)}, {"[MAX]", RealToText(rule.maximum)}});
                return false;
            }
            return true;
        }
        case 's':
        case 'h': {
            if (rule.addressKind != ADDRESS_NONE) {
                if (CheckAddress(rule.addressKind, text)) return true;
                switch (rule.addressKind) {
                    case ADDRESS_IPV4:
                        ownDialog = true;
                        message = kInvalidIpText;
                        break;
                    case ADDRESS_IPV4_MULTICAST:
                        message = CommonMessageText(20);
                        break;
                    case ADDRESS_IPV6:
                        message = CommonMessageText(21);
                        break;
                    case ADDRESS_MAC:
                        message = CommonMessageText(23);
                        break;
                    case ADDRESS_MAC_MULTICAST:
                        message = CommonMessageText(24);
                        break;
                    case ADDRESS_MAC_UNICAST:
                        message = CommonMessageText(25);
                        break;
                    default:
                        message = CommonMessageText(22);
                        break;
                }
                return false;
            }
            if (rule.maxLength <= 0) return true;
            const bool hex = rule.kind == 'h';
            if ((rule.lengthFlags & LENGTH_EXACT) != 0) {
                if (length == rule.maxLength) return true;
                message = CommonMessageText(hex ? 7 : 5, {{"[LEN]", SignedText(rule.maxLength)}});
                return false;
            }
            if (length <= rule.maxLength) return true;
            message = CommonMessageText(hex ? 6 : 4, {{"[MAXLEN]", SignedText(rule.maxLength)}});
            return false;
        }
        case 'n': {
            const std::string delimiter(1, rule.delimiter);
            std::vector<uint32_t> items;
            const bool whole = ReadListItems(text, rule.delimiter, items);
            const int count = static_cast<int>(items.size());
            if (rule.maxLength > 0) {
                if ((rule.lengthFlags & LENGTH_EXACT) != 0) {
                    if (count != rule.maxLength) {
                        message = CommonMessageText(10, {{"[DELIMITER]", delimiter},
                                                         {"[COUNT]", SignedText(rule.maxLength)}});
                        return false;
                    }
                } else if (count > rule.maxLength) {
                    message = CommonMessageText(9, {{"[DELIMITER]", delimiter},
                                                    {"[MAXCOUNT]", SignedText(rule.maxLength)}});
                    return false;
                }
            }
            const uint32_t low = CutBound(rule.minimum);
            const uint32_t high = CutBound(rule.maximum);
            bool within = whole;
            for (uint32_t item : items)
                if (item < low || item > high) within = false;
            if (!within) {
                message = CommonMessageText(11, {{"[DELIMITER]", delimiter},
                                                 {"[MIN]", std::to_string(low)},
                                                 {"[MAX]", std::to_string(high)}});
                return false;
            }
            return true;
        }
        default:
            return true;
    }
}

void HvEditConstraint::EditExit(TObject* sender) {
    auto* edit = dynamic_cast<TEdit*>(sender);
    EditConstraint_s* rule = Find(edit);
    if (rule == nullptr) return;

    if (returningTo_) {
        // The focus arrives back at an edit whose check failed: the control it passed
        // through meanwhile was never really entered, so it is left without checks (two
        // failing edits would otherwise send the focus to each other for ever).
        QWidget* focus = QApplication::focusWidget();
        const bool arriving = edit->Widget() != returningTo_ && focus != nullptr &&
                              (focus == returningTo_ || returningTo_->isAncestorOf(focus));
        returningTo_ = nullptr;
        if (arriving) return;
    }

    const std::string text = edit->Text();
    if (IsPlaceholder(text)) return;
    if (text.empty()) {
        if ((rule->lengthFlags & LENGTH_NOTEMPTY) != 0) Fail(edit, CommonMessageText(3));
        return;
    }

    const std::weak_ptr<char> alive = alive_;
    const QPointer<QWidget> widget = edit->Widget();
    bool checked = false;
    if (rule->customCheckFlag == 1 && rule->customCheck != nullptr) {
        const bool pass = rule->customCheck(edit);
        if (alive.expired() || !widget) return;
        if (!pass) {
            Restore(edit, true);
            return;
        }
        rule = Find(edit);
        if (rule == nullptr) return;
        checked = true;
    }
    if (!checked) {
        std::string message;
        bool ownDialog = false;
        if (!CheckText(*rule, text, message, ownDialog)) {
            if (ownDialog) {
                ShowMessage(message);
                if (alive.expired() || !widget) return;
                Restore(edit, true);
            } else {
                Fail(edit, message);
            }
            return;
        }
    }

    if (rule->savedOnExit) {
        const TNotifyEvent handler = rule->savedOnExit;
        handler(edit);
        if (alive.expired() || !widget) return;
        rule = Find(edit);
        if (rule == nullptr) return;
        if (edit->Tag() == -1) {
            Restore(edit, false);
            return;
        }
    }
    if (rememberAccepted_) RememberText(edit);
}
