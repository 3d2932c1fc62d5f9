#include "tools/demo-assets/Song.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vorn::demoassets {

namespace {

constexpr double kPi = 3.14159265358979323846;

double noteFrequency(int midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0); }

// A small linear-congruential noise source: reproducible on every platform.
struct Noise {
    uint32_t state = 0x1234567u;
    double next() {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 23) - 1.0;
    }
};

double kick(double t) {
    if (t < 0.0 || t > 0.35) return 0.0;
    // Pitch falls from 165 Hz to 45 Hz; the phase is the integral of that sweep.
    double phase = 2.0 * kPi * (45.0 * t + 120.0 * (1.0 - std::exp(-t * 30.0)) / 30.0);
    return std::sin(phase) * std::exp(-t * 9.0);
}

double hat(double t, double noise) {
    if (t < 0.0 || t > 0.08) return 0.0;
    return noise * std::exp(-t * 60.0) * 0.35;
}

double saw(double phase) { return 2.0 * (phase - std::floor(phase + 0.5)); }

double bassNote(double t, int note) {
    if (t < 0.0) return 0.0;
    double f = noteFrequency(note);
    double env = std::exp(-t * 4.0);
    return (0.6 * saw(f * t) + 0.4 * std::sin(2.0 * kPi * f * t)) * env;
}

double padChord(double t, const int* notes, double length) {
    if (t < 0.0 || t > length) return 0.0;
    double env = std::min(1.0, t / 0.4) * std::min(1.0, (length - t) / 0.3);
    double sum = 0.0;
    for (int i = 0; i < 3; ++i) {
        double f = noteFrequency(notes[i]);
        sum += saw(f * t * 1.003) + saw(f * t * 0.997);
    }
    return sum * env / 6.0;
}

double pluck(double t, int note) {
    if (t < 0.0 || t > 0.5) return 0.0;
    double f = noteFrequency(note);
    return std::sin(2.0 * kPi * f * t + 1.5 * std::sin(2.0 * kPi * f * 2.0 * t) * std::exp(-t * 8.0)) *
           std::exp(-t * 10.0);
}

// Am - F - C - G, one chord a bar.
constexpr int kChords[4][3] = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62}};
constexpr int kBassRoots[4] = {33, 29, 36, 31};
constexpr int kArpeggio[8] = {0, 1, 2, 1, 0, 2, 1, 2};

}  // namespace

std::vector<int16_t> renderSong() {
    const double beat = 60.0 / kBeatsPerMinute;
    const double bar = 4.0 * beat;
    const std::size_t frames = std::size_t(kBars * bar * kSampleRate);
    std::vector<int16_t> out(frames * 2);
    Noise noise;

    for (std::size_t i = 0; i < frames; ++i) {
        double t = double(i) / kSampleRate;
        int barIndex = int(t / bar);
        double inBar = t - barIndex * bar;
        int chord = barIndex % 4;
        double inBeat = std::fmod(t, beat);
        double inEighth = std::fmod(t, beat / 2.0);
        int eighth = int(inBar / (beat / 2.0));

        // Sections: intro (pad only), build (bass, hats), main (everything), outro (pad, fading).
        bool drums = barIndex >= 8 && barIndex < 28;
        bool bass = barIndex >= 4 && barIndex < 30;
        bool lead = barIndex >= 16 && barIndex < 28;
        double fade = barIndex >= 28 ? std::max(0.0, 1.0 - (t - 28 * bar) / (4 * bar)) : 1.0;

        double n = noise.next();
        double left = 0.0, right = 0.0;
        double pad = padChord(inBar, kChords[chord], bar) * 0.35;
        left += pad;
        right += pad;
        if (drums) {
            double k = kick(inBeat) * 0.9;
            double h = hat(inEighth - beat / 4.0, n);
            left += k + h * 0.7;
            right += k + h;
        }
        if (bass) {
            double b = bassNote(inEighth, kBassRoots[chord] + (eighth % 2 ? 12 : 0)) * 0.35;
            left += b;
            right += b;
        }
        if (lead) {
            double p = pluck(inEighth, kChords[chord][kArpeggio[eighth]] + 12) * 0.25;
            left += p * 0.6;
            right += p;
        }
        left = std::tanh(left * fade);
        right = std::tanh(right * fade);
        out[2 * i] = int16_t(std::lround(left * 30000.0));
        out[2 * i + 1] = int16_t(std::lround(right * 30000.0));
    }
    return out;
}

}  // namespace vorn::demoassets
