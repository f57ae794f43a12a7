#pragma once
// HvSNMPRequest2Edits: the binding of a request's variables to the controls of one
// configuration window.
//
// Associations tie one variable (by its index in the request's list) to one or more
// controls, optionally showing only a part of the variable's value bytes under a syntax of
// its own and through an option list of its own:
//   AssociateEdits(i, "%s{I}", edit)              edits, with the input rules of the format
//   AssociateComboBox(i, box)                     the variable's option labels, drop-down list
//   AssociateControl(i, 2, SYNTAX_INT16, nullptr, label)   bytes 2..3 of the value as int16
//   AssociateBits(i, "0,1,7", {box0, box1, box7})  check boxes showing bits of the value
// ShowValues puts value texts into the controls, ReadValues builds the value texts of the
// writable variables again from them. The first control of an association decides how it is
// shown: label or static text (caption), check box (bits, a two-option list, or a boolean),
// combo box (with an optional second control for the rest of a prefix-matched value), radio
// group, one edit, or several edits that split the value by display syntax.
//
// A table window attaches a list view: a walk fills it row by row, selecting a row copies the
// row into the variables and shows them in the controls, and a set takes the selected row
// first (CollectValues).
//
// Several edits split a value by display syntax: bitstr/octetstr/opaque one byte per edit
// ("%02X"), objectid one sub-identifier per edit, ipaddress/nsapaddr 4 decimal bytes,
// timeticks 5 (days, hours, minutes, seconds, hundredths), macaddress 6 and ipv6address 16
// hex bytes, datetime 10 (year .. deci-seconds, direction, UTC hours and minutes), bcdatetime
// 7 (year .. milliseconds), inetaddress 4 or 16; any other syntax shows in the first edit.
// Read back, hex edits of one digit get a leading 0 and empty ones count as 00.
//
// Reading rebuilds displaystr, octetstr, ipaddress, ipv6address and inetaddress values from
// their controls alone; other values keep their bytes outside the parts their controls show.
// A part of a syntax that runs to the end of the value (octet strings, object identifiers,
// bit lists) ends the value there. A combo box or radio group without a selection leaves
// its part as it was; a "(NOTDONE)" text reads back as "(NULL)"; a macaddress edit may use
// "-" or "." between the bytes. A text that ShowValues writes into a constrained edit becomes
// the edit's accepted text, so a failed check brings back the shown value.
//
// Errors are exceptions (platform Exception, message = catalogue text, help context = code):
// -511 unknown syntax, -517 check box without option list for a non-boolean syntax, -518
// value bytes too short (or a bit-list text that does not fit the value), -519 bit or part
// beyond the value, -520 combo box or radio group without an option list, -521 a control
// class that cannot show a value, -522 too few controls, -12 a variable index outside the
// list, -2 an edit format without any specifier. An exception ends ShowValues/ReadValues at
// the association where it happened; what was done before stays done.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QPointer>

#include "binding/HvEditConstraint.h"
#include "platform/widgets/ListView.h"
#include "snmp/HvSNMPRequest2Controls.h"

class HvOptionList;
class QWidget;
class TControl;
class TEdit;
class TComboBox;
class TWinControl;

// One association of a variable with its controls.
struct ControlAssociation {
    int varIndex = 0;
    int byteOffset = 0;     // where the shown part starts in the value bytes; 0: whole value
    int displaySyntax = 0;  // syntax of the shown part
    const HvOptionList* options = nullptr;  // not owned; see EffectiveOptions
    int controlCount = 0;
    std::vector<int> bitIndexes;      // bit associations: the bit each control shows; else empty
    std::vector<TControl*> controls;  // not owned; the first decides how the value is shown
    // Each control's own change handler (combo box OnChange, check box and radio group
    // OnClick), replaced by the binding's relay; empty for the other controls.
    std::vector<TNotifyEvent> savedHandlers;
    // The controls' widgets: a control that is gone is left alone.
    std::vector<QPointer<QWidget>> widgets;
};

class HvSNMPRequest2Edits : public HvSNMPRequest2Controls {
public:
    using Hook = std::function<void()>;

    // `window` is the configuration window itself (the owner of the constraint's message
    // boxes and focus moves); `form` is the same window as the dispatch base knows it.
    HvSNMPRequest2Edits(TConfigForm* form, TWinControl* window);
    // For the configuration window class (a TForm that the dispatch base knows as
    // TConfigForm): HvSNMPRequest2Edits(configForm). The class must be complete where this
    // constructor is used.
    template <class Form>
    explicit HvSNMPRequest2Edits(Form* form)
        : HvSNMPRequest2Edits(form, static_cast<TWinControl*>(form)) {}
    // Frees the associations and the constraint object. Controls and the list view that
    // still exist get their own handlers back; handlers left behind do nothing.
    ~HvSNMPRequest2Edits() override;

    // ---- Hooks around gets and sets (empty after construction) --------------------------

    Hook OnBeforeGet;
    Hook OnBeforeSet;
    Hook OnAfterGet;
    Hook OnAfterSet;

    // ---- Associations -----------------------------------------------------------------

    // Makes the view the binding's table view: read-only, row select, grid lines, selection
    // kept visible, report style; its OnSelectItem handler is kept and called from
    // ListViewSelectItem; builds the columns.
    void AttachListView(TListView* view, bool disableUntilSelected);
    // One edit per specifier of the format ("%s", "%u%u%u%u", "%n.{l4f}"); the format's rules
    // are applied to them. Raises -522 when fewer edits are given than the format has
    // specifiers, -2 for a format without specifier or a bad one.
    void AssociateEdits(int varIndex, const std::string& format, const std::vector<TEdit*>& edits);
    template <class... More>
    void AssociateEdits(int varIndex, const std::string& format, TEdit* first, More*... more) {
        AssociateEdits(varIndex, format, std::vector<TEdit*>{first, more...});
    }
    // Drop-down list of the variable's option labels (the whole value, its own syntax).
    void AssociateComboBox(int varIndex, TComboBox* box);
    // The general association; returns its position in the list of associations.
    int AssociateControl(int varIndex, int byteOffset, int displaySyntax,
                         const HvOptionList* options, TControl* control,
                         TControl* second = nullptr);
    // Bit numbers separated by ","; bit n is 0x80 >> (n mod 8) of byte n div 8.
    void AssociateBits(int varIndex, const std::string& bits,
                       const std::vector<TControl*>& controls);
    // Removes every association of the variable and gives its controls their handlers back.
    void Dissociate(int varIndex);
    // Owner of the constraint's message boxes and focus moves (a modal dialog that shows the
    // associated edits for a while).
    void SetConstraintOwner(TWinControl* window) { constraint_.SetOwner(window); }

    // ---- Values -----------------------------------------------------------------------

    // Value texts to controls: of variable `varIndex`, or of all (-1). Variables marked
    // invalid are skipped. A text written into a constrained edit becomes its accepted text.
    void ShowValues(int varIndex);
    // Controls to value texts, for the writable variables (all with -1).
    void ReadValues(int varIndex);
    void EnableControls(bool enabled);

    // ---- Virtual operations -----------------------------------------------------------

    void BeforeGet() override;
    void BeforeSet() override;
    // With a list view: appends the row (and lets pending window messages run); without:
    // ShowValues(-1).
    void RowReceived() override;
    // Empties the value texts of the variables without associations (the others keep theirs:
    // their bytes outside the parts the controls show are the value's own), takes the
    // selected row of the list view, then ReadValues(-1).
    void CollectValues() override;
    void AfterGet() override;
    void AfterSet() override;
    // The list view's OnSelectItem handler.
    virtual void ListViewSelectItem(TObject* sender, TListItem* item, bool selected);

    // ---- Table view -------------------------------------------------------------------

    // The columns: one hidden (width 0) per hidden-column variable, then one per visible
    // column variable (width -2), unless the view has enough columns already.
    void BuildColumns();
    // Appends the current values as a row.
    void AddRow();
    // Copies the selected row into the value texts; nothing without a selection.
    void TakeSelectedRow();

    // ---- Inspection -------------------------------------------------------------------

    TListView* ListView() const { return listView_; }
    bool DisableUntilSelected() const { return disableUntilSelected_; }
    const std::vector<std::unique_ptr<ControlAssociation>>& Associations() const {
        return associations_;
    }
    HvEditConstraint& Constraint() { return constraint_; }
    // The association's option list, or the variable's own when the association shows the
    // whole value under the variable's syntax without a list of its own.
    const HvOptionList* EffectiveOptions(const ControlAssociation& association) const;

private:
    VarItem& Variable(int varIndex);
    void InstallRelay(ControlAssociation& association, size_t k);
    void RestoreHandler(ControlAssociation& association, size_t k);
    void ShowAssociation(ControlAssociation& association);
    // The bytes of the part the association's controls give; `bytes` is the value as built so
    // far, `original` the value before the read.
    std::string ReadPart(const ControlAssociation& association, const VarItem& item,
                         const std::string& bytes, const std::string& original);
    // The variables shown as list-view cells, in cell order.
    std::vector<int> CellVariables() const;

    TLVSelectItemEvent savedSelectItem_;
    TListView* listView_ = nullptr;
    QPointer<QWidget> listViewWidget_;
    std::vector<std::unique_ptr<ControlAssociation>> associations_;
    HvEditConstraint constraint_;
    bool disableUntilSelected_ = true;
    bool destroying_ = false;
    // The handlers installed on controls hold a weak reference.
    std::shared_ptr<char> alive_ = std::make_shared<char>(0);
};
