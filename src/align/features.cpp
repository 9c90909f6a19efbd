#include "align/features.h"

#include <algorithm>
#include <cmath>
#include <numbers>

void Fft(std::vector<std::complex<float>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double ang = -2 * std::numbers::pi / double(len);
        const std::complex<float> wl(float(std::cos(ang)), float(std::sin(ang)));
        for (size_t i = 0; i < n; i += len) {
            std::complex<float> w(1, 0);
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<float> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= wl;
            }
        }
    }
}

namespace {

double hzToMel(double hz) {
    return 2595 * std::log10(1 + hz / 700);
}
double melToHz(double mel) {
    return 700 * (std::pow(10, mel / 2595) - 1);
}

// Triangular filters over the bins of an FFT of size n.
std::vector<std::vector<float>> melBank(int filters, int n, int rate, double lo, double hi) {
    hi = std::min(hi, rate / 2.0);
    std::vector<double> edges(size_t(filters) + 2);
    for (int i = 0; i < filters + 2; ++i)
        edges[size_t(i)] = melToHz(hzToMel(lo) + (hzToMel(hi) - hzToMel(lo)) * i / (filters + 1));
    std::vector<std::vector<float>> bank(size_t(filters), std::vector<float>(size_t(n / 2 + 1)));
    for (int f = 0; f < filters; ++f) {
        const double a = edges[size_t(f)], b = edges[size_t(f) + 1], c = edges[size_t(f) + 2];
        for (int k = 0; k <= n / 2; ++k) {
            const double hz = double(k) * rate / n;
            double w = 0;
            if (hz > a && hz <= b)
                w = (hz - a) / (b - a);
            else if (hz > b && hz < c)
                w = (c - hz) / (c - b);
            bank[size_t(f)][size_t(k)] = float(w);
        }
    }
    return bank;
}

void normalize(TFeatures& f) {
    if (f.Count == 0) return;
    for (int d = 0; d < f.Dim; ++d) {
        double sum = 0, sq = 0;
        for (int i = 0; i < f.Count; ++i) {
            const double v = f.Row(i)[d];
            sum += v;
            sq += v * v;
        }
        const double mean = sum / f.Count;
        const double sd = std::sqrt(std::max(1e-9, sq / f.Count - mean * mean));
        for (int i = 0; i < f.Count; ++i)
            f.Row(i)[d] = float((f.Row(i)[d] - mean) / sd);
    }
}

} // namespace

TFeatures Mfcc(const TSound& s, const TMfccParams& p) {
    const int hop = s.Rate * p.HopMs / 1000;
    const int win = s.Rate * p.WindowMs / 1000;
    int n = 1;
    while (n < win)
        n <<= 1;
    const auto bank = melBank(p.Filters, n, s.Rate, p.LowHz, p.HighHz);
    std::vector<float> window(static_cast<size_t>(win));
    for (int i = 0; i < win; ++i)
        window[size_t(i)] = float(0.54 - 0.46 * std::cos(2 * std::numbers::pi * i / (win - 1)));
    // DCT-II rows for c1..cN.
    const int first = p.Loudness ? 0 : 1, dim = p.Coefficients + 1 - first;
    std::vector<float> dct(size_t(dim) * size_t(p.Filters));
    for (int c = 0; c < dim; ++c)
        for (int f = 0; f < p.Filters; ++f)
            dct[size_t(c * p.Filters + f)] =
                float(std::cos(std::numbers::pi * (c + first) * (f + 0.5) / p.Filters));

    TFeatures out;
    out.Dim = dim;
    out.Count = hop > 0 ? int((s.Samples.size() + size_t(hop) - 1) / size_t(hop)) : 0;
    out.Data.assign(size_t(out.Count) * size_t(out.Dim), 0.f);
    std::vector<std::complex<float>> buf(static_cast<size_t>(n));
    std::vector<float> logMel(size_t(p.Filters));
    // A fixed faint dither: digital silence and a noise floor then look alike.
    quint32 seed = 12345;
    const auto dither = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return (float(seed >> 8) / float(1 << 24) - 0.5f) * 2e-4f;
    };
    const qint64 total = qint64(s.Samples.size());
    for (int i = 0; i < out.Count; ++i) {
        const qint64 start = qint64(i) * hop - win / 2;
        for (int k = 0; k < n; ++k) {
            float v = 0;
            if (k < win) {
                const qint64 at = start + k;
                const float x = at >= 0 && at < total ? s.Samples[size_t(at)] : 0.f;
                v = (x + dither()) * window[size_t(k)];
            }
            buf[size_t(k)] = {v, 0.f};
        }
        Fft(buf);
        for (int f = 0; f < p.Filters; ++f) {
            const auto& w = bank[size_t(f)];
            double e = 0;
            for (int k = 0; k <= n / 2; ++k)
                if (w[size_t(k)] != 0) e += w[size_t(k)] * std::norm(buf[size_t(k)]);
            logMel[size_t(f)] = float(std::log(e + 1e-10));
        }
        float* row = out.Row(i);
        for (int c = 0; c < dim; ++c) {
            float acc = 0;
            for (int f = 0; f < p.Filters; ++f)
                acc += dct[size_t(c * p.Filters + f)] * logMel[size_t(f)];
            row[c] = acc;
        }
    }
    normalize(out);
    return out;
}

TFeatures Downsample(const TFeatures& f, int factor) {
    TFeatures out;
    out.Dim = f.Dim;
    out.Count = (f.Count + factor - 1) / factor;
    out.Data.assign(size_t(out.Count) * size_t(out.Dim), 0.f);
    for (int i = 0; i < out.Count; ++i) {
        const int a = i * factor, b = std::min(f.Count, a + factor);
        float* row = out.Row(i);
        for (int j = a; j < b; ++j)
            for (int d = 0; d < f.Dim; ++d)
                row[d] += f.Row(j)[d];
        for (int d = 0; d < f.Dim; ++d)
            row[d] /= float(b - a);
    }
    return out;
}

std::vector<float> EnergyDb(const TSound& s, int hopMs) {
    const qint64 hop = qint64(s.Rate) * hopMs / 1000;
    std::vector<float> out;
    if (hop <= 0) return out;
    const qint64 total = qint64(s.Samples.size());
    out.resize(size_t((total + hop - 1) / hop));
    for (size_t i = 0; i < out.size(); ++i) {
        const qint64 a = std::max<qint64>(0, qint64(i) * hop - hop),
                     b = std::min(total, qint64(i) * hop + hop);
        double sq = 0;
        for (qint64 k = a; k < b; ++k)
            sq += double(s.Samples[size_t(k)]) * s.Samples[size_t(k)];
        out[i] = float(10 * std::log10(sq / double(std::max<qint64>(1, b - a)) + 1e-12));
    }
    return out;
}
