// A minimal SNMP message codec and UDP exchange for the test agent: enough BER to build v1/v2c
// get/get-next/set requests and responses, read them back, and discover an SNMPv3 engine. It
// exists so that the fixture can probe and prime snmpd and script odd replies without depending
// on the module's own SNMP code or on net-snmp.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testagent {

// BER tags of the values and PDUs used here.
namespace tag {
inline constexpr uint8_t kInteger = 0x02;
inline constexpr uint8_t kOctetString = 0x04;
inline constexpr uint8_t kNull = 0x05;
inline constexpr uint8_t kObjectId = 0x06;
inline constexpr uint8_t kSequence = 0x30;
inline constexpr uint8_t kIpAddress = 0x40;
inline constexpr uint8_t kCounter32 = 0x41;
inline constexpr uint8_t kGauge32 = 0x42;
inline constexpr uint8_t kTimeTicks = 0x43;
inline constexpr uint8_t kOpaque = 0x44;
inline constexpr uint8_t kCounter64 = 0x46;
inline constexpr uint8_t kNoSuchObject = 0x80;
inline constexpr uint8_t kNoSuchInstance = 0x81;
inline constexpr uint8_t kEndOfMibView = 0x82;
inline constexpr uint8_t kGetRequest = 0xA0;
inline constexpr uint8_t kGetNextRequest = 0xA1;
inline constexpr uint8_t kResponse = 0xA2;
inline constexpr uint8_t kSetRequest = 0xA3;
inline constexpr uint8_t kGetBulkRequest = 0xA5;
inline constexpr uint8_t kReport = 0xA8;
}  // namespace tag

inline constexpr long kVersion1 = 0;
inline constexpr long kVersion2c = 1;

// One variable binding. `value` holds the content octets of the value exactly as on the wire
// (for an INTEGER its two's complement bytes, for an OCTET STRING the string itself).
struct VarBind {
    std::string oid;  // dotted, without a leading dot
    uint8_t type = tag::kNull;
    std::string value;

    static VarBind Null(std::string oid) { return {std::move(oid), tag::kNull, {}}; }
    static VarBind Octets(std::string oid, std::string bytes) {
        return {std::move(oid), tag::kOctetString, std::move(bytes)};
    }
    static VarBind Integer(std::string oid, long value);
    // The value read as a signed INTEGER (only meaningful for integer-like types).
    long AsInteger() const;
};

// A v1/v2c message with a PDU of the classic shape (request-id, error status, error index).
// For a get-bulk PDU the two numbers are non-repeaters and max-repetitions.
struct Message {
    long version = kVersion2c;
    std::string community = "public";
    uint8_t pduType = tag::kGetRequest;
    long requestId = 0;
    long errorStatus = 0;
    long errorIndex = 0;
    std::vector<VarBind> bindings;
};

std::string EncodeMessage(const Message& message);
// Reads a v1/v2c message; std::nullopt for anything malformed, truncated or of another version.
std::optional<Message> DecodeMessage(std::string_view datagram);
// The request-id of a v1/v2c message, read with as little parsing as possible.
std::optional<long> PeekRequestId(std::string_view datagram);

// Encodes / decodes a dotted OID ("1.3.6.1" or ".1.3.6.1"); throws std::invalid_argument for text
// that is not an OID.
std::string EncodeOidContent(std::string_view dotted);
std::optional<std::string> DecodeOidContent(std::string_view content);

// Sends one datagram to address:port from a fresh socket and returns the first reply, or
// std::nullopt when none arrives within timeoutMs.
std::optional<std::string> Exchange(const std::string& address, uint16_t port,
                                    const std::string& datagram, int timeoutMs);

// Sends `request` (its request-id is replaced by a fresh one) and decodes the matching reply.
std::optional<Message> Query(const std::string& address, uint16_t port, Message request,
                             int timeoutMs = 2000);

// The authoritative engine of an SNMPv3 agent, learnt from the report to an empty request.
struct EngineInfo {
    std::string idHex;  // lower-case hex, two digits per octet
    long boots = 0;
    long time = 0;
};
std::optional<EngineInfo> DiscoverEngine(const std::string& address, uint16_t port,
                                         int timeoutMs = 2000);

std::string ToHex(std::string_view bytes);

}  // namespace testagent
