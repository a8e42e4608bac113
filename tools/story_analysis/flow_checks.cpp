// Findings about playing: what ends the player, what can't be reached or
// left, which choices never work.
#include <set>
#include <string>

#include "data/picture.h"
#include "errors/error_numbers.h"
#include "player/story_screen.h"
#include "player/story_state.h"
#include "story_analysis/check_parts.h"
#include "story_analysis/key_notation.h"
#include "story_analysis/shown_text.h"

namespace quillon::tool {
namespace {

// "the player stops: "<its message>" (exit status N)".
std::string stops(const Abort& abort, const char* who = "the player ") {
  return std::string(who) + "stops: \"" + abortMessage(abort) + "\" (exit status " +
         std::to_string(abort.number) + ")";
}

std::string pageName(int32_t page) { return "page " + std::to_string(page); }

// Page 1000 has no file of its own; say which one it shows.
std::string pageAndFile(Story& story, int32_t page) {
  if (page >= kStartPage && page <= kHighestNumberedFile) return pageName(page);
  return pageName(page) + " (file " + story.pageFile(page).file + ")";
}

bool hasKeyedChoice(const PageFields& fields) {
  for (int32_t T = 1; T <= kChoiceCount; ++T) {
    if (!fields.DAS[static_cast<std::size_t>(T)].empty()) return true;
  }
  return false;
}

class FlowChecker {
 public:
  FlowChecker(Story& story, const Exploration& exploration, std::vector<Finding>& findings)
      : story_(story), exploration_(exploration), findings_(findings) {}

  void run() {
    if (exploration_.startAbort) {
      add(Severity::Error, "missing-background", displayPath(picturePath(kBackgroundName)), 0,
          kNoPage,
          "the background tile cannot be opened, so nothing is ever shown: " +
              stops(*exploration_.startAbort),
          std::string());
      return;
    }
    for (const AbortRoute& route : exploration_.aborts) addAbort(route);
    addUnreachablePages();
    for (const auto& [page, visit] : exploration_.shown) addPageFindings(page, visit);
    if (!exploration_.complete) {
      add(Severity::Note, "analysis-incomplete", story_.pageFile(kStartPage).file, 0, kNoPage,
          "the story has more than " + std::to_string(exploration_.stateCount) +
              " combinations of page and visited condition pages; only those were explored, so "
              "unreachable pages and choices never offered are not reported",
          std::nullopt);
    }
  }

 private:
  void add(Severity severity, std::string kind, std::string file, int32_t field, int32_t page,
           std::string message, std::optional<std::string> keys) {
    findings_.push_back({severity, std::move(kind), std::move(file), field, page,
                         std::move(message), std::move(keys)});
  }

  std::string keysThrough(const AbortRoute& route) const {
    return keyNotation(exploration_.keysThrough(route));
  }
  std::string keysTo(int64_t state) const { return keyNotation(exploration_.keysTo(state)); }

  void addAbort(const AbortRoute& route) {
    const Abort& abort = *route.outcome.abort;
    const PageFile& target = story_.pageFile(route.target);
    const bool outOfRange = route.target < kStartPage || route.target > kHighestCountedPage;
    if (abort.location == kLocationOpenPicture || abort.location == kLocationCondition) {
      addPageEntryAbort(route, target);
      return;
    }
    if (route.fromPage < 0) {
      add(Severity::Error, "missing-page-file", target.file, 0, kStartPage,
          "page 0's file cannot be opened, so the story cannot start: " + stops(abort),
          std::string());
      return;
    }
    const PageFile& from = story_.pageFile(route.fromPage);
    const std::string choice = describeChoice(from.fields, route.choice);
    std::string message;
    if (outOfRange) {
      message = choice + " leads to page " + std::to_string(route.target) +
                ", outside 0 to 1000; the player reads the page file " + target.file +
                (target.exists() ? "" : ", which cannot be opened,") + " and " + stops(abort, "");
    } else {
      message = choice + " leads to page " + std::to_string(route.target) + ", whose file " +
                target.file + " cannot be opened: " + stops(abort);
    }
    add(Severity::Error, outOfRange ? "target-out-of-range" : "missing-page-file", from.file,
        targetField(route.choice), route.fromPage, message, keysThrough(route));
  }

  // A missing picture or a condition out of range ends every entry of the
  // page: one finding on the page's own file.
  void addPageEntryAbort(const AbortRoute& route, const PageFile& target) {
    if (!pagesWithEntryAbort_.insert(target.file).second) return;
    const Abort& abort = *route.outcome.abort;
    std::string message;
    std::string kind;
    if (abort.location == kLocationOpenPicture) {
      kind = "missing-picture";
      message = "the picture " + displayPath(picturePath(target.fields.F2)) +
                " cannot be opened; entering " + pageName(route.target) + ", " + stops(abort);
    } else {
      kind = "condition-out-of-range";
      const int32_t T = (route.outcome.field - conditionField(1)) / 4 + 1;
      message = describeChoice(target.fields, T) + " has the condition " +
                std::to_string(target.fields.DDAI[static_cast<std::size_t>(T)]) +
                ", outside -1000 to 1000; whenever " + pageName(route.target) + " is entered, " +
                stops(abort);
    }
    add(Severity::Error, kind, target.file, route.outcome.field, route.target, message,
        keysThrough(route));
  }

  void addUnreachablePages() {
    if (!exploration_.complete) return;
    for (const int32_t page : story_.numberedPages()) {
      if (exploration_.entered.contains(page)) continue;
      add(Severity::Warning, "unreachable-page", story_.pageFile(page).file, 0, page,
          pageName(page) +
              " is never reached: no choice that can be taken from page 0 on leads "
              "to it",
          std::nullopt);
    }
  }

  void addPageFindings(int32_t page, const PageVisit& visit) {
    const PageFile& file = story_.pageFile(page);
    const std::string here = pageAndFile(story_, page);
    if (!hasKeyedChoice(file.fields)) {
      add(Severity::Note, "ending", file.file, 0, page,
          here + " has no choice with a key: an ending; the player shows it until Escape",
          keysTo(visit.firstState));
    } else if (visit.deadStates == visit.states) {
      add(Severity::Warning, "dead-end", file.file, 0, page,
          here +
              " is a dead end: none of its choices can ever be taken there, so only Escape "
              "leaves it",
          keysTo(visit.firstState));
    } else if (visit.deadStates > 0) {
      add(Severity::Warning, "dead-end", file.file, 0, page,
          here +
              " is a dead end when reached by the keys given: none of its choices is "
              "offered then, so only Escape leaves it",
          keysTo(visit.firstDeadState));
    }
    for (int32_t T = 1; T <= kChoiceCount; ++T) addChoiceFindings(page, visit, file, T);
    addMenuFinding(page, visit, file);
  }

  void addChoiceFindings(int32_t page, const PageVisit& visit, const PageFile& file, int32_t T) {
    const auto choice = static_cast<std::size_t>(T);
    const ChoiceUse& use = visit.choices[choice];
    const std::string described = describeChoice(file.fields, T);
    const std::string& key = file.fields.DAS[choice];
    if (use.shadowedStates > 0) {
      const std::string earlier = "choice " + std::to_string(use.shadowedBy);
      const std::string message =
          use.takenStates == 0
              ? described + " has the same key as " + earlier + ", which is offered whenever " +
                    "it is: the player always takes " + earlier + ", so choice " +
                    std::to_string(T) + " can never be taken"
              : described + " has the same key as " + earlier + ": while both are offered, " +
                    "the player takes " + earlier;
      add(Severity::Warning, "same-key", file.file, keyField(T), page, message,
          keysTo(use.firstShadowedState));
    }
    const int32_t condition = file.fields.DDAI[choice];
    const bool used = !key.empty() || !file.fields.DDAS[choice].empty();
    if (used && use.offeredStates == 0 && condition != 0 && exploration_.complete) {
      // Shown pages have every condition within -1000 to 1000.
      const int32_t other = condition < 0 ? -condition : condition;
      const std::string reason =
          condition > 0
              ? pageName(other) + " has never been visited when " + pageName(page) +
                    " is shown (entering page 0 restarts the story and forgets every visit" +
                    (page == kStartPage ? ", so page 0 only ever sees itself visited)" : ")")
              : pageName(other) + " has always been visited when " + pageName(page) + " is shown" +
                    (other == page || other == kStartPage
                         ? " (the page shown counts as visited, and page 0 is visited since "
                           "every restart)"
                         : "");
      add(Severity::Warning, "never-offered", file.file, conditionField(T), page,
          described + " is never offered: its condition is " + std::to_string(condition) + " and " +
              reason,
          std::nullopt);
    }
  }

  void addMenuFinding(int32_t page, const PageVisit& visit, const PageFile& file) {
    if (visit.longestMenuLength <= static_cast<int64_t>(kMenuLimit)) return;
    add(Severity::Warning, "menu-cut", file.file, labelField(visit.menuCutChoice), page,
        "the menu line of " + pageName(page) + " has " + std::to_string(visit.longestMenuLength) +
            " characters when the keys given lead there; the player cuts it to its first 38 "
            "and \"..\" and shows " +
            quotedText(visit.longestMenu),
        keysTo(visit.longestMenuState));
  }

  Story& story_;
  const Exploration& exploration_;
  std::vector<Finding>& findings_;
  std::set<std::string> pagesWithEntryAbort_;
};

}  // namespace

void addFlowFindings(Story& story, const Exploration& exploration, std::vector<Finding>& findings) {
  FlowChecker(story, exploration, findings).run();
}

}  // namespace quillon::tool
