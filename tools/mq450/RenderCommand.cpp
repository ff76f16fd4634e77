// "mq450 render": the paper that jobs would print on an MQ-450, drawn by the virtual printer, as a PNG
// picture, with a report of every item that the paper alone does not make plain (unknown and truncated
// commands, logos stored or missing). --state DIR keeps the stored logos between runs as the printer's flash
// memory does: DIR/logos.prn holds the last logo define command, itself a job that restores them.
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "BarcodePreview.h"
#include "Commands.h"
#include "JobRendering.h"
#include "PngWriter.h"
#include "ToolSupport.h"
#include "virtualprinter/CommandStream.h"
#include "virtualprinter/DotFont.h"
#include "virtualprinter/VirtualPrinter.h"

namespace mq::tool {
namespace {

namespace vp = mq::vprinter;

constexpr const char* kRenderUsage =
    "usage: mq450 render JOB... -o OUT.png [--state DIR] [--font FILE]\n"
    "Draws the paper that the jobs would print, one after the other, on a virtual MQ-450 (576 dots across,\n"
    "180 dpi), and lists what the paper does not show plainly: unknown bytes, commands cut short by the end\n"
    "of a job, logo commands. --state DIR keeps the printer's stored logos between runs (in DIR/logos.prn);\n"
    "without it the printer starts with none. --font names the font file of the resident fonts (DejaVu Sans\n"
    "Mono by default).\n"
    "example: mq450 render logo.prn receipt.prn -o receipt.png --state /tmp/mq450-flash\n";

constexpr const char* kLogoStateFile = "logos.prn";
// A job the virtual printer is given is read whole; anything beyond this is no print job.
constexpr uint64_t kMaxJobBytes = uint64_t{64} << 20;

int Usage(const std::string& message) {
  std::cerr << kRenderUsage;
  return Fail(kExitUsage, message);
}

// The stored logos of a state folder: none when it holds no logo file yet.
bool LoadLogos(const std::string& path, std::vector<vp::Logo>* logos, std::string* error) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return true;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, kMaxJobBytes, &bytes, error)) return false;
  const std::vector<vp::Item> items = vp::DecodeCommandStream(bytes);
  if (items.size() != 1 ||
      (items[0].kind != vp::ItemKind::kDefineMonoLogos && items[0].kind != vp::ItemKind::kDefineGrayLogos)) {
    *error = path + " is not a logo define command; remove it to start with no stored logos";
    return false;
  }
  *logos = items[0].logos;
  return true;
}

std::vector<uint8_t> RgbOf(const vp::Paper& paper) {
  std::vector<uint8_t> rgb;
  rgb.reserve(paper.Levels().size() * 3);
  for (uint8_t level : paper.Levels()) rgb.insert(rgb.end(), {level, level, level});
  return rgb;
}

}  // namespace

bool RenderJobs(const std::vector<std::string>& jobs, const std::vector<std::vector<uint8_t>>& streams,
                const std::optional<std::string>& state, const std::string& fontPath,
                const std::string& output, std::ostream& report, std::string* error) {
  std::vector<vp::Logo> logos;
  std::string statePath;
  if (state) {
    std::error_code ec;
    std::filesystem::create_directories(*state, ec);
    if (ec) {
      *error = "cannot make the state folder " + *state + ": " + ec.message();
      return false;
    }
    statePath = (std::filesystem::path(*state) / kLogoStateFile).string();
    if (!LoadLogos(statePath, &logos, error)) return false;
  }
  std::unique_ptr<vp::DotFont> font = vp::DotFont::Open(fontPath, error);
  if (!font) return false;

  ZintSymbolPainter symbols;
  vp::VirtualPrinter printer(*font, &symbols);
  printer.SetStoredLogos(logos);
  std::optional<std::vector<uint8_t>> lastDefine;
  for (size_t i = 0; i < jobs.size(); ++i) {
    const std::vector<vp::Item> items = vp::DecodeCommandStream(streams[i]);
    const size_t notesBefore = printer.Notes().size();
    printer.Print(items);
    for (const vp::Item& item : items) {
      if (item.kind == vp::ItemKind::kDefineMonoLogos || item.kind == vp::ItemKind::kDefineGrayLogos) {
        lastDefine = item.bytes;
      }
    }
    report << jobs[i] << ": " << streams[i].size() << " bytes, " << items.size() << " items\n";
    for (size_t n = notesBefore; n < printer.Notes().size(); ++n)
      report << "  " << printer.Notes()[n] << '\n';
  }

  const vp::Paper& paper = printer.paper();
  std::vector<uint8_t> png;
  if (!EncodePng(paper.Width(), std::max(paper.Height(), 1),
                 paper.Height() ? RgbOf(paper) : std::vector<uint8_t>(paper.Width() * 3, 255), &png)) {
    *error = "cannot encode the PNG picture";
    return false;
  }
  if (!WriteOutputFile(output, png, error)) return false;
  if (state && lastDefine && !WriteOutputFile(statePath, *lastDefine, error)) return false;
  report << output << ": " << paper.Width() << " x " << paper.Height() << " dots\n";
  return true;
}

int RunRender(const Args& args) {
  std::vector<std::string> jobs;
  std::optional<std::string> output, state;
  std::string fontPath = kDefaultFont;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") {
      std::cout << kRenderUsage;
      return kExitOk;
    }
    if (a == "-o" || a == "--state" || a == "--font") {
      if (i + 1 >= args.size()) return Usage(a + " needs a value");
      const std::string& value = args[++i];
      if (a == "-o")
        output = value;
      else if (a == "--state")
        state = value;
      else
        fontPath = value;
      continue;
    }
    if (a.size() > 1 && a[0] == '-') return Usage("unknown option: " + a);
    jobs.push_back(a);
  }
  if (jobs.empty()) return Usage("render needs at least one job file");
  if (!output) return Usage("render needs -o OUT.png");

  std::vector<std::vector<uint8_t>> streams(jobs.size());
  std::string error;
  for (size_t i = 0; i < jobs.size(); ++i) {
    if (!ReadWholeFile(jobs[i], kMaxJobBytes, &streams[i], &error)) return Fail(kExitFailed, error);
  }
  if (!RenderJobs(jobs, streams, state, fontPath, *output, std::cout, &error)) {
    return Fail(kExitFailed, error);
  }
  return kExitOk;
}

}  // namespace mq::tool
