// Page files: naming a page's file and reading its title, picture and choices.
#include "data/page_file.h"

#include "data/record_reader.h"
#include "errors/error_numbers.h"
#include "errors/runtime_error.h"

namespace quillon {
namespace {

constexpr uint32_t kNumberOffset = 1000;
constexpr std::size_t kNumberCharacters = 3;
constexpr char kQuote = '"';
constexpr const char* kPagesDirectory = "pages\\";

// The last three characters of the signed decimal text of value + 1000, or all
// of it when shorter. The sum wraps as 32-bit two's complement.
std::string lastThreeOfOffset(int32_t value) {
  const auto sum = static_cast<int32_t>(static_cast<uint32_t>(value) + kNumberOffset);
  const std::string text = std::to_string(sum);
  return text.size() > kNumberCharacters ? text.substr(text.size() - kNumberCharacters) : text;
}

std::string readCleanedString(int32_t slot) {
  std::string text = readString(slot);
  removeTrailingQuote(text);
  return text;
}

}  // namespace

std::string pageFileName(int32_t page, int32_t book) {
  // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about
  // the chain of operator+ on a literal.
  std::string name = "L";
  name += lastThreeOfOffset(page);
  name += '_';
  name += lastThreeOfOffset(book);
  name += ".mem";
  return name;
}

std::string pageFilePath(int32_t page, int32_t book) {
  return kPagesDirectory + pageFileName(page, book);
}

void removeTrailingQuote(std::string& text) {
  if (!text.empty() && text.back() == kQuote) text.pop_back();
}

void loadPageFile(int32_t PL, int32_t BK, PageFields& fields) {
  int32_t error = closeSlot(kPageFileSlot);
  if (error != kNoError) runtimeError(error, kLocationLoadPage);
  error = openForInput(pageFilePath(PL, BK), kPageFileSlot);
  if (error != kNoError) runtimeError(error, kLocationLoadPage);

  fields.NM = readCleanedString(kPageFileSlot);
  fields.XX = readInteger(kPageFileSlot);
  fields.YY = readInteger(kPageFileSlot);
  // The picture name keeps a trailing quote.
  fields.F2 = readString(kPageFileSlot);
  for (int T = 1; T <= kChoiceCount; ++T) {
    const auto choice = static_cast<std::size_t>(T);
    fields.DAS[choice] = readCleanedString(kPageFileSlot);
    fields.DAI[choice] = readInteger(kPageFileSlot);
    fields.DDAI[choice] = readInteger(kPageFileSlot);
    fields.DDAS[choice] = readCleanedString(kPageFileSlot);
  }
}

}  // namespace quillon
