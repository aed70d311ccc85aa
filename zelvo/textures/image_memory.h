// Memory for decoded images and other large buffers, released with std::free like any malloc block.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelvo {

// Not cleared: the decoder writes every byte. Blocks of a huge page or more are placed on whole
// huge pages where the system offers them, so that writing them the first time costs a fault per 2
// MiB instead of one per 4 KiB.
uint8_t* AllocateImage(std::size_t bytes);

}  // namespace zelvo
