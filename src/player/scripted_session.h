#pragma once
// Plays the story headless, driven by a script of key codes instead of a
// keyboard, and hands over every screen the player waits on.
//
// Design: the session installs a HeadlessFrontEnd without a presenter thread,
// so the window image changes only when the session presents it. It sets a key
// idle hook: the key queue calls it each time the player waits for a key with
// an empty queue (the key wait of a story page, the map view). The hook
//   1. runs one presentation pass and passes the presented image, numbered
//      from 0 in the order of the waits, to the observer;
//   2. queues the next key code of the script, or, when the script is used up,
//      ends the program with `exhaustedStatus` through endProgram (which closes
//      the display and the files as any ending does).
// So every wait is observed exactly once, the last one included, and the
// program never blocks waiting for a key that will not come. A code 0 in the
// script is queued like any code; it yields the empty key string, so the
// player waits again and the same screen is observed once more.
//
// Each time the window closes (Escape's reset, the program's ending, a
// runtime error), the closing observer gets the last image it showed: what
// the user saw when a failure ended the program.
//
// run() never returns: the program ends through Escape (status 0), a runtime
// error (its number), or the end of the script. Run a session in a process of
// its own (a child process in tests, a command-line tool), with the working
// directory set to the story's folder.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "display/headless_front_end.h"
#include "display/png_image.h"

namespace quillon {

// Exit status when the script runs out while the player still waits; distinct
// from every runtime error number and from Escape's 0.
inline constexpr int32_t kScriptExhaustedStatus = 100;

struct ScriptedSession {
  using ScreenObserver = std::function<void(int32_t waitIndex, const RgbImage& screen)>;

  std::vector<int32_t> keyCodes;   // queued one per wait, in this order
  ScreenObserver observer;         // each key wait; may be empty
  ScreenObserver closingObserver;  // each closing window; may be empty
  int32_t exhaustedStatus = kScriptExhaustedStatus;

  // The front end the session installs; set failNextOpen on it to play
  // without a display.
  HeadlessFrontEnd& frontEnd() { return frontEnd_; }

  [[noreturn]] void run();

 private:
  // Shows its last image to the session before it closes.
  class Window : public HeadlessFrontEnd {
   public:
    explicit Window(ScriptedSession& session) : HeadlessFrontEnd(false), session_(session) {}
    void closeWindow() override;

   private:
    ScriptedSession& session_;
  };

  static void onIdle(void* context);
  void observeAndFeed();
  RgbImage presentedImage();

  Window frontEnd_{*this};
  std::size_t nextKey_ = 0;
  int32_t waits_ = 0;
  int32_t closings_ = 0;
};

// Key codes of a text, one per byte (so "\x1b" is Escape and "\t" Tab).
std::vector<int32_t> keyCodesOf(std::string_view text);

}  // namespace quillon
