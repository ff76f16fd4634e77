// The logo routines on files, as the Download page and the tool use them: a conversion reads the source
// bitmap, writes its intermediate file beside it and hands back that file's path; an encoder reads an
// intermediate (or a 1-bit source) and hands back the record bytes. Paths are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imaging/ImagingStatus.h"
#include "imaging/LogoConverter.h"

namespace mq::imaging {

// The page's result codes of a conversion.
inline constexpr int kConversionOk = 1;
inline constexpr int kConversionFailed = -1;        // file not opened, read or written; any mono failure
inline constexpr int kConversionNotSupported = -2;  // gray: not an uncompressed bitmap of an accepted depth
inline constexpr int kConversionBadSetting = -3;    // contrast or brightness out of range, unusable path

struct ConversionResult {
  int code = kConversionFailed;  // kConversionOk or a negative code above
  Status status = Status::kCannotOpen;
  std::string path;  // the intermediate file written, on success

  bool ok() const { return code == kConversionOk; }
};

// The intermediate file of a source: the source path without its last four characters, plus "Temp.bmp"
// ("C:\logos\shop.bmp" -> "C:\logos\shopTemp.bmp"). Empty when the file name has fewer than four characters,
// since cutting four characters would then reach into the folder part.
std::optional<std::string> IntermediatePath(const std::string& sourcePath);

// Writes the gray intermediate of a 24-, 8- or 1-bit source. Codes: 1, -2 for a refused bitmap, -1 for a file
// that cannot be read or written, -3 for settings out of range. Nothing is written on failure, and the
// intermediate is replaced whole or not at all.
ConversionResult MakeGrayImage(const std::string& sourcePath, int contrast, int brightness);

// Writes the mono intermediate of a 24- or 8-bit source. Codes: 1, or -1 for any failure (-3 for settings out
// of range). Nothing is written on failure.
ConversionResult MakeMonoImage(const std::string& sourcePath, Halftone halftone, int contrast,
                               int brightness);

// The same, from source bytes the caller has already read (or mapped) from sourcePath.
ConversionResult MakeGrayImage(const std::string& sourcePath, std::span<const uint8_t> sourceBytes,
                               int contrast, int brightness);
ConversionResult MakeMonoImage(const std::string& sourcePath, std::span<const uint8_t> sourceBytes,
                               Halftone halftone, int contrast, int brightness);

Status EncodeMonoLogoFile(const std::string& bitmapPath, std::vector<uint8_t>* record);
Status EncodeGrayLogoFile(const std::string& bitmapPath, std::vector<uint8_t>* record);

// Reads a bitmap file into memory: at most the largest accepted bitmap, since anything after its pixel data
// is never used. kCannotOpen or kCannotRead on failure.
Status ReadSourceFile(const std::string& path, std::vector<uint8_t>* bytes);

// Writes bytes to a uniquely named temporary file beside path, then renames it over path (keeping the old
// file's permissions); a symbolic link is written through, a device or pipe in place.
Status WriteFileWhole(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace mq::imaging
