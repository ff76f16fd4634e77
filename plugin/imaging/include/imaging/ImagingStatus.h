// Why an imaging routine refused its input or failed, and the readable text the tool and the page log show.
#pragma once

namespace mq::imaging {

enum class Status {
  kOk,
  kCannotOpen,         // the file cannot be opened
  kCannotRead,         // reading failed part way
  kCannotWrite,        // the output file cannot be written
  kNotBitmap,          // no "BM" signature
  kUnsupportedHeader,  // information header other than the 40-byte one
  kCompressed,         // compression field not 0
  kUnsupportedDepth,   // bits per pixel not accepted by this routine
  kBadSize,            // width or height zero or negative (top-down rows are negative heights)
  kTooLarge,           // wider than 1024 or higher than 768 pixels
  kUnexpectedLayout,   // pixel data offset other than the fixed one for the depth
  kTruncated,          // the file holds fewer pixel bytes than its header claims
  kBadPalette,         // a 1-bit logo whose palette is neither black/white nor white/black
  kBadSetting,         // halftone, contrast or brightness out of range
  kBadPath,            // no intermediate file name can be made from the source path
};

// A short English description, such as "not a bitmap file".
const char* Describe(Status status);

}  // namespace mq::imaging
