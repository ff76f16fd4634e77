// Texts of the imaging status codes.
#include "imaging/ImagingStatus.h"

namespace mq::imaging {

const char* Describe(Status status) {
  switch (status) {
    case Status::kOk:
      return "success";
    case Status::kCannotOpen:
      return "the file cannot be opened";
    case Status::kCannotRead:
      return "the file cannot be read";
    case Status::kCannotWrite:
      return "the output file cannot be written";
    case Status::kNotBitmap:
      return "not a bitmap file";
    case Status::kUnsupportedHeader:
      return "the bitmap does not have the standard 40-byte information header";
    case Status::kCompressed:
      return "the bitmap is compressed";
    case Status::kUnsupportedDepth:
      return "the bitmap's colour depth is not supported here";
    case Status::kBadSize:
      return "the bitmap's width or height is zero or negative";
    case Status::kTooLarge:
      return "the picture is larger than 1024 x 768 pixels";
    case Status::kUnexpectedLayout:
      return "the bitmap's pixel data is not at the standard offset for its depth";
    case Status::kTruncated:
      return "the file is shorter than its header claims";
    case Status::kBadPalette:
      return "the 1-bit palette is neither black/white nor white/black";
    case Status::kBadSetting:
      return "halftone, contrast or brightness out of range";
    case Status::kBadPath:
      return "no intermediate file name can be made from this path";
  }
  return "unknown failure";
}

}  // namespace mq::imaging
