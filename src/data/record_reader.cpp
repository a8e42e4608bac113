// The record text reader: numbered slots, and fields read one character at a
// time as strings or integers.
#include "data/record_reader.h"

#include <array>
#include <span>

#include "data/number_text.h"
#include "data/record_stream.h"
#include "errors/error_numbers.h"
#include "errors/runtime_error.h"

namespace quillon {
namespace {

constexpr int kComma = ',';
constexpr int kQuote = '"';
constexpr int kSpace = ' ';
constexpr int kTab = '\t';
constexpr int kLineFeed = RecordStream::kLineFeed;
constexpr int kCarriageReturn = RecordStream::kCarriageReturn;
constexpr int kEnd = RecordStream::kEnd;

// Constant-initialised and trivially destructible, so the ending can close
// slots at any point of the process's exit.
constinit std::array<RecordStream, kLastSlot> slots{};
bool closerRegistered = false;

RecordStream* slotAt(int32_t slot) {
  if (slot < kFirstSlot || slot > kLastSlot) return nullptr;
  return &slots[static_cast<std::size_t>(slot - kFirstSlot)];
}

RecordStream* openSlotAt(int32_t slot) {
  RecordStream* stream = slotAt(slot);
  return stream != nullptr && stream->isOpen() ? stream : nullptr;
}

// A signal handler may only give the descriptors back; a normal ending
// closes the slots properly.
void closeSlotsAtEnd(bool inSignalHandler) {
  if (inSignalHandler) {
    for (RecordStream& stream : slots) stream.closeFileOnly();
  } else {
    closeAllSlots();
  }
}

enum class FieldMode { String, Numeric };

// What reading a field learns besides its characters. Kept apart from the
// text and in locals while reading: every character stored may alias any
// object in memory, which would otherwise cost a reload and a store of these
// counters per character.
struct FieldScan {
  std::size_t length = 0;
  bool ampersand = false;
  bool floating = false;
};

bool isBlank(int c) { return c == kSpace || c == kTab; }

// A CR ends a field; an LF directly after it belongs to the same line end.
void finishCarriageReturn(RecordStream& stream) {
  const int following = stream.next();
  if (following != kLineFeed) stream.putBack(following);
}

// The character after a field that ended at a closing quote, a blank in
// numeric mode, or its maximum length: blanks are skipped, a separator is
// consumed, anything else starts the next field.
void followUp(RecordStream& stream, int c) {
  while (isBlank(c)) c = stream.next();
  if (c == kComma || c == kLineFeed || c == kEnd) return;
  if (c == kCarriageReturn) {
    finishCarriageReturn(stream);
    return;
  }
  stream.putBack(c);
}

void store(FieldScan& field, char* text, FieldMode mode, int c) {
  char stored = static_cast<char>(static_cast<unsigned char>(c));
  if (mode == FieldMode::Numeric) {
    if (stored == '&') {
      field.ampersand = true;
    } else if (!field.ampersand) {
      if (stored == 'd') stored = 'e';
      if (stored == 'D') stored = 'E';
      if (stored == '.' || stored == 'e' || stored == 'E') field.floating = true;
    }
  }
  text[field.length++] = stored;
}

// Reads the next field's characters into `text`, which has room for the
// mode's maximum.
FieldScan readField(RecordStream& stream, FieldMode mode, char* text) {
  FieldScan field;
  const std::size_t limit = mode == FieldMode::String ? kMaxStringField : kMaxIntegerField;
  int c = stream.next();
  while (isBlank(c)) c = stream.next();
  bool quoted = false;
  if (c == kQuote) {
    quoted = true;
    c = stream.next();
  }
  for (;; c = stream.next()) {
    // A quoted field never spans two lines: line ends close it too.
    if (c == kEnd || c == kLineFeed) return field;
    if (c == kCarriageReturn) {
      finishCarriageReturn(stream);
      return field;
    }
    if (c == kComma && !quoted) return field;
    if (c == kQuote && quoted) {
      if (mode == FieldMode::String) {
        followUp(stream, stream.next());
        return field;
      }
      quoted = false;
      continue;
    }
    if (isBlank(c) && !quoted && mode == FieldMode::Numeric) {
      followUp(stream, stream.next());
      return field;
    }
    store(field, text, mode, c);
    if (field.length == limit) {
      followUp(stream, stream.next());
      return field;
    }
  }
}

// Picture files are mostly fields like "123," or "-1\n": a plain field of an
// optional minus and up to nine digits, ended by a comma or an LF, all in the
// buffer. Such a field has the value every rule of the slow path gives it and
// is read here without storing it; anything else returns false and is read
// by readField.
bool readPlainInteger(RecordStream& stream, int32_t& value) {
  constexpr std::size_t kMostDigits = 9;  // below 2^31 whatever the digits
  const std::span<const unsigned char> bytes = stream.buffered();
  std::size_t i = 0;
  const bool negative = i < bytes.size() && bytes[i] == '-';
  if (negative) ++i;
  const std::size_t firstDigit = i;
  int32_t magnitude = 0;
  while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9' && i - firstDigit < kMostDigits) {
    magnitude = magnitude * 10 + (bytes[i] - '0');
    ++i;
  }
  if (i == firstDigit || i >= bytes.size() || (bytes[i] != kComma && bytes[i] != kLineFeed)) {
    return false;
  }
  stream.skipBuffered(i + 1);
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

int32_t openForInput(std::string_view path, int32_t slot) {
  RecordStream* stream = slotAt(slot);
  if (stream == nullptr || stream->isOpen()) return setErrorNumber(kIllegalFunctionCall);
  if (!closerRegistered) {
    registerCloser(CloserStage::Files, closeSlotsAtEnd);
    closerRegistered = true;
  }
  HostFileHandle file = kNoHostFile;
  const int32_t result = openHostFile(path, file);
  if (result == kNoError) stream->attach(file);
  return setErrorNumber(result);
}

int32_t closeSlot(int32_t slot) {
  RecordStream* stream = slotAt(slot);
  if (stream == nullptr) return setErrorNumber(kIllegalFunctionCall);
  stream->close();
  return setErrorNumber(kNoError);
}

std::string readString(int32_t slot) {
  RecordStream* stream = openSlotAt(slot);
  if (stream == nullptr) return {};
  std::array<char, kMaxStringField> text;
  const FieldScan field = readField(*stream, FieldMode::String, text.data());
  // The value stops at a NUL; the bytes after it were read and are dropped.
  const std::string_view stored(text.data(), field.length);
  return std::string(stored.substr(0, stored.find('\0')));
}

int32_t readInteger(int32_t slot) {
  RecordStream* stream = openSlotAt(slot);
  if (stream == nullptr) return 0;
  int32_t plain = 0;
  if (readPlainInteger(*stream, plain)) return plain;
  std::array<char, kMaxIntegerField> text;
  const FieldScan field = readField(*stream, FieldMode::Numeric, text.data());
  return convertIntegerToken(std::string_view(text.data(), field.length), field.floating);
}

bool slotAtEnd(int32_t slot) {
  RecordStream* stream = openSlotAt(slot);
  return stream == nullptr || stream->atEnd();
}

double leadingNumber(std::string_view text) { return convertLeadingNumber(text); }

void closeAllSlots() {
  for (RecordStream& stream : slots) stream.close();
}

}  // namespace quillon
