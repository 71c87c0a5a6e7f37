// HeadersAreSane: a check of an Ogg Vorbis image's comment and setup headers before stb_vorbis reads them.
#pragma once

#include <stddef.h>

// stb_vorbis trusts the headers' numbers, so a few damaged bytes take it out of bounds or into undefined
// behaviour. False when the comment header (the packet opening the second page) is cut short or holds a length
// or count larger than the packet, when a setup-header codebook is one stb_vorbis cannot take safely or runs
// past the packet, or when a header page has no segments. Images that are not Ogg Vorbis at all pass, for
// stb_vorbis to refuse. The check reads as stb_vorbis v1.22 reads (the build stops on another version).
bool HeadersAreSane(const unsigned char* data, size_t size);
