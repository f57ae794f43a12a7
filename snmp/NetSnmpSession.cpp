// The net-snmp adapter behind SnmpSession. This is the only file that includes net-snmp.
//
// Layout: every socket is a net-snmp "single session" (snmp_sess_open), serviced only by this
// file; nothing else in the process pumps them. net-snmp callbacks never call user code:
// they record what happened as an Event, and the events are worked off afterwards, outside the
// library (ProcessEvents), so follow-up sends and user callbacks never run inside snmp_read.
#include "snmp/SnmpSession.h"

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/large_fd_set.h>
#include <net-snmp/library/snmpusm.h>
#include <net-snmp/library/snmpv3.h>
// clang-format on

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <unordered_map>

using namespace SnmpStatus;

namespace {

using Clock = std::chrono::steady_clock;

// ---------------------------------------------------------------------------------------------
// Library start-up

int DiscardLogLine(int, int, void*, void*) {
    return 1;
}

bool StartLibrary(const std::string& engineId) {
    static bool started = false;
    if (started) return true;
    started = true;
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_LOAD_HOST_FILES, 1);
    setenv("MIBS", "", 1);
    setenv("MIBDIRS", "", 1);
    // The library's log lines would otherwise reach stderr; the module reports by status.
    snmp_register_callback(SNMP_CALLBACK_LIBRARY, SNMP_CALLBACK_LOGGING, DiscardLogLine, nullptr);
    snmp_enable_calllog();
    // Verbatim: setup_engineID would turn the text into an RFC 3411 structured ID.
    set_exact_engineID(reinterpret_cast<const u_char*>(engineId.data()), engineId.size());
    init_snmp("ksv720e");
    return true;
}

// ---------------------------------------------------------------------------------------------
// Addresses

// RFC 1123 host name; a name whose last label is all digits is a malformed dotted address.
bool IsHostName(const std::string& name) {
    if (name.empty() || name.size() > 253) return false;
    size_t start = 0;
    bool lastAllDigits = false;
    while (start <= name.size()) {
        size_t end = name.find('.', start);
        if (end == std::string::npos) end = name.size();
        size_t len = end - start;
        if (len == 0 || len > 63) return false;
        if (name[start] == '-' || name[end - 1] == '-') return false;
        bool allDigits = true;
        for (size_t i = start; i < end; ++i) {
            unsigned char c = static_cast<unsigned char>(name[i]);
            bool digit = c >= '0' && c <= '9';
            if (!digit && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z') && c != '-')
                return false;
            if (!digit) allDigits = false;
        }
        lastAllDigits = allDigits;
        if (end == name.size()) break;
        start = end + 1;
    }
    return !lastAllDigits;
}

bool ResolveIPv4(const std::string& address, in_addr& out) {
    if (inet_pton(AF_INET, address.c_str(), &out) == 1) return true;
    if (!IsHostName(address)) return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* result = nullptr;
    if (getaddrinfo(address.c_str(), nullptr, &hints, &result) != 0 || result == nullptr)
        return false;
    out = reinterpret_cast<sockaddr_in*>(result->ai_addr)->sin_addr;
    freeaddrinfo(result);
    return true;
}

std::string DottedText(const in_addr& addr) {
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &addr, text, sizeof text);
    return text;
}

// ---------------------------------------------------------------------------------------------
// Statuses

int StatusOfLibraryError(int error) {
    switch (error) {
        case SNMPERR_SUCCESS:
            return kGeneralError;  // failed without saying why
        case SNMPERR_TIMEOUT:
            return kTimeout;
        case SNMPERR_BAD_ADDRESS:
            return kInvalidAddress;
        case SNMPERR_BAD_SENDTO:
        case SNMPERR_NO_SOCKET:
        case SNMPERR_BAD_RECVFROM:
            return kTransportFailed;
        case SNMPERR_BAD_VERSION:
        case SNMPERR_V2_IN_V1:
        case SNMPERR_V1_IN_V2:
            return kInvalidTarget;
        case SNMPERR_TOO_LONG:
        case SNMPERR_BAD_ASN1_BUILD:
        case SNMPERR_NO_VARS:
        case SNMPERR_VAR_TYPE:
            return kInvalidPdu;
        case SNMPERR_MALLOC:
            return kResourceUnavailable;
        case SNMPERR_BAD_CONTEXT:
            return kMpUnknownContext;
        case SNMPERR_UNKNOWN_SEC_MODEL:
            return kMpUnsupportedSecurityModel;
        case SNMPERR_INVALID_MSG:
            return kMpInvalidMessage;
        case SNMPERR_BAD_ENG_ID:
        case SNMPERR_UNKNOWN_ENG_ID:
        case SNMPERR_USM_UNKNOWNENGINEID:
            return kUsmUnknownEngineId;
        case SNMPERR_BAD_SEC_NAME:
        case SNMPERR_UNKNOWN_USER_NAME:
        case SNMPERR_USM_UNKNOWNSECURITYNAME:
            return kUsmUnknownSecurityName;
        case SNMPERR_BAD_SEC_LEVEL:
        case SNMPERR_UNSUPPORTED_SEC_LEVEL:
        case SNMPERR_USM_UNSUPPORTEDSECURITYLEVEL:
            return kUsmUnsupportedSecurityLevel;
        case SNMPERR_AUTHENTICATION_FAILURE:
        case SNMPERR_USM_AUTHENTICATIONFAILURE:
            return kUsmAuthenticationFailure;
        case SNMPERR_NOT_IN_TIME_WINDOW:
        case SNMPERR_USM_NOTINTIMEWINDOW:
            return kUsmNotInTimeWindow;
        case SNMPERR_DECRYPTION_ERR:
        case SNMPERR_USM_DECRYPTIONERROR:
            return kUsmDecryptionError;
        case SNMPERR_USM_ENCRYPTIONERROR:
            return kUsmEncryptionError;
        case SNMPERR_USM_PARSEERROR:
            return kUsmParseError;
        case SNMPERR_USM_GENERICERROR:
        case SNMPERR_SC_GENERAL_FAILURE:
        case SNMPERR_SC_NOT_CONFIGURED:
        case SNMPERR_KT_NOT_AVAILABLE:
            return kUsmError;
        default:
            return kGeneralError;
    }
}

// The status of an SNMPv3 report, from the counter it carries.
int StatusOfReport(const netsnmp_pdu* pdu) {
    struct Counter {
        oid prefix[10];
        size_t length;
        int status;
    };
    static const Counter kCounters[] = {
        {{1, 3, 6, 1, 6, 3, 15, 1, 1, 1}, 10, kUsmUnsupportedSecurityLevel},
        {{1, 3, 6, 1, 6, 3, 15, 1, 1, 2}, 10, kUsmNotInTimeWindow},
        {{1, 3, 6, 1, 6, 3, 15, 1, 1, 3}, 10, kUsmUnknownSecurityName},
        {{1, 3, 6, 1, 6, 3, 15, 1, 1, 4}, 10, kUsmUnknownEngineId},
        {{1, 3, 6, 1, 6, 3, 15, 1, 1, 5}, 10, kUsmAuthenticationFailure},
        {{1, 3, 6, 1, 6, 3, 15, 1, 1, 6}, 10, kUsmDecryptionError},
        {{1, 3, 6, 1, 6, 3, 11, 2, 1, 1}, 10, kMpUnsupportedSecurityModel},
        {{1, 3, 6, 1, 6, 3, 11, 2, 1, 2}, 10, kMpInvalidMessage},
        {{1, 3, 6, 1, 6, 3, 11, 2, 1, 3}, 10, kMpUnknownPduHandlers},
        {{1, 3, 6, 1, 6, 3, 12, 1, 4}, 9, kMpUnavailableContext},
        {{1, 3, 6, 1, 6, 3, 12, 1, 5}, 9, kMpUnknownContext},
    };
    const netsnmp_variable_list* vb = pdu ? pdu->variables : nullptr;
    if (vb == nullptr) return kUsmError;
    for (const Counter& c : kCounters) {
        if (vb->name_length >= c.length && std::equal(c.prefix, c.prefix + c.length, vb->name))
            return c.status;
    }
    return kUsmError;
}

// ---------------------------------------------------------------------------------------------
// Bindings

bool IsUnsignedType(uint8_t type) {
    return type == kAsnCounter32 || type == kAsnGauge32 || type == kAsnTimeTicks ||
           type == kAsnUInteger32;
}
bool IsOctetType(uint8_t type) {
    return type == kAsnOctetString || type == kAsnOpaque || type == kAsnBitString ||
           type == kAsnNsapAddress;
}

int CheckBinding(SnmpPduType pduType, const SnmpVb& vb) {
    if (vb.oid.empty() || vb.oid.size() > MAX_OID_LEN) return kInvalidOid;
    if (pduType != SnmpPduType::kSet) return kSuccess;
    switch (vb.type) {
        case kAsnInteger:
            return vb.integer >= INT32_MIN && vb.integer <= INT32_MAX ? kSuccess : kInvalidPdu;
        case kAsnCounter32:
        case kAsnGauge32:
        case kAsnTimeTicks:
        case kAsnUInteger32:
            return vb.integer >= 0 && vb.integer <= UINT32_MAX ? kSuccess : kInvalidPdu;
        case kAsnIpAddress:
            return vb.octets.size() == 4 ? kSuccess : kInvalidPdu;
        case kAsnObjectId:
            return !vb.objectId.empty() && vb.objectId.size() <= MAX_OID_LEN ? kSuccess
                                                                             : kInvalidPdu;
        case kAsnCounter64:
        case kAsnNull:
            return kSuccess;
        default:
            return IsOctetType(vb.type) ? kSuccess : kInvalidPdu;
    }
}

bool AddBinding(netsnmp_pdu* pdu, SnmpPduType pduType, const SnmpVb& vb) {
    std::vector<oid> name(vb.oid.begin(), vb.oid.end());
    netsnmp_variable_list* added = nullptr;
    if (pduType != SnmpPduType::kSet || vb.type == kAsnNull) {
        added = snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_NULL, nullptr, 0);
    } else if (vb.type == kAsnInteger) {
        long value = static_cast<long>(vb.integer);
        added =
            snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_INTEGER, &value, sizeof value);
    } else if (IsUnsignedType(vb.type)) {
        u_long value = static_cast<u_long>(vb.integer);
        added = snmp_pdu_add_variable(pdu, name.data(), name.size(), vb.type, &value, sizeof value);
    } else if (vb.type == kAsnCounter64) {
        counter64 value{static_cast<u_long>(vb.counter64 >> 32),
                        static_cast<u_long>(vb.counter64 & 0xFFFFFFFFu)};
        added = snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_COUNTER64, &value,
                                      sizeof value);
    } else if (vb.type == kAsnObjectId) {
        std::vector<oid> value(vb.objectId.begin(), vb.objectId.end());
        added = snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_OBJECT_ID, value.data(),
                                      value.size() * sizeof(oid));
    } else {  // octet string types and IpAddress
        static const char kEmpty[1] = {0};
        const char* data = vb.octets.empty() ? kEmpty : vb.octets.data();
        added =
            snmp_pdu_add_variable(pdu, name.data(), name.size(), vb.type, data, vb.octets.size());
    }
    return added != nullptr;
}

SnmpVb BindingOf(const netsnmp_variable_list* v) {
    SnmpVb vb;
    vb.oid.assign(v->name, v->name + v->name_length);
    const uint8_t type = v->type;
    switch (type) {
        case ASN_INTEGER:
            if (v->val.integer)
                vb.SetInteger(static_cast<int32_t>(*v->val.integer));
            else
                vb.type = type;
            break;
        case ASN_COUNTER:
        case ASN_GAUGE:
        case ASN_TIMETICKS:
        case ASN_UINTEGER:
            vb.SetUnsigned(type, v->val.integer ? static_cast<uint32_t>(*v->val.integer) : 0);
            break;
        case ASN_COUNTER64:
            vb.SetCounter64(
                v->val.counter64
                    ? (static_cast<uint64_t>(v->val.counter64->high & 0xFFFFFFFFu) << 32) |
                          (v->val.counter64->low & 0xFFFFFFFFu)
                    : 0);
            break;
        case ASN_OBJECT_ID:
            if (v->val.objid)
                vb.SetObjectId(SnmpOid(v->val.objid, v->val.objid + v->val_len / sizeof(oid)));
            else
                vb.SetObjectId({});
            break;
        case ASN_NULL:
        case SNMP_NOSUCHOBJECT:
        case SNMP_NOSUCHINSTANCE:
        case SNMP_ENDOFMIBVIEW:
            vb.type = type;
            break;
        default:  // octet strings, IpAddress and any other type: the value bytes as they are
            vb.SetOctets(type,
                         v->val.string && v->val_len
                             ? std::string(reinterpret_cast<const char*>(v->val.string), v->val_len)
                             : std::string());
            break;
    }
    return vb;
}

std::vector<SnmpVb> Echo(const std::vector<SnmpVb>& vbs) {
    std::vector<SnmpVb> echo;
    echo.reserve(vbs.size());
    for (const SnmpVb& vb : vbs) {
        echo.emplace_back();
        echo.back().oid = vb.oid;
    }
    return echo;
}

int PduCommand(SnmpPduType type) {
    switch (type) {
        case SnmpPduType::kGetNext:
            return SNMP_MSG_GETNEXT;
        case SnmpPduType::kSet:
            return SNMP_MSG_SET;
        default:
            return SNMP_MSG_GET;
    }
}

// ---------------------------------------------------------------------------------------------
// SNMPv3 protocols

struct Protocol {
    const oid* id;
    size_t length;
};

bool AuthProtocolOf(int code, Protocol& out) {
    switch (code) {
        case SnmpAuthProtocol::kMd5:
            out = {usmHMACMD5AuthProtocol, OID_LENGTH(usmHMACMD5AuthProtocol)};
            return true;
        case SnmpAuthProtocol::kSha:
            out = {usmHMACSHA1AuthProtocol, OID_LENGTH(usmHMACSHA1AuthProtocol)};
            return true;
        case SnmpAuthProtocol::kSha224:
            out = {usmHMAC128SHA224AuthProtocol, OID_LENGTH(usmHMAC128SHA224AuthProtocol)};
            return true;
        case SnmpAuthProtocol::kSha256:
            out = {usmHMAC192SHA256AuthProtocol, OID_LENGTH(usmHMAC192SHA256AuthProtocol)};
            return true;
        case SnmpAuthProtocol::kSha384:
            out = {usmHMAC256SHA384AuthProtocol, OID_LENGTH(usmHMAC256SHA384AuthProtocol)};
            return true;
        case SnmpAuthProtocol::kSha512:
            out = {usmHMAC384SHA512AuthProtocol, OID_LENGTH(usmHMAC384SHA512AuthProtocol)};
            return true;
        default:
            return false;
    }
}

bool PrivProtocolOf(int code, Protocol& out) {
    switch (code) {
#ifndef NETSNMP_DISABLE_DES
        case SnmpPrivProtocol::kDes:
            out = {usmDESPrivProtocol, OID_LENGTH(usmDESPrivProtocol)};
            return true;
#endif
        case SnmpPrivProtocol::kAes128:
            out = {usmAESPrivProtocol, OID_LENGTH(usmAESPrivProtocol)};
            return true;
#ifdef NETSNMP_DRAFT_BLUMENTHAL_AES_04
        case SnmpPrivProtocol::kAes192:
            out = {usmAES192PrivProtocol, OID_LENGTH(usmAES192PrivProtocol)};
            return true;
        case SnmpPrivProtocol::kAes256:
            out = {usmAES256PrivProtocol, OID_LENGTH(usmAES256PrivProtocol)};
            return true;
#endif
        default:
            return false;  // IDEA, 3DES and unknown codes
    }
}

constexpr size_t kMinPasswordLength = 8;  // the library's minimum

// Checks the SNMPv3 part of a target and gives the protocols its level uses.
int CheckSecurity(const SnmpTarget& t, Protocol& auth, Protocol& priv) {
    if (t.securityModel != kSnmpSecurityModelUsm) return kMpUnsupportedSecurityModel;
    if (t.securityName.empty()) return kUsmUnknownSecurityName;
    if (t.securityLevel < 1 || t.securityLevel > 3) return kUsmUnsupportedSecurityLevel;
    if (t.securityLevel >= 2) {
        if (t.authProtocol == SnmpAuthProtocol::kNone) return kUsmUnsupportedSecurityLevel;
        if (!AuthProtocolOf(t.authProtocol, auth)) return kUsmUnsupportedAuthProtocol;
        if (t.authPassword.size() < kMinPasswordLength) return kUsmAuthenticationError;
    }
    if (t.securityLevel == 3) {
        if (t.privProtocol == SnmpPrivProtocol::kNone) return kUsmUnsupportedSecurityLevel;
        if (!PrivProtocolOf(t.privProtocol, priv)) return kUsmUnsupportedPrivProtocol;
        if (t.privPassword.size() < kMinPasswordLength) return kUsmEncryptionError;
    }
    return kSuccess;
}

// Which credentials the library's cached SNMPv3 user of an (engine ID, name) was made from;
// the user list is one per process.
std::map<std::string, std::string>& CachedUserCredentials() {
    static std::map<std::string, std::string> credentials;
    return credentials;
}

void EnsureDiscoveryUser() {
    if (usm_get_user(nullptr, 0, "") != nullptr) return;
    usmUser* user = usm_create_user();  // no authentication, no privacy
    if (user == nullptr) return;
    user->name = strdup("");
    user->secName = strdup("");
    usm_add_user(user);
}

}  // namespace

// -------------------------------------------------------------------------------------------------

struct SnmpSession::Impl {
    enum class Engine { kUnknown, kDiscovering, kKnown };

    struct Channel {
        void* sessp = nullptr;
        netsnmp_session* ss = nullptr;
        int sock = -1;
        bool v3 = false;
        int retries = 0;
        std::string agentKey;  // SNMPv3: "address:port"
        std::string credKey;   // SNMPv3: the credentials
        std::string userName;  // SNMPv3
        int inFlight = 0;      // library requests (including discovery) not yet ended
        Engine engine = Engine::kUnknown;
        std::vector<int> waiting;  // requests waiting for the engine discovery
        bool superseded = false;   // newer credentials exist for the agent
    };

    struct Request {
        int id = 0;
        SnmpPduType type = SnmpPduType::kGet;
        SnmpTarget target;
        sockaddr_in address{};
        std::vector<SnmpVb> vbs;
        SnmpReplyCallback callback;
        bool sync = false;
        Channel* channel = nullptr;
        int ticket = 0;
        bool done = false;
        SnmpReply reply;
    };

    // One message handed to the library: a request's, or an engine discovery (requestId 0).
    struct Ticket {
        Channel* channel = nullptr;
        int requestId = 0;
        Clock::time_point deadline;
        int note = 0;  // status of a security error the library reported before the end
    };

    struct Event {
        int ticket = 0;
        Channel* channel = nullptr;
        int requestId = 0;
        int status = 0;
        int errorIndex = 0;
        bool response = false;
        std::vector<SnmpVb> vbs;
        std::string engineId;
    };

    int status = kTransportFailed;
    std::vector<std::unique_ptr<Channel>> channels;
    std::unordered_map<int, Request> requests;
    std::unordered_map<int, Ticket> tickets;
    std::deque<Event> events;
    std::deque<int> ready;  // finished asynchronous requests, in order
    int nextRequestId = 1;
    int nextTicket = 1;
    bool inStep = false;
    uint64_t socketGeneration = 0;
    std::function<void()> socketsChanged;

    ~Impl();

    // ----- channels

    void SocketsChanged() {
        ++socketGeneration;
        if (socketsChanged) socketsChanged();
    }

    Channel* AddChannel(void* sessp, bool v3, int retries) {
        auto ch = std::make_unique<Channel>();
        ch->sessp = sessp;
        ch->ss = snmp_sess_session(sessp);
        ch->ss->myvoid = this;
        netsnmp_transport* transport = snmp_sess_transport(sessp);
        ch->sock = transport ? transport->sock : -1;
        ch->v3 = v3;
        ch->retries = retries;
        channels.push_back(std::move(ch));
        SocketsChanged();
        return channels.back().get();
    }

    void CloseChannel(Channel* ch) {
        ch->ss->myvoid = nullptr;  // closing may report outstanding requests: ignore them
        snmp_sess_close(ch->sessp);
        std::erase_if(channels, [ch](const std::unique_ptr<Channel>& c) { return c.get() == ch; });
        SocketsChanged();
    }

    // The shared SNMPv1/v2c socket for a retry count (the library reads the retries from the
    // session, so each count has its own; in practice there is one).
    Channel* CommunityChannel(int retries) {
        for (auto& ch : channels)
            if (!ch->v3 && ch->retries == retries) return ch.get();
        netsnmp_session s;
        snmp_sess_init(&s);
        char peer[] = "udp:127.0.0.1:161";  // every message names its own destination
        s.peername = peer;
        s.retries = retries;
        s.timeout = 1000000;
        void* sessp = snmp_sess_open(&s);
        if (sessp == nullptr) return nullptr;
        return AddChannel(sessp, false, retries);
    }

    static std::string CredentialsKey(const SnmpTarget& t) {
        std::string key;
        auto add = [&key](const std::string& part) {
            key += std::to_string(part.size());
            key += ':';
            key += part;
        };
        add(t.securityName);
        add(std::to_string(t.securityLevel));
        if (t.securityLevel >= 2) {
            add(std::to_string(t.authProtocol));
            add(t.authPassword);
        }
        if (t.securityLevel == 3) {
            add(std::to_string(t.privProtocol));
            add(t.privPassword);
        }
        return key;
    }

    int UserChannel(const SnmpTarget& t, const sockaddr_in& addr, const Protocol& auth,
                    const Protocol& priv, Channel*& out) {
        const std::string agentKey =
            DottedText(addr.sin_addr) + ":" + std::to_string(ntohs(addr.sin_port));
        const std::string credKey = CredentialsKey(t);
        const int retries = std::max(0, t.retries);
        out = nullptr;
        for (auto& ch : channels) {
            if (ch->v3 && ch->agentKey == agentKey && ch->credKey == credKey &&
                ch->retries == retries)
                out = ch.get();
        }
        if (out == nullptr) {
            netsnmp_session s;
            snmp_sess_init(&s);
            std::string peer = "udp:" + agentKey;
            std::string name = t.securityName;
            s.peername = peer.data();
            s.version = SNMP_VERSION_3;
            s.securityModel = SNMP_SEC_MODEL_USM;
            s.securityName = name.data();
            s.securityNameLen = name.size();
            s.securityLevel = t.securityLevel;
            s.retries = retries;
            s.timeout = 1000000;
            s.flags |= SNMP_FLAGS_DONT_PROBE;
            if (t.securityLevel >= 2) {
                s.securityAuthProto = const_cast<oid*>(auth.id);
                s.securityAuthProtoLen = auth.length;
                s.securityAuthKeyLen = USM_AUTH_KU_LEN;
                if (generate_Ku(auth.id, auth.length,
                                reinterpret_cast<const u_char*>(t.authPassword.data()),
                                t.authPassword.size(), s.securityAuthKey,
                                &s.securityAuthKeyLen) != SNMPERR_SUCCESS)
                    return kUsmAuthenticationError;
            }
            if (t.securityLevel == 3) {
                s.securityPrivProto = const_cast<oid*>(priv.id);
                s.securityPrivProtoLen = priv.length;
                s.securityPrivKeyLen = USM_PRIV_KU_LEN;
                // The privacy key is made with the authentication hash.
                if (generate_Ku(auth.id, auth.length,
                                reinterpret_cast<const u_char*>(t.privPassword.data()),
                                t.privPassword.size(), s.securityPrivKey,
                                &s.securityPrivKeyLen) != SNMPERR_SUCCESS)
                    return kUsmEncryptionError;
            }
            void* sessp = snmp_sess_open(&s);
            if (sessp == nullptr) return kTransportFailed;
            out = AddChannel(sessp, true, retries);
            out->ss->flags |= SNMP_FLAGS_DONT_PROBE;
            out->agentKey = agentKey;
            out->credKey = credKey;
            out->userName = t.securityName;
        }
        // Only the newest credentials of an agent stay open; the others close once idle.
        for (auto& ch : channels)
            if (ch->v3 && ch->agentKey == agentKey) ch->superseded = ch.get() != out;
        return kSuccess;
    }

    void CloseIdleChannels() {
        std::vector<Channel*> idle;
        for (auto& ch : channels) {
            if (ch->v3 && ch->superseded && ch->inFlight == 0 && ch->waiting.empty() &&
                ch->engine != Engine::kDiscovering)
                idle.push_back(ch.get());
        }
        for (Channel* ch : idle) CloseChannel(ch);
    }

    // Makes the library's cached user of the channel's (engine ID, name) the channel's own:
    // the library would otherwise go on using the keys of whichever session came first.
    void EnsureUser(Channel* ch) {
        netsnmp_session* ss = ch->ss;
        std::string cacheKey(reinterpret_cast<const char*>(ss->securityEngineID),
                             ss->securityEngineIDLen);
        cacheKey += '\0';
        cacheKey += ch->userName;
        auto& cached = CachedUserCredentials();
        auto it = cached.find(cacheKey);
        if (it != cached.end() && it->second == ch->credKey) return;
        if (usmUser* user =
                usm_get_user(ss->securityEngineID, ss->securityEngineIDLen, ch->userName.c_str())) {
            usm_remove_user(user);
            usm_free_user(user);
        }
        ss->flags &= ~static_cast<u_long>(SNMP_FLAGS_USER_CREATED);
        usm_create_user_from_session(ss);
        cached[cacheKey] = ch->credKey;
    }

    // ----- sending

    static long Microseconds(const SnmpTarget& t) {
        return static_cast<long>(std::max(1, t.timeout)) * 10000L;
    }
    static Clock::duration Lifetime(const SnmpTarget& t) {
        // About timeout x (retries + 1); the margin only matters if the library loses a request.
        return std::chrono::microseconds(Microseconds(t) * (std::max(0, t.retries) + 1)) +
               std::chrono::seconds(3);
    }

    int LastError(Channel* ch) {
        int sysErr = 0, snmpErr = 0;
        char* text = nullptr;
        snmp_sess_error(ch->sessp, &sysErr, &snmpErr, &text);
        free(text);
        return snmpErr;
    }

    // Hands a PDU to the library. On failure the PDU is freed and the status returned; an
    // end the library may already have reported through the callback is withdrawn, so the
    // failure is reported once.
    int Send(Channel* ch, netsnmp_pdu* pdu, int requestId, const SnmpTarget& t, int& ticketOut) {
        const int ticket = nextTicket++;
        if (nextTicket <= 0) nextTicket = 1;
        tickets[ticket] = Ticket{ch, requestId, Clock::now() + Lifetime(t), 0};
        ++ch->inFlight;
        ch->ss->timeout = Microseconds(t);
        if (snmp_sess_async_send(ch->sessp, pdu, &Impl::LibraryCallback,
                                 reinterpret_cast<void*>(static_cast<intptr_t>(ticket))) == 0) {
            const int status = StatusOfLibraryError(LastError(ch));
            snmp_free_pdu(pdu);
            if (tickets.erase(ticket) != 0) --ch->inFlight;
            std::erase_if(events, [ticket](const Event& e) { return e.ticket == ticket; });
            return status;
        }
        ticketOut = ticket;
        return kSuccess;
    }

    int SendRequest(Request& req) {
        Channel* ch = req.channel;
        netsnmp_pdu* pdu = snmp_pdu_create(PduCommand(req.type));
        if (pdu == nullptr) return kResourceUnavailable;
        for (const SnmpVb& vb : req.vbs) {
            if (!AddBinding(pdu, req.type, vb)) {
                snmp_free_pdu(pdu);
                return kResourceUnavailable;
            }
        }
        const SnmpTarget& t = req.target;
        if (!ch->v3) {
            pdu->version = t.version == 0 ? SNMP_VERSION_1 : SNMP_VERSION_2c;
            pdu->community = static_cast<u_char*>(malloc(t.community.size() + 1));
            auto* dest = static_cast<netsnmp_indexed_addr_pair*>(
                calloc(1, sizeof(netsnmp_indexed_addr_pair)));
            if (pdu->community == nullptr || dest == nullptr) {
                free(dest);
                snmp_free_pdu(pdu);
                return kResourceUnavailable;
            }
            memcpy(pdu->community, t.community.data(), t.community.size());
            pdu->community[t.community.size()] = 0;
            pdu->community_len = t.community.size();
            dest->remote_addr.sin = req.address;
            pdu->transport_data = dest;
            pdu->transport_data_length = sizeof(netsnmp_indexed_addr_pair);
        } else {
            EnsureUser(ch);
            pdu->version = SNMP_VERSION_3;
            pdu->securityModel = SNMP_SEC_MODEL_USM;
            pdu->securityLevel = t.securityLevel;
            if (!t.contextName.empty()) {
                pdu->contextName = static_cast<char*>(malloc(t.contextName.size() + 1));
                if (pdu->contextName == nullptr) {
                    snmp_free_pdu(pdu);
                    return kResourceUnavailable;
                }
                memcpy(pdu->contextName, t.contextName.data(), t.contextName.size());
                pdu->contextName[t.contextName.size()] = 0;
                pdu->contextNameLen = t.contextName.size();
            }
            if (!t.contextEngineID.empty()) {
                pdu->contextEngineID = static_cast<u_char*>(malloc(t.contextEngineID.size()));
                if (pdu->contextEngineID == nullptr) {
                    snmp_free_pdu(pdu);
                    return kResourceUnavailable;
                }
                memcpy(pdu->contextEngineID, t.contextEngineID.data(), t.contextEngineID.size());
                pdu->contextEngineIDLen = t.contextEngineID.size();
            }
        }
        return Send(ch, pdu, req.id, t, req.ticket);
    }

    // Sends an empty request with the empty user: the agent's report carries its engine ID.
    int StartDiscovery(Channel* ch, const SnmpTarget& t) {
        EnsureDiscoveryUser();
        netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
        if (pdu == nullptr) return kResourceUnavailable;
        pdu->version = SNMP_VERSION_3;
        pdu->securityName = strdup("");
        pdu->securityNameLen = 0;
        pdu->securityLevel = SNMP_SEC_LEVEL_NOAUTH;
        pdu->securityModel = SNMP_SEC_MODEL_USM;
        int ticket = 0;
        const int status = Send(ch, pdu, 0, t, ticket);
        if (status == kSuccess) ch->engine = Engine::kDiscovering;
        return status;
    }

    int Submit(SnmpPduType type, const SnmpTarget& t, const std::vector<SnmpVb>& vbs,
               SnmpReplyCallback callback, bool sync, int& id) {
        if (status != kSuccess) return status;
        if (!sync && !callback) return kInvalidCallback;
        if (t.version != 0 && t.version != 1 && t.version != 3) return kInvalidTarget;
        if (vbs.empty()) return kInvalidPdu;
        for (const SnmpVb& vb : vbs)
            if (int st = CheckBinding(type, vb)) return st;
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(t.port);
        if (t.port == 0 || !ResolveIPv4(t.address, addr.sin_addr)) return kInvalidAddress;

        Channel* ch = nullptr;
        if (t.version == 3) {
            Protocol auth{}, priv{};
            if (int st = CheckSecurity(t, auth, priv)) return st;
            if (int st = UserChannel(t, addr, auth, priv, ch)) return st;
        } else {
            ch = CommunityChannel(std::max(0, t.retries));
            if (ch == nullptr) return kTransportFailed;
        }

        id = nextRequestId++;
        if (nextRequestId <= 0) nextRequestId = 1;
        Request& req = requests[id];
        req.id = id;
        req.type = type;
        req.target = t;
        req.address = addr;
        req.vbs = vbs;
        req.callback = std::move(callback);
        req.sync = sync;
        req.channel = ch;

        int st = kSuccess;
        if (ch->v3 && ch->engine != Engine::kKnown) {
            if (ch->engine == Engine::kUnknown) st = StartDiscovery(ch, t);
            if (st == kSuccess) ch->waiting.push_back(id);
        } else {
            st = SendRequest(req);
        }
        if (st != kSuccess) requests.erase(id);
        return st;
    }

    // ----- outcomes

    void Complete(Request& req, int st, int errorIndex, std::vector<SnmpVb> vbs) {
        req.ticket = 0;
        req.done = true;
        req.reply.status = st;
        req.reply.errorIndex = errorIndex;
        req.reply.vbs = std::move(vbs);
        req.reply.agentAddress = DottedText(req.address.sin_addr);
        req.reply.agentPort = ntohs(req.address.sin_port);
        req.reply.requestId = req.id;
        if (!req.sync) ready.push_back(req.id);
    }

    static int LibraryCallback(int op, netsnmp_session* ss, int, netsnmp_pdu* pdu, void* magic) {
        if (ss != nullptr && ss->myvoid != nullptr)
            static_cast<Impl*>(ss->myvoid)
                ->OnLibraryEvent(op, static_cast<int>(reinterpret_cast<intptr_t>(magic)), pdu);
        return 1;
    }

    void OnLibraryEvent(int op, int ticketId, netsnmp_pdu* pdu) {
        auto it = tickets.find(ticketId);
        if (it == tickets.end()) return;  // already ended (or given up)
        Ticket& ticket = it->second;
        Event ev;
        switch (op) {
            case NETSNMP_CALLBACK_OP_SEC_ERROR:
                // A note: the library goes on to deliver the report (or a timeout).
                ticket.note =
                    pdu && pdu->command == SNMP_MSG_REPORT ? StatusOfReport(pdu) : kUsmError;
                return;
            case NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE:
                if (pdu == nullptr) return;
                if (pdu->securityEngineIDLen)
                    ev.engineId.assign(reinterpret_cast<const char*>(pdu->securityEngineID),
                                       pdu->securityEngineIDLen);
                if (pdu->command == SNMP_MSG_REPORT) {
                    ev.status = StatusOfReport(pdu);
                } else if (pdu->command == SNMP_MSG_RESPONSE) {
                    ev.status = static_cast<int>(pdu->errstat);
                    ev.errorIndex = static_cast<int>(pdu->errindex);
                    ev.response = true;
                    for (auto* v = pdu->variables; v; v = v->next_variable)
                        ev.vbs.push_back(BindingOf(v));
                } else {
                    ev.status = kGeneralError;
                }
                break;
            case NETSNMP_CALLBACK_OP_TIMED_OUT:
                ev.status = ticket.note ? ticket.note : kTimeout;
                break;
            case NETSNMP_CALLBACK_OP_SEND_FAILED:
                ev.status = ticket.note ? ticket.note
                                        : StatusOfLibraryError(ticket.channel->ss->s_snmp_errno);
                break;
            default:
                return;  // RESEND and connection notes
        }
        EndTicket(it, std::move(ev));
    }

    void EndTicket(std::unordered_map<int, Ticket>::iterator it, Event ev) {
        ev.ticket = it->first;
        ev.channel = it->second.channel;
        ev.requestId = it->second.requestId;
        --ev.channel->inFlight;
        tickets.erase(it);
        events.push_back(std::move(ev));
    }

    // Requests the library should have ended by now (it never does this on its own).
    void CheckDeadlines() {
        const auto now = Clock::now();
        for (auto it = tickets.begin(); it != tickets.end();) {
            auto next = std::next(it);
            if (it->second.deadline <= now) {
                Event ev;
                ev.status = it->second.note ? it->second.note : kTimeout;
                EndTicket(it, std::move(ev));
            }
            it = next;
        }
    }

    void FinishDiscovery(Event& ev) {
        Channel* ch = ev.channel;
        netsnmp_session* ss = ch->ss;
        if (ss->securityEngineIDLen == 0 && !ev.engineId.empty()) {
            ss->securityEngineID = static_cast<u_char*>(malloc(ev.engineId.size()));
            if (ss->securityEngineID != nullptr) {
                memcpy(ss->securityEngineID, ev.engineId.data(), ev.engineId.size());
                ss->securityEngineIDLen = ev.engineId.size();
            }
        }
        std::vector<int> waiting;
        waiting.swap(ch->waiting);
        const bool known = ss->securityEngineIDLen != 0;
        ch->engine = known ? Engine::kKnown : Engine::kUnknown;
        for (int id : waiting) {
            auto it = requests.find(id);
            if (it == requests.end()) continue;  // cancelled meanwhile
            Request& req = it->second;
            int st = known ? SendRequest(req)
                           : (ev.status != kSuccess ? ev.status : kUsmUnknownEngineId);
            if (st != kSuccess) Complete(req, st, 0, Echo(req.vbs));
        }
    }

    void FinishRequest(Event& ev) {
        if ((ev.status == kUsmUnknownEngineId || ev.status == kTimeout) && ev.channel->v3) {
            // The agent may have been replaced by one with another engine ID, whose answers
            // the library drops: the next request discovers the engine ID again.
            netsnmp_session* ss = ev.channel->ss;
            free(ss->securityEngineID);
            ss->securityEngineID = nullptr;
            ss->securityEngineIDLen = 0;
            if (ev.channel->engine == Engine::kKnown) ev.channel->engine = Engine::kUnknown;
        }
        auto it = requests.find(ev.requestId);
        if (it == requests.end() || it->second.ticket != ev.ticket) return;  // cancelled
        Request& req = it->second;
        Complete(req, ev.status, ev.errorIndex, ev.response ? std::move(ev.vbs) : Echo(req.vbs));
    }

    void ProcessEvents() {
        while (!events.empty()) {
            Event ev = std::move(events.front());
            events.pop_front();
            if (ev.requestId == 0)
                FinishDiscovery(ev);
            else
                FinishRequest(ev);
        }
    }

    // ----- servicing the sockets

    static void ReadSocket(Channel* ch) {
        netsnmp_large_fd_set fds;
        netsnmp_large_fd_set_init(&fds, ch->sock + 1);
        NETSNMP_LARGE_FD_SET(ch->sock, &fds);
        snmp_sess_read2(ch->sessp, &fds);
        netsnmp_large_fd_set_cleanup(&fds);
    }

    // Reads every datagram that has arrived (waiting up to waitMs for the first), then lets
    // the library resend and time out what is due.
    void Service(int waitMs) {
        std::vector<pollfd> fds;
        std::vector<Channel*> watched;
        for (auto& ch : channels) {
            if (ch->sock < 0) continue;
            fds.push_back(pollfd{ch->sock, POLLIN, 0});
            watched.push_back(ch.get());
        }
        if (!fds.empty() && poll(fds.data(), fds.size(), waitMs) > 0) {
            for (size_t i = 0; i < fds.size(); ++i) {
                if (!(fds[i].revents & (POLLIN | POLLERR))) continue;
                Channel* ch = watched[i];
                // One datagram per read; bounded so that a flood cannot hold the caller.
                for (int n = 0; n < 1000; ++n) {
                    ReadSocket(ch);
                    pollfd again{ch->sock, POLLIN, 0};
                    if (poll(&again, 1, 0) <= 0 || !(again.revents & POLLIN)) break;
                }
            }
        }
        for (auto& ch : channels) snmp_sess_timeout(ch->sessp);
        CheckDeadlines();
    }

    SnmpReply Wait(int id) {
        const auto deadline = Clock::now() + 2 * Lifetime(requests.at(id).target);
        for (;;) {
            Request& req = requests.at(id);
            if (req.done) break;
            const auto now = Clock::now();
            if (now >= deadline) {
                if (auto t = tickets.find(req.ticket); t != tickets.end()) {
                    --t->second.channel->inFlight;
                    tickets.erase(t);
                }
                Complete(req, kTimeout, 0, Echo(req.vbs));
                break;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
            Service(static_cast<int>(std::clamp<long long>(left, 1, 10)));
            ProcessEvents();
        }
        SnmpReply reply = std::move(requests.at(id).reply);
        requests.erase(id);
        return reply;
    }
};

SnmpSession::Impl::~Impl() {
    while (!channels.empty()) CloseChannel(channels.back().get());
    socketsChanged = nullptr;
}

// -------------------------------------------------------------------------------------------------

SnmpSession::SnmpSession(const std::string& localEngineId) : impl_(std::make_unique<Impl>()) {
    StartLibrary(localEngineId);
    impl_->status = impl_->CommunityChannel(1) ? kSuccess : kTransportFailed;
}

SnmpSession::~SnmpSession() {
    std::vector<std::pair<int, SnmpReplyCallback>> outstanding;
    for (auto& [id, req] : impl_->requests)
        if (!req.sync && req.callback) outstanding.emplace_back(id, std::move(req.callback));
    std::sort(outstanding.begin(), outstanding.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<SnmpReply> replies;
    for (auto& [id, cb] : outstanding) {
        const Impl::Request& req = impl_->requests.at(id);
        SnmpReply reply;
        reply.status = kSessionClosed;
        reply.vbs = Echo(req.vbs);
        reply.agentAddress = DottedText(req.address.sin_addr);
        reply.agentPort = ntohs(req.address.sin_port);
        reply.requestId = id;
        replies.push_back(std::move(reply));
    }
    impl_.reset();
    for (size_t i = 0; i < outstanding.size(); ++i) outstanding[i].second(replies[i]);
}

int SnmpSession::Status() const {
    return impl_->status;
}

std::string SnmpSession::LocalEngineId() const {
    u_char buf[64] = {};
    size_t len = snmpv3_get_engineID(buf, sizeof buf);
    return std::string(reinterpret_cast<const char*>(buf), len);
}

void SnmpSession::SetEngineBoots(uint32_t boots) {
    // The library stores the configured value plus one.
    std::string value = std::to_string(static_cast<int64_t>(boots) - 1);
    engineBoots_conf("engineBoots", value.data());
}

uint32_t SnmpSession::EngineBoots() const {
    return static_cast<uint32_t>(snmpv3_local_snmpEngineBoots());
}

bool SnmpSession::CheckAddress(const std::string& address) {
    in_addr addr{};
    return ResolveIPv4(address, addr);
}

SnmpReply SnmpSession::Get(const SnmpTarget& t, const std::vector<SnmpVb>& vbs) {
    return Request(SnmpPduType::kGet, t, vbs);
}
SnmpReply SnmpSession::GetNext(const SnmpTarget& t, const std::vector<SnmpVb>& vbs) {
    return Request(SnmpPduType::kGetNext, t, vbs);
}
SnmpReply SnmpSession::Set(const SnmpTarget& t, const std::vector<SnmpVb>& vbs) {
    return Request(SnmpPduType::kSet, t, vbs);
}

SnmpReply SnmpSession::Request(SnmpPduType type, const SnmpTarget& t,
                               const std::vector<SnmpVb>& vbs) {
    int id = 0;
    const int st = impl_->Submit(type, t, vbs, nullptr, true, id);
    if (st == kSuccess) return impl_->Wait(id);
    SnmpReply reply;
    reply.status = st;
    reply.vbs = Echo(vbs);
    in_addr addr{};
    if (t.port != 0 && ResolveIPv4(t.address, addr)) {
        reply.agentAddress = DottedText(addr);
        reply.agentPort = t.port;
    }
    return reply;
}

int SnmpSession::GetAsync(const SnmpTarget& t, const std::vector<SnmpVb>& vbs, SnmpReplyCallback cb,
                          int* requestId) {
    return RequestAsync(SnmpPduType::kGet, t, vbs, std::move(cb), requestId);
}
int SnmpSession::GetNextAsync(const SnmpTarget& t, const std::vector<SnmpVb>& vbs,
                              SnmpReplyCallback cb, int* requestId) {
    return RequestAsync(SnmpPduType::kGetNext, t, vbs, std::move(cb), requestId);
}
int SnmpSession::SetAsync(const SnmpTarget& t, const std::vector<SnmpVb>& vbs, SnmpReplyCallback cb,
                          int* requestId) {
    return RequestAsync(SnmpPduType::kSet, t, vbs, std::move(cb), requestId);
}

int SnmpSession::RequestAsync(SnmpPduType type, const SnmpTarget& t, const std::vector<SnmpVb>& vbs,
                              SnmpReplyCallback cb, int* requestId) {
    int id = 0;
    const int st = impl_->Submit(type, t, vbs, std::move(cb), false, id);
    if (requestId) *requestId = st == kSuccess ? id : 0;
    return st;
}

bool SnmpSession::Cancel(int requestId) {
    auto it = impl_->requests.find(requestId);
    if (it == impl_->requests.end() || it->second.sync) return false;
    impl_->requests.erase(it);
    std::erase(impl_->ready, requestId);
    return true;
}

int SnmpSession::PendingCount() const {
    int n = 0;
    for (const auto& [id, req] : impl_->requests)
        if (!req.sync) ++n;
    return n;
}

int SnmpSession::ProcessPendingEvents() {
    Impl& d = *impl_;
    if (d.inStep) return 0;
    d.inStep = true;
    struct Leave {
        bool& flag;
        ~Leave() { flag = false; }
    } leave{d.inStep};

    d.Service(0);
    d.ProcessEvents();
    d.CloseIdleChannels();
    int delivered = 0;
    while (!d.ready.empty()) {
        const int id = d.ready.front();
        d.ready.pop_front();
        auto it = d.requests.find(id);
        if (it == d.requests.end()) continue;
        SnmpReplyCallback cb = std::move(it->second.callback);
        SnmpReply reply = std::move(it->second.reply);
        d.requests.erase(it);
        ++delivered;
        // A callback that throws leaves the other finished requests for the next call.
        cb(reply);
    }
    return delivered;
}

std::vector<int> SnmpSession::Sockets() const {
    std::vector<int> sockets;
    for (const auto& ch : impl_->channels)
        if (ch->sock >= 0) sockets.push_back(ch->sock);
    return sockets;
}

uint64_t SnmpSession::SocketGeneration() const {
    return impl_->socketGeneration;
}

void SnmpSession::SetSocketsChangedHandler(std::function<void()> handler) {
    impl_->socketsChanged = std::move(handler);
}
