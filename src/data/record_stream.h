#pragma once
// The character stream of one open record file: its bytes through an 8192-byte
// buffer, the text-mode translation, and the put-back store in front of it.
#include <array>
#include <atomic>
#include <cstddef>
#include <span>

#include "data/host_file.h"

namespace quillon {

inline constexpr std::size_t kReadBufferSize = 8192;
inline constexpr std::size_t kPutBackCapacity = 4;

class RecordStream {
 public:
  // End of file: a condition, never a character, never put back.
  static constexpr int kEnd = -1;
  static constexpr int kLineFeed = 10;
  static constexpr int kCarriageReturn = 13;
  static constexpr int kEndOfText = 26;  // Ctrl-Z ends a text file

  bool isOpen() const { return file_.load(std::memory_order_relaxed) != kNoHostFile; }
  // Starts reading `file` from its first byte with an empty put-back store.
  void attach(HostFileHandle file);
  // Closes the file and forgets everything buffered; harmless when closed.
  void close();
  // For a signal handler: closes the file and nothing else. Async-signal-safe.
  void closeFileOnly();

  // The next character (0..255) after translation, put-back store first.
  int next() {
    if (putBackCount_ > 0) return putBack_[--putBackCount_];
    // Fast path: a buffered byte that the translation leaves alone.
    if (lookahead_ == kNoLookahead && position_ < filled_) {
      const int c = buffer_[position_];
      if (c != kCarriageReturn && c != kEndOfText) {
        ++position_;
        return c;
      }
    }
    return nextTranslated();
  }
  // Makes `c` the next character again. The field reader puts back at most
  // one character before reading it, so the store never fills up.
  void putBack(int c) {
    if (c != kEnd && putBackCount_ < kPutBackCapacity) putBack_[putBackCount_++] = c;
  }
  // Whether no character remains. Looking ahead may move one character into
  // the put-back store; it is read from there next, so nothing changes order.
  bool atEnd();

  // The buffered bytes that come next, when they reach the reader unchanged:
  // nothing is put back or held after a CR. The translation still applies to
  // them (a CR or a byte 26 among them is not a character as it stands).
  // Empty otherwise. For fast paths that then consume with skipBuffered.
  std::span<const unsigned char> buffered() const {
    if (putBackCount_ > 0 || lookahead_ != kNoLookahead) return {};
    return {buffer_.data() + position_, filled_ - position_};
  }
  // Consumes `count` bytes of buffered(), none of them a CR or a byte 26.
  void skipBuffered(std::size_t count) { position_ += count; }

 private:
  static constexpr int kNoLookahead = -2;

  int nextRaw() {
    if (position_ < filled_) return buffer_[position_++];
    return refill();
  }
  int refill();
  int nextTranslated();

  std::atomic<HostFileHandle> file_{kNoHostFile};
  std::array<unsigned char, kReadBufferSize> buffer_{};
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  bool ended_ = false;
  // The byte read after a CR to see whether an LF follows, when none did.
  int lookahead_ = kNoLookahead;
  std::array<int, kPutBackCapacity> putBack_{};
  std::size_t putBackCount_ = 0;

  static_assert(std::atomic<HostFileHandle>::is_always_lock_free,
                "the file handle must be readable from a signal handler");
};

}  // namespace quillon
