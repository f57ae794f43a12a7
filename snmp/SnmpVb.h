#pragma once
// Library-neutral SNMP values: the variable binding that the net-snmp adapter fills from
// a reply and sends in a request. Nothing here includes net-snmp.
#include <cstdint>
#include <string>
#include <vector>

using SnmpOid = std::vector<uint32_t>;

// Dotted text ("1.3.6.1") of an OID; the empty OID gives the empty text.
std::string OidToText(const SnmpOid& oid);
// Parses dotted text (an optional leading "." is allowed). Returns false for text that is
// not a dotted list of 32-bit sub-identifiers; `oid` is then left empty.
bool TextToOid(const std::string& text, SnmpOid& oid);

// ASN.1 tags of the SNMP types; they are also the module's syntax codes 2..6 and 64..70.
enum SnmpType : uint8_t {
    kAsnInteger = 0x02,
    kAsnBitString = 0x03,
    kAsnOctetString = 0x04,
    kAsnNull = 0x05,
    kAsnObjectId = 0x06,
    kAsnIpAddress = 0x40,
    kAsnCounter32 = 0x41,
    kAsnGauge32 = 0x42,
    kAsnTimeTicks = 0x43,
    kAsnOpaque = 0x44,
    kAsnNsapAddress = 0x45,
    kAsnCounter64 = 0x46,
    kAsnUInteger32 = 0x47,
    kAsnNoSuchObject = 0x80,
    kAsnNoSuchInstance = 0x81,
    kAsnEndOfMibView = 0x82,
};

struct SnmpVb {
    SnmpOid oid;
    uint8_t type = kAsnNull;
    // Integer types: INTEGER as signed, Counter32/Gauge32/TimeTicks/UInteger32 as unsigned
    // 32-bit, Counter64 as unsigned 64-bit.
    int64_t integer = 0;
    uint64_t counter64 = 0;
    // OCTET STRING, Opaque, BITS, IpAddress (4 octets in network order), NsapAddress.
    std::string octets;
    SnmpOid objectId;

    // A null value or one of the v2c exceptions: a binding without a printable value.
    bool IsEmpty() const {
        return type == kAsnNull || type == kAsnNoSuchObject || type == kAsnNoSuchInstance ||
               type == kAsnEndOfMibView;
    }
    bool IsException() const { return type >= kAsnNoSuchObject && type <= kAsnEndOfMibView; }

    void SetNull() {
        SnmpVb empty;
        empty.oid = std::move(oid);
        *this = std::move(empty);
    }
    void SetInteger(int32_t v) {
        Reset(kAsnInteger);
        integer = v;
    }
    void SetUnsigned(uint8_t asnType, uint32_t v) {
        Reset(asnType);
        integer = v;
    }
    void SetCounter64(uint64_t v) {
        Reset(kAsnCounter64);
        counter64 = v;
    }
    void SetOctets(uint8_t asnType, std::string bytes) {
        Reset(asnType);
        octets = std::move(bytes);
    }
    void SetObjectId(SnmpOid v) {
        Reset(kAsnObjectId);
        objectId = std::move(v);
    }

private:
    void Reset(uint8_t asnType) {
        SnmpOid keep = std::move(oid);
        *this = SnmpVb{};
        oid = std::move(keep);
        type = asnType;
    }
};
