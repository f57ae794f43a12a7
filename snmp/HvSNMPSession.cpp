#include "snmp/HvSNMPSession.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <exception>
#include <vector>

#include "platform/Exception.h"
#include "platform/MessageBox.h"
#include "platform/System.h"
#include "snmp/HvSNMPErrors.h"
#include "snmp/SnmpSession.h"

HvSNMPDevice GlobalDevice;
HvSNMPScope GlobalScope;
HvSNMPSecurity GlobalSecurity;
int32_t DefaultTimeout = 0;
SnmpSession* GlobalSession = nullptr;
_SnmpEventProcessor GlobalEventProcessor;

namespace {

constexpr unsigned kPumpInterval = 20;
const char* const kBootsFileName = "HvSNMP_PP_BootCounter";
// The highest value snmpEngineBoots may take; it stays there.
constexpr uint32_t kMaxEngineBoots = 2147483647u;

}  // namespace

// The socket watchers belong to the application object (they go with it) and are held
// through guarded pointers, so the static pump never touches them after it is gone.
struct _SnmpEventProcessor::Watchers {
    std::vector<QPointer<QSocketNotifier>> notifiers;
    uint64_t generation = 0;
    bool built = false;
};

_SnmpEventProcessor::_SnmpEventProcessor() : watchers_(std::make_unique<Watchers>()) {
    timer_.SetEnabled(false);
    timer_.SetInterval(kPumpInterval);
    timer_.SetOnTimer([this] { Step(); });
}

_SnmpEventProcessor::~_SnmpEventProcessor() {
    Stop();
    if (GlobalSession != nullptr) GlobalSession->SetSocketsChangedHandler(nullptr);
    if (QCoreApplication::instance() != nullptr) {
        for (auto& n : watchers_->notifiers) delete n.data();
    }
    watchers_->notifiers.clear();
}

void _SnmpEventProcessor::Start() {
    running_ = true;
    if (GlobalSession != nullptr) {
        GlobalSession->SetSocketsChangedHandler([this] {
            // Inside a step the watchers are rebuilt when it ends.
            if (!inStep_) SyncWatchers();
        });
    }
    if (!inStep_) {
        SyncWatchers();
        timer_.SetEnabled(true);
    }
}

void _SnmpEventProcessor::Stop() {
    running_ = false;
    timer_.SetEnabled(false);
    EnableWatchers(false);
}

void _SnmpEventProcessor::SetInterval(unsigned milliseconds) {
    timer_.SetInterval(milliseconds);
}

size_t _SnmpEventProcessor::WatchedSockets() const {
    size_t n = 0;
    for (const auto& notifier : watchers_->notifiers)
        if (!notifier.isNull()) ++n;
    return n;
}

void _SnmpEventProcessor::EnableWatchers(bool enabled) {
    for (auto& notifier : watchers_->notifiers)
        if (!notifier.isNull()) notifier->setEnabled(enabled);
}

void _SnmpEventProcessor::SyncWatchers() {
    QCoreApplication* app = QCoreApplication::instance();
    Watchers& w = *watchers_;
    const uint64_t generation = GlobalSession ? GlobalSession->SocketGeneration() : 0;
    if (app == nullptr || (w.built && generation == w.generation)) {
        EnableWatchers(running_ && !inStep_);
        return;
    }
    // A watcher may be the one whose signal runs this step: let the event loop delete it.
    for (auto& notifier : w.notifiers) {
        if (notifier.isNull()) continue;
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
    w.notifiers.clear();
    if (GlobalSession != nullptr) {
        for (int socket : GlobalSession->Sockets()) {
            auto* notifier = new QSocketNotifier(socket, QSocketNotifier::Read, app);
            QObject::connect(notifier, &QSocketNotifier::activated, [this] { Step(); });
            notifier->setEnabled(running_ && !inStep_);
            w.notifiers.emplace_back(notifier);
        }
    }
    w.generation = generation;
    w.built = true;
}

void _SnmpEventProcessor::Step() {
    if (inStep_) return;
    inStep_ = true;
    timer_.SetEnabled(false);
    EnableWatchers(false);
    std::string failure;
    try {
        if (GlobalSession != nullptr) GlobalSession->ProcessPendingEvents();
    } catch (const Exception& e) {
        failure = e.Message();
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "Unknown exception!";
    }
    inStep_ = false;
    if (running_) {
        SyncWatchers();
        timer_.SetEnabled(true);
    }
    // Shown after the step: the message box's own event loop may run further steps.
    if (!failure.empty()) ShowMessage(failure);
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    if (directory.empty()) return name;
    if (directory.back() == '\\') return directory + name;
    return directory + "\\" + name;
}

void CreateGlobalSession(const std::string& directory) {
    GlobalSession = new SnmpSession(SnmpSession::kDefaultEngineId);
    if (GlobalSession->Status() != 0) RaiseLibraryError(-506);

    const std::string bootsFile = NativeFileName(JoinPath(directory, kBootsFileName));
    uint32_t counter = 0;
    const int loaded = GetBootCounter(bootsFile, SnmpSession::kDefaultEngineId, counter);
    if (loaded < -2) RaiseLibraryError(-507);
    if (loaded != 0) counter = 0;  // no entry or no file: the first start
    if (counter < kMaxEngineBoots) ++counter;
    if (SaveBootCounter(bootsFile, SnmpSession::kDefaultEngineId, counter) != 0)
        RaiseLibraryError(-508);
    GlobalSession->SetEngineBoots(counter);

    GlobalDevice.Address = "127.0.0.1";
    GlobalDevice.Port = 161;
    GlobalScope.ContextEngineID.clear();
    GlobalScope.ContextName.clear();
    GlobalSecurity.Version = 0;
    GlobalSecurity.ReadCommunity = "gesdar";
    GlobalSecurity.WriteCommunity = "vontrel";
    GlobalSecurity.SecurityModel = 1;
    GlobalSecurity.SecurityLevel = 1;
    GlobalSecurity.SecurityName.clear();
    GlobalSecurity.AuthPassword.clear();
    GlobalSecurity.PrivPassword.clear();
    GlobalSecurity.AuthProtocol = 1;
    GlobalSecurity.PrivProtocol = 1;
    DefaultTimeout = 100;

    GlobalEventProcessor.Start();
}
