// HeadersAreSane: a check of an Ogg Vorbis image's comment and setup headers before stb_vorbis reads them.
#pragma once

#include <cstddef>

// False when the comment header (the packet that opens the second page) is cut short or holds a length or
// count larger than the packet: stb_vorbis trusts those numbers, so a huge one overflows its size
// arithmetic and it writes out of bounds, or it fails to allocate the comment list and then reads it
// through a null pointer. False too when a codebook in the setup header (the next packet) would take
// stb_vorbis into undefined behaviour or runs past the packet's end, or when a page among the headers has
// no segments (stb_vorbis would read the previous page's first lacing value for it). Images that don't
// start with two Ogg pages are left to stb_vorbis.
bool HeadersAreSane(const unsigned char* data, size_t size);
