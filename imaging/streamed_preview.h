// A picture's preview made from its rows on their way into its bitmap file, so that the file is
// never read back for it; and the preview's own file. Portable.
#ifndef MURALTO_STREAMED_PREVIEW_H
#define MURALTO_STREAMED_PREVIEW_H

#include <stdint.h>

#include "area_scale.h"
#include "bitmap_file.h"

namespace imaging {

struct StreamedPreview {
    int width, height; // the preview's
    AreaScaleStream scale;
    uint32_t pictureHeight; // 0 until the rows begin
};

// A preview of width x height, its rows to come through streamedPreviewRows.
void startStreamedPreview(StreamedPreview* preview, int width, int height);
// The sink to give the picture's writer (writeBitmapFile or a converter). Its begin fails when
// memory runs short; a second picture's rows replace the first one's.
BitmapRowSink streamedPreviewRows(StreamedPreview* preview);
// Writes the preview as a 24-bit bitmap file with 96 in both resolution fields, as the previews
// have always been written. False when the picture's rows did not all come or the file cannot
// be written (then no file is left).
bool writeStreamedPreview(const StreamedPreview* preview, const char* target);
void releaseStreamedPreview(StreamedPreview* preview);

} // namespace imaging

#endif
