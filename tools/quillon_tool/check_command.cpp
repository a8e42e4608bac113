#include <filesystem>

#include "quillon_tool/commands.h"
#include "story_analysis/report_format.h"
#include "story_analysis/story_check.h"

namespace quillon::tool {

int runCheck(const CheckOptions& options, std::ostream& out, std::ostream& err) {
  if (!std::filesystem::is_directory(options.story)) {
    err << "quillon-tool check: " << options.story << " is not a folder\n";
    return kExitUsage;
  }
  Story story(options.story);
  const CheckReport report = checkStory(story);
  if (options.format == OutputFormat::Json) {
    out << reportJson(report, options.story)
               .dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
        << "\n";
  } else {
    out << reportText(report, options.story);
  }
  return report.problemCount() > 0 ? kExitFindings : kExitOk;
}

}  // namespace quillon::tool
