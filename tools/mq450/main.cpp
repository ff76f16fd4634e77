// mq450: the package's portable core on the command line, for people who support these printers and for
// package authors.
#include <exception>
#include <iostream>
#include <new>
#include <string>

#include "Commands.h"
#include "PackageVersion.h"
#include "ToolSupport.h"

namespace {

constexpr const char* kUsage =
    "usage: mq450 <group> <command> [arguments]   (mq450 --version: the package version)\n"
    "  settings default -o FILE [--system-dir DIR]\n"
    "  settings convert IN -o FILE\n"
    "  settings merge IN -o FILE\n"
    "  settings show FILE\n"
    "  settings set IN -o OUT NAME=VALUE...\n"
    "  logo gray|mono|encode-mono|encode-gray|preview|job ...\n"
    "  barcode check CODE DATA\n"
    "  barcode job SETTINGS --font 1d1..1d8|2d1|2d2 [--data TEXT] -o OUT\n"
    "  barcode preview SETTINGS --font 1d1..1d8|2d1|2d2 [--data TEXT] -o OUT.png\n"
    "  control-font show FILE | set FILE CHAR \"HEX BYTES\"\n"
    "  watermark image SRC -o OUT\n"
    "  watermark preview SETTINGS [--picture FILE] --box WxH -o OUT.png\n"
    "  send FILE --to tcp:HOST[:PORT]|DEVICE|file:PATH\n"
    "  render JOB... -o OUT.png [--state DIR]\n"
    "  printer --listen [ADDRESS:]PORT --out DIR [--jobs N]\n"
    "  simulate install --package DIR --machine DIR --model NAME ...\n"
    "  simulate uninstall --package DIR --machine DIR ...\n"
    "  package check DIR|ARCHIVE.zip\n";

int Run(mq::tool::Args args) {
  if (args.empty() || args[0] == "-h" || args[0] == "--help") {
    std::cout << kUsage;
    return args.empty() ? mq::tool::kExitUsage : mq::tool::kExitOk;
  }
  if (args[0] == "--version") {
    std::cout << "mq450 " MQ_PACKAGE_VERSION "\n";
    return args.size() == 1 ? mq::tool::kExitOk
                            : mq::tool::Fail(mq::tool::kExitUsage, "--version takes no arguments");
  }
  std::string group = args[0];
  args.erase(args.begin());
  if (group == "settings") return mq::tool::RunSettings(args);
  if (group == "logo") return mq::tool::RunLogo(args);
  if (group == "simulate") return mq::tool::RunSimulate(args);
  if (group == "control-font") return mq::tool::RunControlFont(args);
  if (group == "send") return mq::tool::RunSend(args);
  if (group == "barcode") return mq::tool::RunBarcode(args);
  if (group == "render") return mq::tool::RunRender(args);
  if (group == "printer") return mq::tool::RunPrinter(args);
  if (group == "package") return mq::tool::RunPackage(args);
  if (group == "watermark") return mq::tool::RunWatermark(args);
  std::cerr << kUsage;
  return mq::tool::Fail(mq::tool::kExitUsage, "unknown command group: " + group);
}

}  // namespace

int main(int argc, char** argv) {
  // Whatever a command could not handle ends the run with one clear line, never an abort.
  try {
    return Run(mq::tool::Args(argv + 1, argv + argc));
  } catch (const std::bad_alloc&) {
    return mq::tool::Fail(mq::tool::kExitFailed, "out of memory");
  } catch (const std::exception& e) {
    return mq::tool::Fail(mq::tool::kExitFailed, std::string("unexpected failure: ") + e.what());
  }
}
