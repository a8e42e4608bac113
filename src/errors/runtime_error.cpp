// The error state and the program's ending. The ending takes no lock and
// allocates nothing, so fatal signals on any thread share it.
#include "errors/runtime_error.h"

#include <array>
#include <atomic>
#include <cstdio>

#include "errors/error_numbers.h"
#include "errors/process_exit.h"

namespace quillon {

namespace {

std::atomic<const char*> gModuleName{kModuleName};
std::atomic<const char*> gFunctionName{""};
std::atomic<int32_t> gErrorNumber{kNoError};

constexpr std::size_t kCloserStages = 2;
std::array<std::atomic<Closer>, kCloserStages> gClosers{};

// The first ending claims this word: the flag bit marks it begun and the low
// 32 bits keep its status, so a later ending can exit with the same status.
constexpr uint64_t kEndingBegun = uint64_t{1} << 32;
std::atomic<uint64_t> gEnding{0};

// Filled once, by the ending that claimed gEnding, before gMessageReady.
char gMessage[kMessageBufferSize];
std::size_t gMessageLength = 0;
std::atomic<bool> gMessageReady{false};
std::atomic<bool> gMessageWriteClaimed{false};

static_assert(std::atomic<uint64_t>::is_always_lock_free &&
                  std::atomic<bool>::is_always_lock_free &&
                  std::atomic<int32_t>::is_always_lock_free &&
                  std::atomic<Closer>::is_always_lock_free &&
                  std::atomic<const char*>::is_always_lock_free,
              "the signal path may only use lock-free atomics");

void writeStoredMessageOnce() {
  if (!gMessageReady.load(std::memory_order_acquire)) return;
  if (gMessageWriteClaimed.exchange(true, std::memory_order_acq_rel)) return;
  writeToStandardError(gMessage, gMessageLength);
}

void runCloser(CloserStage stage, bool inSignalHandler) {
  const Closer closer = gClosers[static_cast<std::size_t>(stage)].load(std::memory_order_acquire);
  if (closer != nullptr) closer(inSignalHandler);
}

[[noreturn]] void endProcess(int32_t status, int32_t location, bool withMessage,
                             bool inSignalHandler) {
  uint64_t earlier = 0;
  const uint64_t claim = kEndingBegun | static_cast<uint32_t>(status);
  if (!gEnding.compare_exchange_strong(earlier, claim, std::memory_order_acq_rel)) {
    // Another ending is under way (a closer crashed, or a second thread failed
    // meanwhile): finish the first one's report without running anything more.
    writeStoredMessageOnce();
    exitProcessNow(static_cast<int32_t>(static_cast<uint32_t>(earlier)));
  }
  if (withMessage) {
    gMessageLength = composeAbortMessage(status, location, gModuleName.load(), gFunctionName.load(),
                                         gMessage, sizeof gMessage);
    gMessageReady.store(true, std::memory_order_release);
  }
  runCloser(CloserStage::Display, inSignalHandler);
  runCloser(CloserStage::Files, inSignalHandler);
  // Buffered output goes before the message; stdio is not safe in a handler.
  if (!inSignalHandler) std::fflush(nullptr);
  writeStoredMessageOnce();
  exitProcessNow(status);
}

}  // namespace

void setModuleName(const char* name) { gModuleName.store(name); }

void setFunctionName(const char* name) { gFunctionName.store(name); }

int32_t setErrorNumber(int32_t number) {
  gErrorNumber.store(number, std::memory_order_relaxed);
  return number;
}

int32_t currentErrorNumber() { return gErrorNumber.load(std::memory_order_relaxed); }

void registerCloser(CloserStage stage, Closer closer) {
  gClosers[static_cast<std::size_t>(stage)].store(closer, std::memory_order_release);
}

void runtimeError(int32_t number, int32_t location) {
  setErrorNumber(number);
  endProcess(number, location, true, false);
}

void checkIndex(int32_t index, int32_t lower, int32_t upper, int32_t location) {
  if (index < lower || index > upper) runtimeError(kOutOfBounds, location);
  setErrorNumber(kNoError);
}

void endProgram(int32_t status) { endProcess(status, 0, false, false); }

void endFromSignal(int32_t number) {
  constexpr int32_t kSignalLocation = -1;
  endProcess(number, kSignalLocation, true, true);
}

}  // namespace quillon
