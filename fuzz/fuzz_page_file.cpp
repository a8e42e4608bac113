// Page files on arbitrary bytes: loadPageFile, then the five text lines as
// composeStoryScreen reads them.
//
// Input layout: bytes 0..3 are the page number (little-endian, any 32-bit
// value: its file name is built from it); the rest is the page file.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "data/page_file.h"
#include "data/record_reader.h"
#include "fuzz_support.h"

namespace {

using namespace quillon;

constexpr std::size_t kPageNumberBytes = 4;
constexpr int kTextLines = 5;

void expectCleaned(const std::string& text) {
  fuzz::expect(text.size() <= kMaxStringField, "a field is too long");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::enterStoryFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < kPageNumberBytes) return 0;
  uint32_t bits = 0;
  for (std::size_t i = 0; i < kPageNumberBytes; ++i) bits |= uint32_t{data[i]} << (8 * i);
  const auto PL = static_cast<int32_t>(bits);
  const std::string_view bytes(reinterpret_cast<const char*>(data + kPageNumberBytes),
                               size - kPageNumberBytes);

  // The name never holds a separator or a "..": it stays in pages/.
  const std::string name = pageFileName(PL, 0);
  fuzz::expect(name.find_first_of("/\\") == std::string::npos, "a page name has a separator");
  std::string path = "pages/" + name;
  fuzz::writeFile(path, bytes);

  PageFields fields;
  loadPageFile(PL, 0, fields);
  expectCleaned(fields.NM);
  fuzz::expect(fields.F2.size() <= kMaxStringField, "the picture name is too long");
  for (int T = 1; T <= kChoiceCount; ++T) {
    expectCleaned(fields.DAS[static_cast<std::size_t>(T)]);
    expectCleaned(fields.DDAS[static_cast<std::size_t>(T)]);
  }
  for (int line = 0; line < kTextLines; ++line) {
    fuzz::expect(readString(kPageFileSlot).size() <= kMaxStringField, "a text line is too long");
  }
  closeSlot(kPageFileSlot);
  std::remove(path.c_str());
  return 0;
}
