#pragma once
// The module-wide SNMP session, its default records and the timer pump.
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
    int32_t AuthProtocol = 0;  // 1 none, 2 HMAC-MD5, 3 HMAC-SHA, further codes for SHA-2
    int32_t PrivProtocol = 0;  // 1 none, 2 DES, 4 AES-128, 20 AES-192, 21 AES-256, 9 IDEA
};

extern HvSNMPDevice GlobalDevice;
extern HvSNMPScope GlobalScope;
extern HvSNMPSecurity GlobalSecurity;
extern int32_t DefaultTimeout;  // hundredths of a second

class SnmpSession;                   // the net-snmp adapter's session (snmp/SnmpSession.h)
extern SnmpSession* GlobalSession;  // null until CreateGlobalSession; never destroyed

// The timer pump: every 20 ms it lets the SNMP library deliver replies, retransmissions
// and timeouts. Replies are also delivered as soon as their datagram arrives.
class _SnmpEventProcessor {
public:
    _SnmpEventProcessor();
    ~_SnmpEventProcessor();
    void Start();
    void Stop();

private:
    void Step();
    TTimer timer_;
};
extern _SnmpEventProcessor GlobalEventProcessor;

// Creates the session, reads and saves the engine-boots counter kept in
// JoinPath(directory, "HvSNMP_PP_BootCounter"), writes the defaults and starts the pump.
// Raises the library errors -506, -507 and -508.
void CreateGlobalSession(const std::string& directory);

// name when directory is empty; directory + name when it ends with "\";
// otherwise directory + "\" + name.
std::string JoinPath(const std::string& directory, const std::string& name);
