#include "align/synth.h"

#include "base/errors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <espeak-ng/speak_lib.h>
#include <mutex>

namespace {

// espeak-ng keeps global state: one user at a time, started once.
std::mutex g_espeak;
int g_espeakRate = 0;

std::vector<short>* g_sink = nullptr;

int collect(short* wav, int n, espeak_EVENT*) {
    if (wav && n > 0 && g_sink) g_sink->insert(g_sink->end(), wav, wav + n);
    return 0;
}

void start(int wpm) {
    if (g_espeakRate == 0) {
        const int rate =
            espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (rate <= 0)
            throw VError(QStringLiteral("espeak-ng could not be started (its voice data was not "
                                        "found)"));
        espeak_SetSynthCallback(collect);
        g_espeakRate = rate;
        std::atexit([] { espeak_Terminate(); }); // its voice data goes back before exit
    }
    if (espeak_SetVoiceByName("en-us") != EE_OK)
        throw VError(QStringLiteral("espeak-ng has no voice \"en-us\""));
    espeak_SetParameter(espeakRATE, wpm, 0);
    espeak_SetParameter(espeakPUNCTUATION, espeakPUNCT_NONE, 0);
}

} // namespace

std::pair<qint64, qint64> SpeechSpan(const std::vector<float>& x, int rate, float belowPeakDb) {
    const qint64 hop = std::max(1, rate / 200);
    const qint64 n = qint64(x.size());
    std::vector<float> db;
    for (qint64 a = 0; a < n; a += hop) {
        double sq = 0;
        const qint64 b = std::min(n, a + hop);
        for (qint64 k = a; k < b; ++k)
            sq += double(x[size_t(k)]) * x[size_t(k)];
        db.push_back(float(10 * std::log10(sq / double(b - a) + 1e-12)));
    }
    if (db.empty()) return {0, 0};
    const float peak = *std::max_element(db.begin(), db.end());
    const float thr = std::max(peak - belowPeakDb, -70.f);
    if (peak <= -70.f) return {0, 0};
    size_t first = 0, last = db.size() - 1;
    while (db[first] < thr)
        ++first;
    while (db[last] < thr)
        --last;
    return {qint64(first) * hop, std::min(n, qint64(last + 1) * hop)};
}

TSynthesis SynthesizeSintagms(const QStringList& texts, const TSynthParams& p,
                              const std::function<void(int)>& progress) {
    std::lock_guard lock(g_espeak);
    start(p.WordsPerMinute);
    TSynthesis out;
    out.Sound.Rate = p.Rate;
    auto& all = out.Sound.Samples;
    const auto silence = [&](int ms) {
        all.insert(all.end(), size_t(qint64(p.Rate) * ms / 1000), 0.f);
    };
    silence(p.LeadMs);
    std::vector<short> pcm;
    g_sink = &pcm;
    for (int t = 0; t < texts.size(); ++t) {
        pcm.clear();
        const QByteArray utf8 = texts[t].toUtf8();
        espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                     espeakCHARS_UTF8, nullptr, nullptr);
        std::vector<float> x(pcm.size());
        for (size_t i = 0; i < pcm.size(); ++i)
            x[i] = pcm[i] / 32768.f;
        std::vector<float> clip;
        TResampler rs(g_espeakRate, p.Rate);
        rs.Push(x.data(), x.size(), clip);
        rs.Finish(clip);
        const auto [a, b] = SpeechSpan(clip, p.Rate, 45.f);
        if (t > 0) silence(p.GapMs);
        const qint64 at = qint64(all.size());
        all.insert(all.end(), clip.begin() + a, clip.begin() + b);
        out.Spans.emplace_back(at, at + (b - a));
        if (progress) progress(t + 1);
    }
    g_sink = nullptr;
    silence(p.LeadMs);
    return out;
}
