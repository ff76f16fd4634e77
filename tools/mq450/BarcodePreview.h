// A picture of the symbol a barcode test print asks for, drawn with libzint (loaded when a preview is made,
// so the tool's other commands run without it) at one pixel per printer dot.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "barcode/BarcodeSymbols.h"
#include "virtualprinter/VirtualPrinter.h"

namespace mq::tool {

// A PNG of the ready test print of 1D or 2D font `font` of the record. false with a reason in *error where
// libzint is missing, has no form of the type, or refuses the data.
bool DrawTestPrint(const uint8_t* record, uint32_t font, const plugin::TestPrint& print,
                   std::vector<uint8_t>* png, std::string* error);

// The virtual printer's symbols, drawn by libzint from the printer's barcode settings and a GS k command's
// code and data, with the same translations of the data as the previews. The printer draws the
// human-readable text itself.
class ZintSymbolPainter : public vprinter::SymbolPainter {
 public:
  bool Paint(const vprinter::SymbolRequest& request, vprinter::SymbolDots* out, std::string* error) override;
};

}  // namespace mq::tool
