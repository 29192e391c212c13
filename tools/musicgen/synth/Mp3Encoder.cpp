#include "synth/Mp3Encoder.h"

#include "synth/Dsp.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstdio>

namespace synth {

std::vector<uint8_t> encodeMp3(const StereoBuffer& buffer, const Mp3Settings& settings) {
    std::vector<uint8_t> bytes;
    lame_global_flags* lame = lame_init();
    if (lame == nullptr) return bytes;
    lame_set_in_samplerate(lame, sampleRate);
    lame_set_out_samplerate(lame, sampleRate);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_brate(lame, settings.bitrateKbps);
    lame_set_quality(lame, settings.quality);
    // The Info/LAME tag frame carries the delay and padding; it is rewritten after the flush.
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return bytes;
    }

    constexpr int chunk = 8192;
    std::vector<unsigned char> out(static_cast<size_t>(1.25 * chunk + 7200));
    const size_t frames = buffer.frames();
    for (size_t pos = 0; pos < frames; pos += chunk) {
        const int n = static_cast<int>(std::min<size_t>(chunk, frames - pos));
        const int written =
            lame_encode_buffer_ieee_float(lame, buffer.left.data() + pos, buffer.right.data() + pos, n,
                                          out.data(), static_cast<int>(out.size()));
        if (written < 0) {
            lame_close(lame);
            return {};
        }
        bytes.insert(bytes.end(), out.begin(), out.begin() + written);
    }
    const int flushed = lame_encode_flush(lame, out.data(), static_cast<int>(out.size()));
    if (flushed > 0) bytes.insert(bytes.end(), out.begin(), out.begin() + flushed);

    // No ID3v2 tag is written, so the placeholder tag frame is the file's first frame.
    std::vector<unsigned char> tag(4096);
    const size_t tagSize = lame_get_lametag_frame(lame, tag.data(), tag.size());
    if (tagSize > 0 && tagSize <= bytes.size())
        std::copy(tag.begin(), tag.begin() + static_cast<long>(tagSize), bytes.begin());
    lame_close(lame);
    return bytes;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), f);
    const bool closed = std::fclose(f) == 0;
    return written == bytes.size() && closed;
}

} // namespace synth
