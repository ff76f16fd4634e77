// The tool's PNG pictures: 8-bit RGB rows encoded in memory, for the logo and barcode previews.
#pragma once

#include <cstdint>
#include <vector>

namespace mq::tool {

// width x height pixels, 3 bytes each, row after row from the top. false when libpng reports an error.
bool EncodePng(int width, int height, const std::vector<uint8_t>& rgb, std::vector<uint8_t>* png);

}  // namespace mq::tool
