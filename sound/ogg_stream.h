// OggStream: an Ogg Vorbis memory image decoded piece by piece with stb_vorbis.
// Plain C++ (no Win32), so tests and the native fuzz build use exactly what the player uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct stb_vorbis;

class OggStream {
public:
    enum class OpenResult { Ok, NotVorbis, Corrupt, OutOfMemory, Unsupported };

    // Sources outside these bounds are refused: they are not music, and a tiny rate would make a few
    // bytes expand into hours of output.
    static constexpr int kMinRate = 1000;
    static constexpr int kMaxRate = 384000;

    OggStream() = default;
    ~OggStream();
    OggStream(const OggStream&) = delete;
    OggStream& operator=(const OggStream&) = delete;

    // The image must outlive the stream: it is read in place, not copied.
    OpenResult open(const unsigned char* data, size_t size);

    int channels() const { return channels_; }
    int sampleRate() const { return rate_; }

    // Decodes up to maxFrames frames of interleaved 16-bit PCM (channels() samples a frame) into out.
    // Returns the frames written; 0 means the stream has ended (a corrupt packet ends it too).
    size_t read(int16_t* out, size_t maxFrames);
    bool ended() const { return ended_; }
    uint64_t framesDecoded() const { return framesDecoded_; }

private:
    static constexpr size_t kFirstArenaBytes = 256 * 1024;
    static constexpr size_t kMaxArenaBytes = 32 * 1024 * 1024;

    // Declared before vorbis_: the decoder lives inside it.
    std::vector<char> arena_;
    stb_vorbis* vorbis_ = nullptr;
    int channels_ = 0;
    int rate_ = 0;
    bool ended_ = true;
    uint64_t framesDecoded_ = 0;
};
