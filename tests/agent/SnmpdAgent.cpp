#include "tests/agent/SnmpdAgent.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/agent/MiniSnmp.h"

#ifndef KSV_AGENT_DATA_DIR
#error "KSV_AGENT_DATA_DIR must name the folder of the data set fragments"
#endif

extern char** environ;

namespace testagent {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSnmpd = "/usr/sbin/snmpd";
constexpr int kStartTimeoutMs = 120000;
constexpr int kStopTimeoutMs = 10000;
constexpr int kPortAttempts = 5;
constexpr size_t kHugeSize = 61440;

std::string DataDir() {
    if (const char* dir = std::getenv("KSV_AGENT_DATA_DIR"); dir && *dir) return dir;
    return KSV_AGENT_DATA_DIR;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
        text.replace(pos, from.size(), to);
}

std::string MakeTempDir() {
    std::string pattern = (fs::temp_directory_path() / "ksv-agent-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp: " + std::string(strerror(errno)));
    return pattern;
}

// Whether nothing is bound to 127.0.0.1:port. Checked before a fixed port is used: snmpd would
// fail there too, but only after the agent holding the port may have answered the probe.
bool PortFree(uint16_t port) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    const bool free = bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    close(fd);
    return free;
}

uint16_t PickFreePort() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd < 0) throw std::runtime_error("socket: " + std::string(strerror(errno)));
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        const bool ok = bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
                        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0;
        const int err = errno;
        close(fd);
        if (ok && ntohs(addr.sin_port) >= 1024) return ntohs(addr.sin_port);
        if (!ok && err != EADDRINUSE)
            throw std::runtime_error("bind 127.0.0.1:0: " + std::string(strerror(err)));
    }
    throw std::runtime_error("no free UDP port on 127.0.0.1");
}

// ---- data sets --------------------------------------------------------------------------------
//
// A data set is a fragment of snmpd configuration in <data dir>/<name>.conf. Besides snmpd lines
// it may hold directives in comments:
//   #@include <name>        the lines of another data set, as far as this one does not replace them
//   #@owns <OID>            this set defines the subtree <OID> (also when it serves nothing there)
//   #@prime <OID> <value>   after start, set <OID> through the write community to a computed value
// Every override/pass_persist line belongs to the subtree B.<n> of its OID (B = the device
// subtree); a set replaces all earlier lines of the subtrees it defines.

struct Entry {
    std::string region;
    std::string line;      // snmpd line, or the value kind of a prime
    std::string primeOid;  // non-empty for a prime
};

struct Fragment {
    std::vector<Entry> entries;
    std::set<std::string> owned;
};

std::string RegionOf(std::string oid) {
    if (!oid.empty() && oid.front() == '.') oid.erase(0, 1);
    const std::string base = std::string(kDeviceSubtree) + ".";
    if (oid.compare(0, base.size(), base) != 0) return oid;
    const size_t end = oid.find('.', base.size());
    return end == std::string::npos ? oid : oid.substr(0, end);
}

// The OID an snmpd line registers, or "" for lines that register none.
std::string OidOfLine(const std::string& line) {
    std::istringstream in(line);
    std::string keyword, word;
    in >> keyword;
    if (keyword != "override" && keyword != "pass_persist" && keyword != "pass") return "";
    while (in >> word) {
        if (word == "-rw") continue;
        if (word == "-p") {  // priority of pass/pass_persist
            in >> word;
            continue;
        }
        return word;
    }
    return "";
}

void Apply(Fragment& into, const Fragment& set) {
    std::set<std::string> owned = set.owned;
    for (const Entry& e : set.entries) owned.insert(e.region);
    std::erase_if(into.entries, [&](const Entry& e) { return owned.count(e.region) != 0; });
    into.entries.insert(into.entries.end(), set.entries.begin(), set.entries.end());
    into.owned.insert(owned.begin(), owned.end());
}

bool ValidName(const std::string& name) {
    if (name.empty() || name.size() > 64) return false;
    for (char c : name)
        if (!(std::islower(static_cast<unsigned char>(c)) ||
              std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '_'))
            return false;
    return true;
}

Fragment LoadDataSet(const std::string& name, const std::string& agentDir, int depth);

std::string LargeVolumeLines(long rows) {
    // Descending order: snmpd inserts each registration into a sorted list, and registering in
    // reverse keeps that insertion short (5000 rows start in about 1.5 s instead of 7 s).
    std::string out;
    for (long row = rows; row >= 1; --row)
        for (int column = 6; column >= 2; --column)
            out += "override " + std::string(".") + kDeviceSubtree + ".9.1." +
                   std::to_string(column) + "." + std::to_string(row) + " octet_str \"" +
                   LargeVolumeValue(column, row) + "\"\n";
    return out;
}

Fragment ParseFragment(const std::string& text, const std::string& agentDir, int depth) {
    Fragment fragment;
    // Subtrees that this set's own lines and #@owns define: there they replace what it included.
    std::set<std::string> defined;
    auto define = [&](const std::string& region) {
        if (region.empty() || !defined.insert(region).second) return;
        std::erase_if(fragment.entries, [&](const Entry& e) { return e.region == region; });
        fragment.owned.insert(region);
    };
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("#@", 0) == 0) {
            std::istringstream directive(line.substr(2));
            std::string keyword, a, b;
            directive >> keyword >> a >> b;
            if (keyword == "include") {
                Apply(fragment, LoadDataSet(a, agentDir, depth + 1));
            } else if (keyword == "owns" && !a.empty()) {
                define(RegionOf(a));
            } else if (keyword == "prime" && !b.empty()) {
                define(RegionOf(a));
                fragment.entries.push_back({RegionOf(a), b, a});
            } else {
                throw std::runtime_error("bad data set directive: " + line);
            }
            continue;
        }
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        ReplaceAll(line, "@DATA_DIR@", DataDir());
        const std::string oid = OidOfLine(line);
        const std::string region = oid.empty() ? "" : RegionOf(oid);
        define(region);
        fragment.entries.push_back({region, line, ""});
    }
    return fragment;
}

Fragment LoadDataSet(const std::string& name, const std::string& agentDir, int depth) {
    if (depth > 8) throw std::runtime_error("data set includes nest too deeply: " + name);
    if (!ValidName(name)) throw std::runtime_error("bad data set name '" + name + "'");
    if (name.rfind("large", 0) == 0 && name.size() > 5 &&
        name.find_first_not_of("0123456789", 5) == std::string::npos) {
        const long rows = std::stol(name.substr(5));
        if (rows < 1 || rows > 100000)
            throw std::runtime_error("data set " + name + ": rows must be 1..100000");
        // Written out into the agent's directory so that the generated lines can be looked at.
        const std::string text = "#@include device\n" + LargeVolumeLines(rows);
        WriteFile(agentDir + "/" + name + ".conf", text);
        return ParseFragment(text, agentDir, depth);
    }
    const std::string path = DataDir() + "/" + name + ".conf";
    if (!fs::is_regular_file(path)) {
        std::string known;
        for (const auto& f : fs::directory_iterator(DataDir()))
            if (f.path().extension() == ".conf") known += " " + f.path().stem().string();
        throw std::runtime_error("unknown data set '" + name + "' (known:" + known + " largeN)");
    }
    return ParseFragment(ReadFile(path), agentDir, depth);
}

Fragment ComposeDataSets(const std::vector<std::string>& names, const std::string& agentDir) {
    Fragment all;
    for (const std::string& name : names) Apply(all, LoadDataSet(name, agentDir, 0));
    return all;
}

// ---- process control --------------------------------------------------------------------------

std::vector<std::string> ChildEnvironment(const std::string& persistDir) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        if (var.rfind("SNMP_PERSISTENT_DIR=", 0) == 0 || var.rfind("MIBS=", 0) == 0 ||
            var.rfind("SNMPCONFPATH=", 0) == 0)
            continue;
        env.push_back(var);
    }
    env.push_back("SNMP_PERSISTENT_DIR=" + persistDir);
    env.push_back("MIBS=");
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (std::string& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

bool Reaped(pid_t pid) {
    int status = 0;
    const pid_t r = waitpid(pid, &status, WNOHANG);
    return r == pid || (r < 0 && errno == ECHILD);
}

}  // namespace

std::string LargeVolumeValue(int column, long row) {
    static const char* const kFileSystems[] = {"ext4", "xfs", "btrfs"};
    static const char* const kRaidLevels[] = {"RAID 0", "RAID 1", "RAID 5", "RAID 6"};
    switch (column) {
        case 2:
            return "Volume-" + std::to_string(row);
        case 3:
            return kFileSystems[row % 3];
        case 4:
            return kRaidLevels[row % 4];
        case 5:
            return std::to_string(row) + " GB";
        case 6:
            return std::to_string(row / 2) + " GB";
        default:
            throw std::out_of_range("volume table column " + std::to_string(column));
    }
}

std::string HugeTextValue() {
    std::string value(kHugeSize, '\0');
    for (size_t i = 0; i < value.size(); ++i) value[i] = static_cast<char>('A' + i % 26);
    return value;
}

std::string HugeBinaryValue() {
    std::string value(kHugeSize, '\0');
    for (size_t i = 0; i < value.size(); ++i) value[i] = static_cast<char>(i % 256);
    return value;
}

SnmpdAgent::SnmpdAgent(Options options) : options_(std::move(options)) {
    dir_ = MakeTempDir();
    fs::create_directories(dir_ + "/persist");
    std::random_device random;
    char suffix[9];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    engineIdText_ = std::string("ksv720e-") + suffix;
    if (options_.port != 0) {
        port_ = options_.port;
        portChosen_ = true;
    }
}

SnmpdAgent::~SnmpdAgent() {
    try {
        Stop();
    } catch (...) {
        // A destructor must not throw; Stop has already done what it could.
    }
    const char* keep = std::getenv("KSV_AGENT_KEEP_DIR");
    if (!(keep && *keep && std::string(keep) != "0")) {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
}

std::string SnmpdAgent::EngineIdHex() const {
    return "80001f8804" + ToHex(engineIdText_);
}

std::string SnmpdAgent::Log() const {
    return ReadFile(dir_ + "/snmpd.log");
}

std::string SnmpdAgent::ConfigPath() const {
    return dir_ + "/snmpd.conf";
}

void SnmpdAgent::Start() {
    if (pid_ > 0) return;
    std::string failure;
    const int attempts = portChosen_ ? 1 : kPortAttempts;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        bool portClash = false;
        if (TryStart(failure, portClash)) {
            portChosen_ = true;
            return;
        }
        if (!portClash) break;
    }
    throw std::runtime_error("snmpd test agent did not start: " + failure + "\n--- snmpd log (" +
                             dir_ + ") ---\n" + Log());
}

bool SnmpdAgent::TryStart(std::string& failure, bool& portClash) {
    if (!portChosen_) {
        port_ = PickFreePort();
    } else if (!PortFree(port_)) {
        failure = "127.0.0.1:" + std::to_string(port_) + " is in use";
        return false;
    }

    // Configuration: template, data sets, extra lines.
    std::string config = ReadFile(DataDir() + "/snmpd.conf.in");
    if (config.empty()) throw std::runtime_error("missing " + DataDir() + "/snmpd.conf.in");
    ReplaceAll(config, "@PERSIST_DIR@", dir_ + "/persist");
    ReplaceAll(config, "@PORT@", std::to_string(port_));
    ReplaceAll(config, "@ENGINE_ID@", engineIdText_);
    ReplaceAll(config, "@VIEW@", std::string(".") + kDeviceSubtree);
    const Fragment data = ComposeDataSets(options_.dataSets, dir_);
    primes_.clear();
    config += "\n# ---- data sets:";
    for (const std::string& name : options_.dataSets) config += " " + name;
    config += "\n";
    for (const Entry& e : data.entries) {
        if (!e.primeOid.empty())
            primes_.push_back({e.primeOid, e.line});
        else
            config += e.line + "\n";
    }
    if (!options_.extraConfig.empty()) config += "\n# ---- extra\n" + options_.extraConfig + "\n";
    WriteFile(ConfigPath(), config);

    // Everything the child needs is built before fork: after it only async-signal-safe calls.
    const std::string persistDir = dir_ + "/persist";
    const std::string logPath = dir_ + "/snmpd.log";
    std::vector<std::string> args = {kSnmpd, "-f",
                                     "-Lo",  "-C",
                                     "-c",   ConfigPath() + "," + persistDir + "/snmpd.conf",
                                     "-p",   dir_ + "/snmpd.pid",
                                     "-I",   "-smux"};
    std::vector<std::string> env = ChildEnvironment(persistDir);
    std::vector<char*> argv = Pointers(args);
    std::vector<char*> envp = Pointers(env);
    const pid_t parent = getpid();

    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork: " + std::string(strerror(errno)));
    if (child == 0) {
        // Ends with the test process, even when that one is killed.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(126);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGPIPE, SIGCHLD}) signal(sig, SIG_DFL);
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        const int null = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (log < 0 || null < 0 || dup2(null, 0) < 0 || dup2(log, 1) < 0 || dup2(log, 2) < 0)
            _exit(126);
        if (chdir(dir_.c_str()) != 0) _exit(126);
        execve(kSnmpd, argv.data(), envp.data());
        const char message[] = "exec /usr/sbin/snmpd failed\n";
        (void)!write(2, message, sizeof message - 1);
        _exit(127);
    }
    pid_ = child;

    if (!WaitUntilAnswering(failure)) {
        Stop();
        const std::string log = Log();
        portClash =
            !portChosen_ && (log.find("Error opening specified endpoint") != std::string::npos ||
                             failure.find("another SNMP agent") != std::string::npos);
        return false;
    }
    try {
        PrimeValues();
    } catch (...) {
        Stop();
        throw;
    }
    return true;
}

bool SnmpdAgent::WaitUntilAnswering(std::string& failure) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        if (Reaped(pid_)) {
            pid_ = -1;
            failure = "snmpd exited during start-up";
            return false;
        }
        // The engine ID tells this agent from any other that might answer on the port.
        if (const auto engine = DiscoverEngine(Address(), port_, 200)) {
            if (engine->idHex == EngineIdHex()) return true;
            failure = "another SNMP agent (engine " + engine->idHex +
                      ") answers on 127.0.0.1:" + std::to_string(port_);
            return false;
        }
        // Nothing listens yet (the probe was refused at once): snmpd is still reading its
        // configuration, which takes seconds for the large data sets.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(kStartTimeoutMs)) {
            failure = "no answer on 127.0.0.1:" + std::to_string(port_) + " within " +
                      std::to_string(kStartTimeoutMs / 1000) + " s";
            return false;
        }
    }
}

void SnmpdAgent::PrimeValues() {
    for (const Prime& p : primes_) {
        std::string value;
        if (p.kind == "huge-text")
            value = HugeTextValue();
        else if (p.kind == "huge-binary")
            value = HugeBinaryValue();
        else
            throw std::runtime_error("unknown #@prime value '" + p.kind + "'");
        Message set;
        set.community = kWriteCommunity;
        set.pduType = tag::kSetRequest;
        set.bindings = {VarBind::Octets(p.oid, value)};
        const auto reply = Query(Address(), port_, set, 5000);
        if (!reply || reply->errorStatus != 0)
            throw std::runtime_error("snmpd test agent: priming " + p.oid + " failed" +
                                     (reply ? " with status " + std::to_string(reply->errorStatus)
                                            : std::string(" (no reply)")) +
                                     "\n--- snmpd log ---\n" + Log());
    }
}

void SnmpdAgent::Stop() {
    if (pid_ <= 0) return;
    const pid_t pid = pid_;
    pid_ = -1;
    if (Reaped(pid)) return;
    kill(pid, SIGTERM);
    const auto start = std::chrono::steady_clock::now();
    while (!Reaped(pid)) {
        if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(kStopTimeoutMs)) {
            kill(pid, SIGKILL);
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void SnmpdAgent::Restart() {
    Stop();
    Start();
}

ToolResult RunTool(const std::string& commandLine) {
    // One quiet client directory per test process: the tools keep engine IDs and boots of the
    // agents they met there instead of in /var/lib/snmp.
    struct ClientDir {
        std::string path = MakeTempDir();
        ClientDir() {
            // The tools announce the creation of this directory on their first run.
            std::error_code ignored;
            fs::create_directories(path + "/cert_indexes", ignored);
        }
        ~ClientDir() {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    };
    static const ClientDir clientDir;
    const std::string full = "MIBS= SNMPCONFPATH=" + clientDir.path +
                             " SNMP_PERSISTENT_DIR=" + clientDir.path +
                             " timeout -k 5 120 sh -c '" +
                             [&] {
                                 std::string quoted = commandLine;
                                 ReplaceAll(quoted, "'", "'\\''");
                                 return quoted;
                             }() +
                             "' 2>&1";
    ToolResult result;
    FILE* pipe = popen(full.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace testagent
