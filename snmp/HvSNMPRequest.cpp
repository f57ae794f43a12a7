// The request engine of HvSNMPRequest: targets and bindings, get / get-next / set in their
// synchronous and asynchronous forms, and the storing of replies, with the column-wise walk
// of whole tables.
#include "snmp/HvSNMPRequest.h"

#include <poll.h>

#include <algorithm>
#include <exception>
#include <string_view>

#include "mib/HvNumList.h"
#include "platform/Exception.h"
#include "platform/System.h"
#include "snmp/HvSNMPErrors.h"

namespace {

constexpr int32_t kInvalidAddress = -509;
constexpr int32_t kContinuationOfSingleValue = -510;
constexpr int32_t kBadItemType = -515;
constexpr int32_t kNoSuchName = -102;
constexpr int32_t kUnknownErrorCode = -528;
// How long a request that is destroyed waits for its outstanding replies.
constexpr uint32_t kDestroyWaitMs = 6000;
// While it waits, how long one look at the session's sockets may block.
constexpr int kDestroyPollMs = 10;

// Reads the sub-identifiers of a dotted OID text one by one. A walk step compares OIDs for
// every column; doing it on the texts saves building OIDs.
class OidCursor {
public:
    explicit OidCursor(std::string_view text) : text_(text) {
        if (!text_.empty() && text_[0] == '.') pos_ = 1;
    }
    // The next sub-identifier; false at the end or at something that is not one (then Bad()).
    bool Next(uint32_t& value) {
        if (bad_ || pos_ >= text_.size()) return false;
        if (started_) {
            if (text_[pos_] != '.') return Fail();
            ++pos_;
        }
        uint64_t v = 0;
        size_t digits = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            v = v * 10 + static_cast<uint64_t>(text_[pos_] - '0');
            if (v > 0xFFFFFFFFull) return Fail();
            ++pos_;
            ++digits;
        }
        if (digits == 0) return Fail();
        started_ = true;
        value = static_cast<uint32_t>(v);
        return true;
    }
    bool Bad() const { return bad_; }

private:
    bool Fail() {
        bad_ = true;
        return false;
    }
    std::string_view text_;
    size_t pos_ = 0;
    bool started_ = false;
    bool bad_ = false;
};

// True when both texts are OIDs; `order` is then <0, 0 or >0 as a sorts before, with or
// after b (sub-identifier by sub-identifier; a prefix sorts first).
bool CompareOids(std::string_view a, std::string_view b, int& order) {
    // Equal leading sub-identifiers are equal text: start at the first one that differs.
    size_t same = 0;
    const size_t n = std::min(a.size(), b.size());
    while (same < n && a[same] == b[same]) ++same;
    size_t start = same;
    while (start > 0 && a[start - 1] != '.') --start;
    if (start > 0 && start == same && same == n && a.size() != b.size()) {
        // One text ends right after a "." that the other goes on from: compare as they are.
        start = 0;
    }
    OidCursor x(a.substr(start)), y(b.substr(start));
    for (;;) {
        uint32_t u = 0, v = 0;
        const bool hu = x.Next(u), hv = y.Next(v);
        if (x.Bad() || y.Bad()) return false;
        if (!hu || !hv) {
            order = hu ? 1 : hv ? -1 : 0;
            return true;
        }
        if (u != v) {
            order = u < v ? -1 : 1;
            return true;
        }
    }
}

// True when `oid` lies strictly inside the subtree of `base`: it is longer, begins with the
// base and goes on with a "."; `suffix` is then the instance text after the base.
bool SubtreeSuffix(std::string_view base, std::string_view oid, std::string_view& suffix) {
    if (base.empty() || oid.size() <= base.size() + 1) return false;
    if (oid.compare(0, base.size(), base) != 0 || oid[base.size()] != '.') return false;
    suffix = oid.substr(base.size() + 1);
    return true;
}

}  // namespace

// ---- Construction -------------------------------------------------------------------------

HvSNMPRequest::HvSNMPRequest()
    : device(GlobalDevice),
      scope(GlobalScope),
      security(GlobalSecurity),
      timeout(DefaultTimeout),
      retries(1) {}

HvSNMPRequest::~HvSNMPRequest() {
    enabled = false;
    WaitForOutstanding();
    // Whatever is still outstanding after the wait is withdrawn; the weak reference of the
    // reply callbacks (alive_) keeps any straggler away as well.
    if (GlobalSession != nullptr) {
        for (int id : outstanding_) GlobalSession->Cancel(id);
    }
    outstanding_.clear();
    *alive_ = false;
}

void HvSNMPRequest::WaitForOutstanding() {
    const uint32_t start = GetTickCount();
    while (pending > 0 && GetTickCount() - start < kDestroyWaitMs) {
        // Block briefly on the session's sockets rather than spinning; the event loop (the
        // pump's socket watchers and timer) then delivers what has arrived. The session is
        // also stepped directly, so that replies arrive without an event loop too.
        if (GlobalSession != nullptr) {
            std::vector<pollfd> fds;
            for (int socket : GlobalSession->Sockets()) fds.push_back({socket, POLLIN, 0});
            if (!fds.empty()) poll(fds.data(), fds.size(), kDestroyPollMs);
        }
        ProcessMessages();
        if (pending > 0 && GlobalSession != nullptr) GlobalSession->ProcessPendingEvents();
    }
}

// ---- Small helpers ------------------------------------------------------------------------

bool HvSNMPRequest::IsTableList() const {
    return list_.ItemType == MVT_FMV || list_.ItemType == MVT_UMV;
}

std::string HvSNMPRequest::BaseOid(int32_t item) const {
    const VarItem& it = list_.Item(item);
    return list_.Instance.empty() ? it.oid : it.oid + "." + list_.Instance;
}

bool HvSNMPRequest::ChooseReadOperation(SnmpPduType& type) {
    switch (list_.ItemType) {
        case SVT_SV:
            type = SnmpPduType::kGet;
            return true;
        case MVT_SV:
            type = useGetNext ? SnmpPduType::kGetNext : SnmpPduType::kGet;
            return true;
        case MVT_FMV:
        case MVT_UMV:
            type = SnmpPduType::kGetNext;
            return true;
        default:
            return false;
    }
}

void HvSNMPRequest::Report(int32_t code, const std::string& text) {
    ++errorCount;
    HvSNMPError error;
    error.code = code;
    error.message = text;
    error.errorCount = static_cast<int64_t>(errorCount);
    lastReport_ = error;
    if (errorHandler != nullptr) errorHandler(&error);
}

// ---- Targets and bindings -----------------------------------------------------------------

SnmpTarget HvSNMPRequest::BuildTargets(SnmpPduType type) const {
    if (!SnmpSession::CheckAddress(device.Address)) RaiseLibraryError(kInvalidAddress);
    SnmpTarget target;
    target.address = device.Address;
    target.port = device.Port;
    target.version = security.Version;
    target.timeout = timeout;
    target.retries = retries;
    // Security level and context travel with every request, whatever the version.
    target.securityLevel = security.SecurityLevel;
    target.contextName = scope.ContextName;
    target.contextEngineID = scope.ContextEngineID;
    if (security.Version == 3) {
        // The user goes with every request: the session takes changed credentials at once.
        target.securityModel = security.SecurityModel;
        target.securityName = security.SecurityName;
        target.authProtocol = security.AuthProtocol;
        target.privProtocol = security.PrivProtocol;
        target.authPassword = security.AuthPassword;
        target.privPassword = security.PrivPassword;
    } else {
        target.community =
            type == SnmpPduType::kSet ? security.WriteCommunity : security.ReadCommunity;
    }
    return target;
}

std::vector<SnmpVb> HvSNMPRequest::BuildPdu(int kind) {
    return BuildPdu(kind, nullptr);
}

std::vector<SnmpVb> HvSNMPRequest::BuildPdu(int kind, std::vector<std::string>* texts) {
    std::vector<SnmpVb> vbs;
    const uint8_t itemType = list_.ItemType;
    for (int32_t i = 0; i < list_.Count(); ++i) {
        VarItem& it = list_.Item(i);
        std::string oid;
        if (kind == 0 || kind == 1) {
            if (!list_.IsReadable(i)) continue;
            if (kind == 0) {
                it.lastOid.clear();
                oid = itemType == SVT_SV ? BaseOid(i) + ".0" : BaseOid(i);
            } else {
                if (itemType == SVT_SV || itemType == MVT_SV)
                    RaiseLibraryError(kContinuationOfSingleValue);
                oid = it.lastOid;
            }
            SnmpVb vb;
            TextToOid(oid, vb.oid);  // a text that is not an OID is refused by the session
            vbs.push_back(std::move(vb));
            if (texts != nullptr) texts->push_back(std::move(oid));
            continue;
        }
        // A set.
        if (IsTableList() && i < list_.PKeyCount) continue;
        if (!list_.IsWritable(i)) continue;
        switch (itemType) {
            case SVT_SV:
                oid = BaseOid(i) + ".0";
                break;
            case MVT_SV:
                oid = BaseOid(i);
                break;
            case MVT_FMV:
            case MVT_UMV:
                oid = BaseOid(i) + "." + RowIndexText();
                break;
            default:
                RaiseLibraryError(kBadItemType);
        }
        SnmpVb vb;
        TextToOid(oid, vb.oid);
        TextToVb(i, vb);
        vbs.push_back(std::move(vb));
    }
    return vbs;
}

// ---- Row index ----------------------------------------------------------------------------

void HvSNMPRequest::SetRowIndex(const std::string& index) {
    std::string remaining = index;
    for (int32_t k = 0; k < list_.PKeyCount; ++k) {
        if (remaining.empty()) RaiseLibraryError(-514);
        if (!list_.IsReadable(k)) list_.Item(k).lastOid = BaseOid(k) + "." + index;
        remaining = DecodeIndex(k, remaining);
    }
}

std::string HvSNMPRequest::RowIndexText() {
    std::string text;
    for (int32_t k = 0; k < list_.PKeyCount; ++k) {
        const std::string part = EncodeIndex(k);
        if (!text.empty()) text += ".";
        text += part;
    }
    return text;
}

bool HvSNMPRequest::IsAccepted() {
    return Evaluate(condition);
}

bool HvSNMPRequest::Accepts(const std::string& text) {
    return Evaluate(text);
}

// ---- Storing replies ----------------------------------------------------------------------

bool HvSNMPRequest::ColumnDone(const std::string& base, const std::string& last,
                               const std::string& returned) {
    if (list_.ItemType == SVT_SV || list_.ItemType == MVT_SV) return false;
    std::string_view suffix;
    if (!SubtreeSuffix(base, returned, suffix)) return true;
    int order = 0;
    if (!last.empty() && CompareOids(returned, last, order) && order <= 0) return true;
    return false;
}

// The bindings are paired with the readable items in list order. A reply with fewer bindings
// than readable items leaves the unpaired items as if the agent had echoed the OID asked with
// no value (a table column is then done in this row).
//
// Table rows: every column still inside the table returns an instance; the row is the
// smallest of their indexes. A column that returned a later row has a hole here: its value
// is "(NULL)" and it asks again from the same position in the next step. A column that left
// its subtree, or did not advance beyond the previous row, is done: "(NOTDONE)", and it asks
// again from the current row. So a row's cells always belong to that row, and the rows of a
// walk strictly increase, whatever the agent answers.
HvSNMPRequest::ReplyOutcome HvSNMPRequest::ProcessReply(const SnmpReply& reply,
                                                        const std::vector<std::string>& asked,
                                                        NoSuchNameRule rule) {
    ReplyOutcome outcome;
    const bool table = IsTableList();

    struct Cell {
        int32_t item = 0;
        std::string base;
        std::string asked;
        const SnmpVb* vb = nullptr;  // the reply's binding, or `echo` when it has none
        SnmpVb echo;
        std::string returned;
        bool done = false;
        std::string index;  // for a column inside the table: the instance after the base
    };
    std::vector<Cell> cells;
    cells.reserve(static_cast<size_t>(list_.Count()));
    for (int32_t i = 0; i < list_.Count(); ++i) {
        if (!list_.IsReadable(i)) continue;
        const size_t k = cells.size();
        Cell& c = cells.emplace_back();
        c.item = i;
        c.base = BaseOid(i);
        c.asked = k < asked.size() ? asked[k] : list_.Item(i).lastOid;
        if (k < reply.vbs.size()) {
            c.vb = &reply.vbs[k];
        } else {
            TextToOid(c.asked, c.echo.oid);
        }
    }
    // Pointers into `cells` only now that it no longer grows.
    for (Cell& c : cells) {
        if (c.vb == nullptr) c.vb = &c.echo;
        c.returned = OidToText(c.vb->oid);
    }

    // The previous row: the furthest position any column holds. A column must get beyond it.
    std::string floor;
    bool haveFloor = false;
    if (table) {
        for (const Cell& c : cells) {
            std::string_view suffix;
            if (!SubtreeSuffix(c.base, list_.Item(c.item).lastOid, suffix)) continue;
            int order = 0;
            if (!haveFloor || (CompareOids(floor, suffix, order) && order < 0)) {
                floor.assign(suffix);
                haveFloor = true;
            }
        }
    }

    // Which columns are done, and the row: the smallest index of the others.
    std::string row;
    bool haveRow = false;
    for (Cell& c : cells) {
        if (table && haveFloor) {
            // A column asked from behind the previous row (a hole) must still get beyond it.
            std::string_view askedSuffix;
            int order = 0;
            const bool behind = !SubtreeSuffix(c.base, c.asked, askedSuffix) ||
                                !CompareOids(askedSuffix, floor, order) || order < 0;
            c.done = ColumnDone(c.base, behind ? c.base + "." + floor : c.asked, c.returned);
        } else {
            c.done = ColumnDone(c.base, c.asked, c.returned);
        }
        if (!table || c.done) continue;
        std::string_view suffix;
        if (!SubtreeSuffix(c.base, c.returned, suffix)) {
            // A derived ColumnDone may keep a column that is not in the table: it cannot
            // give a row, so it is done for this step.
            c.done = true;
            continue;
        }
        c.index.assign(suffix);
        int order = 0;
        if (!haveRow || (CompareOids(c.index, row, order) && order < 0)) row = c.index;
        haveRow = true;
    }

    bool allDone = true;
    for (const Cell& c : cells) {
        VarItem& it = list_.Item(c.item);
        if (rule == NoSuchNameRule::Synchronous) {
            // SNMPv1 at the end of its view answers no-such-name with the OIDs it was sent.
            if (c.returned == c.asked) {
                outcome.endOfView = true;
                outcome.stopped = true;
                return outcome;
            }
            Report(kNoSuchName, MapStatus(2).text);
        } else if (rule == NoSuchNameRule::Asynchronous) {
            // The first readable item decides; nothing is stored.
            outcome.endOfView = c.returned == c.asked;
            outcome.stopped = true;
            return outcome;
        }
        if (c.done) {
            it.value = kNotDoneValueText;
            const std::string index = haveRow ? row : RowIndexText();
            it.lastOid = index.empty() ? c.base : c.base + "." + index;
            continue;
        }
        allDone = false;
        if (table && c.index != row) {
            it.value = kNullValueText;  // a hole: this column has no cell in this row
            it.lastOid = c.asked;
            continue;
        }
        VbToText(c.item, *c.vb);
        it.lastOid = c.returned;
    }

    outcome.allDone = allDone;
    if (allDone) return outcome;
    if (table) SetRowIndex(row);
    for (int32_t i = 0; i < list_.Count(); ++i) Derive(i, HvDeriveDirection::Read);
    outcome.rowStored = table;
    return outcome;
}

HvSNMPRequest::ReplyOutcome HvSNMPRequest::StoreSetReply(const SnmpReply& reply) {
    ReplyOutcome outcome;
    const bool table = IsTableList();
    std::vector<std::string> returned;
    returned.reserve(reply.vbs.size());
    for (const SnmpVb& vb : reply.vbs) returned.push_back(OidToText(vb.oid));
    std::vector<bool> used(reply.vbs.size(), false);
    std::string row;
    bool stored = false;
    for (int32_t i = 0; i < list_.Count(); ++i) {
        if (!list_.IsReadable(i)) continue;
        const std::string base = BaseOid(i);
        for (size_t k = 0; k < returned.size(); ++k) {
            if (used[k]) continue;
            std::string_view suffix;
            const bool match = table                      ? SubtreeSuffix(base, returned[k], suffix)
                               : list_.ItemType == SVT_SV ? returned[k] == base + ".0"
                                                          : returned[k] == base;
            if (!match) continue;
            used[k] = true;
            VbToText(i, reply.vbs[k]);
            list_.Item(i).lastOid = returned[k];
            if (table && row.empty()) row.assign(suffix);
            stored = true;
            break;
        }
    }
    outcome.allDone = !stored;
    if (!stored) return outcome;
    if (table) SetRowIndex(row);
    for (int32_t i = 0; i < list_.Count(); ++i) Derive(i, HvDeriveDirection::Read);
    outcome.rowStored = table;
    return outcome;
}

// ---- Reads --------------------------------------------------------------------------------

bool HvSNMPRequest::Get(bool first, bool& ok) {
    ok = false;
    if (!enabled) return false;
    ok = true;
    const SnmpTarget target = BuildTargets(SnmpPduType::kGet);
    std::vector<std::string> asked;
    const std::vector<SnmpVb> vbs = BuildPdu(first ? 0 : 1, &asked);
    SnmpPduType type;
    if (!ChooseReadOperation(type)) {
        Report(kBadItemType, ErrorText(kBadItemType));
        ok = false;
        return false;
    }
    SnmpReply reply;
    if (GlobalSession != nullptr) {
        reply = GlobalSession->Request(type, target, vbs);
    } else {
        reply.status = SnmpStatus::kInternalError;
        reply.vbs = vbs;
    }
    const MappedStatus mapped = MapStatus(reply.status);
    const bool table = IsTableList();
    const bool noSuchName = mapped.code == kNoSuchName && table;
    if (mapped.code != 0) {
        ok = false;
        if (!noSuchName) Report(mapped.code, mapped.text);
    }
    const ReplyOutcome outcome =
        ProcessReply(reply, asked, noSuchName ? NoSuchNameRule::Synchronous : NoSuchNameRule::None);
    // The end of an SNMPv1 walk is the walk's normal end, not a failure.
    if (outcome.endOfView) ok = true;
    return outcome.rowStored;
}

void HvSNMPRequest::GetAsync(bool first, ReplyCallback callback, void* userData, bool& ok) {
    ok = false;
    if (!enabled) return;
    ok = true;
    const SnmpTarget target = BuildTargets(SnmpPduType::kGet);
    auto context = std::make_shared<ReplyContext>();
    const std::vector<SnmpVb> vbs = BuildPdu(first ? 0 : 1, &context->asked);
    SnmpPduType type;
    if (!ChooseReadOperation(type)) {
        Report(kBadItemType, ErrorText(kBadItemType));
        ok = false;
        return;
    }
    context->parse = true;
    context->callback = callback;
    context->userData = userData;
    SendAsync(type, target, vbs, std::move(context), ok);
}

void HvSNMPRequest::SendAsync(SnmpPduType type, const SnmpTarget& target,
                              const std::vector<SnmpVb>& vbs, std::shared_ptr<ReplyContext> context,
                              bool& ok) {
    context->handler = &HvSNMPRequest::OnReply;
    context->request = this;
    // The trampoline owns the context (freed with the session's copy of the callback) and
    // reaches the request only while it lives.
    std::weak_ptr<bool> alive = alive_;
    auto trampoline = [context, alive](const SnmpReply& reply) {
        const std::shared_ptr<bool> living = alive.lock();
        if (!living || !*living) return;
        HvSNMPRequest* request = context->request;
        request->outstanding_.erase(context->requestId);
        (request->*context->handler)(reply.status, reply, *context);
    };
    int id = 0;
    const int status = GlobalSession != nullptr
                           ? GlobalSession->RequestAsync(type, target, vbs, trampoline, &id)
                           : SnmpStatus::kInternalError;
    const MappedStatus mapped = MapStatus(status);
    if (mapped.code != 0) {
        Report(mapped.code, mapped.text);
        ok = false;
    }
    if (status == SnmpStatus::kSuccess) {
        context->requestId = id;
        outstanding_.insert(id);
        ++pending;
    }
}

void HvSNMPRequest::OnReply(int reason, const SnmpReply& reply, ReplyContext& context) {
    if (reason == SnmpStatus::kSessionClosed) {
        --pending;
        return;
    }
    // pending goes down after the user callback, also when the callback throws, unless the
    // callback destroyed the request.
    const std::shared_ptr<bool> living = alive_;
    struct Done {
        const std::shared_ptr<bool>& living;
        int32_t& pending;
        ~Done() {
            if (*living) --pending;
        }
    } done{living, pending};

    HvSNMPError record;
    const MappedStatus mapped = MapStatus(reason);
    record.code = mapped.code;
    record.message = mapped.text;
    record.errorIndex = reply.errorIndex;
    record.agentAddress = reply.agentAddress;
    record.agentPort = reply.agentPort;
    const bool table = IsTableList();
    // A refused set is never read back.
    const bool noSuchName = mapped.code == kNoSuchName && table && !context.set;
    if ((mapped.code == 0 && context.parse) || noSuchName) {
        record.finished = false;
        try {
            const ReplyOutcome outcome =
                context.set ? StoreSetReply(reply)
                            : ProcessReply(
                                  reply, context.asked,
                                  noSuchName ? NoSuchNameRule::Asynchronous : NoSuchNameRule::None);
            if (noSuchName) {
                if (outcome.endOfView) {
                    record.code = 0;
                    record.message = MapStatus(0).text;
                }
                record.finished = true;
            } else {
                record.finished = outcome.allDone || !table;
            }
        } catch (const Exception& e) {
            // Storing failed (a conversion, an expression, a short row index): the read
            // ends with that error instead of leaving its caller waiting.
            record.code = e.HelpContext() != 0 ? e.HelpContext() : kUnknownErrorCode;
            record.message = e.Message();
            record.finished = true;
        } catch (const std::exception& e) {
            record.code = kUnknownErrorCode;
            record.message = e.what();
            record.finished = true;
        }
    } else {
        record.finished = true;
    }
    // An error reply counts as an error of the request.
    if (record.code != 0) ++errorCount;
    record.errorCount = static_cast<int64_t>(errorCount);
    if (context.callback != nullptr && !callbacksDetached_)
        context.callback(context.userData, record, list_);
}

// ---- Sets ---------------------------------------------------------------------------------

void HvSNMPRequest::PrepareSet(const std::string& indexList,
                               const std::vector<std::string>* values) {
    if (!indexList.empty()) {
        HvNumList<int> positions;
        positions.delimiter = ',';
        positions.Parse(indexList);
        const std::vector<int>& order = positions.Items();
        for (int32_t i = 0; i < list_.Count(); ++i) {
            VarItem& it = list_.Item(i);
            const auto found = std::find(order.begin(), order.end(), i);
            if (found == order.end()) {
                it.access |= ACCESS_INVALID;
                continue;
            }
            it.access &= ~ACCESS_INVALID;
            const size_t p = static_cast<size_t>(found - order.begin());
            if (values != nullptr && p < values->size()) it.value = (*values)[p];
        }
    }
    for (int32_t i = 0; i < list_.Count(); ++i) Derive(i, HvDeriveDirection::Write);
}

void HvSNMPRequest::BuildSet(const std::string& indexList, const std::vector<std::string>* values,
                             SnmpTarget& target, std::vector<SnmpVb>& vbs) {
    // The list is the same after the call as before it, also when building fails.
    const HvSNMPVarList saved(list_);
    try {
        PrepareSet(indexList, values);
        target = BuildTargets(SnmpPduType::kSet);
        vbs = BuildPdu(2);
    } catch (...) {
        list_ = saved;
        throw;
    }
    list_ = saved;
}

bool HvSNMPRequest::Set(bool readBack, const std::string& indexList,
                        const std::vector<std::string>* values, HvSNMPError& error, bool& ok) {
    ok = false;
    if (!enabled) return false;
    ok = true;
    std::vector<SnmpVb> vbs;
    SnmpTarget target;
    BuildSet(indexList, values, target, vbs);
    SnmpReply reply;
    if (GlobalSession != nullptr) {
        reply = GlobalSession->Set(target, vbs);
    } else {
        reply.status = SnmpStatus::kInternalError;
        reply.vbs = vbs;
    }
    const MappedStatus mapped = MapStatus(reply.status);
    if (mapped.code != 0) {
        ok = false;
        ++errorCount;
        error.code = mapped.code;
        error.message = mapped.text;
        error.errorCount = static_cast<int64_t>(errorCount);
    }
    // Only a set that succeeded reads back: the echo of a refused one is not the agent's.
    if (!readBack || mapped.code != 0) return false;
    return StoreSetReply(reply).rowStored;
}

void HvSNMPRequest::SetAsync(bool readBack, const std::string& indexList,
                             const std::vector<std::string>* values, ReplyCallback callback,
                             void* userData, bool& ok) {
    ok = false;
    if (!enabled) return;
    ok = true;
    std::vector<SnmpVb> vbs;
    SnmpTarget target;
    BuildSet(indexList, values, target, vbs);
    auto context = std::make_shared<ReplyContext>();
    context->parse = readBack;
    context->set = true;
    context->callback = callback;
    context->userData = userData;
    SendAsync(SnmpPduType::kSet, target, vbs, std::move(context), ok);
}
