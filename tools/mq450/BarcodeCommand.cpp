// The "barcode" command group: the barcode pages' data check, the exact bytes of their test prints, and a
// picture of the symbol a test print asks for. Text given on the command line is UTF-8 and is converted to
// the ANSI code page the plug-in would run under (1252 unless --code-page says 936 or 950), as the pages
// convert their data field; --hex gives the bytes themselves.
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "BarcodePreview.h"
#include "Commands.h"
#include "HexBytes.h"
#include "ToolSupport.h"
#include "barcode/BarcodeSymbols.h"
#include "plugin/PrivateSettings.h"

namespace mq::tool {
namespace {

using plugin::TestPrint;

constexpr const char* kBarcodeUsage =
    "usage: mq450 barcode check CODE DATA [--hex] [--code-page 1252|936|950]\n"
    "       mq450 barcode job SETTINGS --font 1d1..1d8|2d1|2d2 [--data TEXT] [--hex] [--code-page CP] -o "
    "OUT\n"
    "       mq450 barcode preview SETTINGS --font FONT [--data TEXT] [--hex] [--code-page CP] -o OUT.png\n"
    "check runs the barcode pages' data check: it prints \"accepted\" and the bytes the test print sends\n"
    "(in hexadecimal), exit 0, or \"rejected\" and why, exit 1. CODE is a check code 0..18 or one of:\n"
    "  %NAMES%\n"
    "job writes the test print the 1D or 2D Code page sends for that font of the settings record; preview\n"
    "draws the symbol it asks for with libzint, one pixel per printer dot (180 dpi), at the record's module\n"
    "width and bar height, with the human-readable text below the bars where the record asks for any. Maxi\n"
    "Code is drawn at its fixed size; a UPC-E number that has no UPC-E form is refused. Without --data a\n"
    "font uses its type's sample data. Data the check refuses is reported, exit 1, and nothing is written.\n"
    "example: mq450 barcode check code128 '{A12{C3456'\n"
    "example: mq450 barcode job settings.bin --font 1d3 --data 1234567890128 -o ean13.prn\n"
    "example: mq450 barcode preview settings.bin --font 2d1 --data 'https://example.com' -o pdf417.png\n";

std::string UsageText() {
  std::string text = kBarcodeUsage;
  // The names, wrapped to the width of the other lines.
  std::string names;
  size_t lineStart = 0;
  for (const char c : plugin::CheckCodeNames()) {
    names += c;
    if (c == ' ' && names.size() - lineStart > 90) {
      names.back() = '\n';
      names += "  ";
      lineStart = names.size();
    }
  }
  text.replace(text.find("%NAMES%"), 7, names);
  return text;
}

int Usage(const std::string& message) {
  std::cerr << UsageText();
  return Fail(kExitUsage, message);
}

struct Options {
  std::vector<std::string> positional;
  std::optional<std::string> font, data, output, codePage;
  bool hex = false;
};

bool Parse(const Args& args, bool withValues, Options* o, std::string* error) {
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--hex") {
      o->hex = true;
    } else if (a == "--code-page" || (withValues && (a == "--font" || a == "--data" || a == "-o"))) {
      if (i + 1 >= args.size()) {
        *error = "option " + a + " needs a value";
        return false;
      }
      const std::string& value = args[++i];
      (a == "--code-page" ? o->codePage
       : a == "--font"    ? o->font
       : a == "--data"    ? o->data
                          : o->output) = value;
    } else if (a.size() > 1 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9')) {
      *error = "unknown option for barcode " + args[0] + ": " + a;
      return false;
    } else {
      o->positional.push_back(a);
    }
  }
  return true;
}

// UTF-8 to the ANSI code page; a character the code page lacks is refused (Windows would send '?').
bool ToAnsi(const std::string& utf8, const std::string& codePage, std::vector<uint8_t>* out,
            std::string* error) {
  iconv_t cd = iconv_open(("CP" + codePage).c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    *error = "code page " + codePage + " is not available";
    return false;
  }
  std::string in = utf8;
  std::vector<char> buffer(in.size() * 4 + 16);
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = buffer.data();
  size_t outLeft = buffer.size();
  const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1)) {
    *error = errno == EILSEQ ? "the data holds a character that code page " + codePage + " does not have"
                             : "the data is not valid UTF-8";
    return false;
  }
  out->assign(buffer.data(), outPtr);
  return true;
}

bool DataBytes(const Options& o, const std::string& text, std::vector<uint8_t>* bytes, std::string* error) {
  if (o.hex) return ParseHexBytes(text, 4096, bytes, error);
  return ToAnsi(text, o.codePage.value_or("1252"), bytes, error);
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string text;
  char pair[4];
  for (uint8_t b : bytes) {
    std::snprintf(pair, sizeof pair, "%02X", b);
    text += (text.empty() ? "" : " ") + std::string(pair);
  }
  return text;
}

int RunCheck(const Args& args) {
  Options o;
  std::string error;
  if (!Parse(args, false, &o, &error)) return Usage(error);
  if (o.positional.size() != 2) return Usage("barcode check needs CODE and DATA");
  const std::optional<int> code = plugin::CheckCodeByName(o.positional[0]);
  if (!code) return Usage("\"" + o.positional[0] + "\" is not a check code 0..18 or a type name");
  std::vector<uint8_t> data;
  if (!DataBytes(o, o.positional[1], &data, &error)) return Fail(kExitUsage, error);
  const std::vector<uint8_t> given = data;
  const plugin::DataCheckResult result = plugin::CheckBarcodeData(*code, &data);
  if (!result.Accepted()) {
    std::cout << "rejected: " << plugin::DescribeCheck(*code, result, given) << '\n';
    return kExitFailed;
  }
  std::cout << "accepted: " << data.size() << " bytes: " << Hex(data) << '\n';
  return kExitOk;
}

// What job and preview share: the settings record, the chosen font and its test print.
struct FontPrint {
  std::vector<uint8_t> record;
  uint32_t font = 0;
  TestPrint print;
};

// Reads the arguments and the record and builds the test print of --font; kExitOk, or the status of the error
// it has reported.
int BuildTestPrint(const Args& args, Options* o, FontPrint* out) {
  std::string error;
  if (!Parse(args, true, o, &error)) return Usage(error);
  const std::string command = "barcode " + args[0];
  if (o->positional.size() != 1) return Usage(command + " needs one SETTINGS file");
  if (!o->font) return Usage(command + " needs --font");
  if (!o->output) return Usage(command + " needs -o OUT");
  const std::string& font = *o->font;
  const bool twoD = font.size() == 3 && font.compare(0, 2, "2d") == 0 && font[2] >= '1' && font[2] <= '2';
  const bool oneD = font.size() == 3 && font.compare(0, 2, "1d") == 0 && font[2] >= '1' && font[2] <= '8';
  if (!oneD && !twoD) return Usage("--font is 1d1..1d8, 2d1 or 2d2, not " + font);
  out->font = static_cast<uint32_t>(font[2] - '1');

  std::vector<uint8_t>& record = out->record;
  if (!ReadWholeFile(o->positional[0], plugin::kPrivateSettingsSize, &record, &error)) {
    return Fail(kExitFailed, error + " (a settings record is " + std::to_string(plugin::kPrivateSettingsSize) +
                                 " bytes)");
  }
  if (record.size() != plugin::kPrivateSettingsSize) {
    return Fail(kExitFailed, o->positional[0] + ": not a settings record (" + std::to_string(record.size()) +
                                 " bytes, expected " + std::to_string(plugin::kPrivateSettingsSize) + ")");
  }
  const int type = twoD ? plugin::Barcode2D(out->font).type.Get(record.data())
                        : plugin::Barcode1D(out->font).type.Get(record.data());
  if (type >= (twoD ? plugin::kBarcode2DTypeCount : plugin::kBarcode1DTypeCount))
    return Fail(kExitFailed,
                "font " + font + " holds type " + std::to_string(type) + ", which no type list offers");
  std::vector<uint8_t> data;
  if (o->data) {
    if (!DataBytes(*o, *o->data, &data, &error)) return Fail(kExitUsage, error);
  } else {
    const std::string_view sample = twoD ? plugin::k2DSampleData : plugin::Barcode1DTypeAt(type).sampleData;
    data.assign(sample.begin(), sample.end());
  }
  const std::vector<uint8_t> given = data;
  out->print = twoD ? plugin::Build2DTestPrint(record.data(), out->font, std::move(data))
                    : plugin::Build1DTestPrint(record.data(), out->font, std::move(data));
  if (!out->print.Ready())
    return Fail(kExitFailed,
                "data refused: " + plugin::DescribeCheck(out->print.checkCode, out->print.check, given));
  return kExitOk;
}

std::string_view TypeName(const TestPrint& print) {
  return print.documentName == plugin::job_name::k2DCode ? plugin::Barcode2DTypeAt(print.type).listText
                                                         : plugin::Barcode1DTypeAt(print.type).listText;
}

int RunJob(const Args& args) {
  Options o;
  FontPrint built;
  if (const int status = BuildTestPrint(args, &o, &built); status != kExitOk) return status;
  std::string error;
  const std::vector<uint8_t> bytes = built.print.Bytes();
  if (!WriteOutputFile(*o.output, bytes, &error)) return Fail(kExitFailed, error);
  std::cout << built.print.documentName << " job, " << TypeName(built.print) << ", "
            << built.print.data.size() << " data bytes: " << bytes.size() << " bytes written to " << *o.output
            << '\n';
  return kExitOk;
}

int RunPreview(const Args& args) {
  Options o;
  FontPrint built;
  if (const int status = BuildTestPrint(args, &o, &built); status != kExitOk) return status;
  std::vector<uint8_t> png;
  std::string error;
  if (!DrawTestPrint(built.record.data(), built.font, built.print, &png, &error))
    return Fail(kExitFailed, error);
  if (!WriteOutputFile(*o.output, png, &error)) return Fail(kExitFailed, error);
  std::cout << TypeName(built.print) << " drawn: " << *o.output << '\n';
  return kExitOk;
}

}  // namespace

int RunBarcode(const Args& args) {
  if (args.empty()) return Usage("barcode needs check, job or preview");
  const std::string& command = args[0];
  for (const std::string& a : args) {
    if (a == "-h" || a == "--help") {
      std::cout << UsageText();
      return kExitOk;
    }
  }
  if (command == "check") return RunCheck(args);
  if (command == "job") return RunJob(args);
  if (command == "preview") return RunPreview(args);
  return Usage("unknown barcode command: " + command);
}

}  // namespace mq::tool
