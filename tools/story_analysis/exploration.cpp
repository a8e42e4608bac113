#include "story_analysis/exploration.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <unordered_map>
#include <utility>

#include "data/picture.h"
#include "errors/error_numbers.h"
#include "errors/runtime_error.h"
#include "player/story_screen.h"
#include "player/story_state.h"
#include "story_analysis/key_notation.h"

namespace quillon::tool {
namespace {

constexpr std::string_view kSpaceKey = " ";
constexpr int64_t kMenuSeparatorLength = 2;
constexpr int64_t kKeyMarkLength = 1;

// Visited flags of the condition pages, one bit each, so that stories with
// many condition pages still fit many states.
using Flags = std::string;
constexpr std::size_t kFlagsPerByte = 8;

Flags noFlags(std::size_t count) {
  return Flags((count + kFlagsPerByte - 1) / kFlagsPerByte, '\0');
}
void setFlag(Flags& flags, std::size_t i) {
  const unsigned byte = static_cast<unsigned char>(flags[i / kFlagsPerByte]);
  flags[i / kFlagsPerByte] = static_cast<char>(byte | (1u << (i % kFlagsPerByte)));
}
bool flagSet(const Flags& flags, std::size_t i) {
  const unsigned byte = static_cast<unsigned char>(flags[i / kFlagsPerByte]);
  return ((byte >> (i % kFlagsPerByte)) & 1u) != 0;
}

bool conditionInRange(int32_t condition) {
  const int64_t magnitude = condition < 0 ? -int64_t{condition} : int64_t{condition};
  return magnitude <= kConditionLimit;
}

class Explorer {
 public:
  Explorer(Story& story, int64_t limit, Exploration& result)
      : story_(story), limit_(limit), result_(result) {}

  void run() {
    collectConditionPages();
    enter(-1, -1, 0, 0, noFlags(result_.conditionPages.size()), kStartPage);
    while (!queue_.empty()) {
      const int64_t state = queue_.front();
      queue_.pop_front();
      expand(state);
    }
    result_.stateCount = static_cast<int64_t>(result_.nodes.size());
  }

 private:
  const EntryOutcome& outcome(int32_t page) {
    auto known = outcomes_.find(page);
    if (known == outcomes_.end()) known = outcomes_.emplace(page, entryOutcome(story_, page)).first;
    return known->second;
  }

  // Pages whose visits can matter: every condition of every page that some
  // sequence of keyed choices can show, whatever the conditions say.
  void collectConditionPages() {
    std::set<int32_t> seen{kStartPage};
    std::deque<int32_t> pending{kStartPage};
    std::set<int32_t> conditions;
    while (!pending.empty()) {
      const int32_t page = pending.front();
      pending.pop_front();
      if (outcome(page).abort) continue;
      const PageFields& fields = story_.pageFile(page).fields;
      for (int32_t T = 1; T <= kChoiceCount; ++T) {
        const auto choice = static_cast<std::size_t>(T);
        const int32_t condition = fields.DDAI[choice];
        if (condition != 0) conditions.insert(condition < 0 ? -condition : condition);
        if (keyCodeOfKeyString(fields.DAS[choice]) && seen.insert(fields.DAI[choice]).second) {
          pending.push_back(fields.DAI[choice]);
        }
      }
    }
    result_.conditionPages.assign(conditions.begin(), conditions.end());
    for (std::size_t i = 0; i < result_.conditionPages.size(); ++i) {
      flagOf_[result_.conditionPages[i]] = i;
    }
  }

  void enter(int64_t fromState, int32_t fromPage, int32_t choice, int32_t key, const Flags& visited,
             int32_t target) {
    result_.entered.insert(target);
    const EntryOutcome& entry = outcome(target);
    if (entry.abort) {
      if (abortRoutes_.insert({fromPage, choice}).second) {
        result_.aborts.push_back({fromPage, choice, target, entry, fromState, key});
      }
      return;
    }
    // Entering page 0 restarts: every visit is forgotten.
    Flags flags = target == kStartPage ? noFlags(result_.conditionPages.size()) : visited;
    if (const auto flag = flagOf_.find(target); flag != flagOf_.end()) setFlag(flags, flag->second);
    std::string name(sizeof target, '\0');
    std::memcpy(name.data(), &target, sizeof target);
    name += flags;
    if (index_.contains(name)) return;
    if (static_cast<int64_t>(result_.nodes.size()) >= limit_) {
      result_.complete = false;
      return;
    }
    const auto state = static_cast<int64_t>(result_.nodes.size());
    index_.emplace(std::move(name), state);
    result_.nodes.push_back({fromState, key, target});
    flags_.push_back(std::move(flags));
    queue_.push_back(state);
  }

  void expand(int64_t state) {
    const int32_t page = result_.nodes[static_cast<std::size_t>(state)].page;
    const Flags visited = flags_[static_cast<std::size_t>(state)];
    StoryState story;
    story.PL = page;
    story.GRAI.assign(static_cast<std::size_t>(story.MP) + 1, 0);
    for (std::size_t i = 0; i < result_.conditionPages.size(); ++i) {
      if (flagSet(visited, i)) story.GRAI[static_cast<std::size_t>(result_.conditionPages[i])] = 1;
    }
    story.page = story_.pageFile(page).fields;
    // The player's own rule and menu line; every condition is in range here.
    const std::string menu = buildMenuLine(story);

    PageVisit& visit = result_.shown[page];
    ++visit.states;
    if (visit.firstState < 0) visit.firstState = state;
    int32_t cutChoice = 0;
    const int64_t menuLength = uncutMenuLength(story.page, story.CMAI, &cutChoice);
    if (menuLength > visit.longestMenuLength) {
      visit.longestMenuLength = menuLength;
      visit.longestMenu = menu;
      visit.longestMenuState = state;
      visit.menuCutChoice = cutChoice;
    }

    bool canLeave = false;
    for (int32_t T = 1; T <= kChoiceCount; ++T) {
      const auto choice = static_cast<std::size_t>(T);
      if (story.CMAI[choice] == 0) continue;
      ChoiceUse& use = visit.choices[choice];
      ++use.offeredStates;
      const std::string& key = story.page.DAS[choice];
      const auto code = keyCodeOfKeyString(key);
      if (!code) continue;
      int32_t earlier = 0;
      for (int32_t U = 1; U < T && earlier == 0; ++U) {
        const auto other = static_cast<std::size_t>(U);
        if (story.CMAI[other] != 0 && story.page.DAS[other] == key) earlier = U;
      }
      if (earlier != 0) {
        if (use.shadowedStates++ == 0) {
          use.shadowedBy = earlier;
          use.firstShadowedState = state;
        }
        continue;
      }
      ++use.takenStates;
      canLeave = true;
      enter(state, page, T, *code, visited, story.page.DAI[choice]);
    }
    if (!canLeave && visit.deadStates++ == 0) visit.firstDeadState = state;
  }

  Story& story_;
  int64_t limit_;
  Exploration& result_;
  std::map<int32_t, EntryOutcome> outcomes_;
  std::map<int32_t, std::size_t> flagOf_;
  std::unordered_map<std::string, int64_t> index_;
  std::vector<Flags> flags_;
  std::deque<int64_t> queue_;
  std::set<std::pair<int32_t, int32_t>> abortRoutes_;
};

}  // namespace

std::string abortMessage(const Abort& abort) {
  char buffer[kMessageBufferSize];
  const std::size_t length =
      composeAbortMessage(abort.number, abort.location, kModuleName, "", buffer, sizeof buffer);
  std::string message(buffer, length);
  const std::size_t first = message.find_first_not_of('\n');
  const std::size_t last = message.find_last_not_of('\n');
  return first == std::string::npos ? std::string() : message.substr(first, last - first + 1);
}

EntryOutcome entryOutcome(Story& story, int32_t page) {
  const PageFile& file = story.pageFile(page);
  if (!file.exists()) return {Abort{file.openError, kLocationLoadPage}, 0};
  if (page < kStartPage || page > kHighestCountedPage) {
    return {Abort{kOutOfBounds, kLocationCountVisit}, 0};
  }
  if (const int32_t error = story.openError(picturePath(file.fields.F2)); error != 0) {
    return {Abort{error, kLocationOpenPicture}, kPictureField};
  }
  for (int32_t T = 1; T <= kChoiceCount; ++T) {
    if (!conditionInRange(file.fields.DDAI[static_cast<std::size_t>(T)])) {
      return {Abort{kOutOfBounds, kLocationCondition}, conditionField(T)};
    }
  }
  return {};
}

Exploration explore(Story& story, int64_t stateLimit) {
  Exploration result;
  if (const int32_t error = story.openError(picturePath(kBackgroundName)); error != 0) {
    result.startAbort = Abort{error, kLocationOpenBackground};
    return result;
  }
  Explorer(story, stateLimit, result).run();
  return result;
}

std::vector<int32_t> Exploration::keysTo(int64_t state) const {
  std::vector<int32_t> keys;
  for (int64_t at = state; at >= 0; at = nodes[static_cast<std::size_t>(at)].parent) {
    if (nodes[static_cast<std::size_t>(at)].parent >= 0) {
      keys.push_back(nodes[static_cast<std::size_t>(at)].key);
    }
  }
  std::reverse(keys.begin(), keys.end());
  return keys;
}

std::vector<int32_t> Exploration::keysThrough(const AbortRoute& route) const {
  std::vector<int32_t> keys = keysTo(route.fromState);
  if (route.fromState >= 0) keys.push_back(route.key);
  return keys;
}

int64_t uncutMenuLength(const PageFields& fields, const std::array<int32_t, kChoiceCount + 1>& CMAI,
                        int32_t* cutChoice) {
  if (cutChoice != nullptr) *cutChoice = 0;
  int64_t length = 0;
  for (int32_t T = 1; T <= kChoiceCount; ++T) {
    const auto choice = static_cast<std::size_t>(T);
    if (CMAI[choice] == 0) continue;
    const auto keyLength = static_cast<int64_t>(fields.DAS[choice].size());
    const auto labelLength = static_cast<int64_t>(fields.DDAS[choice].size());
    if (length > 0 && labelLength > 0) length += kMenuSeparatorLength;
    if (fields.DAS[choice] != kSpaceKey && labelLength > 0) {
      length += keyLength + kKeyMarkLength + labelLength;
    }
    if (fields.DAS[choice] == kSpaceKey) length += labelLength;
    if (cutChoice != nullptr && *cutChoice == 0 && length > static_cast<int64_t>(kMenuLimit)) {
      *cutChoice = T;
    }
  }
  return length;
}

}  // namespace quillon::tool
