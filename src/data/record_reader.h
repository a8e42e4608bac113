#pragma once
// Record text reader: numbered file slots handing out comma- and
// line-separated fields as strings or 32-bit integers.
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

inline constexpr int32_t kFirstSlot = 1;
inline constexpr int32_t kLastSlot = 255;
inline constexpr std::size_t kMaxStringField = 4096;
inline constexpr std::size_t kMaxIntegerField = 67;

// 0 on success; 2 (file not found) when the file cannot be opened for reading;
// 1 for a slot outside 1..255, a busy slot, or an unseekable file.
// `\` and `/` both separate directories.
int32_t openForInput(std::string_view path, int32_t slot);
// 0 for any slot 1..255, open or free; 1 outside that range.
int32_t closeSlot(int32_t slot);
// Next field of the slot; empty / 0 past the end or on a free slot.
std::string readString(int32_t slot);
int32_t readInteger(int32_t slot);
// Numeric value at the start of a short text (used on picture names).
double leadingNumber(std::string_view text);

// True when no field character remains on the slot: it is free, or its
// put-back store is empty and its stream is at the end after the text-mode
// translation. Trailing separators still count as fields to come.
bool slotAtEnd(int32_t slot);

// Closes every open slot (the ending does this through a registered closer).
void closeAllSlots();

}  // namespace quillon
