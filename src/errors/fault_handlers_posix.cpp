// POSIX: fatal signals and processor faults (which arrive as signals) end the
// program through the abort path, on an alternate stack so that a stack
// overflow is reported too.
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>

#include "errors/error_numbers.h"
#include "errors/fault_handlers.h"
#include "errors/runtime_error.h"

namespace quillon {

namespace {

struct SignalRow {
  int signal;
  int32_t number;
};

constexpr std::array<SignalRow, 6> kSignalTable = {{
    {SIGINT, kInterruptedSignal},
    {SIGILL, kIllegalInstructionSignal},
    {SIGFPE, kFloatingPointErrorSignal},
    {SIGSEGV, kSegmentationViolationSignal},
    {SIGTERM, kTerminationRequestSignal},
    {SIGABRT, kAbnormalTerminationSignal},
}};

// Room for the handler and the closers it calls, also in instrumented builds.
constexpr std::size_t kAlternateStackSize = 64 * 1024;

void onFatalSignal(int signal) { endFromSignal(errorNumberForSignal(signal)); }

// One thread's alternate signal stack, with an inaccessible page below it so
// that overrunning it faults instead of overwriting other memory.
class AlternateSignalStack {
 public:
  AlternateSignalStack() = default;
  AlternateSignalStack(const AlternateSignalStack&) = delete;
  AlternateSignalStack& operator=(const AlternateSignalStack&) = delete;
  ~AlternateSignalStack() { release(); }

  void prepare() {
    if (mapping_ != nullptr) return;
    const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t wanted = std::max(kAlternateStackSize, static_cast<std::size_t>(SIGSTKSZ));
    const std::size_t usable = (wanted + page - 1) / page * page;
    void* mapping =
        ::mmap(nullptr, usable + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) return;  // faults are still reported, overflows are not
    ::mprotect(mapping, page, PROT_NONE);
    stack_t stack{};
    stack.ss_sp = static_cast<char*>(mapping) + page;
    stack.ss_size = usable;
    if (::sigaltstack(&stack, nullptr) != 0) {
      ::munmap(mapping, usable + page);
      return;
    }
    mapping_ = mapping;
    mappingSize_ = usable + page;
  }

  // Runs as the thread ends: the stack is switched off before it is unmapped.
  void release() {
    if (mapping_ == nullptr) return;
    stack_t off{};
    off.ss_flags = SS_DISABLE;
    if (::sigaltstack(&off, nullptr) != 0) return;  // in use: leave it mapped
    ::munmap(mapping_, mappingSize_);
    mapping_ = nullptr;
  }

 private:
  void* mapping_ = nullptr;
  std::size_t mappingSize_ = 0;
};

thread_local AlternateSignalStack tAlternateStack;

}  // namespace

int32_t errorNumberForSignal(int signal) {
  for (const SignalRow& row : kSignalTable) {
    if (row.signal == signal) return row.number;
  }
  return kNoError;
}

void prepareThreadForFaults() { tAlternateStack.prepare(); }

void installFaultHandlers() {
  prepareThreadForFaults();
  struct sigaction action {};
  action.sa_handler = onFatalSignal;
  // The requests from outside wait while the handler runs: the process is
  // ending anyway. The faults are not deferred: a fault inside the ending
  // re-enters the handler, which then exits with the first ending's report,
  // where a blocked fault would kill the process without one.
  sigemptyset(&action.sa_mask);
  sigaddset(&action.sa_mask, SIGINT);
  sigaddset(&action.sa_mask, SIGTERM);
  action.sa_flags = SA_ONSTACK | SA_NODEFER;
  for (const SignalRow& row : kSignalTable) ::sigaction(row.signal, &action, nullptr);
}

}  // namespace quillon
