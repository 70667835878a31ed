#include "platform/SoundStream.h"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace Platform {

// libvorbisfile reads the encoded file from memory through these.
struct SoundStreamMemoryReads {
    static std::size_t Read(void* into, std::size_t size, std::size_t count, void* source)
    {
        auto& stream = *static_cast<SoundStream*>(source);
        if (size == 0)
            return 0;
        const std::size_t left = stream.encoded->size() - stream.readAt;
        const std::size_t items = std::min(count, left / size);
        std::memcpy(into, stream.encoded->data() + stream.readAt, items * size);
        stream.readAt += items * size;
        return items;
    }
    static int Seek(void* source, ogg_int64_t offset, int whence)
    {
        auto& stream = *static_cast<SoundStream*>(source);
        const auto size = static_cast<ogg_int64_t>(stream.encoded->size());
        ogg_int64_t base = 0;
        if (whence == SEEK_CUR)
            base = static_cast<ogg_int64_t>(stream.readAt);
        else if (whence == SEEK_END)
            base = size;
        else if (whence != SEEK_SET)
            return -1;
        const ogg_int64_t target = base + offset;
        if (target < 0 || target > size)
            return -1;
        stream.readAt = static_cast<std::size_t>(target);
        return 0;
    }
    static long Tell(void* source) { return static_cast<long>(static_cast<SoundStream*>(source)->readAt); }
};

namespace {

constexpr ov_callbacks MemoryCallbacks{&SoundStreamMemoryReads::Read, &SoundStreamMemoryReads::Seek, nullptr,
                                       &SoundStreamMemoryReads::Tell};

bool LooksLikeOggVorbis(const std::filesystem::path& file)
{
    std::array<char, 36> head{};
    std::ifstream stream(file, std::ios::binary);
    return stream.read(head.data(), head.size()) && std::memcmp(head.data(), "OggS", 4) == 0 &&
           std::memcmp(head.data() + 28, "\x01vorbis", 7) == 0;
}

}  // namespace

bool SoundStream::Suits(const std::filesystem::path& file, int frequency)
{
    if (frequency <= 0 || !LooksLikeOggVorbis(file))
        return false;
    OggVorbis_File vorbis{};
    if (ov_fopen(file.c_str(), &vorbis) != 0)
        return false;  // ov_fopen has already cleared it
    const vorbis_info* info = ov_info(&vorbis, -1);
    const ogg_int64_t frames = ov_pcm_total(&vorbis, -1);
    const bool suits = info != nullptr && info->rate == frequency && info->channels > 0 && info->channels <= 8 &&
                       frames >= static_cast<ogg_int64_t>(StreamedFromSeconds * frequency);
    ov_clear(&vorbis);
    return suits;
}

SoundStream::Encoded SoundStream::ReadFile(const std::filesystem::path& file, std::string& reason)
{
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        reason = "the file cannot be opened";
        return nullptr;
    }
    auto bytes = std::make_shared<std::vector<unsigned char>>(std::istreambuf_iterator<char>(stream),
                                                              std::istreambuf_iterator<char>());
    if (stream.bad()) {
        reason = "the file cannot be read";
        return nullptr;
    }
    return bytes;
}

std::unique_ptr<SoundStream> SoundStream::Open(Encoded encoded, const OutputSpec& output, std::string& reason)
{
    std::unique_ptr<SoundStream> stream(new SoundStream());
    stream->encoded = std::move(encoded);
    stream->output = output;
    if (!stream->OpenDecoder()) {
        reason = "its Ogg Vorbis headers cannot be read";
        return nullptr;
    }
    const vorbis_info* info = ov_info(stream->vorbis.get(), -1);
    if (info == nullptr || info->rate != output.frequency || info->channels <= 0 || info->channels > 8) {
        reason = "its sample rate is not the output's";
        return nullptr;
    }
    stream->channels = info->channels;
    stream->rate = info->rate;
    stream->converter = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(stream->channels), output.frequency,
                                           output.format, static_cast<Uint8>(output.channels), output.frequency);
    if (stream->converter == nullptr) {
        reason = SDL_GetError();
        return nullptr;
    }
    // The same reads as a chunk decoded whole: from a seek to the start on.
    stream->packet.resize(4096 * static_cast<std::size_t>(stream->channels));
    if (!stream->Rewind()) {
        reason = "it cannot be read from its beginning";
        return nullptr;
    }
    return stream;
}

bool SoundStream::OpenDecoder()
{
    if (vorbis)
        ov_clear(vorbis.get());
    vorbis = std::make_unique<OggVorbis_File>();
    readAt = 0;
    if (ov_open_callbacks(this, vorbis.get(), nullptr, 0, MemoryCallbacks) != 0) {
        vorbis.reset();  // ov_open_callbacks has already cleared it
        return false;
    }
    return true;
}

SoundStream::~SoundStream()
{
    if (converter != nullptr)
        SDL_FreeAudioStream(converter);
    if (vorbis)
        ov_clear(vorbis.get());
}

bool SoundStream::Rewind()
{
    SDL_AudioStreamClear(converter);
    passHadSound = false;
    passEnded = false;
    finished = false;
    // A file whose damage keeps the decoder from seeking is opened afresh, which starts it at
    // the same first sample (SDL_mixer's loader, which does not seek, plays such files too).
    if (vorbis && ov_time_seek(vorbis.get(), 0.0) == 0)
        return true;
    if (OpenDecoder()) {
        const vorbis_info* info = ov_info(vorbis.get(), -1);
        if (info != nullptr && info->channels == channels && info->rate == rate)
            return true;
    }
    finished = true;
    return false;
}

bool SoundStream::DecodeMore()
{
    int section = 0;
    const long amount = ov_read(vorbis.get(), packet.data(), static_cast<int>(packet.size()),
                                SDL_BYTEORDER == SDL_BIG_ENDIAN, 2, 1, &section);
    if (amount <= 0)
        return false;
    const vorbis_info* sectionInfo = ov_info(vorbis.get(), -1);
    if (sectionInfo == nullptr || sectionInfo->channels != channels || sectionInfo->rate != rate)
        return false;
    if (SDL_AudioStreamPut(converter, packet.data(), static_cast<int>(amount)) != 0)
        return false;
    passHadSound = true;
    return true;
}

int SoundStream::Read(std::uint8_t* out, int length, bool loops)
{
    int written = 0;
    while (written < length) {
        const int available = SDL_AudioStreamAvailable(converter);
        if (available > 0) {
            const int got = SDL_AudioStreamGet(converter, out + written, std::min(available, length - written));
            if (got <= 0)
                break;
            written += got;
            continue;
        }
        if (finished)
            break;
        if (!passEnded) {
            if (!DecodeMore()) {
                passEnded = true;
                SDL_AudioStreamFlush(converter);
            }
            continue;
        }
        // A pass that gave nothing would only spin round.
        if (!loops || !passHadSound || !Rewind())
            finished = true;
    }
    if (written < length)
        std::memset(out + written, output.format == AUDIO_U8 ? 0x80 : 0, static_cast<std::size_t>(length - written));
    return written;
}

bool SoundStream::HasSound()
{
    while (!passHadSound && !passEnded) {
        if (!DecodeMore())
            passEnded = true;
    }
    const bool sound = passHadSound;
    return Rewind() && sound;
}

}  // namespace Platform
