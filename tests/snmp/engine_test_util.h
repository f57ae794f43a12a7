#pragma once
// Helpers of the request engine's and the dispatch's tests against the real snmpd: the
// application object and the module's session, credentials, the device's data as the agent's
// data files give it, and bounded waiting through the event loop (the real pump).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "mib/Oid_ksv_720e.h"
#include "platform/System.h"
#include "snmp/HvSNMPErrors.h"
#include "snmp/HvSNMPRequest.h"
#include "snmp/HvSNMPSession.h"
#include "snmp/SnmpSession.h"
#include "tests/agent/SnmpdAgent.h"

namespace enginetest {

inline const std::string B = testagent::kDeviceSubtree;

// The application object and the module's session, once per process.
inline void StartModule() {
    static int argc = 1;
    static char name[] = "test_engine";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
    static std::string dir;
    if (dir.empty()) {
        // The session's engine-boots file goes into a directory of its own, removed at exit.
        char pattern[] = "/tmp/engine_test_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        std::atexit([] { std::filesystem::remove_all(dir); });
        CreateGlobalSession(dir);
    }
}

// Processes events (the pump's socket watchers and timer included) until `done` or about
// `boundMs` milliseconds. Blocks in the event loop between events rather than spinning.
inline bool PumpUntil(const std::function<bool()>& done, uint32_t boundMs = 20000) {
    const uint32_t start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > boundMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        ProcessMessages();
    }
    return true;
}

// One set of credentials the agent accepts.
struct Credentials {
    const char* name;
    uint8_t version;
    int32_t level = 1;
    const char* user = "";
    int32_t auth = SnmpAuthProtocol::kNone;
    const char* authPassword = "";
    int32_t priv = SnmpPrivProtocol::kNone;
    const char* privPassword = "";
};

inline const std::vector<Credentials>& AllCredentials() {
    using namespace testagent;
    static const std::vector<Credentials> all = {
        {"v1", 0, 1, "", SnmpAuthProtocol::kNone, "", SnmpPrivProtocol::kNone, ""},
        {"v2c", 1, 1, "", SnmpAuthProtocol::kNone, "", SnmpPrivProtocol::kNone, ""},
        {"v3_noAuthNoPriv", 3, 1, kNoAuthUser, SnmpAuthProtocol::kNone, "", SnmpPrivProtocol::kNone,
         ""},
        {"v3_MD5_authNoPriv", 3, 2, kMd5User, SnmpAuthProtocol::kMd5, kMd5AuthPassword,
         SnmpPrivProtocol::kNone, ""},
        {"v3_SHA_DES_authPriv", 3, 3, kShaDesUser, SnmpAuthProtocol::kSha, kShaDesAuthPassword,
         SnmpPrivProtocol::kDes, kShaDesPrivPassword},
        {"v3_SHA256_AES256_authPriv", 3, 3, kSha256AesUser, SnmpAuthProtocol::kSha256,
         kSha256AesAuthPassword, SnmpPrivProtocol::kAes256, kSha256AesPrivPassword},
    };
    return all;
}

// Points the module-wide defaults (copied by every new request) at an agent.
inline void UseAgent(const std::string& address, uint16_t port, const Credentials& c) {
    GlobalDevice.Address = address;
    GlobalDevice.Port = port;
    GlobalScope = HvSNMPScope{};
    GlobalSecurity.Version = c.version;
    GlobalSecurity.ReadCommunity = testagent::kReadCommunity;
    GlobalSecurity.WriteCommunity = testagent::kWriteCommunity;
    GlobalSecurity.SecurityModel = kSnmpSecurityModelUsm;
    GlobalSecurity.SecurityLevel = c.level;
    GlobalSecurity.SecurityName = c.user;
    GlobalSecurity.AuthProtocol = c.auth;
    GlobalSecurity.AuthPassword = c.authPassword;
    GlobalSecurity.PrivProtocol = c.priv;
    GlobalSecurity.PrivPassword = c.privPassword;
    DefaultTimeout = 100;
}

inline void UseAgent(const testagent::SnmpdAgent& agent, const Credentials& c) {
    UseAgent(agent.Address(), agent.Port(), c);
}

inline const Credentials& V2c() {
    return AllCredentials()[1];
}
inline const Credentials& V1() {
    return AllCredentials()[0];
}

// ---- The agent's data, read from its data files -----------------------------------------

// OID (dotted, no leading dot) -> value of the octet_str override lines of a data file.
inline std::map<std::string, std::string> DataFileValues(const std::string& dataSet) {
    std::map<std::string, std::string> values;
    std::ifstream in(std::string(KSV_AGENT_DATA_DIR) + "/" + dataSet + ".conf");
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string keyword, oid, type;
        words >> keyword;
        if (keyword != "override") continue;
        words >> oid;
        if (oid == "-rw") words >> oid;
        words >> type;
        if (type != "octet_str") continue;
        const size_t open = line.find('"');
        const size_t close = line.rfind('"');
        if (open == std::string::npos || close <= open) continue;
        values[oid.substr(oid[0] == '.' ? 1 : 0)] = line.substr(open + 1, close - open - 1);
    }
    return values;
}

using Row = std::vector<std::string>;

// The rows a walk of a device table of a data file gives: the index ("Number") followed by
// the five columns, one row per index that any column serves. A column without a cell in a
// row reads "(NULL)" when it serves a later row, and "(NOTDONE)" when it has ended.
inline std::vector<Row> ExpectedTable(const std::map<std::string, std::string>& data, int table) {
    const std::string entry = B + "." + std::to_string(table) + ".1.";
    std::map<long, std::map<int, std::string>> cells;  // row -> column -> value
    std::map<int, long> lastRow;                       // column -> its last row
    for (const auto& [oid, value] : data) {
        if (oid.rfind(entry, 0) != 0) continue;
        const std::string rest = oid.substr(entry.size());
        const int column = std::stoi(rest.substr(0, rest.find('.')));
        const long row = std::stol(rest.substr(rest.find('.') + 1));
        cells[row][column] = value;
        lastRow[column] = std::max(lastRow[column], row);
    }
    std::vector<Row> out;
    for (const auto& [row, columns] : cells) {
        Row r{std::to_string(row)};
        for (int column = 2; column <= 6; ++column) {
            const auto cell = columns.find(column);
            if (cell != columns.end()) {
                r.push_back(cell->second);
            } else {
                r.push_back(lastRow.count(column) && lastRow[column] > row ? "(NULL)"
                                                                           : "(NOTDONE)");
            }
        }
        out.push_back(r);
    }
    return out;
}

inline Row ExpectedScalars(const std::map<std::string, std::string>& data) {
    Row r;
    for (const SnmpVarDef* d = AgentVersionVars; d->oid != nullptr; ++d)
        r.push_back(data.at(std::string(d->oid) + ".0"));
    return r;
}

// ---- Reading through the engine ---------------------------------------------------------

inline Row Values(const HvSNMPVarList& list) {
    Row r;
    for (int32_t i = 0; i < list.Count(); ++i) r.push_back(list.Item(i).value);
    return r;
}

// A synchronous walk (or one read of a single-value list); at most `maxSteps` steps.
struct SyncResult {
    std::vector<Row> rows;
    bool ok = true;
    int steps = 0;
};
inline SyncResult WalkSync(HvSNMPRequest& request, int maxSteps = 1000) {
    SyncResult result;
    const bool table = request.List().ItemType == MVT_FMV || request.List().ItemType == MVT_UMV;
    bool first = true;
    while (result.steps < maxSteps) {
        ++result.steps;
        bool ok = false;
        const bool row = request.Get(first, ok);
        result.ok = ok;
        if (!table) {
            if (ok) result.rows.push_back(Values(request.List()));
            break;
        }
        if (!row) break;
        result.rows.push_back(Values(request.List()));
        first = false;
    }
    return result;
}

// An asynchronous walk driven from the reply callback, as a table window drives it.
struct AsyncWalk {
    explicit AsyncWalk(HvSNMPRequest& r) : request(r) {}
    HvSNMPRequest& request;
    std::vector<Row> rows;
    std::vector<HvSNMPError> records;
    bool done = false;
    int maxSteps = 1000;

    static void OnReply(void* data, HvSNMPError& error, HvSNMPVarList& list) {
        auto& walk = *static_cast<AsyncWalk*>(data);
        walk.records.push_back(error);
        const bool table = list.ItemType == MVT_FMV || list.ItemType == MVT_UMV;
        if (error.code != 0) {
            walk.done = true;
            return;
        }
        if (!table || !error.finished) walk.rows.push_back(Values(list));
        if (error.finished || static_cast<int>(walk.records.size()) >= walk.maxSteps) {
            walk.done = true;
            return;
        }
        bool ok = false;
        walk.request.GetAsync(false, &AsyncWalk::OnReply, &walk, ok);
        if (!ok) walk.done = true;
    }

    // Starts the walk and pumps until it ends; false when it did not start or end in time.
    bool Run(uint32_t boundMs = 30000) {
        bool ok = false;
        request.GetAsync(true, &AsyncWalk::OnReply, this, ok);
        if (!ok) return false;
        return PumpUntil([this] { return done; }, boundMs) && request.pending == 0;
    }
};

// Collects the reports of a request's error handler (a plain function: one collector at a
// time).
struct ErrorLog {
    static std::vector<HvSNMPError>& Errors() {
        static std::vector<HvSNMPError> errors;
        return errors;
    }
    static void Handler(HvSNMPError* e) { Errors().push_back(*e); }
    ErrorLog() { Errors().clear(); }
};

// An agent serving the data sets.
inline testagent::Options DataSets(std::vector<std::string> names) {
    testagent::Options options;
    options.dataSets = std::move(names);
    return options;
}

inline std::string Target(const testagent::SnmpdAgent& agent) {
    return agent.Address() + ":" + std::to_string(agent.Port());
}

}  // namespace enginetest
