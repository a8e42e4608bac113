// The program's main procedure: start-up, then one page entry after another
// until Escape or a runtime error ends the program.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <string_view>

#include "data/page_file.h"
#include "data/picture.h"
#include "display/framebuffer.h"
#include "display/text_console.h"
#include "errors/error_numbers.h"
#include "errors/fault_handlers.h"
#include "errors/runtime_error.h"
#include "player/key_wait.h"
#include "player/page_observer.h"
#include "player/story_screen.h"
#include "player/story_state.h"

namespace quillon {
namespace {

constexpr int32_t kLocationCreateCMAI = 13;
constexpr int32_t kLocationCreateDAS = 14;
constexpr int32_t kLocationCreateDAI = 15;
constexpr int32_t kLocationCreateDDAS = 16;
constexpr int32_t kLocationCreateDDAI = 17;
constexpr int32_t kLocationCreateGRAI = 18;
constexpr int32_t kTextForeground = 15;
constexpr int32_t kTextBackground = 0;
constexpr int32_t kBlack = 0;
constexpr int32_t kStartPage = 0;
constexpr int32_t kHighestPage = 1000;
constexpr int32_t kBandWidth = 38;
constexpr std::string_view kEscapeKey = "\x1b";
constexpr std::string_view kTabKey = "\t";
constexpr std::string_view kBackspaceKey = "\b";

// Runs one table's creation; exhausted memory ends the program there.
template <typename Create>
void createTable(int32_t location, Create create) {
  try {
    create();
  } catch (const std::bad_alloc&) {
    runtimeError(kOutOfMemory, location);
  }
}

void createTables(StoryState& state) {
  createTable(kLocationCreateCMAI, [&] { state.CMAI.fill(0); });
  createTable(kLocationCreateDAS, [&] { state.page.DAS.fill(std::string()); });
  createTable(kLocationCreateDAI, [&] { state.page.DAI.fill(0); });
  createTable(kLocationCreateDDAS, [&] { state.page.DDAS.fill(std::string()); });
  createTable(kLocationCreateDDAI, [&] { state.page.DDAI.fill(0); });
  createTable(kLocationCreateGRAI, [&] { state.GRAI.clear(); });
}

void openStoryDisplay() {
  const int32_t error = openScreen(kScreenWidth, kScreenHeight, kStoryDepth, kStoryPageCount);
  if (error != kNoError) runtimeError(error, kLocationOpenScreen);
  setPages(kWorkPage, kVisiblePage);
  setTextColors(kTextForeground, kTextBackground);
  clearScreen();
  fillBox(0, 0, kScreenWidth - 1, kScreenHeight - 1, kBlack);
  copyPage(kWorkPage, kVisiblePage);
  copyPage(kWorkPage, kMapPage);
  copyPage(kWorkPage, kBackgroundPage);
}

// Entering page 0 at any time starts the story afresh.
void applyRestartRule(StoryState& state) {
  if (state.PL != kStartPage) return;
  copyPage(kBackgroundPage, kMapPage);
  std::fill(state.GRAI.begin(), state.GRAI.end(), 0);
  state.PC = 0;
  state.PS = 0;
}

void countVisitOf(void* context) { countVisit(*static_cast<StoryState*>(context)); }

// Choices come first, so an offered choice keyed by Escape, Tab or Backspace
// takes that key. Returns once a choice has been selected.
void waitAndDispatch(StoryState& state) {
  for (;;) {
    const std::string C = waitForKey();
    for (int32_t T = 1; T <= kChoiceCount; ++T) {
      const auto choice = static_cast<std::size_t>(T);
      if (C == state.page.DAS[choice] && state.CMAI[choice] != 0) {
        state.PL = state.page.DAI[choice];
        return;
      }
    }
    if (C == kEscapeKey) {
      const int32_t error = resetScreen();
      if (error != kNoError) runtimeError(error, kLocationResetScreen);
      copyPage(kMapPage, kVisiblePage);
      locate(1, 1);
      endProgram(0);
    }
    if (C == kTabKey) {
      showMap();
    } else if (C == kBackspaceKey) {
      state.PS = 1 - state.PS;
      showStoryScreen(state);
    }
  }
}

}  // namespace

void countVisit(StoryState& state) {
  checkIndex(state.PL, 0, state.MP, kLocationCountVisit);
  int32_t& visits = state.GRAI[static_cast<std::size_t>(state.PL)];
  if (visits == 0) ++state.PC;
  // A count wraps rather than overflows, however often a page is entered.
  visits = static_cast<int32_t>(static_cast<uint32_t>(visits) + 1u);
}

void applyAvailabilityRule(StoryState& state, int32_t T) {
  const auto choice = static_cast<std::size_t>(T);
  const int32_t DDAI = state.page.DDAI[choice];
  state.CMAI[choice] = 0;
  // The count is read whatever the sign, so any condition beyond the table
  // ends the program. |-2147483648| does not fit 32 bits: it is out of range
  // all the same.
  const int64_t magnitude = DDAI < 0 ? -int64_t{DDAI} : int64_t{DDAI};
  const auto index =
      static_cast<int32_t>(std::min<int64_t>(magnitude, std::numeric_limits<int32_t>::max()));
  checkIndex(index, 0, state.MP, kLocationCondition);
  const int32_t visits = state.GRAI[static_cast<std::size_t>(index)];
  if (DDAI < 0 && visits == 0) state.CMAI[choice] = -1;
  if (DDAI > 0 && visits > 0) state.CMAI[choice] = 1;
  if (DDAI == 0) state.CMAI[choice] = 2;
}

void runStory() {
  setModuleName(kModuleName);
  setFunctionName("");
  installFaultHandlers();

  StoryState state;
  createTables(state);
  openStoryDisplay();
  state.WD = kBandWidth;
  state.MP = kHighestPage;
  createTable(kLocationSizeVisitTable,
              [&] { state.GRAI.assign(static_cast<std::size_t>(state.MP) + 1, 0); });
  state.PS = 0;
  tileBackground();

  state.PL = kStartPage;
  state.PC = 0;
  state.BK = 0;
  for (;;) {
    notifyPageObserver(PageStage::Entering, state);
    applyRestartRule(state);
    loadPageFile(state.PL, state.BK, state.page);
    drawPagePicture(state.PL, state.page.F2, state.page.XX, state.page.YY, countVisitOf, &state);
    composeStoryScreen(state);
    showStoryScreen(state);
    notifyPageObserver(PageStage::Shown, state);
    waitAndDispatch(state);
  }
}

}  // namespace quillon
