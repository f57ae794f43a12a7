#pragma once
// The module-wide SNMP session, its default records and the timer pump.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Timer.h"

struct HvSNMPDevice {
    std::string Address;
    uint16_t Port = 0;
};

struct HvSNMPScope {
    std::string ContextEngineID;
    std::string ContextName;
};

struct HvSNMPSecurity {
    uint8_t Version = 0;  // 0 SNMPv1, 1 SNMPv2c, 3 SNMPv3
    std::string ReadCommunity;
    std::string WriteCommunity;
    int32_t SecurityModel = 0;
    int32_t SecurityLevel = 0;  // 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv
    std::string SecurityName;
    std::string AuthPassword;
    std::string PrivPassword;
    int32_t AuthProtocol = 0;  // 1 none, 2 MD5, 3 SHA, 4 SHA-224, 5 SHA-256, 6 SHA-384, 7 SHA-512
    int32_t PrivProtocol = 0;  // 1 none, 2 DES, 4 AES-128, 20 AES-192, 21 AES-256, 9 IDEA
};

extern HvSNMPDevice GlobalDevice;
extern HvSNMPScope GlobalScope;
extern HvSNMPSecurity GlobalSecurity;
extern int32_t DefaultTimeout;  // hundredths of a second

class SnmpSession;                  // the net-snmp adapter's session (snmp/SnmpSession.h)
extern SnmpSession* GlobalSession;  // null until CreateGlobalSession; never destroyed

// The timer pump: every 20 ms it lets the SNMP library deliver replies, retransmissions
// and timeouts (SnmpSession::ProcessPendingEvents). It also watches the session's sockets
// and runs the same step as soon as a datagram arrives, so a reply does not wait for the
// next tick. While a step runs the timer and the socket watchers are off, so no second step
// starts, also when a callback processes events. An exception that a callback raises is shown
// in a message box (as the toolkit does for event handlers); the pump goes on.
class _SnmpEventProcessor {
public:
    _SnmpEventProcessor();  // timer disabled, interval 20 ms
    ~_SnmpEventProcessor();
    _SnmpEventProcessor(const _SnmpEventProcessor&) = delete;
    _SnmpEventProcessor& operator=(const _SnmpEventProcessor&) = delete;
    void Start();
    void Stop();

    bool Running() const { return running_; }
    bool InStep() const { return inStep_; }
    // The timer's interval; 20 ms unless changed (tests use a long one to see the sockets at
    // work alone).
    void SetInterval(unsigned milliseconds);
    // Number of sockets watched at the moment (0 without an application object).
    size_t WatchedSockets() const;

private:
    struct Watchers;
    void Step();
    void SyncWatchers();
    void EnableWatchers(bool enabled);
    TTimer timer_;
    std::unique_ptr<Watchers> watchers_;
    bool running_ = false;
    bool inStep_ = false;
};
extern _SnmpEventProcessor GlobalEventProcessor;

// Creates the session, reads and saves the engine-boots counter kept in
// JoinPath(directory, "HvSNMP_PP_BootCounter"), writes the defaults and starts the pump.
// Raises the library errors -506, -507 and -508. Called once; the session is never destroyed.
void CreateGlobalSession(const std::string& directory);

// name when directory is empty; directory + name when it ends with "\";
// otherwise directory + "\" + name.
std::string JoinPath(const std::string& directory, const std::string& name);
