#pragma once
// SDL counts subsystem initialisations without a lock of its own; the
// presenter threads (video) and the bell's opener (audio) take this one.
#include <SDL.h>

#include <mutex>

namespace quillon {

std::mutex& sdlSubsystemMutex();

// SDL_InitSubSystem and SDL_QuitSubSystem under sdlSubsystemMutex().
bool initSdlSubsystem(Uint32 flags);
void quitSdlSubsystem(Uint32 flags);

// Keeps the ALSA library, which SDL may load to find a sound device, from
// printing its complaints to standard error, which belongs to the abort
// message. Does nothing where ALSA is not installed.
void silenceAlsaDiagnostics();

}  // namespace quillon
