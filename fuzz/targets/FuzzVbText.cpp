// VbToText / TextToVb over every syntax code with bindings of every type: nothing is read
// beyond a value, and after one round a value text stays the same.
#include "../FuzzSupport.h"
#include "platform/Exception.h"
#include "snmp/HvSNMPRequest.h"

namespace {

constexpr uint8_t kTypes[] = {
    kAsnInteger,    kAsnBitString,    kAsnOctetString,    kAsnNull,
    kAsnObjectId,   kAsnIpAddress,    kAsnCounter32,      kAsnGauge32,
    kAsnTimeTicks,  kAsnOpaque,       kAsnNsapAddress,    kAsnCounter64,
    kAsnUInteger32, kAsnNoSuchObject, kAsnNoSuchInstance, kAsnEndOfMibView};

bool IsExpected(const Exception& e) {
    // -511 unknown syntax, -518 a text that is no OID; a bcdatetime text the platform
    // cannot read.
    return e.HelpContext() == -511 || e.HelpContext() == -518 ||
           dynamic_cast<const EConvertError*>(&e) != nullptr;
}

}  // namespace

int FuzzVbText(const uint8_t* data, size_t size) {
    static HvSNMPRequest request;
    FuzzInput in(data, size);
    const int32_t syntax = FuzzSyntax(in.Byte());
    const uint8_t type = kTypes[in.Byte() % sizeof kTypes];
    const std::string payload = in.Rest();

    SnmpVb vb;
    vb.oid = {1, 3, 6, 1};
    uint64_t number = 0;
    for (size_t i = 0; i < payload.size() && i < 8; ++i)
        number = number << 8 | static_cast<unsigned char>(payload[i]);
    switch (type) {
        case kAsnInteger:
            vb.SetInteger(static_cast<int32_t>(number));
            break;
        case kAsnCounter32:
        case kAsnGauge32:
        case kAsnTimeTicks:
        case kAsnUInteger32:
            vb.SetUnsigned(type, static_cast<uint32_t>(number));
            break;
        case kAsnCounter64:
            vb.SetCounter64(number);
            break;
        case kAsnObjectId: {
            SnmpOid oid;
            for (unsigned char c : payload) oid.push_back(c * 16777259u);
            vb.SetObjectId(oid);
            break;
        }
        case kAsnNull:
        case kAsnNoSuchObject:
        case kAsnNoSuchInstance:
        case kAsnEndOfMibView:
            vb.type = type;
            break;
        default:
            vb.SetOctets(type, payload);
    }

    const SnmpVarDef defs[] = {{"1.3.6.1", "v", syntax, ACCESS_READWRITE, nullptr, nullptr, nullptr,
                                nullptr, nullptr, nullptr},
                               {}};
    request.SetList(HvSNMPVarList(defs, SVT_SV, 0));
    std::string& value = request.List().Item(0).value;
    try {
        request.VbToText(0, vb);
    } catch (const Exception& e) {
        FUZZ_CHECK(IsExpected(e));
        return 0;
    }
    // Text to binding and back; from then on the text is a fixed point. An address text
    // that is no address is sent as 255.255.255.255, and a value of another length than 4
    // octets is shown by its first octets, which read back as no address: such texts settle
    // after a second round.
    const bool address =
        syntax == SYNTAX_IPADDRESS || syntax == SYNTAX_NSAPADDR || syntax == SYNTAX_INETADDRESS;
    auto settle = [&](const std::string& text) {
        try {
            SnmpVb out;
            value = text;
            for (int round = 0; round < (address ? 2 : 1); ++round) {
                request.TextToVb(0, out);
                request.VbToText(0, out);
            }
            const std::string once = value;
            // "(NULL)" stands for no value, also when it came as the text of a display string.
            if (once == kNullValueText) return;
            request.TextToVb(0, out);
            request.VbToText(0, out);
            FUZZ_CHECK(value == once);
        } catch (const Exception& e) {
            FUZZ_CHECK(IsExpected(e));
        }
    };
    settle(value);
    settle(payload);
    return 0;
}
