// The story screen: the title, the five text lines and the menu line over the
// page's picture, the percentage label, and the map view.
#include <string>
#include <string_view>

#include "data/page_file.h"
#include "data/record_reader.h"
#include "display/framebuffer.h"
#include "display/text_console.h"
#include "player/key_wait.h"
#include "player/story_screen.h"

namespace quillon {
namespace {

constexpr int32_t kTitleRow = 2;
constexpr int32_t kFirstTextRow = 20;
constexpr int32_t kTextLines = 5;
constexpr int32_t kMenuRow = 24;
constexpr int32_t kLabelEnd = 40;  // the label ends in the column before this
constexpr std::size_t kMenuCut = 38;
constexpr std::string_view kMenuSeparator = "  ";
constexpr std::string_view kKeyMark = ">";
constexpr std::string_view kCutMark = "..";
constexpr std::string_view kSpaceKey = " ";

// A band of WD blanks, then the text centred over it.
void printCentredLine(int32_t row, int32_t WD, const std::string& text) {
  locate(row, centringColumn(static_cast<std::size_t>(WD)));
  printText(std::string(static_cast<std::size_t>(WD), ' '));
  locate(row, centringColumn(text.size()));
  printText(text);
}

}  // namespace

std::string buildMenuLine(StoryState& state) {
  std::string CM;
  for (int32_t T = 1; T <= kChoiceCount; ++T) {
    applyAvailabilityRule(state, T);
    const auto choice = static_cast<std::size_t>(T);
    const bool offered = state.CMAI[choice] != 0;
    const std::string& key = state.page.DAS[choice];
    const std::string& label = state.page.DDAS[choice];
    if (offered && !CM.empty() && !label.empty()) CM += kMenuSeparator;
    if (offered && key != kSpaceKey && !label.empty()) {
      CM += key;
      CM += kKeyMark;
      CM += label;
    }
    // The space bar's choice shows its label alone.
    if (offered && key == kSpaceKey) CM += label;
    if (CM.size() > kMenuLimit) {
      CM.resize(kMenuCut);
      CM += kCutMark;
    }
  }
  return CM;
}

void composeStoryScreen(StoryState& state) {
  printCentredLine(kTitleRow, state.WD, state.page.NM);
  // Each line is read only when it is printed.
  for (int32_t L = 0; L < kTextLines; ++L) {
    const std::string line = readString(kPageFileSlot);
    printCentredLine(kFirstTextRow + L, state.WD, line);
  }
  const std::string CM = buildMenuLine(state);
  locate(kMenuRow, centringColumn(CM.size()));
  printText(CM);
  copyPage(kWorkPage, kComposedPage);
}

void showStoryScreen(const StoryState& state) {
  copyPage(kComposedPage, kWorkPage);
  const std::string label = percentageLabel(state.PC, state.MP);
  locate(kTitleRow, kLabelEnd - static_cast<int32_t>(label.size()));
  if (state.PS == 1) printText(label);
  copyPage(kWorkPage, kVisiblePage);
}

void showMap() {
  copyPage(kMapPage, kVisiblePage);
  waitForKey();  // whatever it is, the key only ends the map view
  copyPage(kWorkPage, kVisiblePage);
}

}  // namespace quillon
