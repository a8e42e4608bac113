// Findings about one page file's text: lines that do not fit the screen,
// control bytes, keys and labels that cannot work.
#include <string>

#include "player/story_screen.h"
#include "story_analysis/check_parts.h"
#include "story_analysis/key_notation.h"
#include "story_analysis/shown_text.h"

namespace quillon::tool {
namespace {

constexpr char kBell = 7;
constexpr char kBackspace = 8;
constexpr char kTab = 9;
constexpr int32_t kBandFirstColumn = 2;
constexpr int32_t kBandLastColumn = kBandFirstColumn + kCentredWidth - 1;

// Where a centred line of `length` characters lands on `row`, as the player
// prints it: from its centring column when that is 1 or more; otherwise from
// column 40, where the band left the cursor, wrapping 40 cells a row.
std::string placement(int32_t row, std::size_t length) {
  const int32_t column = centringColumn(length);
  if (column >= 1) {
    return "the player prints it in columns " + std::to_string(column) + " to " +
           std::to_string(column + static_cast<int32_t>(length) - 1) + " of row " +
           std::to_string(row) + ", beyond the cleared band of columns " +
           std::to_string(kBandFirstColumn) + " to " + std::to_string(kBandLastColumn);
  }
  const auto rest = static_cast<int64_t>(length) - 1;
  const int64_t lastRow = row + (rest + kScreenColumns - 1) / kScreenColumns;
  std::string text = "the player prints it from column 40 of row " + std::to_string(row) +
                     " and wraps it into row" + (lastRow > row + 1 ? "s " : " ") +
                     std::to_string(row + 1) +
                     (lastRow > row + 1 ? " to " + std::to_string(lastRow) : "");
  if (lastRow > kScreenRows) {
    text += "; going past row 25 scrolls the whole screen up by " +
            std::to_string(lastRow - kScreenRows) + " row" + (lastRow - kScreenRows > 1 ? "s" : "");
  }
  return text;
}

class PageTextChecker {
 public:
  PageTextChecker(int32_t page, const PageFile& file, std::vector<Finding>& findings)
      : page_(page), file_(file), findings_(findings) {}

  void run() {
    const PageFields& fields = file_.fields;
    checkCentred("title", kTitleField, kTitleRow, fields.NM, "title-too-long");
    checkControlBytes("the title", kTitleField, fields.NM);
    for (int32_t L = 1; L <= kTextLineCount; ++L) {
      const std::string& line = file_.lines[static_cast<std::size_t>(L - 1)];
      const std::string name = "text line " + std::to_string(L);
      checkCentred(name, textLineField(L), kFirstTextRow + L - 1, line, "text-too-long");
      checkControlBytes(name, textLineField(L), line);
    }
    for (int32_t T = 1; T <= kChoiceCount; ++T) checkChoice(T);
    checkExtraFields();
  }

 private:
  void add(std::string kind, int32_t field, std::string message) {
    findings_.push_back(
        {Severity::Warning, std::move(kind), file_.file, field, page_, std::move(message), {}});
  }

  void checkCentred(const std::string& name, int32_t field, int32_t row, const std::string& text,
                    const char* kind) {
    if (text.size() <= static_cast<std::size_t>(kCentredWidth)) return;
    add(kind, field,
        name + " has " + std::to_string(text.size()) + " characters, more than the " +
            std::to_string(kCentredWidth) + " of its band: " + placement(row, text.size()));
  }

  void checkControlBytes(const std::string& name, int32_t field, const std::string& text) {
    if (text.find(kBell) != std::string::npos) {
      add("control-byte", field,
          name +
              " holds byte 7: the player beeps each time it is printed, and the byte takes "
              "no cell");
    }
    if (text.find(kBackspace) != std::string::npos) {
      add("control-byte", field,
          name +
              " holds byte 8 (backspace): the player moves the cursor back over the "
              "character before it");
    }
    if (text.find(kTab) != std::string::npos) {
      add("control-byte", field,
          name +
              " holds a tab: the player prints blanks up to the next tab stop (columns 9, "
              "17, 25, 33), so the line is wider than its length says");
    }
  }

  void checkChoice(int32_t T) {
    const auto choice = static_cast<std::size_t>(T);
    const std::string& key = file_.fields.DAS[choice];
    const std::string& label = file_.fields.DDAS[choice];
    if (key.empty() && !label.empty()) {
      add("empty-key", keyField(T),
          "choice " + std::to_string(T) + " has the label " + quotedText(label) +
              " but no key: when it is offered the menu line shows " + quotedText(">" + label) +
              ", and no key selects it");
      return;
    }
    if (!key.empty() && !keyCodeOfKeyString(key)) {
      std::string why = "no key press gives a key string of " + std::to_string(key.size()) +
                        " characters, so the choice is never taken";
      if (key.back() == ' ' || key.back() == '\t') {
        why += " (blanks after a field are kept: remove the blank after the key)";
      }
      add("unusable-key", keyField(T),
          "choice " + std::to_string(T) + " has the key " + quotedText(key) + ": " + why);
    }
    checkControlBytes("the label of choice " + std::to_string(T), labelField(T), label);
  }

  // A comma in an unquoted title, label or text line ends the field, so
  // everything after it moves one field on and the last fields spill over.
  void checkExtraFields() {
    if (file_.extraFields == 0) return;
    add("extra-page-fields", kPageFieldCount + 1,
        "the page file has " + std::to_string(file_.extraFields) +
            (file_.extraFields == 1 ? " more field" : " more fields") + " after field 25, from " +
            quotedText(file_.firstExtra) +
            ": the player never reads them. A comma ends a field unless the field is in double "
            "quotes, so every field after such a comma is read one place later");
  }

  int32_t page_;
  const PageFile& file_;
  std::vector<Finding>& findings_;
};

}  // namespace

void addPageTextFindings(int32_t page, const PageFile& file, std::vector<Finding>& findings) {
  PageTextChecker(page, file, findings).run();
}

}  // namespace quillon::tool
