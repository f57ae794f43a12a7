#pragma once
// HvSNMPRequest: one SNMP request of a window. It owns the variable list that says what to
// read or write and receives the results, and holds the virtual operations that move
// values between the list and SNMP variable bindings and compute derived values.
//
// This header holds the value conversions (HvSNMPRequestConvert.cpp) and the expression
// operations (HvSNMPExpression.cpp). The request engine extends the class here and in
// HvSNMPRequest.cpp: the agent records copied from the module-wide defaults (device,
// scope, security, timeout, retries), the switches and counters (errorHandler, useGetNext,
// condition, enabled, pending, errorCount), the column end test ColumnDone (the last
// virtual slot, after Evaluate), Get/GetAsync/Set/SetAsync, BuildTargets, BuildPdu,
// SetRowIndex, RowIndexText, IsAccepted, Accepts and the reply handling. Keep the order
// of the virtual operations below when adding ColumnDone after them.
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "snmp/HvSNMPError.h"
#include "snmp/HvSNMPSession.h"
#include "snmp/HvSNMPVarList.h"
#include "snmp/SnmpSession.h"
#include "snmp/SnmpVb.h"

// A value text that stands for a missing or null value in every direction.
inline constexpr char kNullValueText[] = "(NULL)";
// The value of a table column that ended before the others.
inline constexpr char kNotDoneValueText[] = "(NOTDONE)";

// Which expression of an item Derive applies: the get expression after a read, the set
// expression before a write.
enum class HvDeriveDirection : uint8_t { Read, Write };

class HvSNMPRequest {
public:
    HvSNMPRequest();
    virtual ~HvSNMPRequest();
    HvSNMPRequest(const HvSNMPRequest&) = delete;
    HvSNMPRequest& operator=(const HvSNMPRequest&) = delete;

    // ---- Virtual operations, in slot order ----------------------------------------------

    // Replaces every `marker` followed by decimal digits (none: 0) by the value of the list
    // item with that index: booleans as 1/0, numbers unchanged, time ticks as their count,
    // bcdatetime as its date-time number; with `quote` any other value in double quotes,
    // without it -513. A "(NULL)" value, and an index outside the list, raise -512.
    // Inserted values are not searched again, so a value that contains the marker stays
    // as it is. An empty marker changes nothing.
    virtual std::string SubstituteValues(const std::string& text, bool quote,
                                         const std::string& marker);
    // Decodes key `key` from the leading sub-identifiers of the row index text `index` into
    // the key item's value (as its label when the item has options) and returns the dotted
    // text of the sub-identifiers left over. Raises -514 when the index text has fewer
    // sub-identifiers than the key needs (also when it is not a dotted OID at all) or the key
    // is not an item of the list, -511 for a syntax without an index form.
    virtual std::string DecodeIndex(int32_t key, const std::string& index);
    // The dotted sub-identifier text of key `key`'s value (-514 when the key is not an item
    // of the list, -511 for a syntax without an index form).
    virtual std::string EncodeIndex(int32_t key);
    // Stores the value of `vb` as item `item`'s value text (as its label when the item has
    // options). Raises -511 for a syntax that has no binding form.
    virtual void VbToText(int32_t item, const SnmpVb& vb);
    // Puts item `item`'s value (turned back from its label) into `vb`, keeping its OID and
    // setting its SNMP type. "(NULL)" gives a null binding. Raises -511 for a syntax that has
    // no binding form; a bcdatetime text that is not a date and time raises EConvertError.
    virtual void TextToVb(int32_t item, SnmpVb& vb);
    // Recomputes item `item`'s value from its get (Read) or set (Write) expression; nothing
    // when the item has none. Raises -512/-513 from the substitution, -513 for a syntax
    // that cannot hold a number.
    virtual void Derive(int32_t item, HvDeriveDirection direction);
    // A condition over the list's values: true for the empty text, else the condition after
    // SubstituteValues(text, quoted, "$"). Raises -1 for a malformed condition.
    virtual bool Evaluate(const std::string& condition);
    // The column end test of a table walk (false for SVT_SV and MVT_SV lists): true when
    // `returned` lies outside the subtree of the column's base OID, or when it is not greater
    // (sub-identifier by sub-identifier) than `last`, the position the column had to pass; an
    // agent that does not advance, or goes back (a cycle), ends the column.
    virtual bool ColumnDone(const std::string& base, const std::string& last,
                            const std::string& returned);

    // ---- The request engine -----------------------------------------------------------------

    // Receives the errors the request reports itself (synchronous reads, failed sends).
    using ErrorHandler = void (*)(HvSNMPError* error);
    // The user callback of an asynchronous operation: (user data, outcome, the request's list).
    using ReplyCallback = void (*)(void* userData, HvSNMPError& error, HvSNMPVarList& list);

    // What an asynchronous send needs when its reply comes back; freed after the reply.
    struct ReplyContext {
        void (HvSNMPRequest::*handler)(int reason, const SnmpReply& reply,
                                       ReplyContext& context) = nullptr;  // OnReply
        HvSNMPRequest* request = nullptr;
        bool parse = true;  // store the reply: reads always, sets with read-back
        bool set = false;   // the reply of a set (its bindings are those of the written items)
        ReplyCallback callback = nullptr;
        void* userData = nullptr;
        std::vector<std::string> asked;  // per readable item, the OID it asked from
        int requestId = 0;
    };

    // Agent parameters, copied from the module-wide defaults at construction.
    HvSNMPDevice device;
    HvSNMPScope scope;
    HvSNMPSecurity security;
    int32_t timeout = 0;  // hundredths of a second
    int32_t retries = 1;

    ErrorHandler errorHandler = nullptr;
    bool useGetNext = false;  // MVT_SV reads use get-next instead of get
    std::string condition;    // row condition; empty accepts every row
    bool enabled = true;      // sends allowed, walks may go on
    int32_t pending = 0;      // asynchronous requests not answered yet
    uint64_t errorCount = 0;  // errors reported so far

    // One synchronous read step; first = false continues a table walk from the items'
    // lastOid. True when a table row was stored.
    bool Get(bool first, bool& ok);
    // One asynchronous read step; the outcome arrives in `callback`.
    void GetAsync(bool first, ReplyCallback callback, void* userData, bool& ok);
    // Synchronous set of the writable items. `indexList` ("1,3") limits the set to the items
    // it names, `values` (or null) gives their values in the order of the index list. The
    // list is the same afterwards as before. A failure goes into `error`. True when the
    // read-back stored a table row.
    bool Set(bool readBack, const std::string& indexList, const std::vector<std::string>* values,
             HvSNMPError& error, bool& ok);
    void SetAsync(bool readBack, const std::string& indexList,
                  const std::vector<std::string>* values, ReplyCallback callback, void* userData,
                  bool& ok);

    // The target of a request of `type` (the read or the write community, or the SNMPv3
    // user, context and security level). Raises -509 when the agent address is neither a
    // dotted IPv4 address nor a resolvable host name.
    SnmpTarget BuildTargets(SnmpPduType type) const;
    // The bindings of a request: kind 0 fresh read, 1 read continuation, 2 set. Raises -510
    // for a continuation of a single-value list, -515 for a set of an undefined item type.
    std::vector<SnmpVb> BuildPdu(int kind);
    // Decodes a row index into the key items (-514 when it is shorter than the keys).
    void SetRowIndex(const std::string& index);
    // The row index of the key items' values.
    std::string RowIndexText();
    // The request's own condition, and any other condition, over the current values.
    bool IsAccepted();
    bool Accepts(const std::string& text);
    // The reply handler of ReplyContext.
    void OnReply(int reason, const SnmpReply& reply, ReplyContext& context);
    // The record of the error the request reported last (code 0 before any).
    const HvSNMPError& LastReport() const { return lastReport_; }
    // From now on replies still outstanding only lower `pending`; no user callback is called.
    // For an owner that is going away while its request waits for replies at destruction.
    void DetachCallbacks() { callbacksDetached_ = true; }

    // ---- The variable list ----------------------------------------------------------------

    HvSNMPVarList& List() { return list_; }
    const HvSNMPVarList& List() const { return list_; }
    // Assigns a copy of `list` (the request's Instance and owned option lists stay).
    void SetList(const HvSNMPVarList& list) { list_ = list; }
    // Number of leading items that are the index columns of a table.
    int32_t PKeyCount() const { return list_.PKeyCount; }

private:
    // Item `index` of the list; -514 when the list has no such item.
    VarItem& KeyItem(int32_t index);

    // How a reply with the agent's no-such-name status is read (see ProcessReply).
    enum class NoSuchNameRule : uint8_t { None, Synchronous, Asynchronous };
    struct ReplyOutcome {
        bool rowStored = false;  // a table row was stored (a walk may go on)
        bool allDone = false;    // every processed column was done (or nothing was read)
        bool endOfView = false;  // no-such-name with the OIDs asked: the end of an SNMPv1 walk
        bool stopped = false;    // the no-such-name rule ended processing
    };
    bool IsTableList() const;
    std::string BaseOid(int32_t item) const;
    bool ChooseReadOperation(SnmpPduType& type);
    void Report(int32_t code, const std::string& text);
    // Stores a reply's bindings, one per readable item in list order, beside the OIDs asked.
    ReplyOutcome ProcessReply(const SnmpReply& reply, const std::vector<std::string>& asked,
                              NoSuchNameRule rule);
    // Stores the reply of a set with read-back: each readable item takes the binding written at
    // its own OID; items that were not written keep their values.
    ReplyOutcome StoreSetReply(const SnmpReply& reply);
    // Before a set: marks the items that the index list leaves out, takes the given values
    // and applies the set expressions.
    void PrepareSet(const std::string& indexList, const std::vector<std::string>* values);
    // The target and the bindings of a set of the values PrepareSet puts in; the list itself is
    // left as it was.
    void BuildSet(const std::string& indexList, const std::vector<std::string>* values,
                  SnmpTarget& target, std::vector<SnmpVb>& vbs);
    // BuildPdu, also giving the OID texts of read bindings.
    std::vector<SnmpVb> BuildPdu(int kind, std::vector<std::string>* texts);
    void SendAsync(SnmpPduType type, const SnmpTarget& target, const std::vector<SnmpVb>& vbs,
                   std::shared_ptr<ReplyContext> context, bool& ok);
    void WaitForOutstanding();

    HvSNMPVarList list_;
    // Requests handed to the session and not answered yet; withdrawn at destruction.
    std::set<int> outstanding_;
    // True while the request lives; reply callbacks hold a weak reference, so a reply for a
    // destroyed request goes nowhere.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool callbacksDetached_ = false;
    HvSNMPError lastReport_;
};
