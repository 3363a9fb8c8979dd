#include "AudioFile.h"

#include "Voice.h"
#include "base/ReplacingFile.h"

#include <lame/lame.h>
#include <mad.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        out.push_back(uint8_t(v >> (8 * i)));
}

void put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void putTag(std::vector<uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

uint32_t get32(const std::vector<uint8_t>& in, size_t at)
{
    return uint32_t(in[at]) | uint32_t(in[at + 1]) << 8 | uint32_t(in[at + 2]) << 16 | uint32_t(in[at + 3]) << 24;
}

uint16_t get16(const std::vector<uint8_t>& in, size_t at)
{
    return uint16_t(in[at] | in[at + 1] << 8);
}

int writeBytes(const char* path, const std::vector<uint8_t>& bytes)
{
    ReplacingFile file(path);
    if (!file.out)
        return 0;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.out) == bytes.size();
    return file.commit(written);
}

int readBytes(const char* path, std::vector<uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return 0;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return 1;
}

float madToFloat(mad_fixed_t v)
{
    return float(double(v) / double(MAD_F_ONE));
}

} // namespace

int writeWav(const char* path, const std::vector<int16_t>& pcm)
{
    uint32_t dataBytes = uint32_t(pcm.size() * 2);
    std::vector<uint8_t> out;
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, sampleRate);
    put32(out, sampleRate * 2);
    put16(out, 2);
    put16(out, 16);
    putTag(out, "data");
    put32(out, dataBytes);
    for (int16_t s : pcm)
        put16(out, uint16_t(s));
    return writeBytes(path, out);
}

int readWav(const char* path, std::vector<float>& samples)
{
    std::vector<uint8_t> in;
    if (!readBytes(path, in) || in.size() < 44 || std::memcmp(in.data(), "RIFF", 4) ||
        std::memcmp(in.data() + 8, "WAVE", 4))
        return 0;
    // Walk the chunks: "fmt " says the layout, "data" holds the samples.
    bool monoPcm16 = false;
    for (size_t at = 12; at + 8 <= in.size();) {
        uint32_t size = get32(in, at + 4);
        size_t body = at + 8;
        if (size > in.size() - body)
            return 0;
        if (!std::memcmp(&in[at], "fmt ", 4) && size >= 16)
            monoPcm16 = get16(in, body) == 1 && get16(in, body + 2) == 1 && get16(in, body + 14) == 16;
        if (!std::memcmp(&in[at], "data", 4) && monoPcm16) {
            samples.resize(size / 2);
            for (size_t i = 0; i < samples.size(); i++)
                samples[i] = int16_t(get16(in, body + 2 * i)) / 32768.0f;
            return 1;
        }
        at = body + size + (size & 1);
    }
    return 0;
}

size_t mp3LoopLength(size_t length)
{
    const size_t frame = 1152;
    return std::max(frame, (length + frame / 2) / frame * frame);
}

int writeMp3(const char* path, const std::vector<int16_t>& pcm, int kilobitsPerSecond)
{
    lame_global_flags* lame = lame_init();
    if (!lame)
        return 0;
    // Stereo at the mixer's own rate: the mixer then plays the decoded
    // frames as they are. A mono file would pass through its format
    // conversion, which writes past its buffer in the SDL 1.2 layer over SDL 2.
    lame_set_num_channels(lame, 2);
    lame_set_in_samplerate(lame, sampleRate);
    lame_set_out_samplerate(lame, sampleRate);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_brate(lame, kilobitsPerSecond);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 0);
    std::vector<uint8_t> out;
    int ok = lame_init_params(lame) >= 0;
    const size_t block = 8192;
    std::vector<unsigned char> buffer(block * 5 / 4 + 7200);
    for (size_t at = 0; ok && at < pcm.size(); at += block) {
        int count = int(std::min(block, pcm.size() - at));
        // Both channels carry the same samples, which joint stereo stores almost for free.
        short* both = const_cast<short*>(pcm.data() + at);
        int made = lame_encode_buffer(lame, both, both, count, buffer.data(), int(buffer.size()));
        ok = made >= 0;
        if (ok)
            out.insert(out.end(), buffer.begin(), buffer.begin() + made);
    }
    int made = ok ? lame_encode_flush(lame, buffer.data(), int(buffer.size())) : -1;
    if (made >= 0)
        out.insert(out.end(), buffer.begin(), buffer.begin() + made);
    lame_close(lame);
    return made >= 0 && writeBytes(path, out);
}

int readMp3(const char* path, std::vector<float>& samples)
{
    std::vector<uint8_t> in;
    if (!readBytes(path, in))
        return 0;
    // The decoder reads a few bytes past the last frame.
    in.resize(in.size() + MAD_BUFFER_GUARD, 0);
    mad_stream stream;
    mad_frame frame;
    mad_synth synth;
    mad_stream_init(&stream);
    mad_frame_init(&frame);
    mad_synth_init(&synth);
    mad_stream_buffer(&stream, in.data(), in.size());
    samples.clear();
    while (true) {
        if (mad_frame_decode(&frame, &stream)) {
            if (MAD_RECOVERABLE(stream.error))
                continue;
            break;
        }
        mad_synth_frame(&synth, &frame);
        for (unsigned i = 0; i < synth.pcm.length; i++)
            samples.push_back(madToFloat(synth.pcm.samples[0][i]));
    }
    mad_synth_finish(&synth);
    mad_frame_finish(&frame);
    mad_stream_finish(&stream);
    return !samples.empty();
}
