// CommentHeaderIsSane: gathers the comment packet across pages (Ogg lacing) and walks its fields.
#include "sound/ogg_header_check.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr size_t PAGE_HEADER_BYTES = 27;
constexpr unsigned char CONTINUED_PACKET = 0x01;

uint32_t Read32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

struct Page {
    size_t segmentTable;  // offset of the lacing values
    size_t segments;
    size_t body;  // offset of the body
    size_t bodySize;
    unsigned char flags;
};

// The Ogg page at offset: its header and lacing values must be there, its body may be cut short.
bool ReadPage(const unsigned char* data, size_t size, size_t offset, Page& page)
{
    if (offset > size || size - offset < PAGE_HEADER_BYTES || std::memcmp(data + offset, "OggS", 4) != 0)
        return false;
    page.flags = data[offset + 5];
    page.segments = data[offset + 26];
    page.segmentTable = offset + PAGE_HEADER_BYTES;
    if (size - page.segmentTable < page.segments)
        return false;
    page.bodySize = 0;
    for (size_t i = 0; i < page.segments; ++i)
        page.bodySize += data[page.segmentTable + i];
    page.body = page.segmentTable + page.segments;
    return true;
}

// The first packet starting at page offset, following it onto later pages; false if it never ends.
bool GatherPacket(const unsigned char* data, size_t size, size_t offset, std::vector<unsigned char>& packet)
{
    bool firstPage = true;
    Page page;
    while (ReadPage(data, size, offset, page)) {
        if (!firstPage && !(page.flags & CONTINUED_PACKET))
            return false;
        size_t at = page.body;
        for (size_t i = 0; i < page.segments; ++i) {
            const size_t lacing = data[page.segmentTable + i];
            if (size - at < lacing)
                return false;
            packet.insert(packet.end(), data + at, data + at + lacing);
            at += lacing;
            if (lacing < 255)
                return true;
        }
        firstPage = false;
        offset = page.body + page.bodySize;
    }
    return false;
}

// Reads 32-bit fields from a packet, remembering whether any ran past its end.
class FieldReader {
public:
    explicit FieldReader(const std::vector<unsigned char>& bytes) : packet(bytes) {}
    size_t Left() const { return packet.size() - at; }
    bool Read32(uint32_t& value)
    {
        if (Left() < 4)
            return false;
        value = ::Read32(packet.data() + at);
        at += 4;
        return true;
    }
    bool Skip(uint64_t bytes)
    {
        if (bytes > Left())
            return false;
        at += static_cast<size_t>(bytes);
        return true;
    }

private:
    const std::vector<unsigned char>& packet;
    size_t at = 7;  // after the packet type and "vorbis"
};

}  // namespace

bool CommentHeaderIsSane(const unsigned char* data, size_t size)
{
    Page first;
    if (!ReadPage(data, size, 0, first) || size - first.body < first.bodySize)
        return true;
    const size_t second = first.body + first.bodySize;
    Page probe;
    if (!ReadPage(data, size, second, probe))
        return true;
    std::vector<unsigned char> packet;
    if (!GatherPacket(data, size, second, packet))
        return false;
    if (packet.size() < 7 || std::memcmp(packet.data(), "\x03vorbis", 7) != 0)
        return true;

    FieldReader reader(packet);
    uint32_t vendor = 0, comments = 0;
    if (!reader.Read32(vendor) || !reader.Skip(vendor) || !reader.Read32(comments))
        return false;
    // Each comment takes at least its four length bytes.
    if (comments > reader.Left() / 4)
        return false;
    for (uint32_t i = 0; i < comments; ++i) {
        uint32_t length = 0;
        if (!reader.Read32(length) || !reader.Skip(length))
            return false;
    }
    return reader.Left() >= 1;  // the framing byte
}
