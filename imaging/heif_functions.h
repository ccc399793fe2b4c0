// The functions of libheif the HEIF converter calls, each through a pointer: linked, or found in
// libheif.dll when it is loaded (heif_library.h).
#ifndef MURALTO_HEIF_FUNCTIONS_H
#define MURALTO_HEIF_FUNCTIONS_H

#include <libheif/heif.h>

#include "heif_library.h"

namespace imaging {

struct HeifLibrary {
    decltype(&heif_context_alloc) context_alloc;
    decltype(&heif_context_free) context_free;
    decltype(&heif_context_set_maximum_image_size_limit) context_set_maximum_image_size_limit;
    decltype(&heif_context_read_from_memory_without_copy) context_read_from_memory_without_copy;
    decltype(&heif_context_get_primary_image_handle) context_get_primary_image_handle;
    decltype(&heif_image_handle_get_width) image_handle_get_width;
    decltype(&heif_image_handle_get_height) image_handle_get_height;
    decltype(&heif_image_handle_has_alpha_channel) image_handle_has_alpha_channel;
    decltype(&heif_image_handle_get_luma_bits_per_pixel) image_handle_get_luma_bits_per_pixel;
    decltype(&heif_image_handle_release) image_handle_release;
    decltype(&heif_decode_image) decode_image;
    decltype(&heif_image_get_width) image_get_width;
    decltype(&heif_image_get_height) image_get_height;
    decltype(&heif_image_get_chroma_format) image_get_chroma_format;
    decltype(&heif_image_get_bits_per_pixel_range) image_get_bits_per_pixel_range;
    decltype(&heif_image_get_plane_readonly) image_get_plane_readonly;
    decltype(&heif_image_release) image_release;
};

} // namespace imaging

#endif
