// The virtual MQ-450: carries out decoded items on a paper roll, as the printer would print them, and keeps
// the logos stored in its flash memory. What the paper cannot show plainly is also written as notes: unknown
// and truncated commands, logos asked for but not stored, symbols that could not be drawn.
//
// Dots: the roll is 576 dots across; text lines are 30 dots apart (1/6 inch); the cutter sits 96 dots past
// the print line, so a feed-to-cutter cut first feeds 96 dots plus the command's n.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "virtualprinter/CommandStream.h"
#include "virtualprinter/DotFont.h"
#include "virtualprinter/Paper.h"

namespace mq::vprinter {

// The printer's barcode settings at the moment a symbol is printed.
struct SymbolRequest {
  int code = 0;  // m of GS k
  std::vector<uint8_t> data;
  int moduleWidth = 3;                               // GS w
  int barHeight = 162;                               // GS h
  std::vector<int> gs1 = {0, 2, 34, 1, 1, 2, 1, 0};  // GS s t gw rh ch sh seg hri ai
  std::vector<int> pdf417 = {1, 1, 0, 0, 3, 3};      // GS p 1 1 rows columns width height
  int symbolOption = 0;                              // GS q
  std::vector<int> qr = {0, 3, 0, 2};                // GS o 0 width mode model
};

// A drawn symbol: width x height dots, top row first, 1 for a printed dot.
struct SymbolDots {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> dots;
};

// Turns a symbol request into dots. The renderer without one draws a framed box naming the symbol.
class SymbolPainter {
 public:
  virtual ~SymbolPainter() = default;
  // false (with a reason in *error) when the symbol cannot be drawn.
  virtual bool Paint(const SymbolRequest& request, SymbolDots* out, std::string* error) = 0;
};

class VirtualPrinter {
 public:
  // Rolls are cut off at this length (about 14 m); a note says so.
  static constexpr int kMaxPaperRows = 100000;

  VirtualPrinter(DotFont& font, SymbolPainter* symbols) : font_(font), symbols_(symbols) {}

  void SetStoredLogos(std::vector<Logo> logos) { logos_ = std::move(logos); }
  const std::vector<Logo>& StoredLogos() const { return logos_; }

  // Prints one job's items after whatever was printed before.
  void Print(const std::vector<Item>& items);

  const Paper& paper() const { return paper_; }
  const std::vector<std::string>& Notes() const { return notes_; }

 private:
  struct Glyph {
    uint8_t character;
    FontId font;
  };

  void Reset();
  void Carry(const Item& item);
  void FlushLine();
  bool Room(int rows);
  int AlignedX(int width) const;
  void TextLine(const std::string& text, FontId font, int x);
  void Marker(const std::string& text);
  void HexLines(const std::string& label, const Item& item);
  void CutLine(const Item& item);
  void DrawLogo(const Logo& logo, int xScale, int yScale);
  void PrintStoredLogo(const Item& item);
  void PrintSymbol(const Item& item);
  void SelfTestPage();
  void Note(const Item& item, const std::string& text);

  DotFont& font_;
  SymbolPainter* symbols_;
  Paper paper_;
  std::vector<Logo> logos_;
  std::vector<std::string> notes_;
  std::vector<Glyph> line_;
  int lineWidth_ = 0;
  int y_ = 8;
  FontId fontId_ = FontId::kA;
  int align_ = 0;
  int hriFont_ = 0;
  int hriPosition_ = 0;
  SymbolRequest symbol_;
  bool full_ = false;
};

}  // namespace mq::vprinter
