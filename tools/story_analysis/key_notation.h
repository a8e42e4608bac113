#pragma once
// A readable notation for key sequences, used on the command line and in
// reports so that a reported sequence can be pasted back to replay it.
//
//   plain characters   one key each (UTF-8 is converted to code page 437)
//   {{                 a literal {   (a lone } needs no escape)
//   {Name}             a named key, names in any letter case:
//                      Esc Escape Tab Backspace BS Enter Return Space
//                      Up Down Left Right Home End PgUp PageUp PgDn PageDown
//                      Ins Insert Del Delete F1 .. F12 Close
//   {N}                the one-byte key of code N (0 to 255); {0} is "no key":
//                      the player sees an empty key string and waits again
//   {Ext N}            the extended key N (1 to 255): key string 255, N
//   {Name*K}, {N*K}    the same key K times
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::tool {

// Key codes as the key queue takes them (see display/key_queue.h). Returns
// false and describes the problem in `error` for a malformed sequence.
bool parseKeyNotation(std::string_view text, std::vector<int32_t>& codes, std::string& error);

// The notation of one key code, and of a sequence; parseKeyNotation gives the
// codes back.
std::string keyNotation(int32_t code);
std::string keyNotation(const std::vector<int32_t>& codes);

// The key code whose key string is `key`, if a key press can produce it: one
// byte, or the two bytes 255 and an extended code. Empty and longer strings
// have none.
std::optional<int32_t> keyCodeOfKeyString(std::string_view key);

// A key string as a reader sees it: its notation when a key gives it, else the
// quoted bytes.
std::string describeKeyString(std::string_view key);

}  // namespace quillon::tool
