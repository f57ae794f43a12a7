// Table walk benchmark: the module walks the volume table of the "large1000" and "large5000"
// data sets (index + 5 columns) asynchronously through the pump, as a table window does (a
// binding in asynchronous mode, one get-next per row, each row copied out in RowReceived), and
// the same agent is walked by net-snmp's own snmptable -CB (one get-next per row, with the
// module's MIB) and snmpwalk (one get-next per cell). Prints rows, requests, seconds, peak
// memory and the ratio of the module's time to snmptable -CB's.
//
//   walk_bench [--module-only] [rows...]        (default: 1000 5000)
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "mib/Oid_ksv_720e.h"
#include "snmp/HvSNMPRequest2Controls.h"
#include "snmp/HvSNMPSession.h"
#include "tests/agent/SnmpdAgent.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRepeats = 5;

// The table window's part: every row is copied out, as a list-view row would be.
class TableWindowBinding : public HvSNMPRequest2Controls {
public:
    TableWindowBinding() : HvSNMPRequest2Controls(nullptr) {}
    void BeforeGet() override { rows.clear(); }
    void RowReceived() override {
        std::vector<std::string> row;
        const HvSNMPVarList& list = request.List();
        row.reserve(static_cast<size_t>(list.Count()));
        for (int32_t i = 0; i < list.Count(); ++i) row.push_back(list.Item(i).value);
        rows.push_back(std::move(row));
    }
    void AfterGet() override { loop.quit(); }
    void ReportGetError(HvSNMPError& error) override {
        failure = error.message;
        loop.quit();
    }

    std::vector<std::vector<std::string>> rows;
    std::string failure;
    QEventLoop loop;
};

class LogSink : public HvMessageSink {
public:
    Kind MessageKind() const override { return Kind::StatusBar; }
    void SetSimpleText(const std::string& text) override { last = text; }
    std::string last;
};

double CpuSeconds(bool userOnly = false) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double user = static_cast<double>(usage.ru_utime.tv_sec) +
                        static_cast<double>(usage.ru_utime.tv_usec) / 1e6;
    const double system = static_cast<double>(usage.ru_stime.tv_sec) +
                          static_cast<double>(usage.ru_stime.tv_usec) / 1e6;
    return userOnly ? user : user + system;
}

long PeakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A tool's own peak memory and processor time: GNU time's report when it is installed.
const char* const kTimeTool = "/usr/bin/time";
std::string TimedCommand(const std::string& command) {
    if (access(kTimeTool, X_OK) != 0) return command;
    return std::string(kTimeTool) + " -f 'maxrss=%M user=%U sys=%S' " + command;
}
// The "maxrss=<KiB>" of the report; 0 without it.
long ToolPeak(const std::string& output) {
    const size_t at = output.rfind("maxrss=");
    return at == std::string::npos ? 0 : std::atol(output.c_str() + at + 7);
}

struct Figure {
    double seconds = 0;
    double cpuSeconds = 0;   // user + system time of the process doing the walk
    double userSeconds = 0;  // the user part of it
    long peakKiB = 0;
    long rows = 0;
    long requests = 0;
    bool ok = false;
    std::string note;
};

Figure WalkWithModule(long expectedRows) {
    {
        TableWindowBinding binding;
        LogSink sink;
        binding.SetMessageControl(&sink);
        binding.request.SetList(HvSNMPVarList(VolumeInfoVars, MVT_FMV, 1));
        const auto start = Clock::now();
        const double cpuStart = CpuSeconds();
        const double userStart = CpuSeconds(true);
        binding.StartGet();
        if (binding.active) binding.loop.exec();
        while (binding.active || binding.request.pending > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        Figure f;
        f.seconds = seconds;
        f.cpuSeconds = CpuSeconds() - cpuStart;
        f.userSeconds = CpuSeconds(true) - userStart;
        f.rows = static_cast<long>(binding.rows.size());
        f.requests = f.rows + 1;  // one get-next per row and the one that finds the end
        f.ok = binding.failure.empty() && f.rows == expectedRows;
        f.note = binding.failure.empty() ? sink.last : binding.failure;
        return f;
    }
}

Figure RunToolTimed(const std::string& command, long rowsPerLine, long expectedRows,
                    long requestsPerRow, const std::string& rowMarker) {
    {
        const auto start = Clock::now();
        const testagent::ToolResult result = testagent::RunTool(TimedCommand(command));
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        long lines = 0;
        size_t pos = 0;
        while ((pos = result.output.find(rowMarker, pos)) != std::string::npos) {
            ++lines;
            pos += rowMarker.size();
        }
        Figure f;
        f.seconds = seconds;
        const size_t user = result.output.rfind("user="), sys = result.output.rfind("sys=");
        if (user != std::string::npos && sys != std::string::npos) {
            f.userSeconds = std::atof(result.output.c_str() + user + 5);
            f.cpuSeconds = f.userSeconds + std::atof(result.output.c_str() + sys + 4);
        }
        f.peakKiB = ToolPeak(result.output);
        f.rows = lines / rowsPerLine;
        f.requests = f.rows * requestsPerRow + 1;
        f.ok = result.exitCode == 0 && f.rows == expectedRows;
        if (!f.ok) f.note = result.output.substr(0, 300);
        return f;
    }
}

// The best (shortest) of several runs, and the median time.
struct Series {
    std::vector<Figure> runs;
    Figure Best() const {
        Figure best = runs.front();
        for (const Figure& f : runs) {
            if (f.seconds < best.seconds) best = f;
            if (!f.ok) best.ok = false, best.note = f.note;
        }
        return best;
    }
    double Median() const {
        std::vector<double> t;
        for (const Figure& f : runs) t.push_back(f.seconds);
        std::sort(t.begin(), t.end());
        return t[t.size() / 2];
    }
};

void Print(const char* what, const Series& series, long peakKiB, double reference) {
    const Figure f = series.Best();
    std::printf(
        "%-22s rows %5ld  requests %5ld  seconds %6.3f (median %6.3f)  cpu %5.3f (user %5.3f)"
        "  peak %6s KiB  ratio %5.2f%s%s\n",
        what, f.rows, f.requests, f.seconds, series.Median(), f.cpuSeconds, f.userSeconds,
        peakKiB > 0 ? std::to_string(peakKiB).c_str() : "n/a",
        reference > 0 ? f.seconds / reference : 0.0,
        f.ok ? "" : "  FAILED: ", f.ok ? "" : f.note.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<long> sizes;
    bool moduleOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--module-only") {
            moduleOnly = true;
        } else {
            sizes.push_back(std::atol(argv[i]));
        }
    }
    if (sizes.empty()) sizes = {1000, 5000};

    int qtArgc = 1;
    QCoreApplication app(qtArgc, argv);
    char pattern[] = "/tmp/walk_bench_XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 2;
    const std::string dir = pattern;  // the session's engine-boots file
    CreateGlobalSession(dir);

    bool allOk = true;
    for (long rows : sizes) {
        testagent::Options options;
        options.dataSets = {"large" + std::to_string(rows)};
        testagent::SnmpdAgent agent(options);
        agent.Start();
        GlobalDevice.Address = agent.Address();
        GlobalDevice.Port = agent.Port();
        GlobalSecurity.Version = 1;
        GlobalSecurity.ReadCommunity = testagent::kReadCommunity;
        const std::string target = agent.Address() + ":" + std::to_string(agent.Port());
        const std::string table = std::string(".") + testagent::kDeviceSubtree + ".9";
        // Both tools print the name column ("Volume-<row>") once per row.
        const std::string snmptable = "snmptable -v2c -c public -CB -m KSV720E-MIB -M " +
                                      std::string(KSV_MIB_DIR) + " " + target + " ksvVolumeTable";
        const std::string snmpwalk = "snmpwalk -v2c -c public -On " + target + " " + table;

        std::printf("--- volume table, %ld rows x 6 columns (v2c, 127.0.0.1, %d runs each)\n", rows,
                    kRepeats);
        // A first walk of each kind warms the agent up; it is not counted.
        WalkWithModule(rows);
        if (!moduleOnly) RunToolTimed(snmptable, 1, rows, 1, "Volume-");
        Series module, table_, walk;
        for (int run = 0; run < kRepeats; ++run) {
            module.runs.push_back(WalkWithModule(rows));
            if (moduleOnly) continue;
            table_.runs.push_back(RunToolTimed(snmptable, 1, rows, 1, "Volume-"));
            walk.runs.push_back(RunToolTimed(snmpwalk, 1, rows, 5, "Volume-"));
        }
        const long modulePeak = PeakKiB();
        if (moduleOnly) {
            Print("module (async, pump)", module, modulePeak, 0);
            allOk = allOk && module.Best().ok;
            continue;
        }
        const long tablePeak = table_.Best().peakKiB;
        const long walkPeak = walk.Best().peakKiB;
        const double reference = table_.Best().seconds;
        Print("module (async, pump)", module, modulePeak, reference);
        Print("snmptable -v2c -CB", table_, tablePeak, reference);
        Print("snmpwalk -v2c", walk, walkPeak, reference);
        std::printf("module log line: %s\n", module.Best().note.c_str());
        std::printf("ratio module / snmptable -CB: %.2f best, %.2f median (goal <= 1.2)\n",
                    module.Best().seconds / reference, module.Median() / table_.Median());
        allOk = allOk && module.Best().ok && table_.Best().ok && walk.Best().ok;
    }
    std::filesystem::remove_all(dir);
    std::printf(
        "(best of the runs; cpu: user + system seconds of the walking process; peak memory: the\n"
        " module process's maximum resident set, Qt included, and each tool's own)\n");
    return allOk ? 0 : 1;
}
