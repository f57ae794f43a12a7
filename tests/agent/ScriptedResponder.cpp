#include "tests/agent/ScriptedResponder.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "tests/agent/MiniSnmp.h"

namespace testagent {
namespace {

Message NormalReply(const Message& request) {
    Message reply = request;
    reply.pduType = tag::kResponse;
    reply.errorStatus = 0;
    reply.errorIndex = 0;
    const bool next =
        request.pduType == tag::kGetNextRequest || request.pduType == tag::kGetBulkRequest;
    for (size_t i = 0; i < reply.bindings.size(); ++i) {
        VarBind& vb = reply.bindings[i];
        if (next) vb.oid += ".1";
        if (request.pduType != tag::kSetRequest)
            vb = VarBind::Octets(vb.oid, "value-" + std::to_string(i + 1));
    }
    return reply;
}

}  // namespace

ScriptedResponder::ScriptedResponder(ResponderMode mode) : mode_(mode) {
    socket_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (socket_ < 0) throw std::runtime_error("responder: socket: " + std::string(strerror(errno)));
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (bind(socket_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        getsockname(socket_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        const std::string err = strerror(errno);
        close(socket_);
        throw std::runtime_error("responder: bind: " + err);
    }
    port_ = ntohs(addr.sin_port);
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        close(socket_);
        throw std::runtime_error("responder: pipe: " + std::string(strerror(errno)));
    }
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
    thread_ = std::thread([this] { Serve(); });
}

ScriptedResponder::~ScriptedResponder() {
    const char stop = 'x';
    while (write(wakeWrite_, &stop, 1) < 0 && errno == EINTR) {
    }
    thread_.join();
    close(wakeRead_);
    close(wakeWrite_);
    close(socket_);
}

void ScriptedResponder::Serve() {
    std::string buffer(65536, '\0');
    for (;;) {
        pollfd fds[2] = {{socket_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;
        if (!(fds[0].revents & POLLIN)) continue;
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        const ssize_t n = recvfrom(socket_, buffer.data(), buffer.size(), 0,
                                   reinterpret_cast<sockaddr*>(&from), &fromLen);
        if (n < 0) continue;
        ++requests_;
        const ResponderMode mode = mode_;
        if (mode == ResponderMode::Silent) continue;
        const auto request = DecodeMessage(std::string_view(buffer.data(), size_t(n)));
        if (!request) continue;

        Message reply = NormalReply(*request);
        switch (mode) {
            case ResponderMode::FewerBindings:
                if (!reply.bindings.empty()) reply.bindings.pop_back();
                break;
            case ResponderMode::WrongRequestId:
                reply.requestId = (reply.requestId + 1) & 0x7FFFFFFF;
                break;
            case ResponderMode::ErrorStatus:
                reply.bindings = request->bindings;
                for (VarBind& vb : reply.bindings) vb = VarBind::Null(vb.oid);
                reply.errorStatus = errorStatus_;
                reply.errorIndex = errorIndex_;
                break;
            default:
                break;
        }
        std::string datagram = EncodeMessage(reply);
        if (mode == ResponderMode::Truncated) datagram.resize(datagram.size() / 2);
        sendto(socket_, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&from),
               fromLen);
    }
}

}  // namespace testagent
