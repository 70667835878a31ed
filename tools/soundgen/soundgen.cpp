// Sound generator: synthesises every sound of the game (effects, stingers and music loops)
// from oscillators, noise and filters, and writes them as mono Ogg Vorbis files. Run by hand
// when a sound changes; the game only reads the files it wrote. Output is deterministic.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int Rate = 44100;
constexpr double Tau = 2.0 * std::numbers::pi;

using Buffer = std::vector<float>;

// A small deterministic noise source, so that every run writes the same files.
struct Noise {
    std::uint32_t state;
    explicit Noise(std::uint32_t seed) : state(seed) {}
    float Next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / static_cast<float>(1u << 23) - 1.0f;
    }
};

struct OnePole {
    float memory = 0.0f;
    float LowPass(float input, double cutoffHz)
    {
        const double a = 1.0 - std::exp(-Tau * std::clamp(cutoffHz, 10.0, 20000.0) / Rate);
        memory += static_cast<float>(a) * (input - memory);
        return memory;
    }
    float HighPass(float input, double cutoffHz) { return input - LowPass(input, cutoffHz); }
};

// A state-variable filter, for resonant sweeps and band-passed noise.
struct StateVariable {
    float low = 0.0f, band = 0.0f;
    // Returns {low, band, high}.
    std::array<float, 3> Run(float input, double cutoffHz, double resonance)
    {
        const float f = static_cast<float>(2.0 * std::sin(std::numbers::pi * std::clamp(cutoffHz, 20.0, 8000.0) / Rate));
        const float q = static_cast<float>(1.0 / resonance);
        low += f * band;
        const float high = input - low - q * band;
        band += f * high;
        return {low, band, high};
    }
};

double MidiHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }
float Saw(double phase) { return static_cast<float>(2.0 * (phase - std::floor(phase)) - 1.0); }
float Square(double phase, double width = 0.5) { return (phase - std::floor(phase)) < width ? 1.0f : -1.0f; }
float Triangle(double phase)
{
    const double p = phase - std::floor(phase);
    return static_cast<float>(p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p);
}
float Sine(double phase) { return static_cast<float>(std::sin(Tau * phase)); }

// Linear attack, then exponential decay towards zero with the given time constant.
float Pluck(double t, double attack, double decay)
{
    if (t < 0.0)
        return 0.0f;
    if (t < attack)
        return static_cast<float>(t / attack);
    return static_cast<float>(std::exp(-(t - attack) / decay));
}

// Attack, hold for the note's length, release.
float Gate(double t, double length, double attack, double release)
{
    if (t < 0.0)
        return 0.0f;
    const double rise = std::min(1.0, t / attack);
    if (t <= length)
        return static_cast<float>(rise);
    return static_cast<float>(rise * std::max(0.0, 1.0 - (t - length) / release));
}

Buffer Silence(double seconds) { return Buffer(static_cast<std::size_t>(seconds * Rate), 0.0f); }

// Adds a sound made sample by sample into a buffer. A looping buffer takes the tail that runs
// past its end at its start, so the loop point does not click.
void Render(Buffer& out, double start, double seconds, bool wrap, const std::function<float(double)>& voice)
{
    const long first = std::lround(start * Rate);
    const long count = std::lround(seconds * Rate);
    const long size = static_cast<long>(out.size());
    for (long i = 0; i < count; ++i) {
        long index = first + i;
        if (wrap)
            index %= size;
        else if (index >= size)
            break;
        out[static_cast<std::size_t>(index)] += voice(static_cast<double>(i) / Rate);
    }
}

void Normalise(Buffer& samples, float peak)
{
    float loudest = 0.0f;
    for (float s : samples)
        loudest = std::max(loudest, std::abs(s));
    if (loudest > 0.0f)
        for (float& s : samples)
            s *= peak / loudest;
}

// Short fades at both ends of a one-shot so that it starts and ends on silence.
void FadeEdges(Buffer& samples)
{
    const std::size_t fade = std::min<std::size_t>(samples.size() / 4, Rate / 200);
    for (std::size_t i = 0; i < fade; ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(fade);
        samples[i] *= g;
        samples[samples.size() - 1 - i] *= g;
    }
}

// ---- instruments: each returns a voice for one note ----

std::function<float(double)> PluckVoice(double hz, float velocity, double decay, double brightness)
{
    auto filter = std::make_shared<OnePole>();
    return [=](double t) {
        const float env = Pluck(t, 0.003, decay);
        const float raw = 0.6f * Saw(hz * t) + 0.4f * Square(hz * t * 1.003, 0.3);
        return velocity * env * filter->LowPass(raw, 300.0 + brightness * env);
    };
}

std::function<float(double)> BassVoice(double hz, double length, float velocity, double cutoff)
{
    auto filter = std::make_shared<OnePole>();
    return [=](double t) {
        const float env = Gate(t, length, 0.005, 0.06);
        const float raw = 0.7f * Saw(hz * t) + 0.5f * Sine(hz * 0.5 * t);
        const double sweep = cutoff * (1.0 + 2.0 * std::exp(-t / 0.05));
        return velocity * env * filter->LowPass(raw, sweep);
    };
}

std::function<float(double)> PadVoice(double hz, double length, float velocity, double cutoff)
{
    auto filter = std::make_shared<OnePole>();
    return [=](double t) {
        const float env = Gate(t, length, 0.25, 0.6);
        const float raw = (Saw(hz * t) + Saw(hz * 1.006 * t + 0.3) + Saw(hz * 0.994 * t + 0.6)) / 3.0f;
        return velocity * env * filter->LowPass(raw, cutoff);
    };
}

std::function<float(double)> LeadVoice(double hz, double length, float velocity, double squareMix)
{
    auto filter = std::make_shared<OnePole>();
    return [=](double t) {
        const float env = Gate(t, length, 0.015, 0.12);
        const double vibrato = 1.0 + 0.004 * std::sin(Tau * 5.5 * t) * std::min(1.0, t / 0.3);
        double phase = hz * vibrato * t;
        const float raw = static_cast<float>((1.0 - squareMix) * Triangle(phase) + squareMix * Square(phase, 0.25));
        return velocity * env * filter->LowPass(raw, 3500.0);
    };
}

std::function<float(double)> BellVoice(double hz, float velocity, double decay)
{
    return [=](double t) {
        const float a = Pluck(t, 0.002, decay);
        const float b = Pluck(t, 0.002, decay * 0.45);
        const float c = Pluck(t, 0.002, decay * 0.2);
        return velocity * (0.6f * a * Sine(hz * t) + 0.25f * b * Sine(hz * 2.76 * t) + 0.15f * c * Sine(hz * 5.4 * t));
    };
}

std::function<float(double)> KickVoice(float velocity)
{
    return [=](double t) {
        // Pitch falls from 155 Hz to 45 Hz; the phase is its integral.
        const double phase = 45.0 * t + 110.0 * 0.04 * (1.0 - std::exp(-t / 0.04));
        return velocity * Pluck(t, 0.001, 0.12) * Sine(phase);
    };
}

std::function<float(double)> SnareVoice(float velocity, std::uint32_t seed)
{
    auto noise = std::make_shared<Noise>(seed);
    auto filter = std::make_shared<OnePole>();
    return [=](double t) {
        const float rattle = filter->HighPass(noise->Next(), 1200.0) * Pluck(t, 0.001, 0.07);
        const float body = Sine(185.0 * t) * Pluck(t, 0.001, 0.04);
        return velocity * (0.7f * rattle + 0.5f * body);
    };
}

std::function<float(double)> HatVoice(float velocity, double decay, std::uint32_t seed)
{
    auto noise = std::make_shared<Noise>(seed);
    auto filter = std::make_shared<OnePole>();
    return [=](double t) { return velocity * filter->HighPass(noise->Next(), 7000.0) * Pluck(t, 0.0005, decay); };
}

// ---- music ----

enum class Drums { None, FourOnTheFloor, HalfTime, Driving, Heavy };

struct SongStyle {
    double bpm;
    int root;                  // MIDI note of the key's tonic in the bass octave + 24
    std::vector<int> scale;    // semitone steps of the mode from the tonic
    std::vector<int> chords;   // scale degree (0-based) of each bar's chord
    int bars;
    Drums drums;
    int arpSteps;              // notes per bar of the plucked arpeggio (0 = none)
    double padCutoff;          // Hz; 0 = no pad
    double leadSquare;         // 0 triangle lead .. 1 square lead; negative = bell lead
    double bassCutoff;
    int bassPerBar;            // bass notes per bar
    std::uint32_t seed;
};

int ScaleNote(const SongStyle& style, int degree)
{
    const int size = static_cast<int>(style.scale.size());
    const int octave = (degree >= 0 ? degree / size : (degree - size + 1) / size);
    const int step = degree - octave * size;
    return style.root + 12 * octave + style.scale[static_cast<std::size_t>(step)];
}

Buffer Song(const SongStyle& style)
{
    const double beat = 60.0 / style.bpm;
    const double bar = 4.0 * beat;
    Buffer out = Silence(bar * style.bars);
    Noise choice(style.seed);

    for (int b = 0; b < style.bars; ++b) {
        const int degree = style.chords[static_cast<std::size_t>(b) % style.chords.size()];
        const double barStart = b * bar;
        const int chord[3] = {ScaleNote(style, degree), ScaleNote(style, degree + 2), ScaleNote(style, degree + 4)};

        // Bass: the chord's root two octaves down, on a steady pulse.
        const double bassStep = bar / style.bassPerBar;
        for (int i = 0; i < style.bassPerBar; ++i) {
            const int note = chord[0] - 24 + ((style.bassPerBar >= 8 && i % 4 == 3) ? 12 : 0);
            Render(out, barStart + i * bassStep, bassStep + 0.1, true,
                   BassVoice(MidiHz(note), bassStep * 0.8, 0.45f, style.bassCutoff));
        }
        // Pad: the triad held for the bar.
        if (style.padCutoff > 0.0)
            for (int note : chord)
                Render(out, barStart, bar + 0.7, true, PadVoice(MidiHz(note - 12), bar - 0.05, 0.12f, style.padCutoff));
        // Arpeggio over the triad, up an octave.
        if (style.arpSteps > 0) {
            const double step = bar / style.arpSteps;
            static constexpr int pattern[8] = {0, 1, 2, 1, 0, 2, 1, 2};
            for (int i = 0; i < style.arpSteps; ++i) {
                const int note = chord[pattern[i % 8]] + ((i / 4) % 2 == 1 ? 12 : 0);
                Render(out, barStart + i * step, 0.6, true,
                       PluckVoice(MidiHz(note), i % 4 == 0 ? 0.22f : 0.15f, 0.12, 2500.0));
            }
        }
        // Melody: chord tones and passing notes on an eighth-note grid, with rests, a two-bar phrase.
        const double eighth = beat / 2.0;
        int position = 0;
        while (position < 8) {
            const int lengthInEighths = (choice.Next() > 0.2f) ? 1 : (choice.Next() > 0.0f ? 2 : 3);
            const bool rest = choice.Next() > 0.55f || (b % 2 == 1 && position >= 6);
            if (!rest) {
                const int offset = static_cast<int>(std::floor((choice.Next() + 1.0f) * 2.5f));  // 0..4
                const int note = ScaleNote(style, degree + 7 + (offset % 5)) ;
                const double length = lengthInEighths * eighth;
                if (style.leadSquare < 0.0)
                    Render(out, barStart + position * eighth, 1.5, true, BellVoice(MidiHz(note), 0.22f, 0.5));
                else
                    Render(out, barStart + position * eighth, length + 0.15, true,
                           LeadVoice(MidiHz(note), length * 0.9, 0.2f, style.leadSquare));
            }
            position += lengthInEighths;
        }
        // Drums.
        const std::uint32_t drumSeed = style.seed * 31u + static_cast<std::uint32_t>(b) * 977u;
        for (int i = 0; i < 16; ++i) {
            const double at = barStart + i * beat / 4.0;
            const auto seed = drumSeed + static_cast<std::uint32_t>(i);
            switch (style.drums) {
            case Drums::None:
                break;
            case Drums::FourOnTheFloor:
                if (i % 4 == 0) Render(out, at, 0.5, true, KickVoice(0.8f));
                if (i == 4 || i == 12) Render(out, at, 0.4, true, SnareVoice(0.45f, seed));
                if (i % 2 == 0) Render(out, at + beat / 4.0 * 1.0, 0.2, true, HatVoice(0.18f, 0.03, seed));
                break;
            case Drums::HalfTime:
                if (i == 0 || i == 10) Render(out, at, 0.5, true, KickVoice(0.7f));
                if (i == 8) Render(out, at, 0.4, true, SnareVoice(0.4f, seed));
                if (i % 4 == 2) Render(out, at, 0.2, true, HatVoice(0.12f, 0.06, seed));
                break;
            case Drums::Driving:
                if (i % 4 == 0 || i == 7 || i == 14) Render(out, at, 0.5, true, KickVoice(0.8f));
                if (i == 4 || i == 12) Render(out, at, 0.4, true, SnareVoice(0.5f, seed));
                Render(out, at, 0.2, true, HatVoice(i % 2 == 0 ? 0.16f : 0.09f, 0.025, seed));
                break;
            case Drums::Heavy:
                if (i == 0 || i == 3 || i == 8 || i == 11) Render(out, at, 0.6, true, KickVoice(0.9f));
                if (i == 4 || i == 12) Render(out, at, 0.5, true, SnareVoice(0.55f, seed));
                if (i % 4 == 0) Render(out, at, 0.3, true, HatVoice(0.1f, 0.12, seed));
                break;
            }
        }
    }
    Normalise(out, 0.85f);
    return out;
}

// A short fanfare in a song's key: a rising arpeggio into a held major chord with a bell on top.
Buffer Stinger(const SongStyle& style, double speed)
{
    Buffer out = Silence(3.0);
    const int tonic = ScaleNote(style, 7);
    const int steps[5] = {0, 4, 7, 12, 16};
    for (int i = 0; i < 5; ++i)
        Render(out, i * 0.11 * speed, 0.8, false,
               LeadVoice(MidiHz(tonic + steps[i]), 0.09 * speed, 0.3f, std::max(0.0, style.leadSquare)));
    const double chordAt = 5 * 0.11 * speed;
    for (int interval : {0, 4, 7, 12})
        Render(out, chordAt, 3.0 - chordAt, false, PadVoice(MidiHz(tonic + interval), 1.2, 0.16f, 2500.0));
    Render(out, chordAt, 3.0 - chordAt, false, BellVoice(MidiHz(tonic + 24), 0.25f, 0.9));
    Render(out, chordAt, 1.0, false, KickVoice(0.6f));
    Normalise(out, 0.9f);
    FadeEdges(out);
    return out;
}

// ---- effects ----

Buffer Jump()
{
    Buffer out = Silence(0.2);
    Render(out, 0, 0.2, false, [](double t) {
        const double phase = 280.0 * t + 0.5 * 2400.0 * t * t;  // 280 Hz rising by 2400 Hz/s
        return 0.5f * Square(phase, 0.35) * Pluck(t, 0.004, 0.07);
    });
    Normalise(out, 0.8f);
    FadeEdges(out);
    return out;
}

Buffer AirDash()
{
    Buffer out = Silence(0.4);
    Noise noise(11);
    StateVariable filter;
    Render(out, 0, 0.4, false, [&](double t) {
        const double cutoff = 3500.0 * std::exp(-t / 0.12) + 400.0;
        return filter.Run(noise.Next(), cutoff, 3.0)[1] * Pluck(t, 0.02, 0.1);
    });
    Normalise(out, 0.8f);
    FadeEdges(out);
    return out;
}

// Bubbles: quick rising sine chirps at scattered moments over a splash of noise.
Buffer Water(double seconds, int bubbles, double splashDecay, std::uint32_t seed)
{
    Buffer out = Silence(seconds);
    Noise noise(seed);
    StateVariable splash;
    Render(out, 0, seconds, false, [&](double t) {
        const double cutoff = 1800.0 + 900.0 * std::sin(Tau * 7.0 * t);
        return 0.5f * splash.Run(noise.Next(), cutoff, 1.5)[1] * Pluck(t, 0.01, splashDecay);
    });
    Noise place(seed + 1);
    for (int i = 0; i < bubbles; ++i) {
        const double at = (place.Next() + 1.0) * 0.5 * seconds * 0.7;
        const double base = 500.0 + (place.Next() + 1.0) * 450.0;
        Render(out, at, 0.08, false, [=](double t) {
            const double phase = base * t + 0.5 * base * 18.0 * t * t;
            return 0.35f * Sine(phase) * Pluck(t, 0.002, 0.025);
        });
    }
    Normalise(out, 0.8f);
    FadeEdges(out);
    return out;
}

Buffer EarthPunch()
{
    Buffer out = Silence(0.35);
    Noise noise(21);
    OnePole crunch;
    Render(out, 0, 0.35, false, [&](double t) {
        const double phase = 40.0 * t + 90.0 * 0.05 * (1.0 - std::exp(-t / 0.05));
        const float thump = Sine(phase) * Pluck(t, 0.002, 0.1);
        const float grit = crunch.LowPass(noise.Next(), 1200.0) * Pluck(t, 0.001, 0.04);
        return 0.8f * thump + 0.6f * grit;
    });
    Normalise(out, 0.9f);
    FadeEdges(out);
    return out;
}

Buffer FireBurst()
{
    Buffer out = Silence(0.7);
    Noise noise(31), crackle(32);
    StateVariable roar;
    Render(out, 0, 0.7, false, [&](double t) {
        const double cutoff = 300.0 + 2500.0 * std::min(1.0, t / 0.08) * std::exp(-t / 0.35);
        float sample = 0.7f * roar.Run(noise.Next(), cutoff, 1.2)[0];
        if (crackle.Next() > 0.985f)
            sample += 0.5f * crackle.Next();
        return sample * Pluck(t, 0.015, 0.25);
    });
    Normalise(out, 0.85f);
    FadeEdges(out);
    return out;
}

Buffer PlayerDie()
{
    Buffer out = Silence(1.1);
    const int notes[5] = {76, 72, 69, 65, 60};
    for (int i = 0; i < 5; ++i)
        Render(out, i * 0.13, 0.5, false, LeadVoice(MidiHz(notes[i]), 0.1, 0.4f, 0.6));
    Render(out, 0.65, 0.45, false, [](double t) {
        const double phase = 260.0 * t - 0.5 * 380.0 * t * t;  // a falling wobble to end on
        return 0.3f * Triangle(phase + 0.02 * std::sin(Tau * 9.0 * t)) * Gate(t, 0.3, 0.01, 0.14);
    });
    Normalise(out, 0.8f);
    FadeEdges(out);
    return out;
}

Buffer Blip(double firstHz, double secondHz, double length)
{
    Buffer out = Silence(length * 2.0 + 0.05);
    Render(out, 0, length + 0.04, false, BellVoice(firstHz, 0.5f, 0.05));
    Render(out, length, length + 0.05, false, BellVoice(secondHz, 0.5f, 0.07));
    Normalise(out, 0.7f);
    FadeEdges(out);
    return out;
}

Buffer Rollover()
{
    Buffer out = Silence(0.06);
    Render(out, 0, 0.06, false, [](double t) { return Triangle(1800.0 * t) * Pluck(t, 0.001, 0.012); });
    Normalise(out, 0.5f);
    FadeEdges(out);
    return out;
}

Buffer EnemyDie()
{
    Buffer out = Silence(0.55);
    Noise noise(41);
    OnePole filter;
    Render(out, 0, 0.55, false, [&](double t) {
        const double phase = 900.0 * t - 0.5 * 1400.0 * t * t;
        const float zap = Square(phase + 0.05 * std::sin(Tau * 30.0 * t), 0.5);
        const float hiss = filter.LowPass(noise.Next(), 2500.0);
        return (0.45f * zap + 0.4f * hiss) * Pluck(t, 0.003, 0.16);
    });
    Normalise(out, 0.8f);
    FadeEdges(out);
    return out;
}

Buffer EnemyShoot()
{
    Buffer out = Silence(0.22);
    Render(out, 0, 0.22, false, [](double t) {
        const double phase = 1500.0 * 0.06 * (1.0 - std::exp(-t / 0.06)) + 280.0 * t;
        return 0.6f * (0.7f * Sine(phase) + 0.3f * Square(phase, 0.5)) * Pluck(t, 0.002, 0.06);
    });
    Normalise(out, 0.75f);
    FadeEdges(out);
    return out;
}

Buffer Checkpoint()
{
    Buffer out = Silence(1.4);
    const int notes[3] = {79, 84, 88};
    for (int i = 0; i < 3; ++i)
        Render(out, i * 0.09, 1.4 - i * 0.09, false, BellVoice(MidiHz(notes[i]), 0.4f, 0.45));
    Normalise(out, 0.8f);
    FadeEdges(out);
    return out;
}

// ---- Ogg Vorbis output ----

bool WriteOgg(const std::filesystem::path& path, const Buffer& samples, float quality)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, Rate, quality) != 0) {
        vorbis_info_clear(&info);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "ENCODER", "Vantrel soundgen");
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x56414e54);  // a fixed serial keeps the output reproducible

    const std::filesystem::path temporary = path.string() + ".tmp";
    FILE* file = std::fopen(temporary.string().c_str(), "wb");
    if (file == nullptr)
        return false;
    bool written = true;
    auto writePage = [&](const ogg_page& page) {
        written &= std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), file) ==
                   static_cast<std::size_t>(page.header_len);
        written &= std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), file) ==
                   static_cast<std::size_t>(page.body_len);
    };

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
        writePage(page);

    auto drain = [&]() {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    writePage(page);
            }
        }
    };
    constexpr std::size_t Step = 1024;
    for (std::size_t at = 0; at < samples.size(); at += Step) {
        const std::size_t count = std::min(Step, samples.size() - at);
        float** channels = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
        std::copy_n(samples.begin() + static_cast<std::ptrdiff_t>(at), count, channels[0]);
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page) != 0)
        writePage(page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    written &= std::fclose(file) == 0;
    if (!written) {
        std::filesystem::remove(temporary);
        return false;
    }
    std::filesystem::rename(temporary, path);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = argc > 1 ? argv[1] : "Resources/Audio/Sounds";
    std::filesystem::create_directories(folder);

    const std::vector<int> major = {0, 2, 4, 5, 7, 9, 11};
    const std::vector<int> minor = {0, 2, 3, 5, 7, 8, 10};
    const std::vector<int> dorian = {0, 2, 3, 5, 7, 9, 10};
    const std::vector<int> harmonicMinor = {0, 2, 3, 5, 7, 8, 11};

    // Each level has its own key, tempo, groove and lead.
    const SongStyle level1{124, 60, major, {0, 4, 5, 3, 0, 4, 3, 4}, 8, Drums::FourOnTheFloor, 16, 0.0, 0.0, 900, 4, 1};
    const SongStyle level3{100, 57, minor, {0, 5, 2, 6, 0, 5}, 6, Drums::HalfTime, 8, 1400.0, -1.0, 600, 2, 2};
    const SongStyle level4{140, 62, dorian, {0, 3, 0, 6, 0, 3, 4, 6}, 8, Drums::Driving, 0, 0.0, 0.8, 1200, 8, 3};
    const SongStyle level5{88, 52, harmonicMinor, {0, 3, 4, 0, 5, 4}, 6, Drums::Heavy, 8, 900.0, 0.35, 500, 4, 4};
    const SongStyle menu{92, 65, major, {0, 5, 3, 4, 0, 3}, 6, Drums::None, 8, 1800.0, -1.0, 500, 2, 5};
    // The intro loops over the splash screens and the first main menu, until the menu music
    // takes over: the same key and tempo, thinner and slower.
    const SongStyle menuIntro{92, 65, major, {0, 3, 4, 0}, 4, Drums::None, 4, 1100.0, -1.0, 400, 1, 6};

    struct Output {
        const char* name;
        Buffer samples;
        float quality;  // Vorbis VBR quality: -0.1 (smallest) .. 1.0
    };
    const std::vector<Output> outputs = {
        {"Level1_LevelMusic", Song(level1), 0.2f},
        {"Level3_LevelMusic", Song(level3), 0.2f},
        {"Level4_LevelMusic", Song(level4), 0.2f},
        {"Level5_LevelMusic", Song(level5), 0.2f},
        {"Menu_Music", Song(menu), 0.2f},
        {"Menu_Music_Intro", Song(menuIntro), 0.2f},
        {"Player_Jump", Jump(), 0.4f},
        {"Player_AirDash", AirDash(), 0.4f},
        {"Player_Water_Kick", Water(0.45, 6, 0.1, 51), 0.4f},
        {"Player_Water_Slide", Water(0.9, 10, 0.35, 61), 0.4f},
        {"Player_Earth_Punch", EarthPunch(), 0.4f},
        {"Player_FireBurst", FireBurst(), 0.4f},
        {"Player_Die", PlayerDie(), 0.4f},
        {"Button_GoForward", Blip(880.0, 1318.5, 0.06), 0.4f},
        {"Button_GoBack", Blip(1318.5, 880.0, 0.06), 0.4f},
        {"Button_Rollover", Rollover(), 0.4f},
        {"AirEnemy_Die", EnemyDie(), 0.4f},
        {"AirEnemy_Shoot", EnemyShoot(), 0.4f},
        {"Checkpoint", Checkpoint(), 0.4f},
        {"Level1_WinStinger", Stinger(level1, 1.0), 0.3f},
        {"Level3_WinStinger", Stinger(level3, 1.3), 0.3f},
        {"Level4_WinStinger", Stinger(level4, 0.8), 0.3f},
        {"Level5_WinStinger", Stinger(level5, 1.5), 0.3f},
    };
    int failures = 0;
    for (const auto& output : outputs) {
        const auto path = folder / (std::string(output.name) + ".ogg");
        if (WriteOgg(path, output.samples, output.quality)) {
            std::printf("%-24s %6.2f s  %7ju bytes\n", output.name,
                        static_cast<double>(output.samples.size()) / Rate,
                        static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
        } else {
            std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
