#include "support/voc_file.h"

#include <cstdio>
#include <cstring>

const char* const voc_game_sound_files[12] = {
    "XSMNUUP.VOC", "XSMNUDWN.VOC", "XSMNUSEL.VOC", "XSINTRO.VOC",  "XSLINE.VOC",  "XSLOCK.VOC",
    "XSNEXTL.VOC", "XSLOSER.VOC",  "XSSONG1.VOC",  "XSVOICE1.VOC", "CSTRAIL.VOC", "CSSPL.VOC",
};

std::vector<uint8_t> make_voc_samples(size_t count) {
    std::vector<uint8_t> samples(count);
    for (size_t index = 0; index < count; index++) {
        samples[index] = uint8_t(96 + index % 64);
    }
    return samples;
}

std::vector<uint8_t> make_voc_bytes(const std::vector<uint8_t>& samples, uint8_t time_constant) {
    static const char signature[] = "Creative Voice File\x1A";
    std::vector<uint8_t> bytes(signature, signature + 20);
    auto put16 = [&bytes](uint16_t value) {
        bytes.push_back(uint8_t(value & 0xFF));
        bytes.push_back(uint8_t(value >> 8));
    };
    put16(26);
    put16(0x010A);
    put16(0x1129);

    uint32_t length = uint32_t(samples.size()) + 2;
    bytes.push_back(1);
    bytes.push_back(uint8_t(length & 0xFF));
    bytes.push_back(uint8_t((length >> 8) & 0xFF));
    bytes.push_back(uint8_t((length >> 16) & 0xFF));
    bytes.push_back(time_constant);
    bytes.push_back(0);
    bytes.insert(bytes.end(), samples.begin(), samples.end());
    bytes.push_back(0);
    return bytes;
}

bool write_voc_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file);
    bool closed = std::fclose(file) == 0;
    return written == bytes.size() && closed;
}

bool write_voc_file(const std::string& path, size_t count, uint8_t time_constant) {
    return write_voc_bytes(path, make_voc_bytes(make_voc_samples(count), time_constant));
}

bool write_game_sound_files(const std::string& dir, size_t count) {
    for (const char* name : voc_game_sound_files) {
        if (!write_voc_file(dir + "/" + name, count)) {
            return false;
        }
    }
    return true;
}
