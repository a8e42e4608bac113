#pragma once
// Page files: their names, their 25 fields and the trailing-quote rule.
#include <array>
#include <cstdint>
#include <string>

namespace quillon {

inline constexpr int32_t kPageFileSlot = 1;
inline constexpr int32_t kLocationLoadPage = 47;
inline constexpr int kChoiceCount = 4;

// The current page's fields, overwritten at every page entry. Arrays are
// indexed by choice number 1..4 (index 0 unused).
struct PageFields {
  std::string NM;                                    // title
  int32_t XX = 0;                                    // picture width from the page file
  int32_t YY = 0;                                    // picture height from the page file
  std::string F2;                                    // picture file name
  std::array<std::string, kChoiceCount + 1> DAS{};   // keys
  std::array<int32_t, kChoiceCount + 1> DAI{};       // targets
  std::array<int32_t, kChoiceCount + 1> DDAI{};      // conditions
  std::array<std::string, kChoiceCount + 1> DDAS{};  // labels
};

// "L" + last three characters of (page + 1000) + "_" + same of (book + 1000) + ".mem";
// the sum wraps as 32-bit two's complement.
std::string pageFileName(int32_t page, int32_t book);
// "pages\" + pageFileName.
std::string pageFilePath(int32_t page, int32_t book);
// Removes one trailing double quote, if the last byte is one.
void removeTrailingQuote(std::string& text);
// Closes and opens slot 1 on the page file (location 47 on failure), reads
// fields 1 to 20 into `fields` and leaves the file open before field 21.
void loadPageFile(int32_t PL, int32_t BK, PageFields& fields);

}  // namespace quillon
