#include "display/sdl/sdl_subsystems.h"

#include <dlfcn.h>

namespace quillon {
namespace {

void ignoreAlsaDiagnostic(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

std::mutex& sdlSubsystemMutex() {
  static std::mutex mutex;
  return mutex;
}

bool initSdlSubsystem(Uint32 flags) {
  std::lock_guard<std::mutex> lock(sdlSubsystemMutex());
  return SDL_InitSubSystem(flags) == 0;
}

void quitSdlSubsystem(Uint32 flags) {
  std::lock_guard<std::mutex> lock(sdlSubsystemMutex());
  SDL_QuitSubSystem(flags);
}

void silenceAlsaDiagnostics() {
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetHandler = int (*)(Handler);
  // The same library instance SDL loads later, so the handler stays in force.
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
  if (alsa == nullptr) {
    return;
  }
  const auto setHandler = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
  if (setHandler != nullptr) {
    setHandler(ignoreAlsaDiagnostic);
  }
  // Kept loaded: dropping it would drop the handler with it.
}

}  // namespace quillon
