// The real-agent test fixture: a net-snmp snmpd on 127.0.0.1 at a free unprivileged port, serving
// the KSV-720E device subtree from the data sets in tests/agent/data/ (see README.md there for
// every OID and value).
//
//   #include "tests/agent/SnmpdAgent.h"          (link the agent_fixture library)
//
//   testagent::SnmpdAgent agent(testagent::DataSets({"device", "writable"}));
//   agent.Start();                      // throws std::runtime_error with snmpd's log on failure
//   ... talk to agent.Address() : agent.Port() ...
//                                       // the destructor stops snmpd and removes its directory
//
// snmpd is a child of the test process and gets SIGTERM when the thread that started it ends, so
// start agents from the test's main thread. Tests labelled "agent" run it.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testagent {

// Credentials the agent accepts. Communities and users see only kDeviceSubtree.
inline constexpr const char* kReadCommunity = "public";
inline constexpr const char* kWriteCommunity = "private";
// noAuthNoPriv, read-only.
inline constexpr const char* kNoAuthUser = "noauth";
// authNoPriv with HMAC-MD5, read-write.
inline constexpr const char* kMd5User = "md5user";
inline constexpr const char* kMd5AuthPassword = "md5authpass";
// authPriv with HMAC-SHA and DES, read-write.
inline constexpr const char* kShaDesUser = "shades";
inline constexpr const char* kShaDesAuthPassword = "shaauthpass";
inline constexpr const char* kShaDesPrivPassword = "desprivpass";
// authPriv with HMAC-SHA-256 (usmHMAC192SHA256AuthProtocol) and AES-256, read-write.
inline constexpr const char* kSha256AesUser = "sha256aes";
inline constexpr const char* kSha256AesAuthPassword = "sha256authpass";
inline constexpr const char* kSha256AesPrivPassword = "aes256privpass";

// The view of every community and user; the device's objects lie below it.
inline constexpr const char* kDeviceSubtree = "1.3.6.1.4.1.43917.50.1.10.1.1";

struct Options {
    // Data sets to serve, combinable; later sets replace the subtrees (B.<n>) that they define.
    std::vector<std::string> dataSets{"device"};
    // Appended verbatim to the snmpd configuration.
    std::string extraConfig;
    // 0: pick a free port. The port is kept across Stop/Start and Restart.
    uint16_t port = 0;
};

// Options serving `names`. (GCC 12 warns, with -Wextra, about designated initializers that leave
// members out, so `Options{.dataSets = ...}` does not build with -Werror.)
inline Options DataSets(std::vector<std::string> names) {
    Options options;
    options.dataSets = std::move(names);
    return options;
}

class SnmpdAgent {
public:
    explicit SnmpdAgent(Options options = {});
    ~SnmpdAgent();  // stops the agent, also when a test failed, and removes Directory()
    SnmpdAgent(const SnmpdAgent&) = delete;
    SnmpdAgent& operator=(const SnmpdAgent&) = delete;

    // Starts snmpd and returns once it answers (at most about 2 minutes). Does nothing while it
    // runs. Throws std::runtime_error, with snmpd's log, when it cannot be started; an unknown
    // data set name also throws std::runtime_error.
    void Start();
    // Stops snmpd by its PID (SIGTERM, so that it saves its persistent state; SIGKILL after 10
    // seconds) and reaps it. Does nothing when it is not running.
    void Stop();
    // Stop and Start with the same port, engine ID and persistent directory: engineBoots grows by
    // one. Values written by sets are lost (the configuration is served afresh).
    void Restart();

    uint16_t Port() const { return port_; }
    std::string Address() const { return "127.0.0.1"; }
    // The agent's own working and persistent directory, a fresh temporary directory. Set
    // KSV_AGENT_KEEP_DIR=1 in the environment to keep it after the test.
    std::string Directory() const { return dir_; }
    // snmpd's engine ID as lower-case hex ("80001f8804" followed by the ID's text).
    std::string EngineIdHex() const;
    // PID of the running snmpd, -1 when it is not running.
    pid_t Pid() const { return pid_; }
    // Everything snmpd has logged so far, over all its runs.
    std::string Log() const;
    // The snmpd configuration written by the last Start.
    std::string ConfigPath() const;

private:
    struct Prime {
        std::string oid;
        std::string kind;
    };
    bool TryStart(std::string& failure, bool& portClash);
    bool WaitUntilAnswering(std::string& failure);
    void PrimeValues();

    Options options_;
    std::string dir_;
    std::string engineIdText_;
    uint16_t port_ = 0;
    bool portChosen_ = false;
    pid_t pid_ = -1;
    std::vector<Prime> primes_;
};

// The values the data sets serve where they are computed rather than listed.
// Cell of the "largeN" volume table: column 2..6, row 1..N.
std::string LargeVolumeValue(int column, long row);
// The 61440-byte values of the "faulty" data set: B.41.1.0 (text) and B.41.2.0 (binary).
std::string HugeTextValue();
std::string HugeBinaryValue();

// Runs a shell command line (meant for net-snmp's tools: snmpget, snmpwalk, snmptable ...) with
// a quiet tool environment (MIBS empty, no user or system snmp.conf, a private persistent
// directory) and a 120-second bound. Returns the exit status and stdout and stderr together.
struct ToolResult {
    int exitCode = -1;
    std::string output;
};
ToolResult RunTool(const std::string& commandLine);

}  // namespace testagent
