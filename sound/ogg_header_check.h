// CommentHeaderIsSane: a check of an Ogg Vorbis image's comment header before stb_vorbis reads it.
#pragma once

#include <cstddef>

// False when the comment header (the packet that opens the second page) is cut short or holds a
// length or count larger than the packet. stb_vorbis trusts those numbers: a huge one overflows its
// size arithmetic and it writes out of bounds, or it fails to allocate the comment list and then reads
// it through a null pointer. Images that don't start with two Ogg pages are left to stb_vorbis.
bool CommentHeaderIsSane(const unsigned char* data, size_t size);
