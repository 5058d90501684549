// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace resources {

// A picture as the window system draws it, built into the program (pack-pictures): rows of
// 32-bit pixels, opaque RGB32 or premultiplied ARGB32, four bytes to a pixel, no padding.
struct PackedPicture {
    const char* name; // the committed file's name, e.g. "skin.jpg" or "skin@2x.jpg"
    unsigned char* pixels;
    int width;
    int height;
    bool alpha;
    unsigned checksum;
};

extern const PackedPicture kPackedPictures[];
extern const int kPackedPictureCount;

} // namespace resources
