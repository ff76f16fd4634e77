// The Download page's preview: a bitmap file as the picture the preview box shows (the box stretches it).
#pragma once

#include <cstdint>
#include <span>

#include "platform/ui/Picture.h"

namespace mq::plugin {

// The picture of a 1-, 8- or 24-bit bitmap the logo routines accept, drawn with its own palette (8-bit files
// carry 256 entries before their pixels). An empty picture for anything else, so the box is cleared.
platform::ui::Picture BitmapPicture(std::span<const uint8_t> file);

}  // namespace mq::plugin
