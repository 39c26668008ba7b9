#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/model/pixel_grid.h"
#include "dotwell/ti83_picture_file.h"
#include "pixvane/ti92_picture_file.h"

// Any bytes, as a .92i (and, as cheaply, a .82i/.83i) file: a clean result or a clean error.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    core::PixelGrid grid(103, 240);
    const auto result = pixvane::readPicFile(bytes, grid);
    if (std::holds_alternative<pixvane::Ti92Picture>(result)) {
        const auto& picture = std::get<pixvane::Ti92Picture>(result);
        if (picture.texts.folder.size() > 8 || picture.texts.variable.size() > 8 ||
            picture.texts.comment.size() > 40)
            __builtin_trap();
    }
    core::PixelGrid small(63, 96);
    dotwell::PicFileBuffer::fromFile(bytes).decodePicture(small);
    return 0;
}
