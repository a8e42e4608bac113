// Buffered reading and text-mode translation of one record file.
#include "data/record_stream.h"

namespace quillon {

void RecordStream::attach(HostFileHandle file) {
  position_ = 0;
  filled_ = 0;
  ended_ = false;
  lookahead_ = kNoLookahead;
  putBackCount_ = 0;
  file_.store(file, std::memory_order_relaxed);
}

void RecordStream::close() {
  closeFileOnly();
  position_ = 0;
  filled_ = 0;
  ended_ = true;
  lookahead_ = kNoLookahead;
  putBackCount_ = 0;
}

void RecordStream::closeFileOnly() {
  closeHostFile(file_.exchange(kNoHostFile, std::memory_order_relaxed));
}

bool RecordStream::atEnd() {
  if (putBackCount_ > 0) return false;
  // A buffered byte that the translation leaves alone is a character to come;
  // it stays where it is, so the next read can take it from the buffer.
  if (lookahead_ == kNoLookahead && position_ < filled_) {
    const int c = buffer_[position_];
    if (c != kCarriageReturn && c != kEndOfText) return false;
  }
  const int c = nextTranslated();
  if (c == kEnd) return true;
  putBack(c);
  return false;
}

int RecordStream::refill() {
  if (ended_) return kEnd;
  filled_ = readHostFile(file_.load(std::memory_order_relaxed), buffer_.data(), buffer_.size());
  position_ = 0;
  // The end stays the end: later reads return it however often they come.
  if (filled_ == 0) {
    ended_ = true;
    return kEnd;
  }
  return buffer_[position_++];
}

int RecordStream::nextTranslated() {
  int c;
  if (lookahead_ != kNoLookahead) {
    c = lookahead_;
    lookahead_ = kNoLookahead;
  } else {
    c = nextRaw();
  }
  if (c == kEndOfText) {
    ended_ = true;
    position_ = filled_;
    return kEnd;
  }
  if (c == kCarriageReturn) {
    // The LF may be the first byte of the next buffer load.
    const int following = nextRaw();
    if (following == kLineFeed) return kLineFeed;
    lookahead_ = following;
  }
  return c;
}

}  // namespace quillon
