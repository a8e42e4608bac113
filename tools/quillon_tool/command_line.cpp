// The command line of quillon-tool: subcommands, their options and help.
#include <CLI/CLI.hpp>

#include <charconv>
#include <string_view>

#include "player/scripted_session.h"
#include "quillon_tool/commands.h"
#include "story_analysis/key_notation.h"

namespace quillon::tool {
namespace {

constexpr const char* kCheckHelp =
    R"(Finds what would go wrong when the story in DIR is played, without playing
it: every page the player can show is explored with every combination of
visited condition pages that can occur.

Errors (the player stops): a page file missing for a choice that can be
taken (location 47), a target outside 0 to 1000 (location 83), a condition
outside -1000 to 1000 (location 62), a missing picture (location 94), a
missing background sprites/bkgd2424.VIS (location 32).
Warnings: pages never reached from page 0; dead ends; choices never offered;
two offered choices with the same key; a label without a key; keys no key
press gives; pictures with fewer values than width x height, with values
outside -1 to 255, with empty fields or extra values; picture names whose
size differs from the page file's width and height; pictures that do not fit
the screen; titles and text lines longer than 38 characters; menu lines cut
to 38 characters and "..".
Notes: endings.

An ending is a page none of whose choices has a key: the player shows it until
Escape. A page with keyed choices that can be shown with none of them offered
is a dead end. A choice back to page 0 is a choice like any other.

Each finding names its file, the field (counted from 1, as the player reads
them) and what the player does; where a sequence of keys leads there, it is
given in play's --keys notation.

Exit status: 0 nothing wrong (notes only), 1 errors or warnings, 2 usage error.)";

constexpr const char* kPlayHelp =
    R"(Runs the real page cycle, headless, in DIR, with the keys of KEYS given one
per key wait. Prints "page N: TITLE" for each page shown ("page N: not shown"
when the player stops while entering it). Standard error is the player's.

Key notation:
  plain characters   one key each; UTF-8 is converted to code page 437
  {{                 a literal {  (a lone } needs no escape)
  {Esc} {Tab} {Backspace} {Enter} {Space}
  {Up} {Down} {Left} {Right} {Home} {End} {PgUp} {PgDn} {Ins} {Del}
  {F1} .. {F12}      (a real keyboard never delivers F10)
  {Close}            the window's close button
  {N}                the one-byte key of code N, 0 to 255; {0} is no key
  {Ext N}            the extended key N, 1 to 255
  {Name*K}           K times the same key, e.g. {Down*3}
Names are case-insensitive (Escape, BS, Return, PageUp, Insert, Delete also
work). Example: --keys "nb{Tab}x{Esc}"

--screenshot FILE.png writes the screen as the story ended: at an abort or
when the keys run out, what the window showed; at Escape, the screen Escape
was pressed on (the player then blanks the window). --shots DIR writes one
PNG per key wait, DIR/NNNN-pPPP.png (wait number, page shown; a map view or a
label switch is a wait of its own), and DIR/end.png as --screenshot.

Exit status: the player's. 0 after Escape; the runtime error number when the
player stops (2 file not found, 6 out of bounds, ...), with its message on
standard error; 100 when the keys ran out while the player still waited for
a key; 64 for a usage error.)";

constexpr const char* kWalkHelp =
    R"(Plays N random playthroughs of the story in DIR, each in a child process
with the headless player: mostly a random offered choice, now and then Tab,
Backspace, the close key or Escape; Escape on a page with nothing offered.
Each run presses at most --max-keys keys. Reports the pages shown, page
files never shown, the highest percentage, how the runs ended, and every
abort with the player's message and the keys that reproduce it with play.
The same seed gives the same walks.

Exit status: 0 no run aborted, 1 some run aborted (or crashed or hung),
2 usage error.)";

constexpr const char* kGraphHelp =
    R"(Writes the story as a graph. Nodes: pages, with number and title; page 0 has
a double border; pages never reached are grey; pages that stop the player
and targets without a page file are red; endings are boxes. Edges: choices,
labelled key>label; a visited condition is dashed ("if 4 visited"), a
not-visited condition dotted ("if 4 not visited"); choices no key selects
are grey. svg and png are drawn by Graphviz's dot, which must be installed.

Exit status: 0 written, 1 dot missing or failed or the output not writable,
2 usage error.)";

constexpr const char* kToPngHelp =
    R"(Converts a picture file to a PNG through the default palette; -1 becomes a
fully transparent pixel, every other value the palette entry of its low 8
bits, missing values colour 0, as the player draws them. A 12-character
name ending in .VIS gives the size, as in the player; other names need
--size WxH.

Exit status: 0 written, 1 unreadable picture or unwritable PNG, 2 usage
error.)";

constexpr const char* kFromPngHelp =
    R"(Converts a PNG to a picture file: pixels with alpha below 128 become -1
(transparent), every other pixel the nearest default palette entry. When
OUT's name gives a size (12 characters ending in .VIS), it must be the PNG's
size.

Exit status: 0 written, 1 unreadable PNG, size mismatch or unwritable
picture, 2 usage error.)";

bool parseSize(const std::string& text, PictureSize& size) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  const auto number = [](std::string_view part, int32_t& value) {
    const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    return ec == std::errc{} && end == part.data() + part.size() && value > 0;
  };
  const std::string_view all(text);
  return number(all.substr(0, x), size.width) && number(all.substr(x + 1), size.height);
}

OutputFormat outputFormat(const std::string& name) {
  return name == "json" ? OutputFormat::Json : OutputFormat::Text;
}

int runCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"Authoring and playtesting tool for Quillon stories.", "quillon-tool"};
  app.require_subcommand(1);
  app.footer("Run quillon-tool SUBCOMMAND --help for each subcommand's details and exit statuses.");

  CheckOptions check;
  std::string checkFormat = "text";
  CLI::App* checkCommand = app.add_subcommand("check", "find what would go wrong when played");
  checkCommand->add_option("DIR", check.story, "story folder (with pages/ and sprites/)")
      ->required();
  checkCommand->add_option("--format", checkFormat, "text or json")
      ->check(CLI::IsMember({"text", "json"}));
  checkCommand->footer(kCheckHelp);

  PlayOptions play;
  std::string keys;
  CLI::App* playCommand = app.add_subcommand("play", "play with scripted keys, headless");
  playCommand->add_option("DIR", play.story, "story folder")->required();
  playCommand->add_option("--keys", keys, "the keys, in the notation below")->required();
  playCommand->add_option("--screenshot", play.screenshot, "PNG of the final screen");
  playCommand->add_option("--shots", play.shotsFolder, "folder for one PNG per key wait");
  playCommand->footer(kPlayHelp);

  WalkOptions walk;
  std::string walkFormat = "text";
  CLI::App* walkCommand = app.add_subcommand("walk", "random playthroughs in child processes");
  walkCommand->add_option("DIR", walk.story, "story folder")->required();
  walkCommand->add_option("--runs", walk.runs, "number of playthroughs (default 20)")
      ->check(CLI::Range(int64_t{1}, int64_t{1000000}));
  walk.runs = 20;
  walkCommand->add_option("--seed", walk.seed, "seed of the random choices (default 0)");
  walkCommand->add_option("--max-keys", walk.maxKeys, "keys per playthrough (default 200)")
      ->check(CLI::Range(1, 100000));
  walkCommand
      ->add_option("--time-limit", walk.timeLimitSeconds,
                   "seconds a playthrough may take before it counts as hung (default 20)")
      ->check(CLI::PositiveNumber);
  walkCommand->add_option("--format", walkFormat, "text or json")
      ->check(CLI::IsMember({"text", "json"}));
  walkCommand->add_flag("-v,--verbose", walk.verbose, "one line per playthrough on stderr");
  walkCommand->footer(kWalkHelp);

  GraphOptions graph;
  std::string graphFormat = "dot";
  CLI::App* graphCommand = app.add_subcommand("graph", "the story as a Graphviz graph");
  graphCommand->add_option("DIR", graph.story, "story folder")->required();
  graphCommand->add_option("--format", graphFormat, "dot, svg or png")
      ->check(CLI::IsMember({"dot", "svg", "png"}));
  graphCommand->add_option("-o,--output", graph.output, "output file (default: standard output)");
  graphCommand->footer(kGraphHelp);

  std::string toPngPicture;
  std::string toPngOutput;
  std::string toPngSize;
  CLI::App* toPngCommand = app.add_subcommand("topng", "picture file to PNG");
  toPngCommand->add_option("PICTURE", toPngPicture, "picture file")->required();
  toPngCommand->add_option("OUT", toPngOutput, "PNG file to write")->required();
  toPngCommand->add_option("--size", toPngSize, "WxH, for names that give no size");
  toPngCommand->footer(kToPngHelp);

  std::string fromPngInput;
  std::string fromPngPicture;
  CLI::App* fromPngCommand = app.add_subcommand("frompng", "PNG to picture file");
  fromPngCommand->add_option("IN", fromPngInput, "PNG file")->required();
  fromPngCommand->add_option("OUT", fromPngPicture, "picture file to write")->required();
  fromPngCommand->footer(kFromPngHelp);

  const bool playing = argc > 1 && std::string_view(argv[1]) == "play";
  const int usage = playing ? kExitPlayUsage : kExitUsage;
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, out, err);
    return status == 0 ? kExitOk : usage;
  }

  if (*checkCommand) {
    check.format = outputFormat(checkFormat);
    return runCheck(check, out, err);
  }
  if (*playCommand) {
    std::string error;
    if (!parseKeyNotation(keys, play.keys, error)) {
      err << "quillon-tool play: --keys: " << error << "\n";
      return kExitPlayUsage;
    }
    if (!std::filesystem::is_directory(play.story)) {
      err << "quillon-tool play: " << play.story << " is not a folder\n";
      return kExitPlayUsage;
    }
    out.flush();
    runPlay(play);
  }
  if (*walkCommand) {
    walk.format = outputFormat(walkFormat);
    return runWalk(walk, out, err);
  }
  if (*graphCommand) {
    graph.format = graphFormat == "svg"   ? GraphFormat::Svg
                   : graphFormat == "png" ? GraphFormat::Png
                                          : GraphFormat::Dot;
    return runGraph(graph, out, err);
  }
  if (*toPngCommand) {
    std::optional<PictureSize> size;
    if (!toPngSize.empty()) {
      PictureSize parsed;
      if (!parseSize(toPngSize, parsed)) {
        err << "quillon-tool topng: --size " << toPngSize << ": expected WxH, e.g. 32x16\n";
        return kExitUsage;
      }
      size = parsed;
    }
    return runToPng(toPngPicture, size, toPngOutput, err);
  }
  return runFromPng(fromPngInput, fromPngPicture, err);
}

}  // namespace

int runQuillonTool(int argc, char** argv, std::ostream& out, std::ostream& err) {
  // A folder that can't be entered or a file system error: say so, don't crash.
  try {
    return runCommandLine(argc, argv, out, err);
  } catch (const std::exception& e) {
    err << "quillon-tool: " << e.what() << "\n";
    return kExitFindings;
  }
}

}  // namespace quillon::tool
