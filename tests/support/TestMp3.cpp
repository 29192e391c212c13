#include "support/TestMp3.h"

#include <lame/lame.h>

#include <cmath>
#include <cstdio>
#include <vector>

bool writeTestMp3(const std::string& path, double seconds) {
    lame_t lame = lame_init();
    if (!lame) return false;
    lame_set_in_samplerate(lame, 44100);
    lame_set_out_samplerate(lame, 44100);
    lame_set_num_channels(lame, 2);
    lame_set_brate(lame, 128);
    lame_set_write_id3tag_automatic(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return false;
    }
    const int frames = static_cast<int>(seconds * 44100);
    std::vector<short> left(frames), right(frames);
    for (int i = 0; i < frames; ++i) left[i] = right[i] = static_cast<short>(2000 * std::sin(i * 0.05));
    std::vector<unsigned char> mp3(static_cast<size_t>(1.25 * frames + 7200 + 16384));
    int bytes =
        lame_encode_buffer(lame, left.data(), right.data(), frames, mp3.data(), static_cast<int>(mp3.size()));
    if (bytes < 0) return false;
    const int tail = lame_encode_flush(lame, mp3.data() + bytes, static_cast<int>(mp3.size()) - bytes);
    if (tail < 0) return false;
    bytes += tail;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fwrite(mp3.data(), 1, static_cast<size_t>(bytes), f);
    // The tag frame goes over the file's first frame so decoders know delay and padding.
    unsigned char tag[4096];
    const size_t tagBytes = lame_get_lametag_frame(lame, tag, sizeof tag);
    if (tagBytes > 0) {
        std::fseek(f, 0, SEEK_SET);
        std::fwrite(tag, 1, tagBytes, f);
    }
    std::fclose(f);
    lame_close(lame);
    return true;
}
