#include "qbzpack/cli.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <new>

#include "qbzpack/colour_index.h"
#include "qbzpack/inspect_commands.h"
#include "qbzpack/pack_command.h"
#include "qbzpack/parallel_work.h"
#include "qbzpack/testcard_command.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

constexpr const char* kDescription =
    "qbzpack: makes panoramas for the qbzview cube viewer.\n"
    "Exit status: 0 success, 1 bad input or failure, 2 wrong command line.";

constexpr const char* kPackFooter =
    "Angles are in degrees (45, -12.5) or, with the suffix u, in the viewer's 2048ths of a turn (512u = 90 "
    "degrees). Colours are RGB hex (FF9700, #FF9700 or 0xFF9700). Zooms are the viewer's projection distance, "
    "64..1024 (default 130 within 130..240). Pitches are elevations: positive looks up. "
    "Face pictures are in the viewer's orientation: seen from the centre, columns run left to right and rows "
    "bottom to top on every face; up and down as seen by tilting from the front view (see docs/qbzpack.md). "
    "Exit status: 0 success, 1 bad input or failure, 2 wrong command line.";

constexpr const char* kAllowHolesHelp =
    "Pack faces too small for their tiles although some views would show holes (see docs/qbzpack.md)";

// Options shared by `pack` and `testcard` for what is written and how.
struct OutputArguments {
  std::string background = "000000";
  bool noDither = false;
  uint32_t threads = 0;  // 0: every core
};

void addOutputOptions(CLI::App& command, OutputRequest& out, OutputArguments& args) {
  command.add_option("-o,--output", out.output, "Output file: a .qbz container, or the viewer with --viewer");
  command.add_option("--tile-size", out.tileSize, "Tile edge in pixels, a power of two 2..128")
      ->default_val(kDefaultTileSize);
  command.add_option("--draw-mode", out.drawMode, "0 opaque, 1 texel 0 transparent, 2 averaged, 3 both")
      ->default_val(0);
  command.add_flag("--raw", out.raw, "Store the pixels uncompressed (default: compressed)");
  command.add_flag("--best", out.best, "Compress harder (deflate level 9: a little smaller, several times slower)");
  command.add_option("--threads", args.threads, "Threads for sampling and compressing (default: every core)")
      ->check(CLI::Range(1, 256));
  command.add_flag("--no-dither", args.noDither, "Round each pixel to the nearest colour (default: error diffusion)");
  command.add_option("--background", args.background, "RGB colour behind transparent pixels")->default_val("000000");
  command.add_option("--viewer", out.viewer, "Viewer executable to append the panorama to; the output is executable");
  command.add_option("--html", out.html,
                     "Also write one self-contained web page showing the panorama (viewer included; opens from a "
                     "file, no server)");
  command.add_option("--web-viewer", out.webViewer, "The web build's qbzview.html (default: beside qbzpack)");

  ViewOptions& v = out.view;
  const char* group = "Self-contained viewer settings (need --viewer or --html)";
  command.add_option("--yaw", v.yaw, "Start heading, angle")->group(group);
  command.add_option("--pitch", v.pitch, "Start elevation, angle, positive looks up (default 0)")->group(group);
  command.add_option("--zoom", v.zoom, "Start zoom")->group(group);
  command.add_option("--zoom-min", v.zoomMin, "Lowest zoom (default 130)")->group(group);
  command.add_option("--zoom-max", v.zoomMax, "Highest zoom (default 240)")->group(group);
  command.add_option("--pitch-min", v.pitchMin, "Lowest elevation, angle (default -90, straight down)")
      ->group(group);
  command.add_option("--pitch-max", v.pitchMax, "Highest elevation, angle (default 90, straight up)")->group(group);
  command.add_option("--banner", v.banner, "Banner text, shown centred at start; must fit the screen")->group(group);
  command.add_option("--banner-frames", v.bannerFrames, "Banner shown until this frame (default 50)")->group(group);
  command.add_option("--banner-colour", v.bannerColour, "Banner colour, RGB (default FF9700)")->group(group);
  command.add_option("--caption", v.caption, "Caption text; must fit on the screen from its position")->group(group);
  command.add_option("--caption-x", v.captionX, "Caption screen x (default 50)")->group(group);
  command.add_option("--caption-y", v.captionY, "Caption screen y (default 300)")->group(group);
  command.add_option("--caption-colour", v.captionColour, "Caption colour, RGB (default FF9700)")->group(group);
  command.add_option("--overlay1", v.overlay1, "Overlay picture (PNG or JPEG), at most 240 x 320")->group(group);
  command.add_option("--overlay1-x", v.overlay1X, "Overlay 1 left edge on screen (default 0)")->group(group);
  command.add_option("--overlay1-y", v.overlay1Y, "Overlay 1 top edge on screen (default 0)")->group(group);
  command.add_option("--overlay2", v.overlay2, "Second overlay picture")->group(group);
  command.add_option("--overlay2-x", v.overlay2X, "Overlay 2 left edge on screen (default 0)")->group(group);
  command.add_option("--overlay2-y", v.overlay2Y, "Overlay 2 top edge on screen (default 0)")->group(group);
}

void finishOutput(OutputRequest& out, const OutputArguments& args) {
  out.background = parseRgb(args.background, "--background");
  out.dither = !args.noDither;
  setWorkerThreads(args.threads);
}

// One line for every parse error; help and its exit code 0 stay CLI11's.
std::string oneLineFailure(const CLI::App*, const CLI::Error& error) {
  return std::string("qbzpack: ") + error.what() + " (see --help)\n";
}

}  // namespace

int runQbzpack(int argc, const char* const* argv) {
  CLI::App app{kDescription, "qbzpack"};
  app.require_subcommand(1, 1);
  app.failure_message(oneLineFailure);

  PackRequest pack;
  OutputArguments packArgs;
  CLI::App* packCommand = app.add_subcommand("pack", "Pack an equirectangular picture or six faces");
  packCommand->footer(kPackFooter);
  packCommand->add_option("IMAGE", pack.equirect, "Equirectangular panorama (PNG or JPEG, 2:1)");
  const char* faceHelp[kFaceCount] = {"Front face picture (straight ahead)", "Right face picture", "Back face picture",
                                      "Left face picture", "Up face picture", "Down face picture"};
  for (int face = 0; face < kFaceCount; ++face) {
    packCommand->add_option(std::string("--") + kFaceNames[face], pack.faces[face], faceHelp[face]);
  }
  packCommand->add_option("--face-size", pack.faceSize,
                          "Face edge in pixels, up to 2048 (default 512, or the face pictures' size)");
  addOutputOptions(*packCommand, pack.output, packArgs);
  packCommand->add_flag("--allow-holes", pack.allowHoles, kAllowHolesHelp);

  std::string inspected, directory;
  CLI::App* infoCommand = app.add_subcommand("info", "Describe a container or self-contained viewer");
  infoCommand->add_option("FILE", inspected, "Container or viewer")->required();
  CLI::App* extractCommand = app.add_subcommand("extract", "Write the six faces as PNGs (front.png ... down.png)");
  extractCommand->add_option("FILE", inspected, "Container or viewer")->required();
  extractCommand->add_option("DIR", directory, "Directory for the pictures (created if missing)")->required();

  TestcardRequest card;
  OutputArguments cardArgs;
  CLI::App* cardCommand = app.add_subcommand("testcard", "Make the labelled test-card panorama");
  cardCommand->footer(kPackFooter);
  cardCommand->add_option("--face-size", card.faceSize, "Face edge in pixels")->default_val(kDefaultFaceSize);
  cardCommand->add_option("--faces", card.facesDirectory, "Also write the six faces as PNGs into this directory");
  cardCommand->add_option("--cross", card.crossPicture, "Also write the faces unfolded into a cross, as a PNG");
  addOutputOptions(*cardCommand, card.output, cardArgs);
  cardCommand->add_flag("--allow-holes", card.allowHoles, kAllowHolesHelp);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? kExitOk : kExitUsage;
  }

  try {
    if (packCommand->parsed()) {
      finishOutput(pack.output, packArgs);
      runPack(pack);
    } else if (cardCommand->parsed()) {
      finishOutput(card.output, cardArgs);
      runTestcard(card);
    } else if (infoCommand->parsed()) {
      return runInfo(inspected, std::cout) ? kExitOk : kExitFailure;
    } else if (extractCommand->parsed()) {
      runExtract(inspected, directory);
    }
  } catch (const ToolError& error) {
    std::cerr << "qbzpack: " << error.what() << "\n";
    return error.isUsage() ? kExitUsage : kExitFailure;
  } catch (const std::bad_alloc&) {
    std::cerr << "qbzpack: out of memory\n";
    return kExitFailure;
  } catch (const std::exception& error) {
    std::cerr << "qbzpack: " << error.what() << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace qbzpack
