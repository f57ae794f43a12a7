#pragma once
// HvSNMPRequest2Controls: ties one request to one configuration window. It runs reads and
// sets synchronously or asynchronously, drives table walks row by row, filters rows, tells
// the window what happened through eight virtual operations, and reports outcomes as a log
// line in the window's message control or in a message box. It does nothing with controls
// itself; the control binding derives from it.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "snmp/HvMessageSink.h"
#include "snmp/HvSNMPError.h"
#include "snmp/HvSNMPRequest.h"

class TConfigForm;  // the owner window (ui layer); only kept here

// The text of the stop notice of a walk that its window stopped.
inline constexpr char kStopNoticeText[] = "Stop, SNMP Request is not active.";

// The current local time as the log line shows it ("hh:nn:ss", 24-hour).
using HvLogClock = std::string (*)();
// Replaces the clock of the log line (null: the system's local time); returns the previous
// one. For tests that need a fixed time.
HvLogClock SetLogClock(HvLogClock clock);

class HvSNMPRequest2Controls {
public:
    using DoneHandler = std::function<void(HvSNMPRequest2Controls& binding, HvSNMPError& error)>;

    explicit HvSNMPRequest2Controls(TConfigForm* owner);
    // Clears `active`, then destroys the request, which waits for outstanding replies; those
    // replies no longer reach this binding.
    virtual ~HvSNMPRequest2Controls();
    HvSNMPRequest2Controls(const HvSNMPRequest2Controls&) = delete;
    HvSNMPRequest2Controls& operator=(const HvSNMPRequest2Controls&) = delete;

    // ---- Virtual operations, in slot order ----------------------------------------------

    virtual void BeforeGet() {}
    virtual void BeforeSet() {}
    // An accepted row of a walk, or the values of a scalar or single-row read. The list
    // holds them only until the next step: copy what is needed.
    virtual void RowReceived() {}
    // Takes the values to set from the controls (StartSet with collect).
    virtual void CollectValues() {}
    // An asynchronous read ended with an error and onGetDone is empty: the log line, or a
    // message box without a message control.
    virtual void ReportGetError(HvSNMPError& error);
    // An asynchronous set has an outcome and onSetDone is empty: errors in a message box,
    // success in the log line (a message box without a message control).
    virtual void ReportSetError(HvSNMPError& error);
    virtual void AfterGet() {}
    virtual void AfterSet() {}

    // ---- Fields -------------------------------------------------------------------------

    HvSNMPRequest request;
    DoneHandler onGetDone;  // when set: instead of ReportGetError, and at the end of a read
    DoneHandler onSetDone;  // when set: instead of ReportSetError
    uint8_t mode = 1;       // 0 synchronous, 1 asynchronous
    bool active = false;    // a read or set of this binding is running
    TConfigForm* form = nullptr;
    int32_t rowCount = 0;  // rows accepted by the current read
    HvMessageSink* messageControl = nullptr;
    int32_t logKind = 0;  // 0 get, 1 set: the log template
    bool refreshAfterSet = true;
    HvSNMPRequest* parentRequest = nullptr;  // not owned
    std::string filter;  // row filter; "#" references take parentRequest's values

    // ---- Operations ---------------------------------------------------------------------

    void SetMessageControl(HvMessageSink* control) { messageControl = control; }
    // Starts a read of the whole list in the binding's mode.
    bool StartGet();
    // Starts a set (see HvSNMPRequest::Set for the index list and the values).
    bool StartSet(bool refresh, bool collect, const std::string& indexList,
                  const std::vector<std::string>* values);
    // Writes the request log line with `text` as its outcome into the message control.
    void WriteLog(const std::string& text);
    // The filter after the parent request's values are put in; empty without a parent.
    std::string FilterText();

    // The user callbacks of the request's asynchronous operations (user data: the binding).
    static void OnGetReply(void* binding, HvSNMPError& error, HvSNMPVarList& list);
    static void OnSetReply(void* binding, HvSNMPError& error, HvSNMPVarList& list);

private:
    bool IsSingleValueList() const;
    bool IsTableList() const;
    // Offers the current values as a row: RowReceived and counted when accepted.
    void OfferRow(const std::string& filterText);
    void ShowMessageBox(const std::string& text);
    void FinishGet(HvSNMPError& error);
    void GetReply(HvSNMPError& error);
    void SetReply(HvSNMPError& error);
    // The message of a failure caught while a reply was handled.
    void ReportCaught(const std::string& message);
    // An outcome to onGetDone / onSetDone, or without one to ReportGetError / ReportSetError.
    void DeliverGetOutcome(HvSNMPError& error);
    void DeliverSetOutcome(HvSNMPError& error);

    std::string currentFilter_;  // FilterText of the running read
};
