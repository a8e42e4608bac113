#pragma once
// The bell: a 1000 Hz tone of 250 ms through SDL audio, queued so that the
// caller never waits. Without an audio device the bell is silent.
#include <SDL.h>

#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace quillon {

inline constexpr int32_t kBellFrequencyHz = 1000;
inline constexpr int32_t kBellDurationMs = 250;

// Samples of the tone, signed 16-bit mono at `sampleRate`, faded in and out
// so that it starts and stops without a click.
std::vector<int16_t> bellTone(int32_t sampleRate);

// The audio device is opened on a thread of its own at the first ring, since
// finding one can take a while; a ring made meanwhile sounds once it is open.
class SdlBell {
 public:
  SdlBell() = default;
  SdlBell(const SdlBell&) = delete;
  SdlBell& operator=(const SdlBell&) = delete;
  ~SdlBell();

  void ring();

 private:
  enum class Device { Untried, Opening, Open, Missing };

  void openDevice();
  void queueToneLocked();

  std::mutex mutex_;
  Device state_ = Device::Untried;
  bool ringWhenOpen_ = false;
  SDL_AudioDeviceID device_ = 0;
  std::vector<int16_t> tone_;
  std::thread opener_;
};

}  // namespace quillon
