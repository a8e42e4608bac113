// The key queue between the front end and pollKey, guarded by the display
// mutex; a waiting player sleeps on a condition variable instead of spinning.
#include "display/key_queue.h"

#include <array>
#include <condition_variable>
#include <mutex>

#include "display/framebuffer.h"

namespace quillon {

namespace {

constexpr uint32_t kByteMask = 0xFFu;
constexpr int32_t kLastCharacterCode = 255;

struct KeyQueue {
  std::array<int32_t, kKeyQueueSlots> slots{};
  int32_t head = 0;  // oldest code
  int32_t tail = 0;  // where the next code goes
};

// All of these are guarded by the display mutex.
KeyQueue gQueue;
KeyIdleHook gIdleHook = nullptr;
void* gIdleContext = nullptr;
std::condition_variable gKeyQueued;

int32_t nextSlot(int32_t slot) { return (slot + 1) % kKeyQueueSlots; }

bool hasCodeLocked() { return gQueue.head != gQueue.tail; }

char byteChar(uint32_t value) { return static_cast<char>(static_cast<unsigned char>(value)); }

}  // namespace

std::string keyStringFromCode(int32_t code) {
  if (code == 0) {
    return {};
  }
  const auto bits = static_cast<uint32_t>(code);
  if (code <= kLastCharacterCode) {
    return std::string(1, byteChar(bits & kByteMask));
  }
  return std::string{byteChar(kExtendedKeyPrefix), byteChar((bits >> 8) & kByteMask)};
}

void queueKeyCodeLocked(int32_t code) {
  gQueue.slots[static_cast<std::size_t>(gQueue.tail)] = code;
  gQueue.tail = nextSlot(gQueue.tail);
  if (gQueue.tail == gQueue.head) {
    gQueue.head = nextSlot(gQueue.head);  // full: the oldest code goes
  }
  gKeyQueued.notify_all();
}

void queueKeyCode(int32_t code) {
  DisplayLock lock;
  queueKeyCodeLocked(code);
}

std::string pollKey() {
  int32_t code = 0;
  {
    DisplayLock lock;
    if (hasCodeLocked()) {
      code = gQueue.slots[static_cast<std::size_t>(gQueue.head)];
      gQueue.head = nextSlot(gQueue.head);
    }
  }
  return keyStringFromCode(code);
}

// Waits on the mutex itself, so the caller must not hold the display lock.
void waitForKeyCode() {
  KeyIdleHook hook = nullptr;
  void* context = nullptr;
  {
    std::lock_guard<std::mutex> lock(displayMutex());
    if (hasCodeLocked()) {
      return;
    }
    hook = gIdleHook;
    context = gIdleContext;
  }
  // Outside the lock: the hook may queue keys itself.
  if (hook != nullptr) {
    hook(context);
  }
  std::unique_lock<std::mutex> lock(displayMutex());
  gKeyQueued.wait(lock, [] { return hasCodeLocked(); });
}

void setKeyIdleHook(KeyIdleHook hook, void* context) {
  DisplayLock lock;
  gIdleHook = hook;
  gIdleContext = context;
}

void clearKeyQueue() {
  DisplayLock lock;
  gQueue = KeyQueue{};
}

}  // namespace quillon
