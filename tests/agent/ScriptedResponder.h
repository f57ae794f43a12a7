// A tiny scripted SNMP v1/v2c responder on 127.0.0.1 for the replies a real snmpd never gives:
// fewer bindings than asked, truncated datagrams, a wrong request-id, an arbitrary error status,
// or no reply at all. It answers from a thread of its own so that synchronous requests of the
// code under test can be served.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace testagent {

enum class ResponderMode {
    // A well-formed GetResponse: same request-id, one binding per requested one. Get and set
    // bindings keep their OID; get-next and get-bulk bindings get the OID with ".1" appended
    // (so a walk against the responder never ends by itself). Values are OCTET STRINGs
    // "value-<n>", n counting the bindings from 1; a set echoes the values it was sent.
    Normal,
    Silent,          // receives and counts requests, never answers
    FewerBindings,   // like Normal without the last binding (none when one was asked)
    Truncated,       // the Normal reply cut to half its length
    WrongRequestId,  // the Normal reply with request-id + 1
    ErrorStatus,     // the request's OIDs with NULL values and SetErrorStatus()'s status/index
};

class ScriptedResponder {
public:
    explicit ScriptedResponder(ResponderMode mode = ResponderMode::Silent);
    ~ScriptedResponder();
    ScriptedResponder(const ScriptedResponder&) = delete;
    ScriptedResponder& operator=(const ScriptedResponder&) = delete;

    void SetMode(ResponderMode mode) { mode_ = mode; }
    // For ResponderMode::ErrorStatus; the default is genErr (5) at index 1.
    void SetErrorStatus(long status, long index) {
        errorStatus_ = status;
        errorIndex_ = index;
    }

    uint16_t Port() const { return port_; }
    std::string Address() const { return "127.0.0.1"; }
    // Datagrams received so far (answered or not, parsable or not).
    int RequestsSeen() const { return requests_; }

private:
    void Serve();

    int socket_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    uint16_t port_ = 0;
    std::atomic<ResponderMode> mode_;
    std::atomic<long> errorStatus_{5};
    std::atomic<long> errorIndex_{1};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

}  // namespace testagent
