#include "tests/agent/MiniSnmp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <random>
#include <stdexcept>

namespace testagent {
namespace {

// ---- writing ----------------------------------------------------------------------------------

std::string Length(size_t n) {
    if (n < 0x80) return std::string(1, static_cast<char>(n));
    std::string bytes;
    while (n > 0) {
        bytes.insert(bytes.begin(), static_cast<char>(n & 0xFF));
        n >>= 8;
    }
    return std::string(1, static_cast<char>(0x80 | bytes.size())) + bytes;
}

std::string Tlv(uint8_t type, std::string_view content) {
    std::string out(1, static_cast<char>(type));
    out += Length(content.size());
    out += content;
    return out;
}

std::string IntegerContent(long value) {
    std::string bytes;
    // Two's complement, shortest form: stop when the remaining bits are the sign extension of the
    // highest byte written so far.
    for (;;) {
        const auto byte = static_cast<uint8_t>(value & 0xFF);
        bytes.insert(bytes.begin(), static_cast<char>(byte));
        value >>= 8;  // arithmetic shift keeps the sign
        if ((value == 0 && !(byte & 0x80)) || (value == -1 && (byte & 0x80))) break;
    }
    return bytes;
}

std::string Integer(long value) {
    return Tlv(tag::kInteger, IntegerContent(value));
}

// ---- reading ----------------------------------------------------------------------------------

class Reader {
public:
    explicit Reader(std::string_view data) : data_(data) {}

    bool AtEnd() const { return pos_ == data_.size(); }

    bool Next(uint8_t& type, std::string_view& content) {
        if (data_.size() - pos_ < 2) return false;
        type = static_cast<uint8_t>(data_[pos_]);
        size_t p = pos_ + 1;
        size_t len = static_cast<uint8_t>(data_[p++]);
        if (len & 0x80) {
            const size_t count = len & 0x7F;
            if (count == 0 || count > 4 || data_.size() - p < count) return false;
            len = 0;
            for (size_t i = 0; i < count; ++i) len = (len << 8) | static_cast<uint8_t>(data_[p++]);
        }
        if (data_.size() - p < len) return false;
        content = data_.substr(p, len);
        pos_ = p + len;
        return true;
    }

    bool Expect(uint8_t type, std::string_view& content) {
        uint8_t t = 0;
        return Next(t, content) && t == type;
    }

    bool ReadInteger(long& value) {
        std::string_view content;
        if (!Expect(tag::kInteger, content) || content.empty() || content.size() > sizeof(long))
            return false;
        value = VarBind{"", tag::kInteger, std::string(content)}.AsInteger();
        return true;
    }

    bool ReadOctets(std::string& value) {
        std::string_view content;
        if (!Expect(tag::kOctetString, content)) return false;
        value.assign(content);
        return true;
    }

private:
    std::string_view data_;
    size_t pos_ = 0;
};

long NextRequestId() {
    static std::atomic<long> next{static_cast<long>(std::random_device{}() & 0x3FFFFFFF) + 1};
    return next.fetch_add(1) & 0x7FFFFFFF;
}

int ElapsedMs(std::chrono::steady_clock::time_point since) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - since)
                                .count());
}

// A connected UDP socket to address:port; -1 when the address is not a dotted IPv4 address.
int OpenConnected(const std::string& address, uint16_t port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) return -1;
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in local{};
    socklen_t len = sizeof local;
    // A socket whose ephemeral port is the target port (free while an agent starts) would be
    // connected to itself and read its own request back as the answer.
    if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &len) != 0 ||
        (local.sin_port == to.sin_port && local.sin_addr.s_addr == to.sin_addr.s_addr)) {
        close(fd);
        return -1;
    }
    return fd;
}

// Waits for one datagram on fd until the deadline; std::nullopt on timeout or a refused port.
std::optional<std::string> ReceiveUntil(int fd, std::chrono::steady_clock::time_point start,
                                        int timeoutMs) {
    std::string buffer(65536, '\0');
    for (;;) {
        const int left = timeoutMs - ElapsedMs(start);
        if (left <= 0) return std::nullopt;
        pollfd p{fd, POLLIN, 0};
        const int r = poll(&p, 1, left);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return std::nullopt;
        const ssize_t n = recv(fd, buffer.data(), buffer.size(), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;  // ECONNREFUSED: nothing listens there
        buffer.resize(static_cast<size_t>(n));
        return buffer;
    }
}

}  // namespace

VarBind VarBind::Integer(std::string oid, long value) {
    return {std::move(oid), tag::kInteger, IntegerContent(value)};
}

long VarBind::AsInteger() const {
    if (value.empty()) return 0;
    // Sign-extend from the first octet, then shift the rest in.
    unsigned long v = (static_cast<uint8_t>(value[0]) & 0x80) ? ~0UL : 0UL;
    for (char c : value) v = (v << 8) | static_cast<uint8_t>(c);
    return static_cast<long>(v);
}

std::string EncodeOidContent(std::string_view dotted) {
    if (!dotted.empty() && dotted.front() == '.') dotted.remove_prefix(1);
    std::vector<uint32_t> arcs;
    size_t pos = 0;
    while (pos <= dotted.size()) {
        const size_t dot = std::min(dotted.find('.', pos), dotted.size());
        const std::string_view part = dotted.substr(pos, dot - pos);
        if (part.empty() || part.size() > 10) throw std::invalid_argument("bad OID text");
        uint64_t arc = 0;
        for (char c : part) {
            if (c < '0' || c > '9') throw std::invalid_argument("bad OID text");
            arc = arc * 10 + static_cast<uint64_t>(c - '0');
        }
        if (arc > 0xFFFFFFFFULL) throw std::invalid_argument("OID arc out of range");
        arcs.push_back(static_cast<uint32_t>(arc));
        pos = dot + 1;
    }
    if (arcs.size() < 2 || arcs[0] > 2 || (arcs[0] < 2 && arcs[1] >= 40))
        throw std::invalid_argument("bad OID text");
    std::string out;
    auto put = [&out](uint64_t v) {
        std::string bytes(1, static_cast<char>(v & 0x7F));
        while ((v >>= 7) != 0) bytes.insert(bytes.begin(), static_cast<char>(0x80 | (v & 0x7F)));
        out += bytes;
    };
    put(uint64_t{arcs[0]} * 40 + arcs[1]);
    for (size_t i = 2; i < arcs.size(); ++i) put(arcs[i]);
    return out;
}

std::optional<std::string> DecodeOidContent(std::string_view content) {
    if (content.empty()) return std::nullopt;
    std::vector<uint64_t> arcs;
    uint64_t v = 0;
    for (size_t i = 0; i < content.size(); ++i) {
        const auto b = static_cast<uint8_t>(content[i]);
        if (v > (0xFFFFFFFFULL >> 7) + 1) return std::nullopt;
        v = (v << 7) | (b & 0x7F);
        if (!(b & 0x80)) {
            arcs.push_back(v);
            v = 0;
        } else if (i + 1 == content.size()) {
            return std::nullopt;  // unfinished arc
        }
    }
    const uint64_t first = arcs[0];
    std::string out = first < 80 ? std::to_string(first / 40) + "." + std::to_string(first % 40)
                                 : "2." + std::to_string(first - 80);
    for (size_t i = 1; i < arcs.size(); ++i) out += "." + std::to_string(arcs[i]);
    return out;
}

std::string EncodeMessage(const Message& m) {
    std::string list;
    for (const VarBind& vb : m.bindings)
        list += Tlv(tag::kSequence,
                    Tlv(tag::kObjectId, EncodeOidContent(vb.oid)) + Tlv(vb.type, vb.value));
    const std::string pdu = Tlv(m.pduType, Integer(m.requestId) + Integer(m.errorStatus) +
                                               Integer(m.errorIndex) + Tlv(tag::kSequence, list));
    return Tlv(tag::kSequence, Integer(m.version) + Tlv(tag::kOctetString, m.community) + pdu);
}

std::optional<Message> DecodeMessage(std::string_view datagram) {
    Reader outer(datagram);
    std::string_view body;
    if (!outer.Expect(tag::kSequence, body) || !outer.AtEnd()) return std::nullopt;
    Reader r(body);
    Message m;
    if (!r.ReadInteger(m.version) || (m.version != kVersion1 && m.version != kVersion2c))
        return std::nullopt;
    if (!r.ReadOctets(m.community)) return std::nullopt;
    std::string_view pdu;
    if (!r.Next(m.pduType, pdu) || !r.AtEnd() || (m.pduType & 0xE0) != 0xA0) return std::nullopt;
    Reader p(pdu);
    std::string_view list;
    if (!p.ReadInteger(m.requestId) || !p.ReadInteger(m.errorStatus) ||
        !p.ReadInteger(m.errorIndex) || !p.Expect(tag::kSequence, list) || !p.AtEnd())
        return std::nullopt;
    Reader l(list);
    while (!l.AtEnd()) {
        std::string_view seq, oid, value;
        VarBind vb;
        if (!l.Expect(tag::kSequence, seq)) return std::nullopt;
        Reader b(seq);
        if (!b.Expect(tag::kObjectId, oid) || !b.Next(vb.type, value) || !b.AtEnd())
            return std::nullopt;
        auto dotted = DecodeOidContent(oid);
        if (!dotted) return std::nullopt;
        vb.oid = std::move(*dotted);
        vb.value.assign(value);
        m.bindings.push_back(std::move(vb));
    }
    return m;
}

std::optional<long> PeekRequestId(std::string_view datagram) {
    Reader outer(datagram);
    std::string_view body, skip, pdu;
    uint8_t type = 0;
    long version = 0, id = 0;
    if (!outer.Expect(tag::kSequence, body)) return std::nullopt;
    Reader r(body);
    if (!r.ReadInteger(version) || !r.Expect(tag::kOctetString, skip) || !r.Next(type, pdu))
        return std::nullopt;
    Reader p(pdu);
    if (!p.ReadInteger(id)) return std::nullopt;
    return id;
}

std::optional<std::string> Exchange(const std::string& address, uint16_t port,
                                    const std::string& datagram, int timeoutMs) {
    const int fd = OpenConnected(address, port);
    if (fd < 0) return std::nullopt;
    const auto start = std::chrono::steady_clock::now();
    std::optional<std::string> reply;
    if (send(fd, datagram.data(), datagram.size(), 0) == static_cast<ssize_t>(datagram.size()))
        reply = ReceiveUntil(fd, start, timeoutMs);
    close(fd);
    return reply;
}

std::optional<Message> Query(const std::string& address, uint16_t port, Message request,
                             int timeoutMs) {
    request.requestId = NextRequestId();
    const std::string datagram = EncodeMessage(request);
    const int fd = OpenConnected(address, port);
    if (fd < 0) return std::nullopt;
    const auto start = std::chrono::steady_clock::now();
    std::optional<Message> result;
    if (send(fd, datagram.data(), datagram.size(), 0) == static_cast<ssize_t>(datagram.size())) {
        // Replies to earlier requests of other callers cannot reach this fresh socket, but a
        // stray or malformed datagram is skipped rather than taken for the answer.
        while (auto reply = ReceiveUntil(fd, start, timeoutMs)) {
            auto decoded = DecodeMessage(*reply);
            if (decoded && decoded->pduType == tag::kResponse &&
                decoded->requestId == request.requestId) {
                result = std::move(decoded);
                break;
            }
        }
    }
    close(fd);
    return result;
}

std::optional<EngineInfo> DiscoverEngine(const std::string& address, uint16_t port, int timeoutMs) {
    const long msgId = NextRequestId();
    const std::string global = Tlv(tag::kSequence, Integer(msgId) + Integer(65507) +
                                                       Tlv(tag::kOctetString, "\x04") + Integer(3));
    const std::string usm =
        Tlv(tag::kOctetString,
            Tlv(tag::kSequence, Tlv(tag::kOctetString, "") + Integer(0) + Integer(0) +
                                    Tlv(tag::kOctetString, "") + Tlv(tag::kOctetString, "") +
                                    Tlv(tag::kOctetString, "")));
    const std::string pdu =
        Tlv(tag::kGetRequest, Integer(msgId) + Integer(0) + Integer(0) + Tlv(tag::kSequence, ""));
    const std::string scoped =
        Tlv(tag::kSequence, Tlv(tag::kOctetString, "") + Tlv(tag::kOctetString, "") + pdu);
    const std::string datagram = Tlv(tag::kSequence, Integer(3) + global + usm + scoped);

    const auto reply = Exchange(address, port, datagram, timeoutMs);
    if (!reply) return std::nullopt;
    Reader outer(*reply);
    std::string_view body, globalData, secParams, inner, scopedPdu, skip, replyPdu;
    long version = 0, replyId = 0;
    uint8_t pduType = 0;
    if (!outer.Expect(tag::kSequence, body)) return std::nullopt;
    Reader r(body);
    if (!r.ReadInteger(version) || version != 3 || !r.Expect(tag::kSequence, globalData) ||
        !r.Expect(tag::kOctetString, secParams) || !r.Expect(tag::kSequence, scopedPdu))
        return std::nullopt;
    Reader sp(scopedPdu);
    if (!sp.Expect(tag::kOctetString, skip) || !sp.Expect(tag::kOctetString, skip) ||
        !sp.Next(pduType, replyPdu) || pduType != tag::kReport)
        return std::nullopt;
    Reader g(globalData);
    if (!g.ReadInteger(replyId) || replyId != msgId) return std::nullopt;
    Reader s(secParams);
    if (!s.Expect(tag::kSequence, inner)) return std::nullopt;
    Reader u(inner);
    EngineInfo info;
    std::string id;
    if (!u.ReadOctets(id) || !u.ReadInteger(info.boots) || !u.ReadInteger(info.time))
        return std::nullopt;
    info.idHex = ToHex(id);
    return info;
}

std::string ToHex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

}  // namespace testagent
