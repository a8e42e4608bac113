// Record text reader on arbitrary bytes: the file is opened on two slots and
// read by an arbitrary sequence of string, integer and end-of-file reads.
//
// Input layout: byte 0 is the number n of operation bytes that follow; bytes
// 1..n choose the operations; everything after them is the file.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "data/number_text.h"
#include "data/record_reader.h"
#include "fuzz_support.h"

namespace {

using namespace quillon;

constexpr const char* kFileName = "record.txt";
constexpr int32_t kSlots[] = {1, 3};

// The reader's own strtod against the C library's, which is correctly
// rounded and runs in the C locale here (the fuzzer never sets a locale).
// The C library stops at a NUL, so only the text before one is compared.
void compareWithLibraryStrtod(std::string_view text) {
  const std::string terminated(text.substr(0, text.find('\0')));
  const double ours = cLocaleStrtod(terminated);
  const double library = std::strtod(terminated.c_str(), nullptr);
  // The sign of a zero is not compared: with no number at all ("- 2") the C
  // library gives +0 and ours -0, which every caller stores as the integer 0.
  const bool same = std::isnan(ours) || std::isnan(library)
                        ? std::isnan(ours) && std::isnan(library)
                        : ours == library;
  if (!same) {
    std::fprintf(stderr, "text \"%s\": ours %a, the C library's %a\n", terminated.c_str(), ours,
                 library);
    fuzz::fail("strtod differs from the C library's");
  }
}

// Reads on a slot whose file is used up give empty and zero, and it stays so.
void expectEndStays(int32_t slot) {
  fuzz::expect(readString(slot).empty(), "a string read past the end is not empty");
  fuzz::expect(readInteger(slot) == 0, "an integer read past the end is not 0");
  fuzz::expect(slotAtEnd(slot), "the end of a file does not stay the end");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::enterStoryFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t operationCount = std::min<std::size_t>(data[0], size - 1);
  const uint8_t* operations = data + 1;
  const std::string_view file(reinterpret_cast<const char*>(data + 1 + operationCount),
                              size - 1 - operationCount);
  fuzz::writeFile(kFileName, file);

  for (const int32_t slot : kSlots) {
    closeSlot(slot);
    fuzz::expect(openForInput(kFileName, slot) == 0, "the file does not open");
  }
  std::string last;
  for (std::size_t i = 0; i < operationCount; ++i) {
    const uint8_t operation = operations[i];
    const int32_t slot = kSlots[operation & 1];
    switch ((operation >> 1) % 6) {
      case 0:
        last = readString(slot);
        fuzz::expect(last.size() <= kMaxStringField, "a string field is too long");
        fuzz::expect(last.find('\0') == std::string::npos, "a string keeps a NUL");
        break;
      case 1:
        readInteger(slot);
        break;
      case 2:
        if (slotAtEnd(slot)) expectEndStays(slot);
        break;
      case 3:
        // The picture logic applies this to two characters of a name.
        leadingNumber(std::string_view(last).substr(0, operation >> 6));
        leadingNumber(last);
        compareWithLibraryStrtod(last);
        break;
      case 4:
        // Reopening starts again from the first byte.
        closeSlot(slot);
        fuzz::expect(openForInput(kFileName, slot) == 0, "the file does not reopen");
        break;
      default:
        convertIntegerToken(last, (operation & 0x80) != 0);
        break;
    }
  }
  // However many fields there were, the reads come to an end.
  for (const int32_t slot : kSlots) {
    std::size_t reads = 0;
    while (!slotAtEnd(slot)) {
      readString(slot);
      fuzz::expect(++reads <= file.size() + 1, "reading does not end");
    }
    expectEndStays(slot);
    closeSlot(slot);
  }
  return 0;
}
