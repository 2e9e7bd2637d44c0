#pragma once

// What a batch run undoes when it is interrupted (SIGINT, SIGTERM, SIGHUP):
// the unfinished files it was writing are removed and the workers it started
// are stopped, then the process ends by the same signal. A file-size limit
// (SIGXFSZ) makes the write fail with its reason instead of ending the run.
// A killed run (SIGKILL) cannot clean up: its unfinished files keep names
// that say so and never the final name.

#include <string>
#include <sys/types.h>

namespace vk {

void InstallInterruptHandlers();

// Removed on an interruption until forgotten. False when the table is full
// (the file is then not cleaned up after an interruption).
bool RemoveOnInterrupt(const std::string& path);
void ForgetRemoval(const std::string& path);

// Sent SIGTERM on an interruption until forgotten.
void StopOnInterrupt(pid_t worker);
void ForgetWorker(pid_t worker);

}  // namespace vk
