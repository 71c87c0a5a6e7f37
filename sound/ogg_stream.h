// OggStream: an Ogg Vorbis memory image decoded piece by piece with stb_vorbis.
// Plain C++ (no Win32), so the tests use exactly what the player uses.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <memory>

struct stb_vorbis;

class OggStream {
public:
    enum class OpenResult { Ok, NotVorbis, Corrupt, OutOfMemory, Unsupported };

    // Sources outside these bounds are refused: they are not music, and a tiny rate would make a few
    // bytes expand into hours of output.
    static constexpr int MIN_RATE = 1000;
    static constexpr int MAX_RATE = 384000;

    OggStream();
    ~OggStream();
    OggStream(const OggStream&) = delete;
    OggStream& operator=(const OggStream&) = delete;

    // The image must outlive the stream: it is read in place, not copied.
    OpenResult Open(const unsigned char* data, size_t size);

    int Channels() const { return channels; }
    int SampleRate() const { return rate; }

    // Decodes up to maxFrames frames of interleaved 16-bit PCM (Channels() samples a frame) into out.
    // Returns the frames written; 0 means the stream has ended (a corrupt packet ends it too).
    size_t Read(int16_t* out, size_t maxFrames);
    bool Ended() const { return ended; }
    uint64_t FramesDecoded() const { return framesDecoded; }

    // A decoded sample as 16-bit PCM, rounded to nearest (ties to even) as stb_vorbis rounds, but clamped
    // before it is scaled: stb_vorbis's own conversion overflows an int on a wild sample from a damaged file.
    // NaN gives silence.
    static int16_t ToPcm16(float sample);

private:
    // Files from libvorbis need under 512 KB of stb_vorbis (eight channels at 192 kHz and best quality),
    // most of them under FIRST_ARENA_BYTES. Only a damaged header asks for more than MAX_ARENA_BYTES (a few
    // bytes can declare codebooks of millions of entries), and each try touches all it is given.
    static constexpr size_t FIRST_ARENA_BYTES = 256 * 1024;
    static constexpr size_t MAX_ARENA_BYTES = 4 * 1024 * 1024;

    struct FreeArena {
        void operator()(char* bytes) const { free(bytes); }
    };
    // The decoder lives inside it; the destructor closes the decoder before the arena goes.
    std::unique_ptr<char, FreeArena> arena;
    stb_vorbis* decoder;
    int channels;
    int rate;
    bool ended;
    uint64_t framesDecoded;
    // The frame being handed out: the decoder's channels, valid until it decodes the next one.
    float** frame;
    size_t frameLength;
    size_t framePos;
    bool moreFrames;

    bool NextFrame();
};
