#include "player/scripted_session.h"

#include "display/front_end.h"
#include "display/key_queue.h"
#include "errors/runtime_error.h"
#include "player/story_state.h"

namespace quillon {

void ScriptedSession::run() {
  nextKey_ = 0;
  waits_ = 0;
  closings_ = 0;
  setFrontEnd(&frontEnd_);
  setKeyIdleHook(&ScriptedSession::onIdle, this);
  runStory();
}

void ScriptedSession::Window::closeWindow() {
  if (isOpen() && session_.closingObserver) {
    session_.closingObserver(session_.closings_++, session_.presentedImage());
  }
  HeadlessFrontEnd::closeWindow();
}

void ScriptedSession::onIdle(void* context) {
  static_cast<ScriptedSession*>(context)->observeAndFeed();
}

RgbImage ScriptedSession::presentedImage() {
  const std::vector<uint32_t>& pixels = frontEnd_.presentNow();
  return imageFromPixels(pixels, frontEnd_.presenter().width(), frontEnd_.presenter().height());
}

void ScriptedSession::observeAndFeed() {
  const RgbImage screen = presentedImage();
  if (observer) observer(waits_, screen);
  ++waits_;
  if (nextKey_ >= keyCodes.size()) endProgram(exhaustedStatus);
  queueKeyCode(keyCodes[nextKey_++]);
}

std::vector<int32_t> keyCodesOf(std::string_view text) {
  std::vector<int32_t> codes;
  codes.reserve(text.size());
  for (const char c : text) codes.push_back(static_cast<unsigned char>(c));
  return codes;
}

}  // namespace quillon
