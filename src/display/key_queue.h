#pragma once
// Key codes between the front end and pollKey: a 16-slot ring holding at
// most 15 codes; the oldest is dropped when full.
#include <cstdint>
#include <string>

namespace quillon {

inline constexpr int32_t kKeyQueueSlots = 16;
inline constexpr int32_t kExtendedKeyPrefix = 255;
// Extended key code for IBM PC extended code `code`: 255 + 256 * code.
constexpr int32_t extendedKeyCode(int32_t code) { return kExtendedKeyPrefix + 256 * code; }
inline constexpr int32_t kCloseKeyCode = extendedKeyCode(107);

// Key string of a code: empty for 0, one byte up to 255, 255 + code otherwise.
std::string keyStringFromCode(int32_t code);

// Queues a code (front end side). Takes displayMutex() itself; use the
// Locked variant from code that already holds it.
void queueKeyCode(int32_t code);
void queueKeyCodeLocked(int32_t code);

// Takes the oldest code as a key string; never waits.
std::string pollKey();

// Sleeps, using no CPU, until the queue holds a code (pollKey then takes it).
// Before sleeping it calls the idle hook, through which a scripted front end
// feeds its next keys.
void waitForKeyCode();
using KeyIdleHook = void (*)(void* context);
void setKeyIdleHook(KeyIdleHook hook, void* context);

// Empties the queue; for tests that reuse one process.
void clearKeyQueue();

}  // namespace quillon
