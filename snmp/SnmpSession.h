#pragma once
// The SNMP session of the module: a library-neutral front of the net-snmp adapter
// (snmp/NetSnmpSession.cpp is the only file that sees net-snmp).
//
// Overview
// --------
// * One SnmpSession is created at start-up. Its constructor starts the SNMP library quietly
//   (no configuration files, no MIB files, no persistent state; local engine ID used verbatim)
//   and opens the shared SNMPv1/v2c socket. Status() says whether that worked ("can a UDP
//   socket be opened"); a session with a bad status refuses every request.
// * Requests (get, get-next, set) take an SnmpTarget and the bindings to send. Each comes in a
//   synchronous form, which returns the SnmpReply, and an asynchronous form, which returns at
//   once and later hands the SnmpReply to a callback from ProcessPendingEvents().
// * Every outcome is an SNMP++-numbered status (see SnmpStatus below): 0 success, 1..18 the
//   agent's error status, negative class errors (-5 timeout), SNMPv3 message-processing
//   errors (-1402..-1418) and user-based-security errors (1401..1414). MapStatus() of
//   snmp/HvSNMPErrors.h turns them into the module's codes and texts.
//
// Sockets and sessions
// --------------------
// * SNMPv1 and SNMPv2c share one socket for every agent (version, community and destination
//   are set per message). SNMPv3 uses one socket per (agent, credentials); changed credentials
//   for an agent get a new socket and the old one is closed once it is idle.
// * SNMPv3 engine discovery never blocks: the first request to an agent first sends an empty
//   discovery message; the request itself goes out when the agent's engine ID is known (or
//   fails with the discovery's status, e.g. -5 when the agent is silent). After an SNMPv3
//   request timed out (or was answered "unknown engine ID") the engine ID is discovered again
//   before the next request, so an agent replaced by one with another engine ID is followed.
//   An agent restarted with the same engine ID (more boots) is followed at once.
// * Localized SNMPv3 keys are cached per (agent engine ID, user) by the library; before a
//   request goes out with credentials other than the cached ones, the cached user is
//   replaced, so a changed password takes effect at once (right after wrong, wrong after right).
//
// Event processing
// ----------------
// * ProcessPendingEvents() is the one place where replies are read, retransmissions sent and
//   timeouts noticed; it never waits. It is meant to be called from a periodic timer and
//   also whenever one of Sockets() becomes readable, so that a reply is handled as soon as its
//   datagram arrives. SocketGeneration() changes (and the handler set with
//   SetSocketsChangedHandler() is called) whenever a socket is opened or closed, so that a
//   caller watching the sockets can rebuild its watchers.
// * Callbacks run only from ProcessPendingEvents(), never from inside a request call and
//   never from inside the SNMP library. A call of ProcessPendingEvents() made while one is
//   running (for example from a callback) returns at once without doing anything.
// * Synchronous calls wait for their own reply only. While one waits, replies to other
//   requests are still received (and retransmissions and timeouts handled), but their
//   callbacks are held back and run on a later ProcessPendingEvents() - or, when the
//   synchronous call was made from a callback, by the running ProcessPendingEvents() after
//   that callback has returned. So a synchronous set never re-enters unrelated callbacks.
//   A synchronous call is bounded by the target's timeout and retries (twice when the
//   SNMPv3 engine ID still has to be discovered) plus a small margin.
//
// Callbacks
// ---------
// * An asynchronous call that returns 0 calls its callback exactly once, with the outcome
//   (reply, error status, timeout, SNMPv3 report, or -8 when the session is destroyed first).
//   A call that returns a non-zero status never calls its callback.
// * Cancel(requestId) withdraws the callback: after it returns, the callback of that request
//   is never called (use it when the requester goes away).
// * A callback may send further requests (asynchronous or synchronous) and cancel others; it
//   must not destroy the session.
//
// Replies
// -------
// * SnmpReply::vbs holds the response's bindings when a response PDU arrived (also with an
//   error status: agents echo the request's OIDs). When no response arrived (timeout, SNMPv3
//   report, send failure, refused request) it holds the request's bindings with their OIDs and
//   null values, so a caller that pairs bindings with its variables always finds one per
//   request binding.
// * SNMPv2c exceptions (noSuchObject, noSuchInstance, endOfMibView) arrive as bindings of those
//   types with no value; octet strings are copied byte for byte.
//
// For a request engine written against SNMP++
// ---------------------------------------------
// * UdpAddress validity test: CheckAddress(address) (and port != 0); every request repeats the
//   test and fails with kInvalidAddress before sending.
// * CTarget / UTarget: one SnmpTarget. For SNMPv1/v2c put the read community into `community`
//   for get and get-next, the write community for set. usmAddUserName is not needed: the
//   SNMPv3 credentials travel in the target with every request.
// * Pdu security level, context name and context engine ID: the target's securityLevel,
//   contextName and contextEngineID (used for SNMPv3 only).
// * Synchronous get / get_next / set: Get / GetNext / Set; the returned SnmpReply holds the
//   status (the PDU's error status when a response came) and the bindings (see "Replies").
// * Asynchronous forms: GetAsync / GetNextAsync / SetAsync. The callback's reply.status is what
//   the SNMP++ callback gets as reason and PDU error status together: kTimeout for a timeout,
//   kSessionClosed when the session went away, the PDU's error status (0..18) for a response,
//   otherwise the failure (reports: 1404, 1408 ...). agentAddress/agentPort name the agent.
// * A requester that goes away with requests outstanding calls Cancel() for each of them.
//
// Addresses
// ---------
// * SnmpTarget::address is a dotted IPv4 address or a host name. A text that is neither a
//   dotted address nor a well-formed host name is refused without any name lookup; a host
//   name is resolved (synchronously) at every request. Every request to an address that is
//   not valid or does not resolve, or to port 0, fails with kInvalidAddress (-18) before
//   anything is sent. CheckAddress() makes the same test on its own (the request engine
//   raises its "invalid address" error from it before building a request).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "snmp/SnmpVb.h"

// SNMP++-numbered statuses produced by the session. Agent error statuses 1..18 (tooBig ..
// inconsistentName) are passed through unchanged and have no names here.
namespace SnmpStatus {
constexpr int kSuccess = 0;
// Class errors.
constexpr int kGeneralError = -1;         // the library failed in an unexpected way
constexpr int kResourceUnavailable = -2;  // out of memory
constexpr int kInternalError = -3;        // internal failure (e.g. no session at all)
constexpr int kTimeout = -5;              // no reply after all retries
constexpr int kSessionClosed = -8;        // session destroyed with the request outstanding
constexpr int kInvalidPdu = -11;          // no bindings, bad value, message too long
constexpr int kInvalidTarget = -12;       // version not 0, 1 or 3
constexpr int kInvalidCallback = -13;     // asynchronous call without a callback
constexpr int kInvalidOid = -17;          // empty OID or more than 128 sub-identifiers
constexpr int kInvalidAddress = -18;      // address not valid / not resolvable, or port 0
constexpr int kTransportFailed = -22;     // a socket could not be opened or used
// SNMPv3 message processing (from reports of the agent, or checks before sending).
constexpr int kMpUnsupportedSecurityModel = -1402;  // model other than 3 (USM)
constexpr int kMpInvalidMessage = -1405;
constexpr int kMpUnknownPduHandlers = -1415;
constexpr int kMpUnavailableContext = -1416;
constexpr int kMpUnknownContext = -1417;
// SNMPv3 user-based security.
constexpr int kUsmError = 1401;                     // any other report
constexpr int kUsmUnsupportedSecurityLevel = 1403;  // level not 1..3, or level without protocol
constexpr int kUsmUnknownSecurityName = 1404;       // unknown user (also an empty name)
constexpr int kUsmEncryptionError = 1405;           // privacy key not made (password < 8)
constexpr int kUsmDecryptionError = 1406;
constexpr int kUsmAuthenticationError = 1407;    // auth key not made (password < 8)
constexpr int kUsmAuthenticationFailure = 1408;  // wrong digest: wrong auth password
constexpr int kUsmParseError = 1409;
constexpr int kUsmUnknownEngineId = 1410;
constexpr int kUsmNotInTimeWindow = 1411;
constexpr int kUsmUnsupportedAuthProtocol = 1412;
constexpr int kUsmUnsupportedPrivProtocol = 1413;
}  // namespace SnmpStatus

// SNMP++ codes of the authentication protocols. The SHA-2 codes follow the last arc of the
// protocols' registered OIDs (usmHMAC128SHA224AuthProtocol = ...1.1.4 .. usmHMAC384SHA512 =
// ...1.1.7), as the codes 1..3 do, and as SNMP++ numbers them.
namespace SnmpAuthProtocol {
constexpr int kNone = 1;
constexpr int kMd5 = 2;     // HMAC-MD5-96
constexpr int kSha = 3;     // HMAC-SHA-96
constexpr int kSha224 = 4;  // HMAC-128-SHA-224
constexpr int kSha256 = 5;  // HMAC-192-SHA-256
constexpr int kSha384 = 6;  // HMAC-256-SHA-384
constexpr int kSha512 = 7;  // HMAC-384-SHA-512
}  // namespace SnmpAuthProtocol

// SNMP++ codes of the privacy protocols. AES-192 and AES-256 use the key extension of the
// Blumenthal draft (net-snmp's "AES-192"/"AES-256"). IDEA (9) and 3DES (3) are not available:
// a request with them fails with kUsmUnsupportedPrivProtocol and nothing is sent.
namespace SnmpPrivProtocol {
constexpr int kNone = 1;
constexpr int kDes = 2;
constexpr int k3Des = 3;
constexpr int kAes128 = 4;
constexpr int kIdea = 9;
constexpr int kAes192 = 20;
constexpr int kAes256 = 21;
}  // namespace SnmpPrivProtocol

constexpr int kSnmpSecurityModelUsm = 3;

// Where and how a request goes.
struct SnmpTarget {
    std::string address = "127.0.0.1";  // dotted IPv4 address or host name
    uint16_t port = 161;
    int version = 0;        // 0 SNMPv1, 1 SNMPv2c, 3 SNMPv3 (anything else: kInvalidTarget)
    std::string community;  // SNMPv1/v2c: the community of this request (read or write)
    int timeout = 100;      // hundredths of a second per try (values below 1 count as 1)
    int retries = 1;        // retransmissions after the first try (negative counts as 0)
    // SNMPv3 only:
    std::string securityName;                    // user name; must not be empty
    int securityLevel = 1;                       // 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv
    int securityModel = kSnmpSecurityModelUsm;   // only 3 (USM) is supported
    int authProtocol = SnmpAuthProtocol::kNone;  // SnmpAuthProtocol codes
    int privProtocol = SnmpPrivProtocol::kNone;  // SnmpPrivProtocol codes
    std::string authPassword;                    // at least 8 bytes when used
    std::string privPassword;                    // at least 8 bytes when used
    std::string contextName;                     // bytes as given
    std::string contextEngineID;                 // bytes as given; empty: the agent's
};
// Level 2 needs an authentication protocol other than kNone, level 3 also a privacy protocol
// other than kNone (else kUsmUnsupportedSecurityLevel). Protocols and passwords that the level
// does not use are ignored. An unknown authentication protocol gives
// kUsmUnsupportedAuthProtocol, an unavailable privacy protocol kUsmUnsupportedPrivProtocol, a
// used password shorter than 8 bytes kUsmAuthenticationError (authentication) or
// kUsmEncryptionError (privacy); in every case before anything is sent.

// The outcome of one request.
struct SnmpReply {
    int status = SnmpStatus::kSuccess;  // SNMP++-numbered, see SnmpStatus
    int errorIndex = 0;                 // error index of the response PDU, else 0
    std::vector<SnmpVb> vbs;            // see "Replies" above
    std::string agentAddress;           // dotted address the request went to ("" if none)
    uint16_t agentPort = 0;             // its port
    int requestId = 0;                  // the id the request call gave out
};

using SnmpReplyCallback = std::function<void(const SnmpReply&)>;

enum class SnmpPduType { kGet, kGetNext, kSet };

class SnmpSession {
public:
    static constexpr const char* kDefaultEngineId = "HvSNMP_PP_Application";

    // Starts the SNMP library (once per process; the local engine ID of the first session
    // counts) and opens the shared SNMPv1/v2c socket.
    explicit SnmpSession(const std::string& localEngineId = kDefaultEngineId);
    // Closes every socket; requests still outstanding get their callback with kSessionClosed
    // (such a callback must not use the session any more).
    ~SnmpSession();
    SnmpSession(const SnmpSession&) = delete;
    SnmpSession& operator=(const SnmpSession&) = delete;

    // 0 when the session is usable, else kTransportFailed (no UDP socket could be opened).
    int Status() const;

    // The local SNMPv3 engine: its ID (the bytes the library uses) and its boots counter.
    std::string LocalEngineId() const;
    void SetEngineBoots(uint32_t boots);
    uint32_t EngineBoots() const;

    // True when `address` is a dotted IPv4 address or a host name that resolves to one.
    static bool CheckAddress(const std::string& address);

    // Synchronous requests: return when the reply has arrived or the request has failed.
    SnmpReply Get(const SnmpTarget& target, const std::vector<SnmpVb>& vbs);
    SnmpReply GetNext(const SnmpTarget& target, const std::vector<SnmpVb>& vbs);
    SnmpReply Set(const SnmpTarget& target, const std::vector<SnmpVb>& vbs);
    SnmpReply Request(SnmpPduType type, const SnmpTarget& target, const std::vector<SnmpVb>& vbs);

    // Asynchronous requests: 0 when the request was accepted (its id, > 0, goes to
    // *requestId; the callback will be called exactly once), else the failure status (no
    // callback). Get and get-next send the bindings' OIDs with null values; set sends the
    // bindings' values.
    int GetAsync(const SnmpTarget& target, const std::vector<SnmpVb>& vbs,
                 SnmpReplyCallback callback, int* requestId = nullptr);
    int GetNextAsync(const SnmpTarget& target, const std::vector<SnmpVb>& vbs,
                     SnmpReplyCallback callback, int* requestId = nullptr);
    int SetAsync(const SnmpTarget& target, const std::vector<SnmpVb>& vbs,
                 SnmpReplyCallback callback, int* requestId = nullptr);
    int RequestAsync(SnmpPduType type, const SnmpTarget& target, const std::vector<SnmpVb>& vbs,
                     SnmpReplyCallback callback, int* requestId = nullptr);

    // Withdraws the callback of an outstanding asynchronous request. True when the request
    // was still outstanding (its callback had not been called yet).
    bool Cancel(int requestId);
    // Asynchronous requests whose callback has not been called yet.
    int PendingCount() const;

    // Reads the replies that have arrived, sends due retransmissions, handles timeouts and
    // calls the callbacks of finished requests; never waits. Returns the number of
    // callbacks called. Does nothing when called while it runs.
    int ProcessPendingEvents();

    // The sockets of the session, to watch for readability.
    std::vector<int> Sockets() const;
    // Changes whenever a socket is opened or closed.
    uint64_t SocketGeneration() const;
    // Called (outside ProcessPendingEvents as well) after a socket was opened or closed.
    void SetSocketsChangedHandler(std::function<void()> handler);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The engine-boots file: one line per engine, the engine ID in hexadecimal (two upper-case
// digits per byte), a blank and the counter in decimal. `fileName` is a native file name.
//
// GetBootCounter: 0 found (counter set); -1 the file holds no entry for the engine; -2 the
// file cannot be opened (it does not exist); -3 the file cannot be read, or its entry for the
// engine is damaged, or it holds no well-formed line at all (garbage). counter is 0 unless
// found. Lines of other engines are not checked.
int GetBootCounter(const std::string& fileName, const std::string& engineId, uint32_t& counter);
// SaveBootCounter: writes the engine's entry, keeping every other line as it was; the file is
// replaced atomically (a temporary file in the same directory is renamed over it). 0 saved;
// -3 the file exists but cannot be read (it is left alone); -4 the file cannot be written.
int SaveBootCounter(const std::string& fileName, const std::string& engineId, uint32_t counter);
