#pragma once
// Frame-wise features of a recording: MFCCs for matching two voices saying
// the same words, and short-time energy for finding the pauses.
#include "align/sound.h"

#include <complex>
#include <vector>

// In-place radix-2 FFT; the size must be a power of two.
void Fft(std::vector<std::complex<float>>& a);

// Frames of `Dim` values, row after row.
struct TFeatures {
    int Dim = 0;
    int Count = 0;
    std::vector<float> Data;
    const float* Row(int i) const { return Data.data() + size_t(i) * Dim; }
    float* Row(int i) { return Data.data() + size_t(i) * Dim; }
};

struct TMfccParams {
    int HopMs = 10;
    int WindowMs = 25;
    int Filters = 26;
    int Coefficients = 10; // c1..cN: the higher ones tell voices apart more than sounds
    bool Loudness = true;  // c0 too, as the first value
    double LowHz = 100;
    double HighHz = 6000; // lowered for recordings that hold less
};

// MFCCs, one frame per hop, frame i centred at i * hop; each coefficient
// normalized to mean 0 and variance 1 over the recording, which takes out
// most of the difference between two microphones or two voices.
TFeatures Mfcc(const TSound& s, const TMfccParams& p);

// Averages of `factor` consecutive frames (the last group may be shorter).
TFeatures Downsample(const TFeatures& f, int factor);

// Energy in dB (full scale 0 dB) of frames every `hopMs`, each over
// `2 * hopMs`, frame i centred at i * hop.
std::vector<float> EnergyDb(const TSound& s, int hopMs);
