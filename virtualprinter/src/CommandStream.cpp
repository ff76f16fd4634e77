// The virtual printer's command decoder.
#include "virtualprinter/CommandStream.h"

#include <array>
#include <cstdio>
#include <optional>

namespace mq::vprinter {
namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kGs = 0x1D;
constexpr uint8_t kFs = 0x1C;

// Commands of a fixed length: prefix, command byte, number of parameter bytes.
struct FixedCommand {
  uint8_t prefix;
  uint8_t code;
  int paramCount;
  ItemKind kind;
};

constexpr std::array<FixedCommand, 19> kFixedCommands = {{
    {kEsc, 0x40, 0, ItemKind::kInitialize},
    {kEsc, 0x4D, 1, ItemKind::kSelectFont},
    {kEsc, 0x21, 1, ItemKind::kPrintMode},
    {kEsc, 0x61, 1, ItemKind::kAlign},
    {kEsc, 0x4A, 1, ItemKind::kFeedDots},
    {kEsc, 0x64, 1, ItemKind::kFeedLines},
    {kEsc, 0x70, 3, ItemKind::kDrawerPulse},
    {kEsc, 0x42, 2, ItemKind::kBuzzer},
    {kEsc, 0x63, 2, ItemKind::kBracketOpen},  // 3B n; told apart by n below
    {kGs, 0x66, 1, ItemKind::kHriFont},
    {kGs, 0x48, 1, ItemKind::kHriPosition},
    {kGs, 0x77, 1, ItemKind::kBarWidth},
    {kGs, 0x68, 1, ItemKind::kBarHeight},
    {kGs, 0x73, 8, ItemKind::kGs1Parameters},
    {kGs, 0x70, 6, ItemKind::kPdf417Parameters},
    {kGs, 0x71, 1, ItemKind::kSymbolOption},
    {kGs, 0x6F, 4, ItemKind::kQrParameters},
    {kFs, 0x70, 2, ItemKind::kPrintLogo},
    {kGs, 0x56, 1, ItemKind::kCut},  // the feed-and-cut forms take one more byte
}};

bool IsText(uint8_t b) {
  return (b >= 0x20 && b != 0x7F);
}

int Word(std::span<const uint8_t> s, size_t at) {
  return s[at] | (s[at + 1] << 8);
}

class Decoder {
 public:
  explicit Decoder(std::span<const uint8_t> stream) : s_(stream) {}

  std::vector<Item> Run() {
    while (pos_ < s_.size()) Step();
    return std::move(items_);
  }

 private:
  size_t Left() const { return s_.size() - pos_; }

  Item& Emit(ItemKind kind, size_t length) {
    Item item;
    item.kind = kind;
    item.offset = pos_;
    item.bytes.assign(s_.begin() + pos_, s_.begin() + pos_ + length);
    pos_ += length;
    items_.push_back(std::move(item));
    return items_.back();
  }

  void EmitTruncated() { Emit(ItemKind::kTruncated, Left()); }

  void EmitUnknown(size_t length) {
    if (!items_.empty() && items_.back().kind == ItemKind::kUnknown &&
        items_.back().offset + items_.back().bytes.size() == pos_) {
      items_.back().bytes.insert(items_.back().bytes.end(), s_.begin() + pos_, s_.begin() + pos_ + length);
      pos_ += length;
      return;
    }
    Emit(ItemKind::kUnknown, length);
  }

  void Step() {
    const uint8_t b = s_[pos_];
    if (IsText(b)) {
      size_t end = pos_;
      while (end < s_.size() && IsText(s_[end])) ++end;
      Item& item = Emit(ItemKind::kText, end - pos_);
      item.data = item.bytes;
      return;
    }
    if (b == 0x0A) return void(Emit(ItemKind::kLineFeed, 1));
    if (b == 0x0D) return void(Emit(ItemKind::kCarriageReturn, 1));
    if (b == 0x00) return void(Emit(ItemKind::kNul, 1));
    if (b != kEsc && b != kGs && b != kFs) return EmitUnknown(1);
    if (Left() < 2) return EmitTruncated();
    const uint8_t code = s_[pos_ + 1];
    if (b == kGs && code == 0x6B) return Barcode();
    if (b == kGs && code == 0x28) return GsParen();
    if (b == kFs && (code == 0x71 || code == 0x72)) return DefineLogos(code == 0x72);
    for (const FixedCommand& c : kFixedCommands) {
      if (c.prefix == b && c.code == code) return Fixed(c);
    }
    EmitUnknown(2);
  }

  void Fixed(const FixedCommand& c) {
    size_t length = 2 + c.paramCount;
    if (c.kind == ItemKind::kCut && Left() >= 3 && (s_[pos_ + 2] == 65 || s_[pos_ + 2] == 66)) ++length;
    if (Left() < length) return EmitTruncated();
    ItemKind kind = c.kind;
    if (kind == ItemKind::kBracketOpen) {
      if (s_[pos_ + 2] != 0x3B || s_[pos_ + 3] > 1) return EmitUnknown(length);
      kind = s_[pos_ + 3] == 1 ? ItemKind::kBracketOpen : ItemKind::kBracketClose;
      Emit(kind, length);
      return;
    }
    if (kind == ItemKind::kCut) {
      const uint8_t m = s_[pos_ + 2];
      if (m != 0 && m != 1 && m != 48 && m != 49 && m != 65 && m != 66) return EmitUnknown(3);
    }
    Item& item = Emit(kind, length);
    for (size_t i = 2; i < length; ++i) item.params.push_back(item.bytes[i]);
    if (kind == ItemKind::kCut && item.params.size() == 1) item.params.push_back(0);
  }

  // GS k m: m 0..6 and the 2D and GS1 DataBar forms 10..13 end their data with NUL; m 65..73 give its
  // length first.
  void Barcode() {
    if (Left() < 3) return EmitTruncated();
    const uint8_t m = s_[pos_ + 2];
    if (m <= 6 || (m >= 10 && m <= 13)) {
      size_t end = pos_ + 3;
      while (end < s_.size() && s_[end] != 0) ++end;
      if (end == s_.size()) return EmitTruncated();
      Item& item = Emit(ItemKind::kBarcode, end + 1 - pos_);
      item.params.push_back(m);
      item.data.assign(item.bytes.begin() + 3, item.bytes.end() - 1);
      return;
    }
    if (m >= 65 && m <= 73) {
      if (Left() < 4) return EmitTruncated();
      const size_t n = s_[pos_ + 3];
      if (Left() < 4 + n) return EmitTruncated();
      Item& item = Emit(ItemKind::kBarcode, 4 + n);
      item.params.push_back(m);
      item.data.assign(item.bytes.begin() + 4, item.bytes.end());
      return;
    }
    EmitUnknown(3);
  }

  // GS ( A pL pH n m: the test print. Other GS ( functions are skipped whole by their length.
  void GsParen() {
    if (Left() < 5) return EmitTruncated();
    const size_t length = 5 + Word(s_, pos_ + 3);
    if (Left() < length) return EmitTruncated();
    if (s_[pos_ + 2] != 0x41 || length != 7) return EmitUnknown(length);
    Item& item = Emit(ItemKind::kSelfTest, length);
    item.params = {item.bytes[5], item.bytes[6]};
  }

  std::optional<Logo> MonoRecord(size_t* at) {
    if (s_.size() - *at < 4) return std::nullopt;
    const int n = Word(s_, *at), v = Word(s_, *at + 2);
    const size_t size = static_cast<size_t>(n) * 8 * v;
    if (s_.size() - *at - 4 < size) return std::nullopt;
    Logo logo;
    logo.width = n * 8;
    logo.height = v * 8;
    logo.levels.assign(static_cast<size_t>(logo.width) * logo.height, 255);
    const uint8_t* data = s_.data() + *at + 4;
    for (int x = 0; x < logo.width; ++x) {
      for (int y = 0; y < logo.height; ++y) {
        const uint8_t byte = data[static_cast<size_t>(x) * v + y / 8];
        if (byte & (0x80 >> (y % 8))) logo.levels[static_cast<size_t>(y) * logo.width + x] = 0;
      }
    }
    *at += 4 + size;
    return logo;
  }

  std::optional<Logo> GrayRecord(size_t* at) {
    if (s_.size() - *at < 6) return std::nullopt;
    const int m = Word(s_, *at + 2), r = Word(s_, *at + 4);
    const size_t size = static_cast<size_t>(m) * r * 8;
    if (s_.size() - *at - 6 < size) return std::nullopt;
    Logo logo;
    logo.gray = true;
    logo.width = m * 8;
    logo.height = r * 2;  // four plane rows per picture row
    logo.levels.assign(static_cast<size_t>(logo.width) * logo.height, 255);
    const uint8_t* data = s_.data() + *at + 6;
    for (int y = 0; y < logo.height; ++y) {
      for (int x = 0; x < logo.width; ++x) {
        int level = 0;
        for (int plane = 0; plane < 4; ++plane) {
          const uint8_t byte = data[(static_cast<size_t>(y) * 4 + plane) * m + x / 8];
          const bool darker = byte & (0x80 >> (x % 8));
          level = level * 2 + (darker ? 0 : 1);  // a set plane bit is a clear level bit
        }
        logo.levels[static_cast<size_t>(y) * logo.width + x] = static_cast<uint8_t>(level * 17);
      }
    }
    *at += 6 + size;
    return logo;
  }

  // FS q n / 1C 72 n: n records, each with its own size in its header.
  void DefineLogos(bool gray) {
    if (Left() < 3) return EmitTruncated();
    const int count = s_[pos_ + 2];
    size_t at = pos_ + 3;
    std::vector<Logo> logos;
    for (int i = 0; i < count; ++i) {
      std::optional<Logo> logo = gray ? GrayRecord(&at) : MonoRecord(&at);
      if (!logo) return EmitTruncated();
      logos.push_back(std::move(*logo));
    }
    Item& item = Emit(gray ? ItemKind::kDefineGrayLogos : ItemKind::kDefineMonoLogos, at - pos_);
    item.params.push_back(count);
    item.logos = std::move(logos);
  }

  std::span<const uint8_t> s_;
  size_t pos_ = 0;
  std::vector<Item> items_;
};

std::string Quoted(const std::vector<uint8_t>& data) {
  std::string out = "\"";
  for (uint8_t b : data) {
    if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
      out += static_cast<char>(b);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    }
  }
  return out + "\"";
}

std::string Params(const Item& item) {
  std::string out;
  for (int p : item.params) out += " " + std::to_string(p);
  return out;
}

std::string CutText(const Item& item) {
  const int m = item.params[0];
  const bool partial = m == 1 || m == 49 || m == 66;
  std::string out = partial ? "cut partial" : "cut full";
  if (m >= 65) out += " after feed to cutter +" + std::to_string(item.params[1]);
  return out;
}

std::string LogoSizes(const Item& item) {
  std::string out = std::to_string(item.logos.size()) + ":";
  for (const Logo& logo : item.logos)
    out += " " + std::to_string(logo.width) + "x" + std::to_string(logo.height);
  return out;
}

}  // namespace

std::vector<Item> DecodeCommandStream(std::span<const uint8_t> stream) {
  return Decoder(stream).Run();
}

std::string HexText(std::span<const uint8_t> bytes) {
  std::string out;
  for (uint8_t b : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", b);
    if (!out.empty()) out += ' ';
    out += hex;
  }
  return out;
}

std::string DescribeItem(const Item& item) {
  const std::vector<int>& p = item.params;
  switch (item.kind) {
    case ItemKind::kBracketOpen:
      return "bracket open";
    case ItemKind::kBracketClose:
      return "bracket close";
    case ItemKind::kText:
      return "text " + Quoted(item.data);
    case ItemKind::kLineFeed:
      return "line feed";
    case ItemKind::kCarriageReturn:
      return "carriage return";
    case ItemKind::kNul:
      return "nul";
    case ItemKind::kInitialize:
      return "initialize";
    case ItemKind::kSelectFont:
      return std::string("font ") + ((p[0] & 1) ? "B" : "A");
    case ItemKind::kPrintMode:
      return std::string("print mode font ") + ((p[0] & 1) ? "B" : "A");
    case ItemKind::kAlign:
      return "align" + Params(item);
    case ItemKind::kFeedDots:
      return "feed " + std::to_string(p[0]) + " dots";
    case ItemKind::kFeedLines:
      return "feed " + std::to_string(p[0]) + " lines";
    case ItemKind::kCut:
      return CutText(item);
    case ItemKind::kDrawerPulse:
      return "drawer pulse pin " + std::string((p[0] & 1) ? "5" : "2") + " on " + std::to_string(p[1] * 2) +
             " ms off " + std::to_string(p[2] * 2) + " ms";
    case ItemKind::kBuzzer:
      return "buzzer " + std::to_string(p[0]) + " beeps of " + std::to_string(p[1] * 50) + " ms";
    case ItemKind::kHriFont:
      return "hri font" + Params(item);
    case ItemKind::kHriPosition:
      return "hri position" + Params(item);
    case ItemKind::kBarWidth:
      return "bar width" + Params(item);
    case ItemKind::kBarHeight:
      return "bar height" + Params(item);
    case ItemKind::kGs1Parameters:
      return "gs1 databar parameters" + Params(item);
    case ItemKind::kPdf417Parameters:
      return "pdf417 parameters" + Params(item);
    case ItemKind::kSymbolOption:
      return "symbol option" + Params(item);
    case ItemKind::kQrParameters:
      return "qr parameters" + Params(item);
    case ItemKind::kBarcode:
      return "barcode" + Params(item) + " " + Quoted(item.data);
    case ItemKind::kDefineMonoLogos:
      return "define mono logos " + LogoSizes(item);
    case ItemKind::kDefineGrayLogos:
      return "define gray logos " + LogoSizes(item);
    case ItemKind::kPrintLogo:
      return "print logo" + Params(item);
    case ItemKind::kSelfTest:
      return "self-test" + Params(item);
    case ItemKind::kUnknown:
      return "unknown " + HexText(item.bytes);
    case ItemKind::kTruncated:
      return "truncated " + HexText(item.bytes);
  }
  return "unknown " + HexText(item.bytes);
}

}  // namespace mq::vprinter
