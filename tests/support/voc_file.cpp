#include "support/voc_file.h"

#include "support/bmp_file.h"

std::vector<uint8_t> make_voc_samples(size_t count) {
    std::vector<uint8_t> samples(count);
    for (size_t index = 0; index < count; index++) {
        samples[index] = uint8_t(96 + index % 64);
    }
    return samples;
}

std::vector<uint8_t> make_voc_bytes(const std::vector<uint8_t>& samples, uint8_t time_constant) {
    const uint32_t length = uint32_t(samples.size()) + 2;
    const uint8_t header[] = {26,
                              0,
                              0x0A,
                              0x01,
                              0x29,
                              0x11,
                              1,
                              uint8_t(length),
                              uint8_t(length >> 8),
                              uint8_t(length >> 16),
                              time_constant,
                              0};
    const std::string signature = "Creative Voice File\x1A";
    std::vector<uint8_t> bytes(signature.begin(), signature.end());
    for (uint8_t byte : header) {
        bytes.push_back(byte);
    }
    bytes.insert(bytes.end(), samples.begin(), samples.end());
    bytes.push_back(0);
    return bytes;
}

bool write_game_sound_files(const std::string& dir, size_t count) {
    const std::vector<uint8_t> bytes = make_voc_bytes(make_voc_samples(count));
    for (const char* name : {"XSMNUUP.VOC", "XSMNUDWN.VOC", "XSMNUSEL.VOC", "XSINTRO.VOC",
                             "XSLINE.VOC", "XSLOCK.VOC", "XSNEXTL.VOC", "XSLOSER.VOC",
                             "XSSONG1.VOC", "XSVOICE1.VOC", "CSTRAIL.VOC", "CSSPL.VOC"}) {
        if (!write_bmp_bytes(dir + "/" + name, bytes)) {
            return false;
        }
    }
    return true;
}
