#include "streamed_preview.h"

#include <stdlib.h>
#include <string.h>

namespace imaging {

namespace {

const uint32_t kPreviewResolution = 96;

bool beginRows(void* context, uint32_t width, uint32_t height) {
    StreamedPreview* preview = static_cast<StreamedPreview*>(context);
    releaseAreaScale(&preview->scale);
    preview->pictureHeight = 0;
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF ||
        !beginAreaScale(&preview->scale, static_cast<int>(width), static_cast<int>(height),
                        preview->width, preview->height))
        return false;
    preview->pictureHeight = height;
    return true;
}

// The file's rows come bottom first; the scaler counts from the top.
void takeRow(void* context, uint32_t fileRow, const uint8_t* bgr) {
    StreamedPreview* preview = static_cast<StreamedPreview*>(context);
    if (fileRow >= preview->pictureHeight) return;
    addAreaScaleRow(&preview->scale, static_cast<int>(preview->pictureHeight - 1 - fileRow), bgr);
}

} // namespace

void startStreamedPreview(StreamedPreview* preview, int width, int height) {
    memset(preview, 0, sizeof *preview);
    preview->width = width;
    preview->height = height;
}

BitmapRowSink streamedPreviewRows(StreamedPreview* preview) {
    BitmapRowSink sink = {beginRows, takeRow, preview};
    return sink;
}

bool writeStreamedPreview(const StreamedPreview* preview, const char* target) {
    if (preview->width <= 0 || preview->height <= 0) return false;
    const size_t pitch = 3 * static_cast<size_t>(preview->width);
    uint8_t* pixels = static_cast<uint8_t*>(malloc(pitch * static_cast<size_t>(preview->height)));
    bool ok = pixels != nullptr &&
              finishAreaScale(&preview->scale, pixels, static_cast<ptrdiff_t>(pitch));
    if (ok) {
        BitmapSource picture = {static_cast<uint32_t>(preview->width),
                                static_cast<uint32_t>(preview->height),
                                kPreviewResolution,
                                pixels,
                                pitch,
                                false,
                                copyBgr};
        ok = writeBitmapFile(target, picture);
    }
    free(pixels);
    return ok;
}

void releaseStreamedPreview(StreamedPreview* preview) { releaseAreaScale(&preview->scale); }

} // namespace imaging
