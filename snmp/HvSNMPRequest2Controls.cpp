#include "snmp/HvSNMPRequest2Controls.h"

#include <ctime>
#include <exception>

#include "platform/Exception.h"
#include "platform/MessageBox.h"
#include "platform/System.h"
#include "snmp/HvSNMPErrors.h"
#include "snmp/HvSNMPExpression.h"

namespace {

std::string LocalTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16] = {};
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

HvLogClock& Clock() {
    static HvLogClock clock = nullptr;
    return clock;
}

// Runs the start of a read or a set. A failure in it leaves the binding idle and reaches the
// caller as an Exception.
template <typename Body>
void GuardStart(bool& active, Body&& body) {
    try {
        body();
    } catch (const Exception& e) {
        active = false;
        throw Exception(e.Message(), e.HelpContext());
    } catch (const std::exception& e) {
        active = false;
        throw Exception(e.what());
    }
}

// Sends an asynchronous request through `send`, which sets `ok`, when the request is
// enabled. The binding stays active while the request runs.
template <typename Send>
void SendAsync(HvSNMPRequest2Controls& binding, bool& ok, Send&& send) {
    binding.active = true;
    if (binding.request.enabled) {
        send();
        if (!ok) binding.active = false;
    } else {
        binding.active = false;
    }
}

std::string LogTime() {
    return Clock() != nullptr ? Clock()() : LocalTimeText();
}

}  // namespace

HvLogClock SetLogClock(HvLogClock clock) {
    const HvLogClock previous = Clock();
    Clock() = clock;
    return previous;
}

HvSNMPRequest2Controls::HvSNMPRequest2Controls(TConfigForm* owner) : form(owner) {}

HvSNMPRequest2Controls::~HvSNMPRequest2Controls() {
    active = false;
    // The request waits for its outstanding replies when it is destroyed, after the rest of
    // this binding is gone: from here on they must not come back to the binding.
    request.DetachCallbacks();
}

bool HvSNMPRequest2Controls::IsSingleValueList() const {
    const uint8_t type = request.List().ItemType;
    return type == SVT_SV || type == MVT_SV;
}

bool HvSNMPRequest2Controls::IsTableList() const {
    const uint8_t type = request.List().ItemType;
    return type == MVT_FMV || type == MVT_UMV;
}

// ---- Log line and message boxes -----------------------------------------------------------

void HvSNMPRequest2Controls::WriteLog(const std::string& text) {
    if (messageControl == nullptr) return;
    std::string line;
    if (logKind >= 0 && static_cast<size_t>(logKind) < LogTemplates.size())
        line = LogTemplates[static_cast<size_t>(logKind)];
    const std::string& name = request.List().Name;
    if (name.empty()) {
        // Without a list name the part " Request:[VARLIST]." goes: from right after
        // "[ERROR]" through the character that follows "[VARLIST]".
        const size_t a = line.find("[ERROR]");
        const size_t v = line.find("[VARLIST]");
        if (a != std::string::npos && v != std::string::npos && v >= a)
            line.erase(a + 7, v - a + 3);
    } else {
        line = ReplaceAll(line, "[VARLIST]", name);
    }
    line = ReplaceAll(line, "[ERROR]", text);
    line = ReplaceAll(line, "[TIME]", LogTime());
    switch (messageControl->MessageKind()) {
        case HvMessageSink::Kind::Memo:
            messageControl->AppendLine(line);
            break;
        case HvMessageSink::Kind::StatusBar:
            messageControl->SetSimpleText(line);
            break;
        case HvMessageSink::Kind::StatusPanel:
            messageControl->SetText(line);
            break;
        case HvMessageSink::Kind::Other:
            break;
    }
}

void HvSNMPRequest2Controls::ShowMessageBox(const std::string& text) {
    MessageBox(text, ApplicationTitle(), MB_OK);
}

void HvSNMPRequest2Controls::ReportGetError(HvSNMPError& error) {
    logKind = 0;
    if (messageControl != nullptr) {
        WriteLog(error.message);
    } else {
        ShowMessageBox(error.message);
    }
}

void HvSNMPRequest2Controls::ReportSetError(HvSNMPError& error) {
    logKind = 1;
    if (error.code != 0 || messageControl == nullptr) {
        ShowMessageBox(error.message);
    } else {
        WriteLog(error.message);
    }
}

void HvSNMPRequest2Controls::ReportCaught(const std::string& message) {
    active = false;
    if (messageControl != nullptr) {
        WriteLog(message);
    } else {
        ShowMessageBox(message);
    }
}

void HvSNMPRequest2Controls::DeliverGetOutcome(HvSNMPError& error) {
    if (onGetDone) {
        onGetDone(*this, error);
    } else {
        ReportGetError(error);
    }
}

void HvSNMPRequest2Controls::DeliverSetOutcome(HvSNMPError& error) {
    if (onSetDone) {
        onSetDone(*this, error);
    } else {
        ReportSetError(error);
    }
}

// ---- Rows ---------------------------------------------------------------------------------

std::string HvSNMPRequest2Controls::FilterText() {
    if (parentRequest == nullptr || filter.empty()) return std::string();
    return parentRequest->SubstituteValues(filter, true, "#");
}

void HvSNMPRequest2Controls::OfferRow(const std::string& filterText) {
    if (request.Accepts(filterText) && request.IsAccepted()) {
        RowReceived();
        ++rowCount;
    }
}

// ---- Reads --------------------------------------------------------------------------------

bool HvSNMPRequest2Controls::StartGet() {
    bool ok = true;
    GuardStart(active, [&] {
        logKind = 0;
        BeforeGet();
        currentFilter_ = FilterText();
        rowCount = 0;
        if (mode == 0) {
            active = true;
            if (IsTableList()) {
                bool first = true;
                for (;;) {
                    bool stepOk = false;
                    const bool row = request.Get(first, stepOk);
                    ok = stepOk;
                    if (!row) break;
                    if (stepOk) OfferRow(currentFilter_);
                    // Also after a failed step: its positions have advanced, so asking the
                    // first row again could repeat the same failing step for ever.
                    first = false;
                }
            } else {
                // Scalars and single rows; any other item type is reported by the request.
                request.Get(true, ok);
                if (ok && IsSingleValueList()) OfferRow(currentFilter_);
            }
            AfterGet();
            active = false;
            if (ok && messageControl != nullptr) WriteLog(ErrorText(0));
        } else if (mode == 1) {
            SendAsync(*this, ok, [&] {
                request.GetAsync(true, &HvSNMPRequest2Controls::OnGetReply, this, ok);
            });
        }
    });
    return ok;
}

void HvSNMPRequest2Controls::OnGetReply(void* binding, HvSNMPError& error, HvSNMPVarList&) {
    static_cast<HvSNMPRequest2Controls*>(binding)->GetReply(error);
}

void HvSNMPRequest2Controls::FinishGet(HvSNMPError& error) {
    AfterGet();
    active = false;
    logKind = 0;
    if (messageControl != nullptr) WriteLog(ErrorText(0));
    if (onGetDone) onGetDone(*this, error);
}

void HvSNMPRequest2Controls::GetReply(HvSNMPError& error) {
    if (error.code != 0) {
        active = false;
        logKind = 0;
        DeliverGetOutcome(error);
        return;
    }
    try {
        if (IsTableList() && !error.finished) {
            OfferRow(currentFilter_);
            if (request.enabled) {
                bool ok = false;
                request.GetAsync(false, &HvSNMPRequest2Controls::OnGetReply, this, ok);
                if (!ok) {
                    // The walk cannot go on: say why, as for an error reply, rather than
                    // leaving a part of the table as if it were all of it.
                    active = false;
                    HvSNMPError failure = request.LastReport();
                    failure.finished = true;
                    DeliverGetOutcome(failure);
                }
                return;
            }
            // The window stopped the walk.
            AfterGet();
            active = false;
            logKind = 0;
            if (messageControl != nullptr) {
                HvSNMPError notice;
                notice.code = 0;
                notice.errorCount = -1;
                notice.message = kStopNoticeText;
                if (request.errorHandler != nullptr) {
                    request.errorHandler(&notice);
                } else {
                    WriteLog(kStopNoticeText);
                }
            }
            if (onGetDone) onGetDone(*this, error);
            return;
        }
        if (IsSingleValueList()) OfferRow(currentFilter_);
        FinishGet(error);
    } catch (const Exception& e) {
        logKind = 0;
        ReportCaught(e.Message());
    } catch (const std::exception& e) {
        logKind = 0;
        ReportCaught(e.what());
    }
}

// ---- Sets ---------------------------------------------------------------------------------

bool HvSNMPRequest2Controls::StartSet(bool refresh, bool collect, const std::string& indexList,
                                      const std::vector<std::string>* values) {
    bool ok = true;
    GuardStart(active, [&] {
        logKind = 1;
        refreshAfterSet = refresh;
        BeforeSet();
        if (collect) CollectValues();
        if (mode == 0) {
            active = true;
            HvSNMPError error;
            request.Set(false, indexList, values, error, ok);
            AfterSet();
            active = false;
            if (ok) {
                if (messageControl == nullptr) return;
                WriteLog(ErrorText(0));
            } else if (error.code != 0) {
                // Reported as ReportSetError does (a message box), not through the virtual one. A
                // request that sent nothing (not enabled) has nothing to report.
                ShowMessageBox(error.message);
            }
            if (IsTableList() && refreshAfterSet) StartGet();
        } else if (mode == 1) {
            SendAsync(*this, ok, [&] {
                request.SetAsync(false, indexList, values, &HvSNMPRequest2Controls::OnSetReply,
                                 this, ok);
            });
        }
    });
    return ok;
}

void HvSNMPRequest2Controls::OnSetReply(void* binding, HvSNMPError& error, HvSNMPVarList&) {
    static_cast<HvSNMPRequest2Controls*>(binding)->SetReply(error);
}

void HvSNMPRequest2Controls::SetReply(HvSNMPError& error) {
    try {
        if (error.code != 0) {
            active = false;
            logKind = 1;
            DeliverSetOutcome(error);
            return;
        }
        AfterSet();
        active = false;
        logKind = 1;
        DeliverSetOutcome(error);
        if (IsTableList() && refreshAfterSet) StartGet();
    } catch (const Exception& e) {
        logKind = 1;
        ReportCaught(e.Message());
    } catch (const std::exception& e) {
        logKind = 1;
        ReportCaught(e.what());
    }
}
