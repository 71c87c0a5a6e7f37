// The Kelvra soundtrack, synthesised from scratch with fixed seeds and written as a 16-bit stereo WAV
// (usage: compose OUT.wav).

#include <math.h>
#include <stdint.h>
#include <stdio.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// ---------------------------------------------------------------- timing --

constexpr int RATE = 44100;
constexpr double PI = 3.14159265358979323846;
// Key A minor. The tempo makes the intro, which plays under the menu screen, exactly 9 bars long.
constexpr double INTRO_END = 17.0;  // the menu screen lasts this long
constexpr int INTRO_BARS = 9;
constexpr double BAR = INTRO_END / INTRO_BARS;  // ~127 BPM
constexpr double STEP = BAR / 16.0;             // one 16th note
constexpr int BARS = 52;
constexpr double LENGTH = 100.0;
constexpr double FADE_START = 80.0;
constexpr double FADE_END = 98.5;

double BarTime(int bar, double step = 0.0)
{
    return bar * BAR + step * STEP;
}
double MidiHz(double note)
{
    return 440.0 * pow(2.0, (note - 69.0) / 12.0);
}
long ToIndex(double seconds)
{
    return lround(seconds * RATE);
}

// ------------------------------------------------------------ primitives --

// Fixed-seed xorshift so every build produces the identical file.
struct Rng {
    uint32_t state;
    explicit Rng(uint32_t seed) : state(seed) {}
    double Next()
    {  // uniform in [-1, 1)
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state / 2147483648.0 - 1.0;
    }
};

// A stereo bus; voices add into it with equal-power panning.
struct Stereo {
    std::vector<float> l, r;
    explicit Stereo(size_t n) : l(n, 0.0f), r(n, 0.0f) {}
    size_t Size() const { return l.size(); }
    void Add(long i, double v, double pan)
    {
        if (i < 0 || static_cast<size_t>(i) >= Size()) {
            return;
        }
        const double a = (pan + 1.0) * PI / 4.0;
        l[i] += static_cast<float>(v * cos(a) * sqrt(2.0));
        r[i] += static_cast<float>(v * sin(a) * sqrt(2.0));
    }
};

// PolyBLEP correction removes most aliasing from the naive saw/pulse.
double PolyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double SawAt(double phase, double dt)
{
    return 2.0 * phase - 1.0 - PolyBlep(phase, dt);
}

double PulseAt(double phase, double dt, double width)
{
    double shifted = phase + (1.0 - width);
    shifted -= floor(shifted);
    return SawAt(phase, dt) - SawAt(shifted, dt);
}

// Phase accumulator shared by the oscillators.
struct Osc {
    double phase = 0.0;
    double dt = 0.0;
    void SetFreq(double hz) { dt = hz / RATE; }
    void Tick()
    {
        phase += dt;
        phase -= floor(phase);
    }
};

// Zero-delay-feedback state-variable filter: stable under fast cutoff sweeps.
struct Svf {
    double ic1 = 0.0, ic2 = 0.0;
    double low = 0.0, band = 0.0, high = 0.0;
    void Process(double in, double cutoff, double q)
    {
        cutoff = std::clamp(cutoff, 20.0, RATE * 0.45);
        const double g = tan(PI * cutoff / RATE);
        const double k = 1.0 / q;
        const double a1 = 1.0 / (1.0 + g * (g + k));
        const double a2 = g * a1;
        const double a3 = g * a2;
        const double v3 = in - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        low = v2;
        band = v1;
        high = in - k * v1 - v2;
    }
};

// Attack / decay-to-sustain while held, exponential release afterwards.
double Adsr(double t, double hold, double attack, double decay, double sustain, double release)
{
    auto held = [&](double x) {
        if (x < attack) {
            return x / attack;
        }
        return sustain + (1.0 - sustain) * exp(-(x - attack) / decay);
    };
    if (t < hold) {
        return held(t);
    }
    return held(hold) * exp(-(t - hold) / release);
}

// ------------------------------------------------------------- harmony --

struct Chord {
    int bass;                // root for the bass line (octave 1-2)
    std::array<int, 4> pad;  // voiced close to neighbouring chords
    std::array<int, 4> arp;  // chord tones one octave up
};

enum ChordId { AM, F, C, G, DM, E, CHORD_COUNT };  // AM and DM are the minor chords

const std::array<Chord, CHORD_COUNT> CHORDS = {{
    {33, {45, 57, 60, 64}, {69, 72, 76, 81}},  // Am
    {29, {41, 57, 60, 65}, {69, 72, 77, 81}},  // F
    {36, {48, 55, 60, 64}, {67, 72, 76, 79}},  // C
    {31, {43, 55, 59, 62}, {67, 71, 74, 79}},  // G
    {38, {50, 57, 62, 65}, {69, 74, 77, 81}},  // Dm
    {28, {40, 56, 59, 64}, {68, 71, 76, 80}},  // E (raised 7th pulls back to Am)
}};

enum Section { INTRO, THEME_A, THEME_A2, BREAKDOWN, PART_B, CLIMAX, OUTRO };

struct BarInfo {
    Section section;
    ChordId chord;
    int index;  // bar number within its section
};

// One chord per bar; sections are listed in playing order:
//   bars 0-8   intro      pads, arpeggio, light hats, bell line, build-up
//   9-16       theme A    full drums, octave bass, lead melody
//   17-24      theme A2   lead in thirds, open hats, arpeggio
//   25-29      breakdown  no kick, pads + bell echo, then a snare-roll build
//   30-37      B part     new progression and melody, syncopated bass
//   38-41      climax     theme doubled in octaves
//   42-51      outro      last theme statement, instruments drop out, fade
std::vector<BarInfo> BuildArrangement()
{
    struct Part {
        Section section;
        std::vector<ChordId> chords;
    };
    const std::vector<Part> parts = {
        {INTRO, {AM, AM, F, C, G, AM, F, C, G}},      {THEME_A, {AM, F, C, G, AM, F, C, G}},
        {THEME_A2, {AM, F, C, G, AM, F, C, G}},       {BREAKDOWN, {F, G, AM, AM, E}},
        {PART_B, {DM, F, C, G, DM, F, E, E}},         {CLIMAX, {AM, F, C, G}},
        {OUTRO, {AM, F, C, G, AM, F, G, AM, AM, AM}},
    };
    std::vector<BarInfo> bars;
    for (const Part& p : parts) {
        for (size_t i = 0; i < p.chords.size(); ++i) {
            bars.push_back({p.section, p.chords[i], static_cast<int>(i)});
        }
    }
    return bars;
}

// ------------------------------------------------------------- melodies --

struct Note {
    double step;  // 16ths from the phrase start
    double len;   // in 16ths
    int pitch;    // MIDI
};
using Phrase = std::vector<Note>;

// The main theme over Am-F-C-G; the last bar comes in three endings.
const Phrase THEME_BODY = {
    {0, 3, 76},  {3, 3, 72},  {6, 2, 69},  {8, 4, 76},  {12, 2, 74}, {14, 2, 72}, {16, 3, 77}, {19, 3, 76}, {22, 4, 72},
    {26, 2, 69}, {28, 4, 72}, {32, 3, 79}, {35, 3, 76}, {38, 2, 72}, {40, 4, 79}, {44, 2, 81}, {46, 2, 79},
};
const Phrase ENDING_OPEN = {{48, 6, 74}, {54, 2, 71}, {56, 8, 67}};
const Phrase ENDING_TURN = {{48, 4, 79}, {52, 2, 77}, {54, 2, 76}, {56, 4, 74}, {60, 4, 71}};
const Phrase ENDING_FINAL = {{48, 6, 74},
                             {54, 2, 76},
                             {56, 8, 79},
                             // winding down over Am-F-G-Am, ending on a long A
                             {64, 8, 76},
                             {72, 8, 72},
                             {80, 12, 72},
                             {92, 4, 69},
                             {96, 8, 71},
                             {104, 8, 74},
                             {112, 40, 69}};

// Part B melody over Dm-F-C-G-Dm-F-E-E.
const Phrase PART_B_MELODY = {
    {0, 6, 77},   {6, 2, 76},   {8, 4, 74},    {12, 4, 69},  {16, 6, 72},  {22, 2, 74}, {24, 8, 77},
    {32, 6, 79},  {38, 2, 77},  {40, 4, 76},   {44, 4, 72},  {48, 12, 74}, {60, 4, 71}, {64, 6, 81},
    {70, 2, 79},  {72, 4, 77},  {76, 4, 74},   {80, 6, 77},  {86, 2, 79},  {88, 8, 81}, {96, 6, 83},
    {102, 2, 81}, {104, 8, 80}, {112, 12, 80}, {124, 4, 83},
};

// Slow bell line in the intro, rising towards the theme's first note.
const Phrase INTRO_BELL = {{0, 16, 76}, {16, 16, 77}, {32, 16, 79}, {48, 8, 74}, {56, 8, 71}};

// The breakdown recalls fragments of the theme on the bell (F, G, Am, Am).
const Phrase BREAK_BELL = {
    {0, 3, 77},  {3, 3, 76},  {6, 4, 72},  {10, 6, 69}, {16, 6, 74}, {22, 2, 71},
    {24, 8, 67}, {32, 3, 76}, {35, 3, 72}, {38, 2, 69}, {40, 8, 76}, {48, 16, 72},
};

Phrase Concat(const Phrase& a, const Phrase& b)
{
    Phrase out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

Phrase Transpose(const Phrase& p, int semitones)
{
    Phrase out = p;
    for (Note& n : out) {
        n.pitch += semitones;
    }
    return out;
}

// Moves each note down by `degrees` steps of A natural minor (for harmonies).
Phrase DiatonicBelow(const Phrase& p, int degrees)
{
    static const std::array<int, 7> SCALE = {9, 11, 0, 2, 4, 5, 7};
    Phrase out = p;
    for (Note& n : out) {
        for (int d = 0; d < degrees; ++d) {
            do {
                --n.pitch;
            } while (std::find(SCALE.begin(), SCALE.end(), ((n.pitch % 12) + 12) % 12) == SCALE.end());
        }
    }
    return out;
}

// -------------------------------------------------------------- drums --

// Noise limited to [low, high] Hz. Keeping it well below Nyquist matters:
// the encoder drops the top octave, and full-band noise bursts would then
// come back with much higher peaks.
struct BandNoise {
    Svf hp, lp;
    double Next(Rng& rng, double low, double high)
    {
        hp.Process(rng.Next(), low, 0.7);
        lp.Process(hp.high, high, 0.7);
        return lp.low;
    }
};

void Kick(Stereo& out, double t0, double vel, Rng& rng)
{
    const long i0 = ToIndex(t0);
    const int n = ToIndex(0.5);
    double phase = 0.0;
    BandNoise noise;
    for (int k = 0; k < n; ++k) {
        const double t = static_cast<double>(k) / RATE;
        phase += (46.0 + 125.0 * exp(-t / 0.03)) / RATE;  // pitch drop = punch
        const double body = sin(2.0 * PI * phase) * exp(-t / 0.3) * std::min(1.0, t / 0.001);
        const double click = noise.Next(rng, 1000.0, 5000.0) * exp(-t / 0.003) * 0.5;
        out.Add(i0 + k, tanh(1.6 * body + click) * vel, 0.0);
    }
}

void Snare(Stereo& out, double t0, double vel, Rng& rng)
{
    const long i0 = ToIndex(t0);
    const int n = ToIndex(0.45);
    BandNoise noise;
    for (int k = 0; k < n; ++k) {
        const double t = static_cast<double>(k) / RATE;
        const double tone =
            sin(2.0 * PI * 185.0 * t) * exp(-t / 0.05) * 0.5 + sin(2.0 * PI * 330.0 * t) * exp(-t / 0.03) * 0.25;
        const double rattle = noise.Next(rng, 1800.0, 9000.0) * exp(-t / 0.13);
        out.Add(i0 + k, (tone + rattle) * vel, 0.05);
    }
}

void Hat(Stereo& out, double t0, double vel, double decay, Rng& rng)
{
    const long i0 = ToIndex(t0);
    const int n = ToIndex(decay * 6.0);
    BandNoise noise;
    for (int k = 0; k < n; ++k) {
        const double t = static_cast<double>(k) / RATE;
        out.Add(i0 + k, noise.Next(rng, 7000.0, 13000.0) * exp(-t / decay) * vel, 0.3);
    }
}

// Long stereo noise wash to mark the start of a section.
void Crash(Stereo& out, double t0, double vel, Rng& rng)
{
    const long i0 = ToIndex(t0);
    const int n = ToIndex(3.0);
    BandNoise left, right;
    for (int k = 0; k < n; ++k) {
        const double t = static_cast<double>(k) / RATE;
        const double env = exp(-t / 0.9) * std::min(1.0, t / 0.01) * vel;
        out.Add(i0 + k, left.Next(rng, 4000.0, 12000.0) * env, -1.0);
        out.Add(i0 + k, right.Next(rng, 4000.0, 12000.0) * env, 1.0);
    }
}

// Rising band-passed noise sweep that builds tension into a new section.
void Riser(Stereo& out, double t0, double dur, double vel, Rng& rng)
{
    const long i0 = ToIndex(t0);
    const int n = ToIndex(dur);
    Svf bp;
    for (int k = 0; k < n; ++k) {
        const double x = static_cast<double>(k) / n;
        bp.Process(rng.Next(), 300.0 * pow(16.0, x), 2.5);  // up to ~5 kHz
        out.Add(i0 + k, bp.band * x * x * vel, sin(x * 12.0) * 0.6);
    }
}

// --------------------------------------------------------------- voices --

void BassNote(Stereo& out, double t0, double dur, int pitch, double vel, double bright)
{
    const long i0 = ToIndex(t0);
    const int n = ToIndex(dur + 0.05);
    Osc saw, sub;
    saw.SetFreq(MidiHz(pitch));
    sub.SetFreq(MidiHz(pitch));
    Svf lp;
    for (int k = 0; k < n; ++k) {
        const double t = static_cast<double>(k) / RATE;
        const double env = Adsr(t, dur, 0.004, 0.3, 0.8, 0.02);
        const double cutoff = 120.0 + bright * (250.0 + 1600.0 * exp(-t / 0.07));
        lp.Process(SawAt(saw.phase, saw.dt), cutoff, 1.4);
        const double v = lp.low * 0.8 + sin(2.0 * PI * sub.phase) * 0.5;
        out.Add(i0 + k, v * env * vel, 0.0);
        saw.Tick();
        sub.Tick();
    }
}

// Three detuned saws per note, spread across the stereo field.
void PadNote(Stereo& out, double t0, double dur, int pitch, double vel, double cutoff, Rng& rng)
{
    const long i0 = ToIndex(t0);
    const double release = 0.9;
    const int n = ToIndex(dur + release * 4.0);
    static const std::array<double, 3> DETUNE = {-0.09, 0.0, 0.11};
    static const std::array<double, 3> PAN = {-0.7, 0.0, 0.7};
    std::array<Osc, 3> osc;
    for (size_t v = 0; v < osc.size(); ++v) {
        osc[v].SetFreq(MidiHz(pitch + DETUNE[v]));
        osc[v].phase = rng.Next() * 0.5 + 0.5;  // random start phases avoid a click-y unison
    }
    std::array<Svf, 3> lp;
    for (int k = 0; k < n; ++k) {
        const double t = static_cast<double>(k) / RATE;
        const double env = Adsr(t, dur, 0.5, 1.0, 0.85, release) * vel;
        const double wobble = 1.0 + 0.15 * sin(2.0 * PI * 0.3 * (t0 + t));
        for (size_t v = 0; v < osc.size(); ++v) {
            lp[v].Process(SawAt(osc[v].phase, osc[v].dt), cutoff * wobble, 0.7);
            out.Add(i0 + k, lp[v].low * env, PAN[v]);
            osc[v].Tick();
        }
    }
}

// Short plucked pulse for arpeggios; `bright` opens the filter.
void Pluck(Stereo& out, double t0, int pitch, double vel, double bright, double pan)
{
    const long i0 = ToIndex(t0);
    const int n = ToIndex(0.6);
    Osc osc;
    osc.SetFreq(MidiHz(pitch));
    Svf lp;
    for (int k = 0; k < n; ++k) {
        const double t = static_cast<double>(k) / RATE;
        const double cutoff = 400.0 + bright * 4000.0 * exp(-t / 0.06);
        lp.Process(PulseAt(osc.phase, osc.dt, 0.3), cutoff, 1.2);
        const double env = exp(-t / 0.13) * std::min(1.0, t / 0.002);
        out.Add(i0 + k, lp.low * env * vel, pan);
        osc.Tick();
    }
}

// Lead: two detuned saws plus a square, delayed vibrato, filter envelope.
void LeadNote(Stereo& out, double t0, double dur, int pitch, double vel, double pan)
{
    const long i0 = ToIndex(t0);
    const double release = 0.18;
    const int n = ToIndex(dur + release * 5.0);
    Osc a, b, c;
    Svf lp;
    for (int k = 0; k < n; ++k) {
        const double t = static_cast<double>(k) / RATE;
        const double vibDepth = 0.2 * std::clamp((t - 0.25) / 0.3, 0.0, 1.0);
        const double p = pitch + vibDepth * sin(2.0 * PI * 5.5 * t);
        a.SetFreq(MidiHz(p - 0.06));
        b.SetFreq(MidiHz(p + 0.06));
        c.SetFreq(MidiHz(p - 12.0));
        const double raw = 0.5 * SawAt(a.phase, a.dt) + 0.5 * SawAt(b.phase, b.dt) + 0.35 * PulseAt(c.phase, c.dt, 0.5);
        const double cutoff = 1400.0 + 3200.0 * exp(-t / 0.15);
        lp.Process(raw, cutoff, 1.1);
        out.Add(i0 + k, lp.low * Adsr(t, dur, 0.008, 0.25, 0.75, release) * vel, pan);
        a.Tick();
        b.Tick();
        c.Tick();
    }
}

// Two-operator FM bell: a soft, glassy tone for the calm parts.
void BellNote(Stereo& out, double t0, int pitch, double vel, double pan)
{
    const long i0 = ToIndex(t0);
    const int n = ToIndex(3.0);
    const double f = MidiHz(pitch);
    for (int k = 0; k < n; ++k) {
        const double t = static_cast<double>(k) / RATE;
        const double index = 2.0 * exp(-t / 0.4);
        const double mod = sin(2.0 * PI * 3.5 * f * t) * index;
        const double env = exp(-t / 0.9) * std::min(1.0, t / 0.003);
        out.Add(i0 + k, sin(2.0 * PI * f * t + mod) * env * vel, pan);
    }
}

// -------------------------------------------------------------- effects --

// Ping-pong delay: the echo alternates between left and right.
Stereo PingPong(const Stereo& in, double seconds, double feedback)
{
    Stereo out(in.Size());
    const size_t d = static_cast<size_t>(ToIndex(seconds));
    std::vector<float> bufL(d, 0.0f), bufR(d, 0.0f);
    double dampL = 0.0, dampR = 0.0;
    for (size_t i = 0; i < in.Size(); ++i) {
        const size_t j = i % d;
        const double echoL = bufL[j], echoR = bufR[j];
        dampL += 0.35 * (echoR - dampL);  // darkening each repeat sounds natural
        dampR += 0.35 * (echoL - dampR);
        bufL[j] = static_cast<float>(0.5 * (in.l[i] + in.r[i]) + feedback * dampL);
        bufR[j] = static_cast<float>(feedback * dampR);
        out.l[i] = static_cast<float>(echoL);
        out.r[i] = static_cast<float>(echoR);
    }
    return out;
}

// Eight-line feedback delay network with a Householder mix and damping.
Stereo Reverb(const Stereo& in, double feedback, double damping)
{
    constexpr size_t LINE_COUNT = 8;
    static const std::array<size_t, LINE_COUNT> LINE_LENGTHS = {1117, 1277, 1423, 1559, 1733, 1889, 2029, 2203};
    std::array<std::vector<float>, LINE_COUNT> lines;
    std::array<size_t, LINE_COUNT> pos{};
    std::array<double, LINE_COUNT> lowpass{};
    for (size_t k = 0; k < LINE_COUNT; ++k) {
        lines[k].assign(LINE_LENGTHS[k], 0.0f);
    }
    Stereo out(in.Size());
    for (size_t i = 0; i < in.Size(); ++i) {
        std::array<double, LINE_COUNT> taps{};
        double sum = 0.0;
        for (size_t k = 0; k < LINE_COUNT; ++k) {
            lowpass[k] += (1.0 - damping) * (lines[k][pos[k]] - lowpass[k]);
            taps[k] = lowpass[k];
            sum += taps[k];
        }
        double l = 0.0, r = 0.0;
        for (size_t k = 0; k < LINE_COUNT; ++k) {
            const double mixed = taps[k] - 2.0 / LINE_COUNT * sum;
            const double input = (k % 2 == 0) ? in.l[i] : in.r[i];
            lines[k][pos[k]] = static_cast<float>(input + feedback * mixed);
            pos[k] = (pos[k] + 1) % LINE_LENGTHS[k];
            (k % 2 == 0 ? l : r) += taps[k];
        }
        out.l[i] = static_cast<float>(l * 0.25);
        out.r[i] = static_cast<float>(r * 0.25);
    }
    return out;
}

// ---------------------------------------------------------- composition --

struct Mix {
    explicit Mix(size_t n) : kick(n), drums(n), bass(n), pad(n), arp(n), lead(n), bell(n), fx(n) {}
    Stereo kick, drums, bass, pad, arp, lead, bell, fx;
    std::vector<double> kickTimes;  // drives the sidechain ducking
};

void AddKick(Mix& m, double t, double vel, Rng& rng)
{
    Kick(m.kick, t, vel, rng);
    m.kickTimes.push_back(t);
}

// A 16th-note snare roll that swells across the given steps of a bar.
void SnareRoll(Mix& m, int bar, int fromStep, double maxVel, Rng& rng)
{
    for (int s = fromStep; s < 16; ++s) {
        const double x = static_cast<double>(s - fromStep + 1) / (16 - fromStep);
        Snare(m.drums, BarTime(bar, s), maxVel * (0.25 + 0.75 * x), rng);
    }
}

void ComposeDrums(Mix& m, const std::vector<BarInfo>& bars, Rng& rng)
{
    for (int b = 0; b < BARS; ++b) {
        const BarInfo& info = bars[b];
        const bool sectionStart = info.index == 0;
        const bool phraseEnd = info.index % 8 == 7;
        auto hats16 = [&](double loud, double soft, double decay) {
            for (int s = 0; s < 16; ++s) {
                Hat(m.drums, BarTime(b, s), (s % 4 == 2 ? loud : soft) * (1.0 + 0.15 * rng.Next()), decay, rng);
            }
        };
        auto fourFloor = [&](double vel) {
            for (int s = 0; s < 16; s += 4) {
                AddKick(m, BarTime(b, s), vel, rng);
            }
        };
        auto backbeat = [&](double vel) {
            Snare(m.drums, BarTime(b, 4), vel, rng);
            Snare(m.drums, BarTime(b, 12), vel, rng);
        };
        switch (info.section) {
        case INTRO:
            if (b >= 3 && b < 8) {
                for (int s = 2; s < 16; s += 4) {
                    Hat(m.drums, BarTime(b, s), 0.10 + 0.02 * b, 0.04, rng);
                }
            }
            if (b >= 5 && b < 8) {
                AddKick(m, BarTime(b), 0.45, rng);  // a soft heartbeat
            }
            if (b == 8) {
                hats16(0.22, 0.08, 0.03);
                SnareRoll(m, b, 8, 0.45, rng);
                Riser(m.fx, BarTime(b), BAR, 0.3, rng);
            }
            break;
        case THEME_A:
        case THEME_A2:
        case CLIMAX:
            if (sectionStart) {
                Crash(m.fx, BarTime(b), 0.35, rng);
            }
            fourFloor(0.95);
            backbeat(0.55);
            if (info.section == THEME_A) {
                hats16(0.22, 0.07, 0.035);
            } else {
                for (int s = 0; s < 16; ++s) {
                    Hat(m.drums, BarTime(b, s), s % 4 == 2 ? 0.18 : 0.08, s % 4 == 2 ? 0.16 : 0.03, rng);
                }
                if (info.index % 4 == 3) {
                    AddKick(m, BarTime(b, 14), 0.6, rng);
                }
            }
            if (phraseEnd) {
                SnareRoll(m, b, 13, 0.45, rng);
            }
            break;
        case BREAKDOWN:
            if (info.index == 2 || info.index == 3) {
                for (int s = 0; s < 16; s += 4) {
                    Hat(m.drums, BarTime(b, s + 2), 0.1, 0.05, rng);
                }
            }
            if (info.index == 4) {
                for (int s = 0; s < 16; s += 4) {
                    AddKick(m, BarTime(b, s), 0.4 + 0.1 * s / 4, rng);
                }
                SnareRoll(m, b, 0, 0.5, rng);
                Riser(m.fx, BarTime(b), BAR, 0.35, rng);
            }
            break;
        case PART_B:
            if (sectionStart) {
                Crash(m.fx, BarTime(b), 0.35, rng);
            }
            fourFloor(0.95);
            backbeat(0.55);
            Snare(m.drums, BarTime(b, 15), 0.15, rng);  // ghost note for swing
            hats16(0.2, 0.09, 0.04);
            if (info.index == 7) {
                Riser(m.fx, BarTime(b), BAR, 0.3, rng);
            }
            break;
        case OUTRO:
            if (sectionStart) {
                Crash(m.fx, BarTime(b), 0.35, rng);
            }
            if (info.index < 4) {
                fourFloor(0.9);
                if (info.index < 3) {
                    backbeat(0.5);
                }
                hats16(0.2, 0.07, 0.035);
            } else if (info.index < 6) {
                fourFloor(0.7 - 0.15 * (info.index - 4));
                for (int s = 2; s < 16; s += 4) {
                    Hat(m.drums, BarTime(b, s), 0.14, 0.04, rng);
                }
            } else if (info.index < 8) {
                for (int s = 2; s < 16; s += 4) {
                    Hat(m.drums, BarTime(b, s), 0.08, 0.04, rng);
                }
            }
            break;
        }
    }
}

void ComposeBass(Mix& m, const std::vector<BarInfo>& bars)
{
    for (int b = 0; b < BARS; ++b) {
        const BarInfo& info = bars[b];
        const int root = CHORDS[info.chord].bass;
        auto octaves = [&](double vel) {  // driving 8ths: root, octave, root, ...
            for (int s = 0; s < 16; s += 2) {
                BassNote(m.bass, BarTime(b, s), STEP * 1.7, root + (s % 4 == 2 ? 12 : 0), vel, 1.0);
            }
        };
        switch (info.section) {
        case INTRO:
            if (b >= 5) {
                BassNote(m.bass, BarTime(b), BAR * 0.95, root, 0.35, 0.2);
            }
            break;
        case THEME_A:
        case THEME_A2:
        case CLIMAX:
            octaves(0.34);
            break;
        case BREAKDOWN:
            if (info.index < 4) {
                BassNote(m.bass, BarTime(b), BAR * 0.95, root, 0.4, 0.3);
            } else {
                for (int s = 0; s < 16; ++s) {
                    BassNote(m.bass, BarTime(b, s), STEP * 0.8, root, 0.3, 0.3 + s * 0.045);
                }
            }
            break;
        case PART_B: {
            static const std::array<std::array<int, 3>, 6> PATTERN = {{
                {0, 3, 0},
                {3, 3, 0},
                {6, 2, 12},
                {8, 3, 0},
                {11, 3, 0},
                {14, 2, 12},
            }};  // {step, length, octave}: a syncopated 3-3-2 feel
            for (const auto& p : PATTERN) {
                BassNote(m.bass, BarTime(b, p[0]), STEP * (p[1] - 0.3), root + p[2], 0.36, 1.0);
            }
            break;
        }
        case OUTRO:
            if (info.index < 4) {
                octaves(0.32);
            } else if (info.index < 7) {
                BassNote(m.bass, BarTime(b), BAR * 0.95, root, 0.38, 0.3);
            } else if (info.index == 7) {
                BassNote(m.bass, BarTime(b), LENGTH - BarTime(b) - 4.0, root, 0.35, 0.2);
            }
            break;
        }
    }
}

// Filter cutoff for the pads: opens through the intro, dips in the breakdown.
double PadCutoff(const BarInfo& info, int bar)
{
    switch (info.section) {
    case INTRO:
        return 500.0 + 160.0 * bar;
    case BREAKDOWN:
        return info.index < 4 ? 1400.0 : 2500.0;
    case OUTRO:
        return std::max(500.0, 2200.0 - 220.0 * info.index);
    default:
        return 2200.0;
    }
}

double PadLevel(Section s)
{
    switch (s) {
    case INTRO:
        return 0.1;
    case BREAKDOWN:
        return 0.11;
    case OUTRO:
        return 0.08;
    default:
        return 0.065;
    }
}

// Pads hold each chord; repeated chords are merged into one long note.
void ComposePads(Mix& m, const std::vector<BarInfo>& bars, Rng& rng)
{
    int b = 0;
    while (b < BARS) {
        int end = b + 1;
        while (end < BARS && bars[end].chord == bars[b].chord && bars[end].section == bars[b].section) {
            ++end;
        }
        const double start = BarTime(b);
        const double dur = end == BARS ? LENGTH - start - 3.0 : BarTime(end) - start;
        for (int pitch : CHORDS[bars[b].chord].pad) {
            PadNote(m.pad, start, dur, pitch, PadLevel(bars[b].section), PadCutoff(bars[b], b), rng);
        }
        b = end;
    }
}

void ComposeArp(Mix& m, const std::vector<BarInfo>& bars)
{
    static const std::array<int, 8> ORDER = {0, 1, 2, 3, 2, 1, 3, 2};
    for (int b = 0; b < BARS; ++b) {
        const BarInfo& info = bars[b];
        double vel = 0.0, bright = 0.0;
        switch (info.section) {
        case INTRO:
            vel = b == 0 ? 0.0 : 0.16;
            bright = 0.1 + 0.1 * b;
            break;
        case THEME_A:
            vel = 0.0;
            break;
        case THEME_A2:
            vel = 0.10;
            bright = 0.6;
            break;
        case BREAKDOWN:
            vel = 0.15;
            bright = 0.3 + 0.15 * info.index;
            break;
        case PART_B:
            vel = 0.09;
            bright = 0.5;
            break;
        case CLIMAX:
            vel = 0.11;
            bright = 0.8;
            break;
        case OUTRO:
            vel = info.index < 8 ? 0.13 - 0.012 * info.index : 0.0;
            bright = 0.6 - 0.06 * info.index;
            break;
        }
        if (vel <= 0.0) {
            continue;
        }
        const Chord& ch = CHORDS[info.chord];
        for (int s = 0; s < 16; ++s) {
            Pluck(m.arp, BarTime(b, s), ch.arp[ORDER[s % 8]], vel * (s % 4 == 0 ? 1.0 : 0.75), bright,
                  s % 2 == 0 ? -0.35 : 0.35);
        }
    }
}

void PlayLead(Mix& m, const Phrase& p, int startBar, double vel, double pan)
{
    for (const Note& n : p) {
        LeadNote(m.lead, BarTime(startBar, n.step), n.len * STEP * 0.92, n.pitch, vel * 1.4, pan);
    }
}

void PlayBell(Mix& m, const Phrase& p, int startBar, double vel)
{
    int i = 0;
    for (const Note& n : p) {
        BellNote(m.bell, BarTime(startBar, n.step), n.pitch, vel, (i++ % 2) ? 0.4 : -0.4);
    }
}

// Places the melodies at the bars where their sections start.
void ComposeMelodies(Mix& m)
{
    const Phrase themeOpen = Concat(THEME_BODY, ENDING_OPEN);
    const Phrase themeTurn = Concat(THEME_BODY, ENDING_TURN);

    PlayBell(m, INTRO_BELL, 5, 0.16);

    PlayLead(m, themeOpen, 9, 0.16, 0.0);
    PlayLead(m, themeTurn, 13, 0.16, 0.0);

    for (int start : {17, 21}) {  // second pass: add a third below
        const Phrase& p = start == 17 ? themeOpen : themeTurn;
        PlayLead(m, p, start, 0.15, -0.15);
        PlayLead(m, DiatonicBelow(p, 2), start, 0.09, 0.3);
    }

    PlayBell(m, BREAK_BELL, 25, 0.14);

    PlayLead(m, PART_B_MELODY, 30, 0.16, 0.0);

    PlayLead(m, Transpose(themeTurn, 12), 38, 0.11, -0.1);  // climax: octave doubling
    PlayLead(m, themeTurn, 38, 0.14, 0.1);
    PlayLead(m, DiatonicBelow(themeTurn, 2), 38, 0.07, 0.35);

    PlayLead(m, Concat(THEME_BODY, ENDING_FINAL), 42, 0.14, 0.0);
}

// ------------------------------------------------------------ mastering --

// Gain that dips after each kick so the pads and bass "breathe" with it.
std::vector<float> Sidechain(const std::vector<double>& kicks, size_t n)
{
    std::vector<float> gain(n, 1.0f);
    for (double t : kicks) {
        const long i0 = ToIndex(t);
        for (long k = 0; k < ToIndex(0.4); ++k) {
            const long i = i0 + k;
            if (i < 0 || static_cast<size_t>(i) >= n) {
                break;
            }
            const double g = 1.0 - 0.55 * exp(-static_cast<double>(k) / RATE / 0.09);
            gain[i] = std::min(gain[i], static_cast<float>(g));
        }
    }
    return gain;
}

double FadeGain(double t)
{
    if (t <= FADE_START) {
        return 1.0;
    }
    if (t >= FADE_END) {
        return 0.0;
    }
    return 0.5 * (1.0 + cos(PI * (t - FADE_START) / (FADE_END - FADE_START)));
}

// Smooth knee: linear below the threshold, tanh-shaped above it.
double SoftLimit(double x)
{
    const double threshold = 0.75;
    const double a = fabs(x);
    if (a <= threshold) {
        return x;
    }
    const double y = threshold + (1.0 - threshold) * tanh((a - threshold) / (1.0 - threshold));
    return x < 0 ? -y : y;
}

Stereo MixDown(Mix& m)
{
    const size_t n = m.kick.Size();
    const std::vector<float> duck = Sidechain(m.kickTimes, n);
    Stereo dry(n), delaySend(n), reverbSend(n);
    for (size_t i = 0; i < n; ++i) {
        const double d = duck[i];
        for (int ch = 0; ch < 2; ++ch) {
            auto at = [&](const Stereo& s) { return static_cast<double>(ch == 0 ? s.l[i] : s.r[i]); };
            const double music = at(m.pad) * d + at(m.arp) * d + at(m.bass) * (0.4 + 0.6 * d);
            const double v = at(m.kick) + at(m.drums) + music + at(m.lead) + at(m.bell) + at(m.fx);
            const double del = at(m.arp) * 0.5 + at(m.lead) * 0.35 + at(m.bell) * 0.4;
            const double rev = at(m.pad) * 0.4 + at(m.lead) * 0.3 + at(m.bell) * 0.5 + at(m.drums) * 0.15;
            (ch == 0 ? dry.l : dry.r)[i] = static_cast<float>(v);
            (ch == 0 ? delaySend.l : delaySend.r)[i] = static_cast<float>(del);
            (ch == 0 ? reverbSend.l : reverbSend.r)[i] = static_cast<float>(rev);
        }
    }
    const Stereo echo = PingPong(delaySend, STEP * 3.0, 0.4);  // dotted 8th
    const Stereo room = Reverb(reverbSend, 0.82, 0.35);
    Stereo out(n);
    for (size_t i = 0; i < n; ++i) {
        const double fade = FadeGain(static_cast<double>(i) / RATE);
        out.l[i] = static_cast<float>((dry.l[i] + 0.35 * echo.l[i] + 0.5 * room.l[i]) * fade);
        out.r[i] = static_cast<float>((dry.r[i] + 0.35 * echo.r[i] + 0.5 * room.r[i]) * fade);
    }
    return out;
}

// Scales to a fixed loudness, soft-limits peaks, and leaves ~2 dB headroom because lossy encoding overshoots peaks.
void Master(Stereo& s)
{
    double peak = 1e-9;
    for (size_t i = 0; i < s.Size(); ++i) {
        peak = std::max({peak, fabs(static_cast<double>(s.l[i])), fabs(static_cast<double>(s.r[i]))});
    }
    const double pre = 1.5 / peak;  // push the loudest transients into the knee
    for (size_t i = 0; i < s.Size(); ++i) {
        s.l[i] = static_cast<float>(0.78 * SoftLimit(s.l[i] * pre));
        s.r[i] = static_cast<float>(0.78 * SoftLimit(s.r[i] * pre));
    }
}

// ------------------------------------------------------------------ WAV --

void PutLe(FILE* f, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        fputc(static_cast<int>((v >> (8 * i)) & 0xFF), f);
    }
}

bool WriteWav(const char* path, const Stereo& s)
{
    FILE* f = fopen(path, "wb");
    if (!f) {
        return false;
    }
    const uint32_t dataBytes = static_cast<uint32_t>(s.Size() * 4);
    fputs("RIFF", f);
    PutLe(f, 36 + dataBytes, 4);
    fputs("WAVEfmt ", f);
    PutLe(f, 16, 4);
    PutLe(f, 1, 2);  // PCM
    PutLe(f, 2, 2);  // stereo
    PutLe(f, RATE, 4);
    PutLe(f, RATE * 4, 4);
    PutLe(f, 4, 2);
    PutLe(f, 16, 2);
    fputs("data", f);
    PutLe(f, dataBytes, 4);
    for (size_t i = 0; i < s.Size(); ++i) {
        for (float v : {s.l[i], s.r[i]}) {
            const long q = lround(std::clamp(static_cast<double>(v), -1.0, 1.0) * 32767.0);
            PutLe(f, static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(q))), 2);
        }
    }
    return fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUT.wav\n", argv[0]);
        return 2;
    }
    const std::vector<BarInfo> bars = BuildArrangement();
    if (static_cast<int>(bars.size()) != BARS) {
        fprintf(stderr, "arrangement has %zu bars, expected %d\n", bars.size(), BARS);
        return 1;
    }
    Mix mix(static_cast<size_t>(ToIndex(LENGTH)));
    Rng rng(0x4B656C76u);
    ComposeDrums(mix, bars, rng);
    ComposeBass(mix, bars);
    ComposePads(mix, bars, rng);
    ComposeArp(mix, bars);
    ComposeMelodies(mix);
    Stereo out = MixDown(mix);
    Master(out);
    if (!WriteWav(argv[1], out)) {
        fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    printf("wrote %s: %.1f s at %d Hz, %.2f BPM\n", argv[1], LENGTH, RATE, 240.0 / BAR);
    return 0;
}
