// The barcode preview. The printer draws the symbols itself; libzint stands in for it here. Where the
// printer's form of the data differs from libzint's input, the data is translated: Code39's '*' start and
// stop characters are left to libzint, Codabar's alternative stop characters T, N, * and E become A, B, C and
// D, Code128's code-set selectors are read (code-C bytes become their two digits), and a UPC-A number is
// compressed to its UPC-E form. The human-readable text is drawn below the bars where the record asks for it
// in any position, since libzint draws it only there.
#include "BarcodePreview.h"

#include <dlfcn.h>
#include <zint.h>

#include <cstdio>

#include "PngWriter.h"
#include "plugin/PrivateSettings.h"

namespace mq::tool {
namespace {

using plugin::Barcode1DTypeAt;
using plugin::Barcode2DTypeAt;

// libzint's entry points, looked up once.
struct Zint {
  zint_symbol* (*create)() = nullptr;
  void (*destroy)(zint_symbol*) = nullptr;
  int (*encode)(zint_symbol*, const unsigned char*, int) = nullptr;
  int (*buffer)(zint_symbol*, int) = nullptr;
};

bool LoadZint(Zint* zint, std::string* error) {
  void* library = dlopen("libzint.so.2.11", RTLD_NOW);
  if (library == nullptr) library = dlopen("libzint.so", RTLD_NOW);
  if (library == nullptr) {
    *error = "barcode previews need libzint (Debian package libzint-dev): " + std::string(dlerror());
    return false;
  }
  zint->create = reinterpret_cast<zint_symbol* (*)()>(dlsym(library, "ZBarcode_Create"));
  zint->destroy = reinterpret_cast<void (*)(zint_symbol*)>(dlsym(library, "ZBarcode_Delete"));
  zint->encode =
      reinterpret_cast<int (*)(zint_symbol*, const unsigned char*, int)>(dlsym(library, "ZBarcode_Encode"));
  zint->buffer = reinterpret_cast<int (*)(zint_symbol*, int)>(dlsym(library, "ZBarcode_Buffer"));
  if (!zint->create || !zint->destroy || !zint->encode || !zint->buffer) {
    *error = "the libzint found lacks the ZBarcode functions";
    return false;
  }
  return true;
}

// What libzint is asked to draw.
struct Drawing {
  int symbology = 0;
  std::string data;
  int moduleDots = 2;    // module width in printer dots
  float heightDots = 0;  // bar height in dots, 0 for libzint's own
  bool text = false;     // human-readable text
  int option1 = -1, option2 = 0, option3 = 0;
  int inputMode = DATA_MODE;
};

// A UPC-A number system 0 or 1 with manufacturer and product codes of one of the four compressible forms, as
// the seven digits libzint takes for UPC-E (check digit left to it); false when it has none.
bool CompressUpcE(const std::string& upcA, std::string* upcE) {
  if (upcA.size() < 11 || (upcA[0] != '0' && upcA[0] != '1')) return false;
  const std::string m = upcA.substr(1, 5), p = upcA.substr(6, 5);
  std::string six;
  if ((m[2] >= '0' && m[2] <= '2') && m.compare(3, 2, "00") == 0 && p.compare(0, 2, "00") == 0)
    six = m.substr(0, 2) + p.substr(2, 3) + m[2];
  else if (m.compare(3, 2, "00") == 0 && p.compare(0, 3, "000") == 0)
    six = m.substr(0, 3) + p.substr(3, 2) + "3";
  else if (m[4] == '0' && p.compare(0, 4, "0000") == 0)
    six = m.substr(0, 4) + p[4] + "4";
  else if (m[4] != '0' && p.compare(0, 4, "0000") == 0 && p[4] >= '5')
    six = m + p[4];
  else
    return false;
  *upcE = upcA.substr(0, 1) + six;
  return true;
}

// The content of printer Code128 data: "{A", "{B" and "{C" select a code set, code-C bytes are two digits.
bool Code128Content(const std::vector<uint8_t>& data, std::string* content, std::string* error) {
  bool codeC = false;
  for (size_t i = 0; i < data.size(); ++i) {
    if (data[i] == '{' && i + 1 < data.size()) {
      const uint8_t selector = data[++i];
      if (selector == 'A' || selector == 'B' || selector == 'C') {
        codeC = selector == 'C';
        continue;
      }
      if (selector == '{') {
        *content += '{';
        continue;
      }
      *error = "the Code128 function {" + std::string(1, static_cast<char>(selector)) + " is not drawn";
      return false;
    }
    if (codeC) {
      char pair[4];
      std::snprintf(pair, sizeof pair, "%02u", data[i]);
      *content += pair;
    } else {
      *content += static_cast<char>(data[i]);
    }
  }
  return true;
}

bool Plan1DData(int type, const std::vector<uint8_t>& bytes, Drawing* d, std::string* error);

bool Plan1D(const uint8_t* record, uint32_t font, const plugin::TestPrint& print, Drawing* d,
            std::string* error) {
  const plugin::Barcode1DFields e = plugin::Barcode1D(font);
  d->moduleDots = e.elementWidth.Get(record);
  d->heightDots = static_cast<float>(e.elementHeight.Get(record) & 0xFF);
  d->text = e.hriPosition.Get(record) != 0;
  if (print.type <= 8) return Plan1DData(print.type, print.data, d, error);
  // GS1 DataBar: the record's module width and row height, text unless its HRI is "None".
  static constexpr int kSymbols[] = {BARCODE_DBAR_OMN, BARCODE_DBAR_OMN, BARCODE_DBAR_LTD, BARCODE_DBAR_EXP};
  d->data.assign(print.data.begin(), print.data.end());
  d->symbology = kSymbols[print.type - 9];
  d->moduleDots = e.gs1ElementWidth.Get(record);
  d->heightDots = static_cast<float>(e.gs1RowHeight.Get(record) & 0xFF);
  d->text = e.gs1Hri.Get(record) != 4;
  if (print.type == 10) d->heightDots = static_cast<float>(13 * d->moduleDots);  // Truncated: 13 modules
  if (print.type == 12) d->inputMode = GS1_MODE | GS1PARENS_MODE;
  return true;
}

bool Plan2D(const uint8_t* record, uint32_t font, const plugin::TestPrint& print, Drawing* d) {
  const plugin::Barcode2DFields e = plugin::Barcode2D(font);
  d->data.assign(print.data.begin(), print.data.end());
  switch (print.type) {
    case plugin::k2DPdf417:
      d->symbology = BARCODE_PDF417;
      d->moduleDots = e.pdfElementWidth.Get(record);
      d->option1 = e.pdfErrorLevel.Get(record);
      d->option2 = e.pdfColumns.Get(record);
      break;
    case plugin::k2DQrCode: {
      // libzint's levels 1..4 are L, M, Q, H; the record's 0..3 are L, M, H, Q.
      static constexpr int kLevels[] = {1, 2, 4, 3};
      const uint8_t level = e.qrErrorLevel.Get(record);
      d->symbology = BARCODE_QRCODE;
      d->moduleDots = e.qrElementWidth.Get(record);
      d->option1 = kLevels[level < 3 ? level : 3];
      break;
    }
    case plugin::k2DMaxiCode:
      d->symbology = BARCODE_MAXICODE;
      d->moduleDots = 4;
      break;
    default: {
      static constexpr int kSymbols[] = {BARCODE_DBAR_STK, BARCODE_DBAR_OMNSTK, BARCODE_DBAR_EXPSTK};
      d->symbology = kSymbols[print.type - 1];
      d->moduleDots = e.gs1ElementWidth.Get(record);
      if (print.type == plugin::k2DExpandedStacked) {
        d->inputMode = GS1_MODE | GS1PARENS_MODE;
        d->option2 = e.gs1SegmentNumber.Get(record) / 2;  // libzint counts columns of two segments
      }
    }
  }
  d->text = false;
  return true;
}

// Draws the planned symbol with libzint into an RGB raster of one pixel per printer dot.
bool Raster(const Drawing& d, const std::string& typeName, int* width, int* height, std::vector<uint8_t>* rgb,
            std::string* error) {
  Zint zint;
  if (!LoadZint(&zint, error)) return false;
  zint_symbol* symbol = zint.create();
  if (symbol == nullptr) {
    *error = "libzint could not make a symbol";
    return false;
  }
  const int moduleDots = d.moduleDots < 1 ? 1 : d.moduleDots;
  symbol->symbology = d.symbology;
  // libzint's raster draws a module as 2 x scale pixels: one pixel per printer dot.
  symbol->scale = static_cast<float>(moduleDots) / 2.0f;
  if (d.heightDots > 0) symbol->height = d.heightDots / static_cast<float>(moduleDots);
  symbol->show_hrt = d.text ? 1 : 0;
  symbol->input_mode = d.inputMode;
  symbol->option_1 = d.option1;
  symbol->option_2 = d.option2;
  symbol->output_options |= BARCODE_QUIET_ZONES;
  int status = zint.encode(symbol, reinterpret_cast<const unsigned char*>(d.data.data()),
                           static_cast<int>(d.data.size()));
  if (status < ZINT_ERROR) status = zint.buffer(symbol, 0);
  if (status >= ZINT_ERROR) {
    *error = "libzint cannot draw this " + typeName + ": " + symbol->errtxt;
    zint.destroy(symbol);
    return false;
  }
  *width = symbol->bitmap_width;
  *height = symbol->bitmap_height;
  rgb->assign(symbol->bitmap, symbol->bitmap + static_cast<size_t>(*width) * *height * 3);
  zint.destroy(symbol);
  return true;
}

// The 1D page's type index of a GS k code of the symbol commands (m 0..6 and their counted forms 65..71, 72
// Code93, 73 Code128); -1 for none.
int PageTypeOfCode(int code) {
  if (code >= 65 && code <= 71) code -= 65;
  static constexpr int kTypeOfCode[] = {0, 1, 3, 2, 4, 5, 6};  // codes 2 and 3 are EAN13 and EAN8
  if (code >= 0 && code <= 6) return kTypeOfCode[code];
  if (code == 72) return 7;
  if (code == 73) return 8;
  return -1;
}

// The 1D types' symbologies and data translations, shared by the page's records and the printer's commands.
bool Plan1DData(int type, const std::vector<uint8_t>& bytes, Drawing* d, std::string* error) {
  const std::string data(bytes.begin(), bytes.end());
  d->data = data;
  switch (type) {
    case 0:
      d->symbology = BARCODE_UPCA;
      break;
    case 1:
      d->symbology = BARCODE_UPCE;
      if (!CompressUpcE(data, &d->data)) {
        *error = "the UPC-A number " + data + " has no UPC-E form, so libzint cannot draw it as UPC-E";
        return false;
      }
      break;
    case 2:
    case 3:
      // With its check digit (8 or 13 digits) the number is checked by libzint; without, libzint adds it.
      d->symbology = data.size() == 8 || data.size() == 13 ? BARCODE_EANX_CHK : BARCODE_EANX;
      break;
    case 4:
      d->symbology = BARCODE_CODE39;
      if (!d->data.empty() && d->data.front() == '*') d->data.erase(0, 1);
      if (!d->data.empty() && d->data.back() == '*') d->data.pop_back();
      break;
    case 5:
      d->symbology = BARCODE_C25INTER;
      break;
    case 6: {
      d->symbology = BARCODE_CODABAR;
      const std::string from = "TN*E", to = "ABCD";
      if (d->data.empty()) break;
      if (const size_t at = from.find(d->data.back()); at != std::string::npos) d->data.back() = to[at];
      break;
    }
    case 7:
      d->symbology = BARCODE_CODE93;
      break;
    case 8:
      d->symbology = BARCODE_CODE128;
      d->data.clear();
      if (!Code128Content(bytes, &d->data, error)) return false;
      break;
  }
  return true;
}

}  // namespace

bool DrawTestPrint(const uint8_t* record, uint32_t font, const plugin::TestPrint& print,
                   std::vector<uint8_t>* png, std::string* error) {
  Drawing d;
  const bool twoD = print.documentName == plugin::job_name::k2DCode;
  if (twoD ? !Plan2D(record, font, print, &d) : !Plan1D(record, font, print, &d, error)) return false;
  const std::string typeName(twoD ? Barcode2DTypeAt(print.type).listText
                                  : Barcode1DTypeAt(print.type).listText);
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  if (!Raster(d, typeName, &width, &height, &rgb, error)) return false;
  const bool encoded = EncodePng(width, height, rgb, png);
  if (!encoded) *error = "the picture could not be encoded";
  return encoded;
}

bool ZintSymbolPainter::Paint(const vprinter::SymbolRequest& request, vprinter::SymbolDots* out,
                              std::string* error) {
  Drawing d;
  d.moduleDots = request.moduleWidth;
  d.heightDots = static_cast<float>(request.barHeight);
  std::string typeName = "symbol " + std::to_string(request.code);
  if (const int type = PageTypeOfCode(request.code); type >= 0) {
    if (!Plan1DData(type, request.data, &d, error)) return false;
    typeName = std::string(Barcode1DTypeAt(type).listText);
  } else if (request.code == 13) {
    // GS1 DataBar: t of the parameter block picks the form; module width, row height and segments from it.
    const std::vector<int>& p = request.gs1;
    d.data.assign(request.data.begin(), request.data.end());
    d.moduleDots = p[1];
    d.heightDots = static_cast<float>(p[2]);
    switch (p[0]) {
      case 1:
        d.symbology = BARCODE_DBAR_OMN;
        break;
      case 2:
        d.symbology = BARCODE_DBAR_OMN;
        d.heightDots = static_cast<float>(13 * d.moduleDots);  // Truncated: 13 modules high
        break;
      case 3:
        d.symbology = BARCODE_DBAR_STK;
        d.heightDots = 0;
        break;
      case 4:
        d.symbology = BARCODE_DBAR_OMNSTK;
        d.heightDots = 0;
        break;
      case 5:
        d.symbology = BARCODE_DBAR_LTD;
        break;
      case 6:
        d.symbology = BARCODE_DBAR_EXP;
        d.inputMode = GS1_MODE | GS1PARENS_MODE;
        break;
      case 7:
        d.symbology = BARCODE_DBAR_EXPSTK;
        d.inputMode = GS1_MODE | GS1PARENS_MODE;
        d.option2 = p[5] / 2;  // libzint counts columns of two segments
        d.heightDots = 0;
        break;
      default:
        *error = "GS1 DataBar type " + std::to_string(p[0]) + " is not one the printer knows";
        return false;
    }
    typeName = "GS1 DataBar";
  } else if (request.code == 10) {
    d.symbology = BARCODE_PDF417;
    d.data.assign(request.data.begin(), request.data.end());
    d.moduleDots = request.pdf417[4];
    d.heightDots = 0;
    d.option1 = request.symbolOption;
    d.option2 = request.pdf417[3];
    typeName = "PDF417";
  } else if (request.code == 11) {
    // The data opens with the error level letter, then "A,".
    if (request.data.size() < 4 || request.data[1] != 'A' || request.data[2] != ',') {
      *error = "QR Code data must open with its error level letter and \"A,\"";
      return false;
    }
    const std::string levels = "LMQH";
    const size_t level = levels.find(static_cast<char>(request.data[0]));
    d.symbology = BARCODE_QRCODE;
    d.option1 = level == std::string::npos ? -1 : static_cast<int>(level) + 1;
    d.data.assign(request.data.begin() + 3, request.data.end());
    d.moduleDots = request.qr[1];
    d.heightDots = 0;
    typeName = "QR Code";
  } else if (request.code == 12) {
    d.symbology = BARCODE_MAXICODE;
    d.data.assign(request.data.begin(), request.data.end());
    d.moduleDots = 1;  // libzint's Maxi Code raster at this scale is about 26 mm across, the symbol's size
    d.heightDots = 0;
    typeName = "Maxi Code";
  } else {
    *error = "no symbology for code " + std::to_string(request.code);
    return false;
  }
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  if (!Raster(d, typeName, &width, &height, &rgb, error)) return false;
  out->width = width;
  out->height = height;
  out->dots.resize(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < out->dots.size(); ++i) out->dots[i] = rgb[i * 3] < 128 ? 1 : 0;
  return true;
}

}  // namespace mq::tool
