// The virtual MQ-450's printing of decoded items.
#include "virtualprinter/VirtualPrinter.h"

#include <algorithm>

namespace mq::vprinter {
namespace {

constexpr int kLineSpacing = 30;
constexpr int kCutterDistance = 96;
constexpr int kMarkerHeight = 21;
constexpr size_t kHexBytesPerLine = 20;
constexpr size_t kHexLinesShown = 4;

}  // namespace

void VirtualPrinter::Reset() {
  line_.clear();
  lineWidth_ = 0;
  fontId_ = FontId::kA;
  align_ = 0;
  hriFont_ = 0;
  hriPosition_ = 0;
  symbol_ = SymbolRequest{};
}

void VirtualPrinter::Print(const std::vector<Item>& items) {
  for (const Item& item : items) Carry(item);
  FlushLine();
  Room(0);
}

void VirtualPrinter::Note(const Item& item, const std::string& text) {
  notes_.push_back("offset " + std::to_string(item.offset) + ": " + text);
}

// Makes room for rows more dots below the print line; false once the roll has reached its length.
bool VirtualPrinter::Room(int rows) {
  if (y_ + rows > kMaxPaperRows) {
    if (!full_)
      notes_.push_back("the paper stops at " + std::to_string(kMaxPaperRows) +
                       " dots; the rest is not drawn");
    full_ = true;
    y_ = std::min(y_, kMaxPaperRows);
    paper_.Extend(y_);
    return false;
  }
  paper_.Extend(y_ + rows);
  return true;
}

int VirtualPrinter::AlignedX(int width) const {
  if (width >= Paper::kWidth) return 0;
  if (align_ == 1) return (Paper::kWidth - width) / 2;
  if (align_ == 2) return Paper::kWidth - width;
  return 0;
}

void VirtualPrinter::FlushLine() {
  if (line_.empty()) return;
  int height = 0;
  for (const Glyph& g : line_) height = std::max(height, CellOf(g.font).height);
  if (Room(height)) {
    int x = AlignedX(lineWidth_);
    for (const Glyph& g : line_) {
      // Baselines line up: a smaller cell sits on the bottom of the line.
      font_.Draw(paper_, x, y_ + height - CellOf(g.font).height, g.character, g.font);
      x += CellOf(g.font).width;
    }
  }
  line_.clear();
  lineWidth_ = 0;
}

void VirtualPrinter::TextLine(const std::string& text, FontId font, int x) {
  const CellSize cell = CellOf(font);
  if (!Room(cell.height)) return;
  for (char c : text) {
    font_.Draw(paper_, x, y_, static_cast<uint8_t>(c), font);
    x += cell.width;
  }
}

// A framed line of Font B text across the paper, for the actions that leave nothing on the paper themselves.
void VirtualPrinter::Marker(const std::string& text) {
  if (!Room(kMarkerHeight + 4)) return;
  const int top = y_ + 1;
  paper_.FillRect(0, top, Paper::kWidth, 1, 0);
  paper_.FillRect(0, top + kMarkerHeight - 1, Paper::kWidth, 1, 0);
  paper_.FillRect(0, top, 1, kMarkerHeight, 0);
  paper_.FillRect(Paper::kWidth - 1, top, 1, kMarkerHeight, 0);
  y_ = top + 2;
  TextLine(text, FontId::kB, 6);
  y_ = top + kMarkerHeight + 3;
}

// Bytes the printer does not take as a command, as hexadecimal lines marked by a bar on the left.
void VirtualPrinter::HexLines(const std::string& label, const Item& item) {
  const size_t lines = (item.bytes.size() + kHexBytesPerLine - 1) / kHexBytesPerLine;
  for (size_t i = 0; i < std::min(lines, kHexLinesShown); ++i) {
    const size_t from = i * kHexBytesPerLine;
    const size_t to = std::min(item.bytes.size(), from + kHexBytesPerLine);
    std::string text = (i == 0 ? label : std::string(label.size(), ' ')) + " " +
                       HexText(std::span<const uint8_t>(item.bytes).subspan(from, to - from));
    if (i + 1 == kHexLinesShown && lines > kHexLinesShown) {
      text += " ... (" + std::to_string(item.bytes.size()) + " bytes)";
    }
    if (!Room(CellOf(FontId::kB).height + 2)) return;
    paper_.FillRect(0, y_, 4, CellOf(FontId::kB).height + 2, 0);
    TextLine(text, FontId::kB, 10);
    y_ += CellOf(FontId::kB).height + 2;
  }
}

void VirtualPrinter::CutLine(const Item& item) {
  const int m = item.params[0];
  if (m >= 65) y_ += kCutterDistance + item.params[1];
  if (!Room(CellOf(FontId::kB).height + 8)) return;
  const bool partial = m == 1 || m == 49 || m == 66;
  const int dash = partial ? 4 : 10;
  const int lineY = y_ + CellOf(FontId::kB).height / 2;
  for (int x = 0; x < Paper::kWidth; x += 2 * dash) paper_.FillRect(x, lineY, dash, 2, 0);
  const std::string label = partial ? " partial cut " : " full cut ";
  const int labelX = (Paper::kWidth - static_cast<int>(label.size()) * CellOf(FontId::kB).width) / 2;
  // The label interrupts the dashes.
  paper_.Whiten(labelX, y_, static_cast<int>(label.size()) * CellOf(FontId::kB).width,
                CellOf(FontId::kB).height);
  TextLine(label, FontId::kB, labelX);
  y_ += CellOf(FontId::kB).height + 8;
}

void VirtualPrinter::DrawLogo(const Logo& logo, int xScale, int yScale) {
  const int width = logo.width * xScale, height = logo.height * yScale;
  if (!Room(height)) return;
  const int left = AlignedX(width);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) paper_.Darken(left + x, y_ + y, logo.At(x / xScale, y / yScale));
  }
  y_ += height;
}

void VirtualPrinter::PrintStoredLogo(const Item& item) {
  const int number = item.params[0], mode = item.params[1];
  if (number < 1 || number > static_cast<int>(logos_.size())) {
    Marker("NO LOGO " + std::to_string(number) + " STORED (" + std::to_string(logos_.size()) + " STORED)");
    Note(item, "print logo " + std::to_string(number) + ": no such logo stored");
    return;
  }
  const Logo& logo = logos_[number - 1];
  if (logo.width * ((mode & 1) ? 2 : 1) > Paper::kWidth) {
    Note(item, "print logo " + std::to_string(number) + ": wider than the paper, cut off at the right edge");
  }
  DrawLogo(logo, (mode & 1) ? 2 : 1, (mode & 2) ? 2 : 1);
}

void VirtualPrinter::PrintSymbol(const Item& item) {
  SymbolRequest request = symbol_;
  request.code = item.params[0];
  request.data = item.data;
  if (request.data.empty()) {
    Note(item, "barcode " + std::to_string(request.code) + " without data: nothing printed");
    return;
  }
  const std::string text(request.data.begin(), request.data.end());
  const bool gs1 = request.code == 13;
  const bool twoD = request.code >= 10 && request.code <= 12;
  const bool above = !gs1 && !twoD && (hriPosition_ & 1);
  const bool below = gs1 ? request.gs1[6] != 4 : (!twoD && (hriPosition_ & 2));
  const FontId hriFont = (hriFont_ & 1) ? FontId::kB : FontId::kA;
  const int hriWidth = static_cast<int>(text.size()) * CellOf(hriFont).width;

  SymbolDots dots;
  std::string error;
  const bool painted = symbols_ && symbols_->Paint(request, &dots, &error);
  if (!painted) {
    if (symbols_) Note(item, "barcode " + std::to_string(request.code) + " not drawn: " + error);
    Marker("BARCODE " + std::to_string(request.code) + " \"" + text + "\"" +
           (error.empty() ? "" : ": " + error));
    return;
  }
  if (above) {
    TextLine(text, hriFont, AlignedX(hriWidth));
    y_ += CellOf(hriFont).height;
  }
  if (dots.width > Paper::kWidth) Note(item, "barcode wider than the paper, cut off at the right edge");
  if (Room(dots.height)) {
    const int left = AlignedX(dots.width);
    for (int y = 0; y < dots.height; ++y) {
      for (int x = 0; x < dots.width; ++x) {
        if (dots.dots[static_cast<size_t>(y) * dots.width + x]) paper_.Darken(left + x, y_ + y, 0);
      }
    }
    y_ += dots.height;
  }
  if (below) {
    TextLine(text, hriFont, AlignedX(hriWidth));
    y_ += CellOf(hriFont).height;
  }
}

void VirtualPrinter::SelfTestPage() {
  const int savedAlign = align_;
  align_ = 0;
  auto line = [&](const std::string& text, FontId font) {
    TextLine(text, font, 0);
    y_ += kLineSpacing;
  };
  line("*** MQ-450 VIRTUAL PRINTER SELF-TEST ***", FontId::kA);
  line("Paper width   576 dots (80 mm, 180 dpi)", FontId::kA);
  line("Font A 12 x 24   Font B 9 x 17", FontId::kA);
  line("Stored logos  " + std::to_string(logos_.size()), FontId::kA);
  for (size_t i = 0; i < logos_.size(); ++i) {
    const Logo& logo = logos_[i];
    line("Logo " + std::to_string(i + 1) + "  " + std::to_string(logo.width) + " x " +
             std::to_string(logo.height) + " dots, " + (logo.gray ? "16-level gray" : "mono"),
         FontId::kB);
    DrawLogo(logo, 1, 1);
    y_ += 6;
  }
  line("*** END OF SELF-TEST ***", FontId::kA);
  align_ = savedAlign;
}

void VirtualPrinter::Carry(const Item& item) {
  const std::vector<int>& p = item.params;
  switch (item.kind) {
    case ItemKind::kText:
      for (uint8_t c : item.data) {
        if (lineWidth_ + CellOf(fontId_).width > Paper::kWidth) {
          FlushLine();
          y_ += kLineSpacing;
        }
        line_.push_back({c, fontId_});
        lineWidth_ += CellOf(fontId_).width;
      }
      return;
    case ItemKind::kLineFeed:
      FlushLine();
      y_ += kLineSpacing;
      return;
    case ItemKind::kFeedDots:
      FlushLine();
      y_ += p[0];
      return;
    case ItemKind::kFeedLines:
      FlushLine();
      y_ += p[0] * kLineSpacing;
      return;
    case ItemKind::kInitialize:
      FlushLine();
      Reset();
      return;
    case ItemKind::kSelectFont:
    case ItemKind::kPrintMode:
      fontId_ = (p[0] & 1) ? FontId::kB : FontId::kA;
      return;
    case ItemKind::kAlign:
      align_ = (p[0] >= '0' ? p[0] - '0' : p[0]) % 3;
      return;
    case ItemKind::kHriFont:
      hriFont_ = p[0];
      return;
    case ItemKind::kHriPosition:
      hriPosition_ = (p[0] >= '0' ? p[0] - '0' : p[0]) & 3;
      return;
    case ItemKind::kBarWidth:
      symbol_.moduleWidth = p[0];
      return;
    case ItemKind::kBarHeight:
      symbol_.barHeight = p[0];
      return;
    case ItemKind::kGs1Parameters:
      symbol_.gs1 = p;
      return;
    case ItemKind::kPdf417Parameters:
      symbol_.pdf417 = p;
      return;
    case ItemKind::kSymbolOption:
      symbol_.symbolOption = p[0];
      return;
    case ItemKind::kQrParameters:
      symbol_.qr = p;
      return;
    case ItemKind::kCut:
      FlushLine();
      CutLine(item);
      return;
    case ItemKind::kDrawerPulse:
      FlushLine();
      Marker("CASH DRAWER: " + DescribeItem(item));
      return;
    case ItemKind::kBuzzer:
      FlushLine();
      Marker("BUZZER: " + DescribeItem(item));
      return;
    case ItemKind::kBarcode:
      FlushLine();
      PrintSymbol(item);
      return;
    case ItemKind::kDefineMonoLogos:
    case ItemKind::kDefineGrayLogos:
      logos_ = item.logos;
      Note(item, "stored logos replaced: " + DescribeItem(item));
      return;
    case ItemKind::kPrintLogo:
      FlushLine();
      PrintStoredLogo(item);
      return;
    case ItemKind::kSelfTest:
      FlushLine();
      SelfTestPage();
      return;
    case ItemKind::kUnknown:
      FlushLine();
      HexLines("?", item);
      Note(item, DescribeItem(item));
      return;
    case ItemKind::kTruncated:
      FlushLine();
      HexLines("TRUNCATED", item);
      Note(item, DescribeItem(item) + " (the stream ends inside this command)");
      return;
    case ItemKind::kBracketOpen:
    case ItemKind::kBracketClose:
    case ItemKind::kCarriageReturn:
    case ItemKind::kNul:
      return;
  }
}

}  // namespace mq::vprinter
