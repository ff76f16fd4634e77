// The operation editor's preview: which of the fourteen pictures (ids 136..149) fits the editor's mode and
// its cut and feed-to-cut choices, and the drawing of each picture (184 x 61 pixels): a paper strip with two
// jobs of two pages each coming out of the printer, dashed cut lines with scissors where the paper is cut,
// and a blank gap with an arrow where the paper is fed past the cutter first.
#pragma once

#include "pages/OperationSlotData.h"
#include "platform/ui/Picture.h"

namespace mq::plugin {

inline constexpr int kPreviewWidth = 184;
inline constexpr int kPreviewHeight = 61;
inline constexpr int kFirstPreviewId = 136;
inline constexpr int kLastPreviewId = 149;

// cut: a cut type other than "No Cut" is chosen; feedToCut: the feed-to-cut check box is ticked.
int PreviewPictureId(OperationMoment moment, bool cut, bool feedToCut);

// The picture for an id in 136..149; an empty picture for any other id.
platform::ui::Picture DrawPreviewPicture(int pictureId);

}  // namespace mq::plugin
