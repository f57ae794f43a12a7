#include "binding/HvSNMPRequest2Edits.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include <QWidget>

#include "binding/HvControlFormat.h"
#include "mib/HvDateTime.h"
#include "mib/HvNumList.h"
#include "mib/HvOptionList.h"
#include "mib/HvSnmpTypes.h"
#include "mib/HvValueFormat.h"
#include "platform/System.h"
#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/StdCtrls.h"
#include "snmp/HvSNMPErrors.h"

namespace {

constexpr char kTrueText[] = "true";
constexpr char kFalseText[] = "false";

bool IsPlaceholder(const std::string& text) {
    return text == kNullValueText || text == kNotDoneValueText;
}

// A column that ended early has no value to write back, as a missing one has none.
std::string AsValueText(const std::string& text) {
    return text == kNotDoneValueText ? std::string(kNullValueText) : text;
}

bool IsBooleanSyntax(int syntax) {
    return syntax == SYNTAX_BOOLEAN || syntax == SYNTAX_BOOL8 || syntax == SYNTAX_BOOL16;
}

// The syntaxes whose value is rebuilt from the controls alone.
bool IsRebuiltSyntax(int syntax) {
    return syntax == SYNTAX_DISPLAYSTR || syntax == SYNTAX_INETADDRESS ||
           syntax == SYNTAX_IPV6ADDRESS || syntax == SYNTAX_OCTETSTR || syntax == SYNTAX_IPADDRESS;
}

// The syntaxes whose part reaches from its offset to the end of the value.
bool RunsToTheEnd(int syntax) {
    return syntax == SYNTAX_BITSTR || syntax == SYNTAX_OCTETSTR || syntax == SYNTAX_OBJECTID ||
           syntax == SYNTAX_OPAQUE || syntax == SYNTAX_DISPLAYSTR || syntax == SYNTAX_BITLIST;
}

uint8_t Byte(const std::string& bytes, size_t i) {
    return static_cast<uint8_t>(bytes[i]);
}

uint32_t UInt32LE(const std::string& bytes, size_t at) {
    return static_cast<uint32_t>(Byte(bytes, at)) |
           static_cast<uint32_t>(Byte(bytes, at + 1)) << 8 |
           static_cast<uint32_t>(Byte(bytes, at + 2)) << 16 |
           static_cast<uint32_t>(Byte(bytes, at + 3)) << 24;
}

double DoubleLE(const std::string& bytes) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | Byte(bytes, static_cast<size_t>(i));
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string Hex2(uint8_t byte) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

std::string Decimal(int64_t value) {
    return std::to_string(value);
}

// The read-back rule of several hex edits: one character gets a leading "0", an empty text
// counts as "00", longer texts are taken as they are.
void AppendHexPiece(std::string& hex, const std::string& text) {
    if (text.empty()) {
        hex += "00";
    } else if (text.size() == 1) {
        hex += "0" + text;
    } else {
        hex += text;
    }
}

// Fields of a date-time number (days since 1899-12-30; for negative numbers the fraction
// counts forward from midnight of the day). False outside the years 1..9999 and for NaN.
struct DateTimeFields {
    int64_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

bool SplitDateTimeNumber(double number, DateTimeFields& f) {
    // 0001-01-01 is day -693593, 9999-12-31 is day 2958465.
    if (!(number > -693594.0 && number < 2958466.0)) return false;
    const double whole = std::trunc(number);
    int64_t ms = std::llround(std::fabs(number - whole) * 86400000.0);
    if (ms >= 86400000) ms = 86399999;
    // Civil date from days since 1970-01-01 (H. Hinnant's algorithm).
    int64_t z = static_cast<int64_t>(whole) - 25569 + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    f.day = doy - (153 * mp + 2) / 5 + 1;
    f.month = mp < 10 ? mp + 3 : mp - 9;
    f.year = yoe + era * 400 + (f.month <= 2 ? 1 : 0);
    if (f.year < 1 || f.year > 9999) return false;
    f.hour = ms / 3600000;
    f.minute = ms / 60000 % 60;
    f.second = ms / 1000 % 60;
    f.millisecond = ms % 1000;
    return true;
}

// The controls whose state can be read back as a value.
bool CanBeRead(TControl* control) {
    return dynamic_cast<TLabel*>(control) != nullptr ||
           dynamic_cast<TStaticText*>(control) != nullptr ||
           dynamic_cast<TCheckBox*>(control) != nullptr ||
           dynamic_cast<TComboBox*>(control) != nullptr ||
           dynamic_cast<TRadioGroup*>(control) != nullptr ||
           dynamic_cast<TEdit*>(control) != nullptr;
}

std::string ControlText(TControl* control) {
    if (auto* edit = dynamic_cast<TEdit*>(control)) return edit->Text();
    if (auto* label = dynamic_cast<TLabel*>(control)) return label->Caption();
    if (auto* text = dynamic_cast<TStaticText*>(control)) return text->Caption();
    if (auto* box = dynamic_cast<TComboBox*>(control)) return box->Text();
    return std::string();
}

void SetControlText(TControl* control, const std::string& text) {
    if (auto* edit = dynamic_cast<TEdit*>(control)) {
        edit->SetText(text);
    } else if (auto* label = dynamic_cast<TLabel*>(control)) {
        label->SetCaption(text);
    } else if (auto* staticText = dynamic_cast<TStaticText*>(control)) {
        staticText->SetCaption(text);
    } else if (auto* box = dynamic_cast<TComboBox*>(control)) {
        box->SetText(text);
    }
}

std::string SelectedItemText(TControl* control, bool& selected) {
    selected = false;
    if (auto* box = dynamic_cast<TComboBox*>(control)) {
        const int index = box->ItemIndex();
        if (index < 0 || index >= box->Items().Count()) return std::string();
        selected = true;
        return box->Items().Get(index);
    }
    if (auto* group = dynamic_cast<TRadioGroup*>(control)) {
        const int index = group->ItemIndex();
        if (index < 0 || index >= group->Items().Count()) return std::string();
        selected = true;
        return group->Items().Get(index);
    }
    return std::string();
}

// The edits needed to show a value of the display syntax in several edits; -1 for a range
// (inetaddress: 4 to 16).
size_t EditsNeeded(int syntax, const std::string& bytes) {
    switch (syntax) {
        case SYNTAX_BITSTR:
        case SYNTAX_OCTETSTR:
        case SYNTAX_OPAQUE:
            return bytes.size();
        case SYNTAX_OBJECTID:
            return bytes.size() / 4;
        case SYNTAX_IPADDRESS:
        case SYNTAX_NSAPADDR:
            return 4;
        case SYNTAX_TIMETICKS:
            return 5;
        case SYNTAX_MACADDRESS:
            return 6;
        case SYNTAX_DATETIME:
            return 10;
        case SYNTAX_BCDATETIME:
            return 7;
        case SYNTAX_IPV6ADDRESS:
            return 16;
        case SYNTAX_INETADDRESS:
            return 4;
        default:
            return 1;
    }
}

// The texts of several edits that show a value under the display syntax; clearRest: the
// edits beyond the texts are emptied (the value may be shorter than before).
std::vector<std::string> SplitIntoEdits(int syntax, const std::string& bytes,
                                        const std::string& text, size_t editCount,
                                        bool& clearRest) {
    std::vector<std::string> texts;
    clearRest = false;
    switch (syntax) {
        case SYNTAX_BITSTR:
        case SYNTAX_OCTETSTR:
        case SYNTAX_OPAQUE:
            for (size_t i = 0; i < bytes.size(); ++i) texts.push_back(Hex2(Byte(bytes, i)));
            clearRest = true;
            break;
        case SYNTAX_OBJECTID:
            for (size_t i = 0; i + 4 <= bytes.size(); i += 4)
                texts.push_back(Decimal(UInt32LE(bytes, i)));
            clearRest = true;
            break;
        case SYNTAX_IPADDRESS:
        case SYNTAX_NSAPADDR:
            if (bytes.size() >= 4)
                for (size_t i = 0; i < 4; ++i) texts.push_back(Decimal(Byte(bytes, i)));
            break;
        case SYNTAX_TIMETICKS:
            if (bytes.size() >= 4) {
                const uint32_t t = UInt32LE(bytes, 0);
                texts = {Decimal(t / 8640000), Decimal(t % 8640000 / 360000),
                         Decimal(t % 360000 / 6000), Decimal(t % 6000 / 100), Decimal(t % 100)};
            }
            break;
        case SYNTAX_MACADDRESS:
            if (bytes.size() >= 6)
                for (size_t i = 0; i < 6; ++i) texts.push_back(Hex2(Byte(bytes, i)));
            break;
        case SYNTAX_DATETIME: {
            HvDateTime dt;
            if (dt.FromBytes(bytes)) {
                texts = {Decimal(dt.year),
                         Decimal(dt.month),
                         Decimal(dt.day),
                         Decimal(dt.hour),
                         Decimal(dt.minutes),
                         Decimal(dt.seconds),
                         Decimal(dt.deciSeconds),
                         dt.direction == 0 ? std::string() : std::string(1, dt.direction),
                         Decimal(dt.hoursFromUTC),
                         Decimal(dt.minutesFromUTC)};
            }
            break;
        }
        case SYNTAX_BCDATETIME: {
            DateTimeFields f;
            if (bytes.size() >= 8 && SplitDateTimeNumber(DoubleLE(bytes), f)) {
                texts = {Decimal(f.year),       Decimal(f.month),  Decimal(f.day),
                         Decimal(f.hour),       Decimal(f.minute), Decimal(f.second),
                         Decimal(f.millisecond)};
            }
            break;
        }
        case SYNTAX_IPV6ADDRESS:
            if (bytes.size() >= 16)
                for (size_t i = 0; i < 16; ++i) texts.push_back(Hex2(Byte(bytes, i)));
            break;
        case SYNTAX_INETADDRESS:
            if (editCount > 15) {
                if (bytes.size() >= 16)
                    for (size_t i = 0; i < 16; ++i) texts.push_back(Hex2(Byte(bytes, i)));
            } else if (bytes.size() >= 4) {
                for (size_t i = 0; i < 4; ++i) texts.push_back(Decimal(Byte(bytes, i)));
            }
            break;
        default:
            texts.push_back(text);
            break;
    }
    return texts;
}

// The value text of several edits under the display syntax (-522 for too few edits).
std::string JoinEditTexts(int syntax, const std::vector<std::string>& t) {
    std::string text;
    auto need = [&](size_t n) {
        if (t.size() < n) RaiseLibraryError(-522);
    };
    auto hexOf = [&](size_t n) {
        std::string hex;
        for (size_t k = 0; k < n && k < t.size(); ++k) AppendHexPiece(hex, t[k]);
        return hex;
    };
    auto dotted = [&](size_t n) {
        std::string joined;
        for (size_t k = 0; k < n; ++k) {
            if (k > 0) joined += ".";
            joined += Decimal(TextToInt32(t[k]));
        }
        return joined;
    };
    switch (syntax) {
        case SYNTAX_BITSTR:
        case SYNTAX_OCTETSTR:
        case SYNTAX_OPAQUE:
            text = hexOf(t.size());
            break;
        case SYNTAX_OBJECTID: {
            // Empty edits at the end stand for no sub-identifier.
            size_t used = t.size();
            while (used > 0 && t[used - 1].empty()) --used;
            text.clear();
            for (size_t k = 0; k < used; ++k) {
                if (k > 0) text += ".";
                text += std::to_string(TextToUInt32(t[k]));
            }
            break;
        }
        case SYNTAX_IPADDRESS:
        case SYNTAX_NSAPADDR:
            need(4);
            text = dotted(4);
            break;
        case SYNTAX_TIMETICKS: {
            need(5);
            const int64_t ticks = int64_t{TextToInt32(t[0])} * 8640000 +
                                  int64_t{TextToInt32(t[1])} * 360000 +
                                  int64_t{TextToInt32(t[2])} * 6000 +
                                  int64_t{TextToInt32(t[3])} * 100 + int64_t{TextToInt32(t[4])};
            const int64_t clamped = ticks < 0 ? 0 : (ticks > 4294967295LL ? 4294967295LL : ticks);
            text = TimeTicksToText(static_cast<uint32_t>(clamped));
            break;
        }
        case SYNTAX_MACADDRESS:
            need(6);
            text = hexOf(6);
            break;
        case SYNTAX_DATETIME: {
            need(10);
            HvDateTime dt;
            dt.year = static_cast<uint16_t>(TextToInt32(t[0]));
            dt.month = static_cast<uint8_t>(TextToInt32(t[1]));
            dt.day = static_cast<uint8_t>(TextToInt32(t[2]));
            dt.hour = static_cast<uint8_t>(TextToInt32(t[3]));
            dt.minutes = static_cast<uint8_t>(TextToInt32(t[4]));
            dt.seconds = static_cast<uint8_t>(TextToInt32(t[5]));
            dt.deciSeconds = static_cast<uint8_t>(TextToInt32(t[6]));
            dt.direction = t[7].empty() ? '+' : t[7][0];
            dt.hoursFromUTC = static_cast<uint8_t>(TextToInt32(t[8]));
            dt.minutesFromUTC = static_cast<uint8_t>(TextToInt32(t[9]));
            text = dt.ToText();
            break;
        }
        case SYNTAX_BCDATETIME: {
            need(7);
            char buffer[96];
            const int32_t ms = TextToInt32(t[6]);
            if (ms != 0) {
                std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d.%03d",
                              TextToInt32(t[0]), TextToInt32(t[1]), TextToInt32(t[2]),
                              TextToInt32(t[3]), TextToInt32(t[4]), TextToInt32(t[5]), ms);
            } else {
                std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d",
                              TextToInt32(t[0]), TextToInt32(t[1]), TextToInt32(t[2]),
                              TextToInt32(t[3]), TextToInt32(t[4]), TextToInt32(t[5]));
            }
            text = buffer;
            break;
        }
        case SYNTAX_IPV6ADDRESS:
            need(16);
            text = hexOf(16);
            break;
        case SYNTAX_INETADDRESS:
            if (t.size() < 4 || t.size() > 16) RaiseLibraryError(-522);
            text = t.size() > 15 ? hexOf(16) : dotted(4);
            break;
        default:
            text = t[0];
            break;
    }
    return text;
}

}  // namespace

// ---- Construction -------------------------------------------------------------------------

HvSNMPRequest2Edits::HvSNMPRequest2Edits(TConfigForm* form, TWinControl* window)
    : HvSNMPRequest2Controls(form), constraint_(window, true) {}

HvSNMPRequest2Edits::~HvSNMPRequest2Edits() {
    destroying_ = true;
    alive_.reset();
    for (auto& association : associations_) {
        for (size_t k = 0; k < association->controls.size(); ++k) {
            if (!association->widgets[k]) continue;
            if (auto* edit = dynamic_cast<TEdit*>(association->controls[k])) {
                constraint_.RemoveConstraint(edit);
            } else {
                RestoreHandler(*association, k);
            }
        }
    }
    if (listView_ != nullptr && listViewWidget_) listView_->SetOnSelectItem(savedSelectItem_);
}

VarItem& HvSNMPRequest2Edits::Variable(int varIndex) {
    if (varIndex < 0 || varIndex >= request.List().Count()) RaiseLibraryError(-12);
    return request.List().Item(varIndex);
}

const HvOptionList* HvSNMPRequest2Edits::EffectiveOptions(const ControlAssociation& a) const {
    if (a.options != nullptr) return a.options;
    const HvSNMPVarList& list = request.List();
    if (a.varIndex < 0 || a.varIndex >= list.Count()) return nullptr;
    const VarItem& item = list.Item(a.varIndex);
    if (a.byteOffset == 0 && a.displaySyntax == item.syntax) return item.options;
    return nullptr;
}

// ---- Relays -------------------------------------------------------------------------------

void HvSNMPRequest2Edits::InstallRelay(ControlAssociation& association, size_t k) {
    TControl* control = association.controls[k];
    const std::weak_ptr<char> alive = alive_;
    // The relay hands the event to the control's own handler, found through the
    // associations when it runs.
    auto relay = [this, alive, control](TObject* sender) {
        if (alive.expired()) return;
        for (const auto& a : associations_) {
            for (size_t j = 0; j < a->controls.size(); ++j) {
                if (a->controls[j] != control) continue;
                const TNotifyEvent handler = a->savedHandlers[j];
                if (handler) handler(sender);
                return;
            }
        }
    };
    // A control that is already associated keeps the handler saved the first time (its
    // present handler is the relay).
    TNotifyEvent* earlier = nullptr;
    for (auto& a : associations_) {
        for (size_t j = 0; j < a->controls.size() && earlier == nullptr; ++j)
            if (a.get() != &association && a->controls[j] == control)
                earlier = &a->savedHandlers[j];
        if (earlier != nullptr) break;
    }
    if (auto* box = dynamic_cast<TComboBox*>(control)) {
        association.savedHandlers[k] = earlier != nullptr ? *earlier : box->OnChange();
        box->SetOnChange(relay);
    } else if (auto* check = dynamic_cast<TCheckBox*>(control)) {
        association.savedHandlers[k] = earlier != nullptr ? *earlier : check->OnClick();
        check->SetOnClick(relay);
    } else if (auto* group = dynamic_cast<TRadioGroup*>(control)) {
        association.savedHandlers[k] = earlier != nullptr ? *earlier : group->OnClick();
        group->SetOnClick(relay);
    }
}

void HvSNMPRequest2Edits::RestoreHandler(ControlAssociation& association, size_t k) {
    TControl* control = association.controls[k];
    // Another association of the same control still relays.
    for (const auto& a : associations_) {
        if (a.get() == &association) continue;
        for (TControl* other : a->controls)
            if (other == control && !destroying_) return;
    }
    const TNotifyEvent& saved = association.savedHandlers[k];
    if (auto* box = dynamic_cast<TComboBox*>(control)) {
        box->SetOnChange(saved);
    } else if (auto* check = dynamic_cast<TCheckBox*>(control)) {
        check->SetOnClick(saved);
    } else if (auto* group = dynamic_cast<TRadioGroup*>(control)) {
        group->SetOnClick(saved);
    }
}

// ---- Associations -------------------------------------------------------------------------

int HvSNMPRequest2Edits::AssociateControl(int varIndex, int byteOffset, int displaySyntax,
                                          const HvOptionList* options, TControl* control,
                                          TControl* second) {
    const VarItem& item = Variable(varIndex);
    if (control == nullptr) RaiseLibraryError(-522);
    if (!IsKnownSyntax(displaySyntax)) RaiseLibraryError(-511);
    const HvOptionList* reference = options;
    if (reference == nullptr && byteOffset == 0 && displaySyntax == item.syntax)
        reference = item.options;
    auto* box = dynamic_cast<TComboBox*>(control);
    auto* group = dynamic_cast<TRadioGroup*>(control);
    if ((box != nullptr || group != nullptr) && reference == nullptr) RaiseLibraryError(-520);
    if (box != nullptr) {
        FillComboBox(reference, box);
        if (reference->ValueKind() == OVK_PREFIX && second == nullptr) RaiseLibraryError(-522);
    }
    if (group != nullptr) FillRadioGroup(reference, group);

    auto association = std::make_unique<ControlAssociation>();
    association->varIndex = varIndex;
    association->byteOffset = byteOffset;
    association->displaySyntax = displaySyntax;
    association->options = options;
    association->controls.push_back(control);
    if (second != nullptr) association->controls.push_back(second);
    association->controlCount = static_cast<int>(association->controls.size());
    association->savedHandlers.resize(association->controls.size());
    for (TControl* c : association->controls) association->widgets.emplace_back(c->Widget());
    for (size_t k = 0; k < association->controls.size(); ++k) InstallRelay(*association, k);
    associations_.push_back(std::move(association));
    return static_cast<int>(associations_.size()) - 1;
}

void HvSNMPRequest2Edits::AssociateComboBox(int varIndex, TComboBox* box) {
    const VarItem& item = Variable(varIndex);
    if (box == nullptr) RaiseLibraryError(-522);
    box->SetStyle(csDropDownList);
    AssociateControl(varIndex, 0, item.syntax, nullptr, box, nullptr);
}

void HvSNMPRequest2Edits::AssociateEdits(int varIndex, const std::string& format,
                                         const std::vector<TEdit*>& edits) {
    const VarItem& item = Variable(varIndex);
    // Each "%" followed by a kind letter takes the next edit.
    std::vector<TEdit*> collected;
    size_t pos = 0;
    for (;;) {
        pos = format.find('%', pos);
        if (pos == std::string::npos || pos + 1 >= format.size()) break;
        if (std::strchr("shiufn", format[pos + 1]) != nullptr && format[pos + 1] != 0) {
            if (collected.size() >= edits.size() || edits[collected.size()] == nullptr)
                RaiseLibraryError(-522);
            collected.push_back(edits[collected.size()]);
            pos += 2;
        } else {
            pos += 1;
        }
    }
    if (collected.empty()) RaiseLibraryError(-2);
    constraint_.AddConstraints(format, collected);

    auto association = std::make_unique<ControlAssociation>();
    association->varIndex = varIndex;
    association->byteOffset = 0;
    association->displaySyntax = item.syntax;
    for (TEdit* edit : collected) {
        association->controls.push_back(edit);
        association->widgets.emplace_back(edit->Widget());
    }
    association->controlCount = static_cast<int>(collected.size());
    association->savedHandlers.resize(collected.size());
    associations_.push_back(std::move(association));
}

void HvSNMPRequest2Edits::AssociateBits(int varIndex, const std::string& bits,
                                        const std::vector<TControl*>& controls) {
    const VarItem& item = Variable(varIndex);
    HvNumList<unsigned int> numbers;
    numbers.delimiter = ',';
    numbers.Parse(bits);
    if (numbers.Count() == 0 || numbers.Count() > controls.size()) RaiseLibraryError(-522);
    auto association = std::make_unique<ControlAssociation>();
    association->varIndex = varIndex;
    association->byteOffset = 0;
    association->displaySyntax = item.syntax;
    for (uint32_t i = 0; i < numbers.Count(); ++i) {
        if (controls[i] == nullptr) RaiseLibraryError(-522);
        // Bit numbers far beyond any value are refused rather than wrapped.
        if (numbers.Item(i) > 0x7FFFFFF) RaiseLibraryError(-519);
        association->bitIndexes.push_back(static_cast<int>(numbers.Item(i)));
        association->controls.push_back(controls[i]);
        association->widgets.emplace_back(controls[i]->Widget());
    }
    association->controlCount = static_cast<int>(association->controls.size());
    association->savedHandlers.resize(association->controls.size());
    for (size_t k = 0; k < association->controls.size(); ++k) InstallRelay(*association, k);
    associations_.push_back(std::move(association));
}

void HvSNMPRequest2Edits::Dissociate(int varIndex) {
    for (size_t i = 0; i < associations_.size();) {
        ControlAssociation& association = *associations_[i];
        if (association.varIndex != varIndex) {
            ++i;
            continue;
        }
        // Taken out of the list first, so that the handlers go back to controls that no
        // other association relays for.
        std::unique_ptr<ControlAssociation> removed = std::move(associations_[i]);
        associations_.erase(associations_.begin() + static_cast<std::ptrdiff_t>(i));
        for (size_t k = 0; k < removed->controls.size(); ++k) {
            if (!removed->widgets[k]) continue;
            if (auto* edit = dynamic_cast<TEdit*>(removed->controls[k])) {
                bool elsewhere = false;
                for (const auto& a : associations_)
                    for (TControl* c : a->controls) elsewhere = elsewhere || c == edit;
                if (!elsewhere) constraint_.RemoveConstraint(edit);
            } else {
                RestoreHandler(*removed, k);
            }
        }
    }
}

void HvSNMPRequest2Edits::EnableControls(bool enabled) {
    for (auto& association : associations_)
        for (size_t k = 0; k < association->controls.size(); ++k)
            if (association->widgets[k]) association->controls[k]->SetEnabled(enabled);
}

// ---- Showing ------------------------------------------------------------------------------

void HvSNMPRequest2Edits::ShowValues(int varIndex) {
    for (size_t i = 0; i < associations_.size(); ++i) {
        ControlAssociation& association = *associations_[i];
        if (varIndex >= 0 && association.varIndex != varIndex) continue;
        if (association.varIndex < 0 || association.varIndex >= request.List().Count()) continue;
        if ((request.List().Item(association.varIndex).access & ACCESS_INVALID) != 0) continue;
        bool gone = false;
        for (const auto& widget : association.widgets) gone = gone || !widget;
        if (gone) continue;
        ShowAssociation(association);
    }
}

void HvSNMPRequest2Edits::ShowAssociation(ControlAssociation& a) {
    const VarItem& item = request.List().Item(a.varIndex);
    std::string text = item.value;
    if (item.options != nullptr) text = LabelToValue(*item.options, text);
    std::string bytes = EncodeValue(text, item.syntax);
    const HvOptionList* opts = EffectiveOptions(a);
    if (a.byteOffset != 0 || a.displaySyntax != item.syntax) {
        bytes = ExtractPart(bytes, a.byteOffset, a.displaySyntax);
        text = DecodeValue(bytes, a.displaySyntax);
    }
    if (opts != nullptr) text = ValueToLabel(*opts, text);

    TControl* first = a.controls.front();
    if (auto* label = dynamic_cast<TLabel*>(first)) {
        label->SetCaption(text);
        return;
    }
    if (auto* staticText = dynamic_cast<TStaticText*>(first)) {
        staticText->SetCaption(text);
        return;
    }
    if (dynamic_cast<TCheckBox*>(first) != nullptr) {
        if (!a.bitIndexes.empty()) {
            for (size_t k = 0; k < a.controls.size(); ++k) {
                auto* box = dynamic_cast<TCheckBox*>(a.controls[k]);
                if (box == nullptr) RaiseLibraryError(-521);
                const int n = a.bitIndexes[k];
                if (static_cast<size_t>(n / 8) >= bytes.size()) RaiseLibraryError(-519);
                box->SetChecked((Byte(bytes, static_cast<size_t>(n / 8)) & (0x80 >> (n % 8))) != 0);
            }
            return;
        }
        auto* box = static_cast<TCheckBox*>(first);
        if (opts != nullptr) {
            int k = FindLabel(*opts, text);
            if (k < 0) k = FindValue(*opts, text);
            box->SetChecked(k > 0);
            return;
        }
        if (!IsBooleanSyntax(a.displaySyntax)) RaiseLibraryError(-517);
        box->SetChecked(text == kTrueText);
        return;
    }
    if (auto* box = dynamic_cast<TComboBox*>(first)) {
        SelectInComboBox(opts, box, text);
        if (a.controls.size() > 1) {
            bool selected = false;
            const std::string chosen = SelectedItemText(box, selected);
            std::string rest = text.size() > chosen.size() ? text.substr(chosen.size()) : "";
            if (!rest.empty() && a.displaySyntax == SYNTAX_OBJECTID) rest.erase(0, 1);
            SetControlText(a.controls[1], rest);
            if (auto* edit = dynamic_cast<TEdit*>(a.controls[1])) constraint_.RememberText(edit);
        }
        return;
    }
    if (auto* group = dynamic_cast<TRadioGroup*>(first)) {
        SelectInRadioGroup(opts, group, text);
        return;
    }
    auto* edit = dynamic_cast<TEdit*>(first);
    if (edit == nullptr) RaiseLibraryError(-521);

    if (a.controls.size() == 1) {
        if (item.syntax == SYNTAX_BITLIST && !IsPlaceholder(item.value))
            text = BitListToText(item.value, false);
        edit->SetText(text);
        constraint_.RememberText(edit);
        return;
    }

    // Several edits: the value split by display syntax.
    std::vector<TEdit*> edits;
    for (TControl* control : a.controls) {
        auto* e = dynamic_cast<TEdit*>(control);
        if (e == nullptr) RaiseLibraryError(-521);
        edits.push_back(e);
    }
    const int syntax = a.displaySyntax;
    if (edits.size() < EditsNeeded(syntax, bytes)) RaiseLibraryError(-522);
    if (syntax == SYNTAX_INETADDRESS && edits.size() > 16) RaiseLibraryError(-522);
    bool clearRest = false;
    const std::vector<std::string> texts =
        SplitIntoEdits(syntax, bytes, text, edits.size(), clearRest);
    // Edits beyond a shorter value are emptied, so that no stale text is read back.
    const size_t count = clearRest ? edits.size() : texts.size();
    for (size_t i = 0; i < count && i < edits.size(); ++i) {
        edits[i]->SetText(i < texts.size() ? texts[i] : std::string());
        constraint_.RememberText(edits[i]);
    }
}

// ---- Reading ------------------------------------------------------------------------------

void HvSNMPRequest2Edits::ReadValues(int varIndex) {
    HvSNMPVarList& list = request.List();
    for (int32_t i = 0; i < list.Count(); ++i) {
        if (varIndex >= 0 && varIndex != i) continue;
        if (!list.IsWritable(i)) continue;
        VarItem& item = list.Item(i);
        std::string text = AsValueText(item.value);
        if (item.options != nullptr) text = LabelToValue(*item.options, text);
        std::string bytes = EncodeValue(text, item.syntax);
        const std::string original = bytes;
        bool any = false;
        for (const auto& association : associations_) {
            const ControlAssociation& a = *association;
            if (a.varIndex != i) continue;
            bool gone = false;
            for (const auto& widget : a.widgets) gone = gone || !widget;
            if (gone || !CanBeRead(a.controls.front())) continue;
            if (!any && IsRebuiltSyntax(item.syntax)) bytes.clear();
            any = true;
            const size_t offset = a.byteOffset < 0 ? 0 : static_cast<size_t>(a.byteOffset);
            const std::string part = ReadPart(a, item, bytes, original);
            // A part that runs to the end of the value ends the value: what lay behind it
            // belonged to the old value only.
            if (a.bitIndexes.empty() && RunsToTheEnd(a.displaySyntax) && bytes.size() > offset)
                bytes.resize(offset);
            if (bytes.size() < offset + part.size()) bytes.resize(offset + part.size(), '\0');
            bytes.replace(offset, part.size(), part);
        }
        if (!any) continue;
        std::string value = DecodeValue(bytes, item.syntax);
        if (item.options != nullptr) value = ValueToLabel(*item.options, value);
        item.value = value;
    }
}

std::string HvSNMPRequest2Edits::ReadPart(const ControlAssociation& a, const VarItem& item,
                                          const std::string& bytes, const std::string& original) {
    const HvOptionList* opts = EffectiveOptions(a);
    const int syntax = a.displaySyntax;
    const size_t offset = a.byteOffset < 0 ? 0 : static_cast<size_t>(a.byteOffset);
    TControl* first = a.controls.front();
    std::string text;

    if (dynamic_cast<TLabel*>(first) != nullptr || dynamic_cast<TStaticText*>(first) != nullptr) {
        text = ControlText(first);
    } else if (dynamic_cast<TCheckBox*>(first) != nullptr && !a.bitIndexes.empty()) {
        // Bits that no box shows keep their values.
        size_t highest = 0;
        for (int bit : a.bitIndexes) highest = std::max(highest, static_cast<size_t>(bit / 8) + 1);
        std::string part = bytes.size() > offset ? bytes.substr(offset, highest) : std::string();
        if (part.size() < highest) part.resize(highest, '\0');
        for (size_t k = 0; k < a.controls.size(); ++k) {
            auto* box = dynamic_cast<TCheckBox*>(a.controls[k]);
            if (box == nullptr) continue;
            const int bit = a.bitIndexes[k];
            const auto mask = static_cast<uint8_t>(0x80 >> (bit % 8));
            auto& byte = reinterpret_cast<uint8_t&>(part[static_cast<size_t>(bit / 8)]);
            byte = box->Checked() ? static_cast<uint8_t>(byte | mask)
                                  : static_cast<uint8_t>(byte & ~mask);
        }
        return part;
    } else if (auto* check = dynamic_cast<TCheckBox*>(first)) {
        if (opts != nullptr) {
            const int option = check->Checked() ? 1 : 0;
            if (option >= opts->Count()) RaiseLibraryError(-12);
            text = opts->Item(option).label;
        } else {
            if (!IsBooleanSyntax(syntax)) RaiseLibraryError(-517);
            text = check->Checked() ? kTrueText : kFalseText;
        }
    } else if (dynamic_cast<TComboBox*>(first) != nullptr ||
               dynamic_cast<TRadioGroup*>(first) != nullptr) {
        bool selected = false;
        text = SelectedItemText(first, selected);
        if (!selected) {
            // Without a selection the control says nothing: what the value held there before
            // (nothing outside the value).
            try {
                return ExtractPart(original, a.byteOffset, syntax);
            } catch (const Exception&) {
                return std::string();
            }
        }
        if (a.controls.size() > 1) {
            if (syntax == SYNTAX_OBJECTID) text += ".";
            text += ControlText(a.controls[1]);
        }
    } else if (a.controls.size() == 1) {
        text = ControlText(first);
        if (item.syntax == SYNTAX_BITLIST && !IsPlaceholder(text)) {
            // The current value gives the number of bits; without one there is nothing to
            // fit the text into.
            std::string hex;
            if (IsPlaceholder(item.value) || !TextToBitList(text, item.value, hex))
                RaiseLibraryError(-518);
            text = hex;
        } else if (syntax == SYNTAX_MACADDRESS) {
            // "00-11-22-33-44-55" and "00.11.22.33.44.55" are MAC texts too.
            std::string digits;
            for (char c : text)
                if (c != '-' && c != '.' && c != ':') digits += c;
            text = digits;
        }
    } else {
        std::vector<std::string> texts;
        for (TControl* control : a.controls) texts.push_back(ControlText(control));
        text = JoinEditTexts(syntax, texts);
    }
    if (opts != nullptr) text = LabelToValue(*opts, text);
    return EncodeValue(AsValueText(text), syntax);
}

// ---- Table view ---------------------------------------------------------------------------

void HvSNMPRequest2Edits::AttachListView(TListView* view, bool disableUntilSelected) {
    const bool again = view != nullptr && view == listView_ && listViewWidget_;
    if (listView_ != nullptr && !again && listViewWidget_)
        listView_->SetOnSelectItem(savedSelectItem_);
    listView_ = view;
    listViewWidget_ = view != nullptr ? view->Widget() : nullptr;
    disableUntilSelected_ = disableUntilSelected;
    if (view == nullptr) return;
    view->SetReadOnly(true);
    view->SetRowSelect(true);
    view->SetGridLines(true);
    view->SetHideSelection(false);
    view->SetViewStyle(vsReport);
    // Attached again, the view's handler is already this binding's.
    if (!again) savedSelectItem_ = view->OnSelectItem();
    const std::weak_ptr<char> alive = alive_;
    view->SetOnSelectItem([this, alive](TObject* sender, TListItem* item, bool selected) {
        if (!alive.expired()) ListViewSelectItem(sender, item, selected);
    });
    BuildColumns();
}

std::vector<int> HvSNMPRequest2Edits::CellVariables() const {
    const HvSNMPVarList& list = request.List();
    std::vector<int> cells;
    for (int32_t i = 0; i < list.Count(); ++i)
        if (list.IsHiddenColumn(i)) cells.push_back(i);
    for (int32_t i = 0; i < list.Count(); ++i)
        if (list.IsColumn(i)) cells.push_back(i);
    return cells;
}

void HvSNMPRequest2Edits::BuildColumns() {
    if (listView_ == nullptr || !listViewWidget_) return;
    const HvSNMPVarList& list = request.List();
    const int wanted = list.ColumnCount() + list.HiddenColumnCount();
    TListColumns& columns = listView_->Columns();
    if (columns.Count() >= wanted) return;
    columns.Clear();
    for (int32_t i = 0; i < list.Count(); ++i) {
        if (!list.IsHiddenColumn(i)) continue;
        TListColumn* column = columns.Add();
        column->SetCaption(list.Item(i).label);
        column->SetAutoSize(false);
        column->SetWidth(0);
    }
    for (int32_t i = 0; i < list.Count(); ++i) {
        if (!list.IsColumn(i)) continue;
        TListColumn* column = columns.Add();
        column->SetCaption(list.Item(i).label);
        column->SetAutoSize(false);
        column->SetWidth(-2);
    }
}

void HvSNMPRequest2Edits::AddRow() {
    if (listView_ == nullptr || !listViewWidget_) return;
    const HvSNMPVarList& list = request.List();
    TListItem* row = listView_->Items().Add();
    bool caption = true;
    for (int i : CellVariables()) {
        const VarItem& item = list.Item(i);
        std::string cell = item.value;
        if (item.syntax == SYNTAX_BITLIST && !IsPlaceholder(cell)) cell = BitListToText(cell, true);
        if (caption) {
            row->SetCaption(cell);
            caption = false;
        } else {
            row->SubItems().Add(cell);
        }
    }
}

void HvSNMPRequest2Edits::TakeSelectedRow() {
    if (listView_ == nullptr || !listViewWidget_) return;
    TListItem* row = listView_->Selected();
    if (row == nullptr) return;
    HvSNMPVarList& list = request.List();
    int column = 0;
    for (int i : CellVariables()) {
        std::string cell;
        if (column == 0) {
            cell = row->Caption();
        } else if (column - 1 < row->SubItems().Count()) {
            cell = row->SubItems().Get(column - 1);
        } else {
            ++column;
            continue;  // a row shorter than the columns leaves the value as it is
        }
        ++column;
        VarItem& item = list.Item(i);
        if (item.syntax == SYNTAX_BITLIST && !IsPlaceholder(cell)) cell = StripBitListText(cell);
        item.value = cell;
    }
}

// ---- Virtual operations -------------------------------------------------------------------

void HvSNMPRequest2Edits::BeforeGet() {
    if (listView_ != nullptr && listViewWidget_) {
        BuildColumns();
        listView_->Items().Clear();
    }
    if (OnBeforeGet) OnBeforeGet();
}

void HvSNMPRequest2Edits::BeforeSet() {
    if (OnBeforeSet) OnBeforeSet();
}

void HvSNMPRequest2Edits::RowReceived() {
    if (listView_ != nullptr && listViewWidget_) {
        AddRow();
        // The view grows visibly during a long walk.
        ProcessMessages();
    } else {
        ShowValues(-1);
    }
}

void HvSNMPRequest2Edits::CollectValues() {
    HvSNMPVarList& list = request.List();
    // Variables with associations keep their values: their bytes outside the parts that the
    // controls cover are the value's own.
    for (int32_t i = 0; i < list.Count(); ++i) {
        bool associated = false;
        for (const auto& a : associations_) associated = associated || a->varIndex == i;
        if (!associated) list.Item(i).value.clear();
    }
    if (listView_ != nullptr) TakeSelectedRow();
    ReadValues(-1);
}

void HvSNMPRequest2Edits::AfterGet() {
    if (listView_ != nullptr && disableUntilSelected_ && request.List().ItemType == MVT_FMV)
        EnableControls(false);
    if (OnAfterGet) OnAfterGet();
}

void HvSNMPRequest2Edits::AfterSet() {
    if (OnAfterSet) OnAfterSet();
}

void HvSNMPRequest2Edits::ListViewSelectItem(TObject* sender, TListItem* item, bool selected) {
    if (savedSelectItem_ && !destroying_) {
        const TLVSelectItemEvent handler = savedSelectItem_;
        const std::weak_ptr<char> alive = alive_;
        handler(sender, item, selected);
        if (alive.expired()) return;
    }
    if (!selected) return;
    if (disableUntilSelected_) EnableControls(true);
    if (listView_ != nullptr) TakeSelectedRow();
    ShowValues(-1);
}
