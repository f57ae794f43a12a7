// ksv-agent: runs the test agent outside the tests, for demos and manual checks.
//
//   ksv-agent [--port N] [dataset...]
//
// Starts snmpd with the given data sets ("device" when none is named), prints
//   PORT=<port> PID=<pid of ksv-agent> DIR=<agent directory>
// on one line and stays until it receives SIGTERM, SIGINT or SIGHUP (or snmpd dies); then it
// stops snmpd and removes the directory (kept with KSV_AGENT_KEEP_DIR=1).
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "tests/agent/SnmpdAgent.h"

int main(int argc, char** argv) {
    testagent::Options options;
    options.dataSets.clear();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc) {
            const long port = std::strtol(argv[++i], nullptr, 10);
            if (port < 1024 || port > 65535) {
                std::fprintf(stderr, "ksv-agent: --port needs 1024..65535\n");
                return 2;
            }
            options.port = static_cast<uint16_t>(port);
        } else if (arg == "-h" || arg == "--help") {
            std::printf("usage: ksv-agent [--port N] [dataset...]\n");
            return 0;
        } else {
            options.dataSets.push_back(arg);
        }
    }
    if (options.dataSets.empty()) options.dataSets.push_back("device");

    // Wait for the stop signals synchronously; snmpd gets a clean signal mask of its own.
    sigset_t wanted;
    sigemptyset(&wanted);
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGCHLD}) sigaddset(&wanted, sig);
    sigprocmask(SIG_BLOCK, &wanted, nullptr);

    try {
        testagent::SnmpdAgent agent(options);
        agent.Start();
        std::printf("PORT=%u PID=%d DIR=%s\n", static_cast<unsigned>(agent.Port()),
                    static_cast<int>(getpid()), agent.Directory().c_str());
        std::printf("SNMPD_PID=%d ENGINE_ID=%s CONFIG=%s\n", static_cast<int>(agent.Pid()),
                    agent.EngineIdHex().c_str(), agent.ConfigPath().c_str());
        std::fflush(stdout);
        int sig = 0;
        sigwait(&wanted, &sig);
        if (sig == SIGCHLD) std::fprintf(stderr, "ksv-agent: snmpd ended\n%s", agent.Log().c_str());
        agent.Stop();
        return sig == SIGCHLD ? 1 : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ksv-agent: %s\n", e.what());
        return 1;
    }
}
