#include "Review.h"

#include "AudioFile.h"
#include "Mix.h"
#include "Voice.h"
#include "authoring/PngImage.h"
#include "assets/Typo.h"
#include "render/Screen.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>

namespace {

// Each file gets a cell: a line of text, the waveform, the spectrogram.
const int columns = 3;
const int plotWidth = 480;
const int labelHeight = 12;
const int waveHeight = 40;
const int spectrumHeight = 90;
const int cellWidth = plotWidth + 12;
const int cellHeight = labelHeight + waveHeight + spectrumHeight + 14;
const int fftSize = 1024;
const float lowestHz = 30;
const float highestHz = 20000;
const uint32_t background = 0xFF101014;

void fft(std::vector<std::complex<float>>& a)
{
    size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; i++) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        std::complex<float> step = std::polar(1.0f, -6.2831853f / len);
        for (size_t i = 0; i < n; i += len) {
            std::complex<float> w = 1;
            for (size_t k = 0; k < len / 2; k++) {
                std::complex<float> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

// Magnitudes in dB of the Hann-windowed spectrum around sample `centre`.
std::vector<float> spectrumAt(const std::vector<float>& s, long centre)
{
    std::vector<std::complex<float>> a(fftSize);
    for (int i = 0; i < fftSize; i++) {
        long at = centre - fftSize / 2 + i;
        float w = 0.5f - 0.5f * std::cos(6.2831853f * i / fftSize);
        a[size_t(i)] = at >= 0 && at < long(s.size()) ? s[size_t(at)] * w : 0;
    }
    fft(a);
    std::vector<float> db(fftSize / 2);
    for (int i = 0; i < fftSize / 2; i++)
        db[size_t(i)] = 20 * std::log10(std::abs(a[size_t(i)]) / (fftSize / 4) + 1e-9f);
    return db;
}

// Dark blue through red to yellow-white over -100..0 dB.
uint32_t heat(float db)
{
    float t = std::clamp((db + 100) / 100, 0.0f, 1.0f);
    int r = int(255 * std::clamp(t * 2.0f - 0.3f, 0.0f, 1.0f));
    int g = int(255 * std::clamp(t * 2.0f - 1.0f, 0.0f, 1.0f));
    int b = int(255 * std::clamp(t < 0.5f ? t * 1.6f : 1.6f - t * 1.6f, 0.0f, 1.0f));
    return 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}

void drawWave(PngImage& image, int left, int top, const std::vector<float>& s)
{
    int middle = top + waveHeight / 2;
    for (int x = 0; x < plotWidth; x++) {
        size_t from = s.size() * x / plotWidth, to = std::max(from + 1, s.size() * (x + 1) / plotWidth);
        float low = 0, high = 0;
        for (size_t i = from; i < to && i < s.size(); i++) {
            low = std::min(low, s[i]);
            high = std::max(high, s[i]);
        }
        int y0 = middle - int(high * waveHeight / 2), y1 = middle - int(low * waveHeight / 2);
        for (int y = std::max(top, y0); y <= std::min(top + waveHeight - 1, y1); y++)
            image.set(left + x, y, 0xFF70C0FF);
        image.set(left + x, middle, 0xFF405060);
    }
}

void drawSpectrogram(PngImage& image, int left, int top, const std::vector<float>& s)
{
    for (int x = 0; x < plotWidth; x++) {
        std::vector<float> db = spectrumAt(s, long(s.size() * (x + 0.5) / plotWidth));
        for (int y = 0; y < spectrumHeight; y++) {
            float hz = lowestHz * std::pow(highestHz / lowestHz, float(spectrumHeight - 1 - y) / (spectrumHeight - 1));
            size_t bin = std::min(db.size() - 1, size_t(hz * fftSize / sampleRate));
            image.set(left + x, top + y, heat(db[bin]));
        }
    }
}

void drawLabel(PngImage& image, int left, int top, Typo& font, const char* text)
{
    Screen label(plotWidth, labelHeight, 1);
    font.print(text, 0, 1, &label);
    for (int x = 0; x < plotWidth; x++)
        for (int y = 0; y < labelHeight; y++) {
            uint32_t c = uint32_t(label.getPixel(x, y));
            if (c & 0xFFFFFFu)
                image.set(left + x, top + y, 0xFF000000u | c);
        }
}

int readAudio(const std::string& file, std::vector<float>& samples)
{
    bool mp3 = file.size() > 4 && file.compare(file.size() - 4, 4, ".mp3") == 0;
    return mp3 ? readMp3(file.c_str(), samples) : readWav(file.c_str(), samples);
}

} // namespace

int writeReview(const char* out, const char* fontPath, int count, char** files, std::string& error)
{
    Typo font;
    if (!font.load(fontPath)) {
        error = std::string("cannot read the font ") + fontPath;
        return 0;
    }
    PngImage image;
    int rows = (count + columns - 1) / columns;
    image.resize(cellWidth * std::min(count, columns), cellHeight * rows, background);
    for (int i = 0; i < count; i++) {
        std::vector<float> samples;
        if (!readAudio(files[i], samples)) {
            error = std::string("cannot read ") + files[i];
            return 0;
        }
        std::string name = files[i];
        name = name.substr(name.find_last_of('/') + 1);
        char text[256];
        std::snprintf(text, sizeof text, "%s  %.2f s  peak %.1f  loud %.1f", name.c_str(),
                      double(samples.size()) / sampleRate, double(peakDb(samples)), double(loudnessDb(samples, false)));
        int left = (i % columns) * cellWidth + 6, top = (i / columns) * cellHeight + 4;
        drawLabel(image, left, top, font, text);
        drawWave(image, left, top + labelHeight + 2, samples);
        drawSpectrogram(image, left, top + labelHeight + waveHeight + 6, samples);
    }
    if (!image.save(out)) {
        error = image.error;
        return 0;
    }
    return 1;
}
