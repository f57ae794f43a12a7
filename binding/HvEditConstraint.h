#pragma once
// HvEditConstraint: input rules for edit boxes, written as short format texts.
//
//   %<kind>[<delimiter>][{<options>}]
//
// kind: s string, h hex string, i signed integer, u unsigned integer, f real number,
// n delimited number list (the delimiter follows the letter: "%n,").
// options, read left to right:
//   I  IPv4 address        Im  multicast IPv4      I6  IPv6 (32 hex digits)   I6m  multicast IPv6
//   M  MAC address         Mm  multicast MAC       Mu  unicast MAC
//   Z  an external check decides (SetCustomCheck)
//   e<c>  typing <c> moves the focus to the next control (the character is taken out)
//   l<digits>[a|f|n]...  maximum length (s, h, i, u, f) or item count (n); flags: a move the
//         focus on when the length is reached, f the length/count must be exact, n not empty
//   n<number>, x<number>  lower and upper bound (i, u, f, n)
//   w<digits>  the edit's width in pixels
// Examples: "%s", "%s{I}", "%u{l5}", "%n,{l4f}", "%u{n10x20}", "%s{l4a}", "%s{e.}".
//
// Applying a rule replaces the edit's OnChange and OnExit handlers by the constraint's
// (the previous ones are kept, called from there, and given back by RemoveConstraint):
//  - while typing, characters the kind does not allow are taken out again with a beep;
//  - on leaving, the whole text is checked; on failure a message box tells the rule, the
//    edit gets back its last accepted text and the focus returns to it (after the handler
//    has returned, as a posted WM_NEXTDLGCTL).
// A saved handler that sets the edit's Tag to -1 stops the rest of the handling.
//
// Texts the program writes into an edit are filtered by the rule too, but only what the user
// types into the focused edit moves the focus (exit character, length reached). A paste of
// many foreign characters beeps at most 8 times. Several exit characters in one paste move
// the focus once. When a failed check sends the focus back, the control that had it in
// between is left without checks, so two failing edits cannot send it to each other.
// The texts of the messages are those of the common message catalogue (CommonMessages),
// which "errmsg\common.err" may replace.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QPointer>

#include "platform/widgets/Classes.h"

class QWidget;
class TEdit;
class TWinControl;

// An external check of a rule with the Z option: true accepts the edit's text.
using HvCustomCheck = bool (*)(TEdit* edit);

// Bits of EditConstraint_s::lengthFlags.
enum HvLengthFlag : int16_t {
    LENGTH_ADVANCE = 1,   // move the focus on when maxLength characters are reached
    LENGTH_EXACT = 2,     // the length (kind n: the item count) must equal maxLength
    LENGTH_NOTEMPTY = 4,  // the text must not be empty
};

// Values of EditConstraint_s::addressKind.
enum HvAddressKind : char {
    ADDRESS_NONE = 0,
    ADDRESS_IPV4 = 1,
    ADDRESS_IPV4_MULTICAST = 2,
    ADDRESS_IPV6 = 3,
    ADDRESS_IPV6_MULTICAST = 4,
    ADDRESS_MAC = 5,
    ADDRESS_MAC_MULTICAST = 6,
    ADDRESS_MAC_UNICAST = 7,
};

// The rule of one edit.
struct EditConstraint_s {
    TEdit* edit = nullptr;  // not owned
    char kind = 's';        // s h i u f n
    char delimiter = 0;     // kind n only
    double minimum = 0;     // bounds of kinds i, u, f, n
    double maximum = 0;
    int maxLength = 0;  // s, h, i, u, f: characters; n: items; 0 = none
    char customCheckFlag = 0;
    char addressKind = ADDRESS_NONE;
    HvCustomCheck customCheck = nullptr;
    int16_t lengthFlags = 0;  // HvLengthFlag bits
    char exitChar = 0;        // 0 = none
    std::string acceptedText;
    TNotifyEvent savedOnChange;
    TNotifyEvent savedOnExit;
};

// The result of reading a format text.
struct HvParsedFormat {
    EditConstraint_s rule;  // edit, acceptedText and the saved handlers left empty
    int width = 0;          // the w option, 0 when none was given
};

// Reads one format. A malformed format raises Exception(common text 2, help context -2); an
// n or x number that is not a number (such as "1.2.3" or "-") raises EConvertError.
HvParsedFormat ParseEditFormat(const std::string& format);
// Splits a text of several formats before every "%" that is not its first character.
std::vector<std::string> SplitEditFormats(const std::string& formats);

// The address checks of kinds 1 to 7 on a whole text (kind 0 and kind 4 accept every text).
// IPv4: four dot-separated decimal numbers 0..255 of 1 to 3 digits. IPv6: 32 hex digits.
// MAC: six groups of two hex digits separated by "-" or by ".", or 12 hex digits. Multicast
// and unicast MAC look at the low digit of the first byte (the text's second character).
bool CheckAddress(int addressKind, const std::string& text);

// Text `number` of the common message catalogue with the placeholders replaced: pairs of
// placeholder and value, e.g. CommonMessageText(8, {{"[MIN]", "10"}, {"[MAX]", "20"}}).
// A two-character "\n" in a text loaded from a message file is a line break, as it is in
// the compiled-in texts.
std::string CommonMessageText(int number,
                              const std::vector<std::pair<std::string, std::string>>& values = {});

class HvEditConstraint {
public:
    // owner: parent of the message boxes and target of the focus moves (may be null: the
    // focus moves then go to the edit's own form).
    HvEditConstraint(TWinControl* owner, bool rememberAccepted);
    // Frees the records. The edits keep the constraint's handlers, which do nothing once
    // the constraint is gone.
    ~HvEditConstraint();
    HvEditConstraint(const HvEditConstraint&) = delete;
    HvEditConstraint& operator=(const HvEditConstraint&) = delete;

    // Parses the format and applies it to the edit. A bad format raises (see
    // ParseEditFormat) and leaves the edit and its record as they were. Applying a format
    // to an edit that has a record keeps the handlers saved the first time and the
    // accepted text.
    void AddConstraint(const std::string& format, TEdit* edit);
    // The k-th format of `formats` goes to the k-th edit. All formats are read before any is
    // applied; a bad one, or a count of formats that differs from the count of edits, raises
    // text 2 (help context -2) and applies nothing.
    void AddConstraints(const std::string& formats, const std::vector<TEdit*>& edits);
    // Gives the edit back its saved handlers and deletes its record; nothing without one.
    void RemoveConstraint(TEdit* edit);
    // An owner that is destroyed later counts as none.
    void SetOwner(TWinControl* owner);
    TWinControl* Owner() const { return owner_; }
    bool RememberAccepted() const { return rememberAccepted_; }
    // acceptedText := the edit's text (nothing without a record).
    void RememberText(TEdit* edit);
    // Sets the external check of a rule with the Z option (nothing without a record).
    void SetCustomCheck(TEdit* edit, HvCustomCheck check);

    // The handlers installed on constrained edits.
    void EditChange(TObject* sender);
    void EditExit(TObject* sender);

    // The record of the edit, or null.
    EditConstraint_s* Find(const TEdit* edit);
    const EditConstraint_s* Find(const TEdit* edit) const;
    int Count() const { return static_cast<int>(records_.size()); }

private:
    void Apply(const HvParsedFormat& parsed, TEdit* edit);
    // Message box, accepted text back, focus back to the edit.
    void Fail(TEdit* edit, const std::string& message);
    void Restore(TEdit* edit, bool refocus);
    // Where the focus moves of the edit's form are posted.
    TWinControl* FocusTarget(TEdit* edit) const;
    // The exit checks by kind: false with the failure message (ownDialog: the IPv4 message,
    // which is not one of the catalogue's) when the text fails.
    bool CheckText(const EditConstraint_s& rule, const std::string& text, std::string& message,
                   bool& ownDialog) const;

    TWinControl* owner_;
    QPointer<QWidget> ownerWidget_;
    bool rememberAccepted_;
    std::vector<std::unique_ptr<EditConstraint_s>> records_;
    // An edit whose failed check has sent the focus back to it; the control that had the
    // focus meanwhile is left without checks when that move arrives.
    QPointer<QWidget> returningTo_;
    // Set while the text of an edit that the focus is leaving through its exit character
    // is shortened.
    bool suppressAdvance_ = false;
    // The handlers on the edits hold a weak reference: after destruction they do nothing.
    std::shared_ptr<char> alive_ = std::make_shared<char>(0);
};
