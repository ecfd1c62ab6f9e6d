#include "wav.h"

#include <cstdio>

namespace replay {
namespace {

void put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(uint8_t(value >> (8 * i)));
    }
}

}  // namespace

bool write_wav(const std::string& path, const std::vector<int16_t>& samples, int rate) {
    const uint32_t data_bytes = uint32_t(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + data_bytes);
    for (char c : std::string("RIFF")) {
        out.push_back(uint8_t(c));
    }
    put(out, 36 + data_bytes, 4);
    for (char c : std::string("WAVEfmt ")) {
        out.push_back(uint8_t(c));
    }
    put(out, 16, 4);  // format block size
    put(out, 1, 2);   // PCM
    put(out, 1, 2);   // mono
    put(out, uint32_t(rate), 4);
    put(out, uint32_t(rate) * 2, 4);
    put(out, 2, 2);   // bytes a frame
    put(out, 16, 2);  // bits a sample
    for (char c : std::string("data")) {
        out.push_back(uint8_t(c));
    }
    put(out, data_bytes, 4);
    for (int16_t sample : samples) {
        put(out, uint16_t(sample), 2);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace replay
