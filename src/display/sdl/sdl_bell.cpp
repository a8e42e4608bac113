#include "display/sdl/sdl_bell.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "display/sdl/sdl_subsystems.h"
#include "errors/fault_handlers.h"

namespace quillon {
namespace {

constexpr int32_t kSampleRate = 48000;
constexpr double kAmplitude = 8000.0;
constexpr int32_t kFadeMs = 5;
constexpr Uint16 kSamplesPerCallback = 1024;

}  // namespace

std::vector<int16_t> bellTone(int32_t sampleRate) {
  const int32_t count = sampleRate * kBellDurationMs / 1000;
  const int32_t fade = std::max(1, sampleRate * kFadeMs / 1000);
  std::vector<int16_t> samples(static_cast<std::size_t>(std::max(0, count)));
  for (int32_t i = 0; i < count; ++i) {
    const double envelope =
        std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(count - 1 - i) / fade});
    const double phase = 2.0 * std::numbers::pi * kBellFrequencyHz * i / sampleRate;
    // |value| <= kAmplitude, well inside the int16_t range.
    const double value = kAmplitude * envelope * std::sin(phase);
    samples[static_cast<std::size_t>(i)] = static_cast<int16_t>(std::lround(value));
  }
  return samples;
}

SdlBell::~SdlBell() {
  if (opener_.joinable()) {
    opener_.join();
  }
  if (device_ != 0) {
    SDL_CloseAudioDevice(device_);
    quitSdlSubsystem(SDL_INIT_AUDIO);
  }
}

void SdlBell::openDevice() {
  prepareThreadForFaults();
  silenceAlsaDiagnostics();
  SDL_AudioDeviceID device = 0;
  if (initSdlSubsystem(SDL_INIT_AUDIO)) {
    SDL_AudioSpec wanted{};
    wanted.freq = kSampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = kSamplesPerCallback;
    wanted.callback = nullptr;  // samples are queued
    // No changes allowed: SDL converts to whatever the device plays.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
      quitSdlSubsystem(SDL_INIT_AUDIO);
    }
  }
  std::lock_guard<std::mutex> lock(mutex_);
  if (device == 0) {
    state_ = Device::Missing;
    return;
  }
  device_ = device;
  tone_ = bellTone(kSampleRate);
  SDL_PauseAudioDevice(device_, 0);
  state_ = Device::Open;
  if (ringWhenOpen_) {
    queueToneLocked();
  }
}

void SdlBell::ring() {
  std::lock_guard<std::mutex> lock(mutex_);
  switch (state_) {
    case Device::Untried:
      state_ = Device::Opening;
      ringWhenOpen_ = true;
      opener_ = std::thread(&SdlBell::openDevice, this);
      break;
    case Device::Opening:
      ringWhenOpen_ = true;
      break;
    case Device::Open:
      queueToneLocked();
      break;
    case Device::Missing:
      break;
  }
}

void SdlBell::queueToneLocked() {
  const auto toneBytes = static_cast<Uint32>(tone_.size() * sizeof(int16_t));
  // A burst of bells merges into at most two queued tones instead of keeping
  // the speaker busy long after the text was printed.
  if (toneBytes == 0 || SDL_GetQueuedAudioSize(device_) > toneBytes) {
    return;
  }
  SDL_QueueAudio(device_, tone_.data(), toneBytes);
}

}  // namespace quillon
