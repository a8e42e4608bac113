// The error table and the abort message. Composition writes into a caller's
// buffer with hand-made number formatting, so a signal handler can use it.
#include <array>

#include "errors/error_numbers.h"
#include "errors/runtime_error.h"

namespace quillon {

namespace {

constexpr std::array<const char*, kErrorTableRows> kErrorTexts = {
    "",
    "illegal function call",
    "file not found",
    "file I/O error",
    "out of memory",
    "illegal resume",
    "out of bounds array access",
    "null pointer access",
    "no privileges",
    "\"interrupted\" signal",
    "\"illegal instruction\" signal",
    "\"floating point error\" signal",
    "\"segmentation violation\" signal",
    "\"termination request\" signal",
    "\"abnormal termination\" signal",
    "\"quit request\" signal",
    "return without gosub",
    "end of file",
};

// Appends to a fixed buffer and silently drops what does not fit, keeping
// room for the terminating NUL.
class MessageWriter {
 public:
  MessageWriter(char* buffer, std::size_t size)
      : buffer_(buffer), capacity_(size == 0 ? 0 : size - 1), hasRoomForNul_(size > 0) {}

  void text(const char* piece) {
    while (*piece != '\0' && length_ < capacity_) buffer_[length_++] = *piece++;
  }

  void integer(int32_t value) {
    // The magnitude in unsigned arithmetic, so the most negative value works too.
    uint32_t magnitude = static_cast<uint32_t>(value);
    if (value < 0) magnitude = 0u - magnitude;
    char digits[10];
    std::size_t count = 0;
    do {
      digits[count++] = static_cast<char>('0' + magnitude % 10u);
      magnitude /= 10u;
    } while (magnitude != 0);
    if (value < 0) text("-");
    while (count > 0 && length_ < capacity_) buffer_[length_++] = digits[--count];
  }

  std::size_t finish() {
    if (hasRoomForNul_) buffer_[length_] = '\0';
    return length_;
  }

 private:
  char* buffer_;
  std::size_t capacity_;
  bool hasRoomForNul_;
  std::size_t length_ = 0;
};

}  // namespace

const char* errorText(int32_t number) {
  if (number < 0 || number >= kErrorTableRows) return nullptr;
  return kErrorTexts[static_cast<std::size_t>(number)];
}

std::size_t composeAbortMessage(int32_t number, int32_t location, const char* module,
                                const char* function, char* buffer, std::size_t size) {
  MessageWriter writer(buffer, size);
  writer.text("\nAborting due to runtime error ");
  writer.integer(number);
  if (const char* text = errorText(number)) {
    writer.text(" (");
    writer.text(text);
    writer.text(")");
  }
  const bool hasLocation = location > 0;
  if (hasLocation) {
    writer.text(" at line ");
    writer.integer(location);
  }
  if (module != nullptr) {
    writer.text(hasLocation ? " of " : " in ");
    writer.text(module);
    if (function != nullptr) {
      writer.text("::");
      writer.text(function);
    }
    writer.text("()");
  }
  writer.text("\n\n");
  return writer.finish();
}

}  // namespace quillon
