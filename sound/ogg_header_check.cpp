// HeadersAreSane: reads the header packets as stb_vorbis v1.22 reads them (segment by segment, across pages),
// then walks the comment's fields and the setup header's codebooks.
#include "sound/ogg_header_check.h"

#include <math.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>
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

// The Ogg page at offset, if stb_vorbis would take it for one: the capture pattern, version 0 and the
// lacing values must be there; the body may be cut short.
bool ReadPage(const unsigned char* data, size_t size, size_t offset, Page& page)
{
    if (offset > size || size - offset < PAGE_HEADER_BYTES || memcmp(data + offset, "OggS", 4) != 0 ||
        data[offset + 4] != 0) {
        return false;
    }
    page.flags = data[offset + 5];
    page.segments = data[offset + 26];
    page.segmentTable = offset + PAGE_HEADER_BYTES;
    if (size - page.segmentTable < page.segments) {
        return false;
    }
    page.bodySize = 0;
    for (size_t i = 0; i < page.segments; ++i) {
        page.bodySize += data[page.segmentTable + i];
    }
    page.body = page.segmentTable + page.segments;
    return true;
}

// Packets one after another, segment by segment: a packet goes on to the next page only if that page says
// it continues one.
class PacketReader {
public:
    enum class Result { Whole, CutShort, EmptyPage };

    PacketReader(const unsigned char* bytes, size_t length) : data(bytes), size(length), page{}, segment(0), at(0) {}

    // Moves to the page at offset; false if there is none there.
    bool StartPage(size_t offset)
    {
        segment = 0;
        if (!ReadPage(data, size, offset, page)) {
            return false;
        }
        at = page.body;
        return true;
    }
    bool PageIsEmpty() const { return page.segments == 0; }
    bool PageContinuesPacket() const { return page.flags & CONTINUED_PACKET; }
    bool PacketsLeftOnPage() const { return segment < page.segments; }
    size_t NextPage() const { return page.body + page.bodySize; }

    // The packet at the next segment, into bytes. Bytes the lacing counts past the image's end read as
    // zeros, as stb_vorbis reads them; they make the packet CutShort, and so does a next page that is
    // missing or doesn't continue it.
    Result Read(std::vector<unsigned char>& bytes)
    {
        bytes.clear();
        bool cut = false;
        for (;;) {
            if (!PacketsLeftOnPage()) {
                if (!StartPage(NextPage()) || !PageContinuesPacket()) {
                    return Result::CutShort;
                }
                if (PageIsEmpty()) {
                    return Result::EmptyPage;
                }
            }
            const size_t lacing = data[page.segmentTable + segment++];
            const size_t there = at < size ? std::min(lacing, size - at) : 0;
            bytes.insert(bytes.end(), data + std::min(at, size), data + std::min(at, size) + there);
            bytes.insert(bytes.end(), lacing - there, 0);
            cut = cut || there < lacing;
            at += lacing;
            if (lacing < 255) {
                return cut ? Result::CutShort : Result::Whole;
            }
        }
    }

private:
    const unsigned char* data;
    size_t size;
    Page page;
    size_t segment;
    size_t at;  // where the next segment's bytes are
};

// Reads 32-bit fields from a packet, remembering whether any ran past its end.
class FieldReader {
public:
    // Starts after the packet type and "vorbis".
    explicit FieldReader(const std::vector<unsigned char>& bytes) : packet(bytes), at(7) {}
    size_t Left() const { return packet.size() - at; }
    bool Read32(uint32_t& value)
    {
        if (Left() < 4) {
            return false;
        }
        value = ::Read32(packet.data() + at);
        at += 4;
        return true;
    }
    bool Skip(uint64_t bytes)
    {
        if (bytes > Left()) {
            return false;
        }
        at += static_cast<size_t>(bytes);
        return true;
    }

private:
    const std::vector<unsigned char>& packet;
    size_t at;
};

// The comment packet's lengths and counts, each within what is left of the packet.
bool CommentFieldsFit(const std::vector<unsigned char>& packet)
{
    FieldReader reader(packet);
    uint32_t vendor = 0, comments = 0;
    if (!reader.Read32(vendor) || !reader.Skip(vendor) || !reader.Read32(comments)) {
        return false;
    }
    // Each comment takes at least its four length bytes.
    if (comments > reader.Left() / 4) {
        return false;
    }
    for (uint32_t i = 0; i < comments; ++i) {
        uint32_t length = 0;
        if (!reader.Read32(length) || !reader.Skip(length)) {
            return false;
        }
    }
    return reader.Left() >= 1;  // the framing byte
}

// Reads a packet's bits least significant first, as stb_vorbis does; like it, once a read runs past the
// end, that read and every later one give 0.
class BitReader {
public:
    BitReader(const std::vector<unsigned char>& bytes, size_t fromByte)
        : packet(bytes), bit(fromByte * 8), end(bytes.size() * 8)
    {
    }
    bool Exhausted() const { return bit > end; }
    uint32_t Read(unsigned count)  // at most 32 bits
    {
        const size_t from = bit;
        if (!Take(count)) {
            return 0;
        }
        uint64_t window = 0;
        for (size_t at = from >> 3, shift = 0; shift < (from & 7) + count; ++at, shift += 8) {
            window |= uint64_t{packet[at]} << shift;
        }
        return static_cast<uint32_t>(window >> (from & 7) & ((uint64_t{1} << count) - 1));
    }
    void Skip(uint64_t count) { Take(count); }

private:
    bool Take(uint64_t count)
    {
        if (Exhausted() || count > end - bit) {
            bit = end + 1;
            return false;
        }
        bit += static_cast<size_t>(count);
        return true;
    }

    const std::vector<unsigned char>& packet;
    size_t bit;
    size_t end;
};

unsigned BitLength(uint32_t value)
{
    unsigned bits = 0;
    for (; value != 0; value >>= 1) {
        ++bits;
    }
    return bits;
}

constexpr int64_t POWER_OVERFLOWS = -2;
constexpr int64_t LOOKUP2_VALUES_OVERFLOW = int64_t{1} << 30;

// A lookup-1 codebook's value count, worked out in stb_vorbis's own floating point so the walk keeps in step:
// -1 where it refuses the codebook, POWER_OVERFLOWS where it would cast to int a power too large for one.
int64_t Lookup1Values(uint32_t entries, uint32_t dimensions)
{
    if (dimensions == 0) {
        return -1;  // stb_vorbis's powers refuse it
    }
    const float logEntries = static_cast<float>(log(static_cast<double>(static_cast<float>(entries))));
    const double root = floor(exp(static_cast<double>(logEntries / static_cast<float>(dimensions))));
    const auto power = [dimensions](double base) { return pow(base, static_cast<double>(dimensions)); };
    double values = root;
    const double above = floor(power(values + 1));
    if (above >= 2147483648.0) {
        return POWER_OVERFLOWS;
    }
    if (above <= entries) {
        ++values;
    }
    if (power(values + 1) <= entries || floor(power(values)) > entries) {
        return -1;
    }
    return static_cast<int64_t>(values);
}

// Walks the codebooks as stb_vorbis reads them, up to where it would refuse the header itself, and refuses the
// three it would take into undefined behaviour: a lookup-1 value count whose power overflows int, a lookup-2
// table of 2^30 values or more (its count or byte size overflows int), and a 31-bit codeword in a dense codebook
// of at most eight entries (its search mask, (1 << 31) - 1, overflows). All are legal but useless (gigabyte
// tables; a code tree eight entries can't fill), so no encoder writes them.
bool CodebooksAreSafe(const std::vector<unsigned char>& packet)
{
    BitReader bits(packet, 7);  // after the packet type and "vorbis"
    const uint32_t books = bits.Read(8) + 1;
    for (uint32_t book = 0; book < books; ++book) {
        if (bits.Read(24) != 0x564342) {
            return true;
        }
        const uint32_t dimensions = bits.Read(16), entries = bits.Read(24);
        const bool ordered = bits.Read(1);
        bool sparse = !ordered && bits.Read(1);
        if (dimensions == 0 && entries != 0) {
            return true;
        }
        bool longCode = false;
        if (ordered) {
            uint32_t length = bits.Read(5) + 1;
            for (uint32_t entry = 0; entry < entries; ++length) {
                const uint32_t run = bits.Read(BitLength(entries - entry));
                if (length >= 32 || run > entries - entry) {
                    return true;
                }
                longCode = longCode || (run > 0 && length == 31);
                entry += run;
            }
        } else {
            uint32_t used = 0;
            for (uint32_t entry = 0; entry < entries && !bits.Exhausted(); ++entry) {
                if (sparse && !bits.Read(1)) {
                    continue;
                }
                const uint32_t length = bits.Read(5) + 1;
                ++used;
                if (length == 32) {
                    return true;
                }
                longCode = longCode || length == 31;
            }
            sparse = sparse && used < entries >> 2;  // stb_vorbis keeps only thinly used codebooks sparse
        }
        const uint32_t lookup = bits.Read(4);
        if (lookup > 2) {
            return true;
        }
        if (lookup > 0) {
            bits.Skip(64);  // the minimum and the step
            const uint32_t valueBits = bits.Read(4) + 1;
            bits.Skip(1);
            const int64_t values =
                lookup == 1 ? Lookup1Values(entries, dimensions) : int64_t{entries} * int64_t{dimensions};
            if (values == POWER_OVERFLOWS || (lookup == 2 && values >= LOOKUP2_VALUES_OVERFLOW)) {
                return false;
            }
            if (values <= 0) {
                return true;
            }
            bits.Skip(static_cast<uint64_t>(values) * valueBits);
        }
        if (longCode && !sparse && entries <= 8) {
            return false;
        }
        // Past the end stb_vorbis reads zeros and refuses the header later, but only after building this
        // codebook, which a few bytes can make millions of entries long, filling every arena it is tried in.
        if (bits.Exhausted()) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool HeadersAreSane(const unsigned char* data, size_t size)
{
    Page first;
    if (!ReadPage(data, size, 0, first) || size - first.body < first.bodySize) {
        return true;
    }
    PacketReader reader(data, size);
    if (!reader.StartPage(first.body + first.bodySize)) {
        return true;
    }
    if (reader.PageIsEmpty()) {
        return false;
    }
    std::vector<unsigned char> packet;
    if (reader.Read(packet) != PacketReader::Result::Whole) {
        return false;
    }
    if (packet.size() < 7 || memcmp(packet.data(), "\x03vorbis", 7) != 0) {
        return true;
    }
    if (!CommentFieldsFit(packet)) {
        return false;
    }

    // The setup header starts at the next segment, or on the next page if that doesn't continue a packet.
    if (!reader.PacketsLeftOnPage()) {
        if (!reader.StartPage(reader.NextPage()) || reader.PageContinuesPacket()) {
            return true;
        }
        if (reader.PageIsEmpty()) {
            return false;
        }
    }
    // Cut short, it still reads as stb_vorbis reads it.
    if (reader.Read(packet) == PacketReader::Result::EmptyPage) {
        return false;
    }
    if (packet.size() < 7 || memcmp(packet.data(), "\x05vorbis", 7) != 0) {
        return true;
    }
    return CodebooksAreSafe(packet);
}
