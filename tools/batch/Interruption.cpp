#include "batch/Interruption.h"

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace vk {

namespace {

// The handler reads these tables, so they are fixed arrays of plain values:
// nothing in a signal handler may allocate or take a lock.
constexpr int MaxFiles = 64;
constexpr int MaxPath = 4096;
constexpr int MaxWorkers = 1024;

struct RemovalSlot {
    volatile sig_atomic_t used = 0;
    char path[MaxPath] = {};
};

RemovalSlot removals[MaxFiles];
volatile pid_t workers[MaxWorkers] = {};

void OnInterrupt(int sig)
{
    for (RemovalSlot& slot : removals)
        if (slot.used)
            ::unlink(slot.path);
    for (const volatile pid_t& pid : workers)
        if (pid > 0)
            ::kill(pid, SIGTERM);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

}  // namespace

void InstallInterruptHandlers()
{
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        std::signal(sig, OnInterrupt);
    std::signal(SIGXFSZ, SIG_IGN);
}

bool RemoveOnInterrupt(const std::string& path)
{
    if (path.size() >= MaxPath)
        return false;
    for (RemovalSlot& slot : removals) {
        if (slot.used)
            continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.used = 1;
        return true;
    }
    return false;
}

void ForgetRemoval(const std::string& path)
{
    for (RemovalSlot& slot : removals)
        if (slot.used && path == slot.path)
            slot.used = 0;
}

void StopOnInterrupt(pid_t worker)
{
    for (volatile pid_t& pid : workers)
        if (pid <= 0) {
            pid = worker;
            return;
        }
}

void ForgetWorker(pid_t worker)
{
    for (volatile pid_t& pid : workers)
        if (pid == worker)
            pid = 0;
}

}  // namespace vk
