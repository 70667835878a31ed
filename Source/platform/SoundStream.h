// Platform::SoundStream: decodes a long Ogg Vorbis sound piece by piece into the mixer's output
// format, so that music is never held decoded whole. An event instance feeds its channel from
// one (StudioEventInstance); the encoded file stays in memory, shared by the streams made from it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct OggVorbis_File;
struct _SDL_AudioStream;

namespace Platform {

class SoundStream {
public:
    // Sounds at least this long are streamed; shorter ones are decoded whole into chunks.
    static constexpr double StreamedFromSeconds = 5.0;

    using Encoded = std::shared_ptr<const std::vector<unsigned char>>;

    struct OutputSpec {
        int frequency = 0;
        std::uint16_t format = 0;
        int channels = 0;
    };

    // The quick look at bank load: an Ogg Vorbis file at the output's rate, of 1 to 8 channels,
    // lasting StreamedFromSeconds or more. Anything else is left to the chunk path.
    static bool Suits(const std::filesystem::path& file, int frequency);

    // The whole file, or null with the reason.
    static Encoded ReadFile(const std::filesystem::path& file, std::string& reason);

    // A stream at the sound's beginning, or null with the reason: the headers cannot be read,
    // or the sound no longer fits the output (see Suits).
    static std::unique_ptr<SoundStream> Open(Encoded encoded, const OutputSpec& output, std::string& reason);
    ~SoundStream();

    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;

    // Fills `length` bytes with the next samples, exactly those a chunk decoded whole holds
    // (SoundPreloader's decode). A looping stream goes on from the beginning at the end; a
    // one-shot fills what is left with silence and is Finished. Like SDL_mixer's own loader,
    // the sound ends where the decoder meets damage (a missing page, a bad packet).
    // Returns the bytes of sound written.
    int Read(std::uint8_t* out, int length, bool loops);
    // Back to the beginning; false when the decoder cannot seek there.
    bool Rewind();
    // A one-shot has given all its samples, or a pass gave none (nothing to loop).
    bool Finished() const { return finished; }
    // Whether the first pass gives any sound at all; reads no further than its first samples
    // and leaves the stream at the beginning.
    bool HasSound();

private:
    SoundStream() = default;
    // Opens libvorbisfile over `encoded` from its first byte, dropping a decoder open before.
    bool OpenDecoder();
    // Decodes the next packet into the converter; false at the end of a pass or at damage.
    bool DecodeMore();

    Encoded encoded;
    std::size_t readAt = 0;  // libvorbisfile's read position in `encoded`
    OutputSpec output;
    int channels = 0;
    long rate = 0;
    std::unique_ptr<OggVorbis_File> vorbis;
    _SDL_AudioStream* converter = nullptr;
    std::vector<char> packet;
    bool passHadSound = false;  // the current pass has decoded samples
    bool passEnded = false;     // the decoder has reached the pass's end; the converter drains
    bool finished = false;

    friend struct SoundStreamMemoryReads;
};

}  // namespace Platform
