#include "graphics/bitmap_file.h"

#include <cstdarg>
#include <cstdio>
#include <new>

#include "graphics/log.h"
#include "platform/diagnostics.h"
#include "platform/files.h"

BitmapFile work_bitmap{};

namespace {

constexpr uint32_t FILE_HEADER_SIZE = 14;
constexpr uint32_t INFO_HEADER_SIZE = 40;
constexpr uint32_t BI_RGB = 0;

uint16_t Read_U16(const uint8_t* bytes) {
    return uint16_t(bytes[0] | (bytes[1] << 8));
}

uint32_t Read_U32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) | (uint32_t(bytes[2]) << 16) |
           (uint32_t(bytes[3]) << 24);
}

__attribute__((format(printf, 1, 2))) void Log_Format(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    Log_Write(text);
}

class OpenFile {
  public:
    explicit OpenFile(std::FILE* file) : file_(file) {}
    ~OpenFile() { std::fclose(file_); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    // Reads exactly size bytes from offset; false when the file ends first.
    bool Read_At(uint64_t offset, void* into, size_t size) {
        if (offset > uint64_t(INT64_MAX) ||
            std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
            return false;
        }
        return std::fread(into, 1, size, file_) == size;
    }

    size_t Read(void* into, size_t size) { return std::fread(into, 1, size, file_); }

  private:
    std::FILE* file_;
};

void Parse_File_Header(const uint8_t raw[FILE_HEADER_SIZE], BITMAPFILEHEADER* header) {
    header->bfType = Read_U16(raw);
    header->bfSize = Read_U32(raw + 2);
    header->bfReserved1 = Read_U16(raw + 6);
    header->bfReserved2 = Read_U16(raw + 8);
    header->bfOffBits = Read_U32(raw + 10);
}

void Parse_Info_Header(const uint8_t raw[INFO_HEADER_SIZE], BITMAPINFOHEADER* header) {
    header->biSize = Read_U32(raw);
    header->biWidth = int32_t(Read_U32(raw + 4));
    header->biHeight = int32_t(Read_U32(raw + 8));
    header->biPlanes = Read_U16(raw + 12);
    header->biBitCount = Read_U16(raw + 14);
    header->biCompression = Read_U32(raw + 16);
    header->biSizeImage = Read_U32(raw + 20);
    header->biXPelsPerMeter = int32_t(Read_U32(raw + 24));
    header->biYPelsPerMeter = int32_t(Read_U32(raw + 28));
    header->biClrUsed = Read_U32(raw + 32);
    header->biClrImportant = Read_U32(raw + 36);
}

bool Is_Supported(const BITMAPINFOHEADER& info) {
    const int64_t rows = info.biHeight < 0 ? -int64_t(info.biHeight) : int64_t(info.biHeight);
    return info.biSize >= INFO_HEADER_SIZE && info.biBitCount == 8 &&
           info.biCompression == BI_RGB && info.biWidth >= 1 && info.biWidth <= BITMAP_MAX_SIDE &&
           rows >= 1 && rows <= BITMAP_MAX_SIDE;
}

int Refuse_Truncated(const char* filename) {
    Log_Format("\nERROR: Load_Bitmap_File:file %s is shorter than its headers say", filename);
    return 0;
}

// The colour table: as many entries as the file declares (all 256 when it says 0), cut short
// where the pixels begin; entries the file does not give are black.
bool Read_Palette(OpenFile& file, BitmapFile* bitmap) {
    const BITMAPINFOHEADER& info = bitmap->bitmapinfoheader;
    const uint64_t table_offset = uint64_t(FILE_HEADER_SIZE) + info.biSize;
    const uint64_t pixels_offset = bitmap->bitmapfileheader.bfOffBits;
    if (pixels_offset < table_offset) {
        return false;
    }
    uint64_t entries = (info.biClrUsed == 0 || info.biClrUsed > 256) ? 256 : info.biClrUsed;
    if (entries > (pixels_offset - table_offset) / 4) {
        entries = (pixels_offset - table_offset) / 4;
    }
    uint8_t table[256 * 4];
    if (entries > 0 && !file.Read_At(table_offset, table, size_t(entries) * 4)) {
        return false;
    }
    for (uint64_t i = 0; i < 256; ++i) {
        PALETTEENTRY& entry = bitmap->palette[i];
        if (i < entries) {
            entry = PALETTEENTRY{table[i * 4 + 2], table[i * 4 + 1], table[i * 4],
                                 platform::PC_NOCOLLAPSE};
        } else {
            entry = PALETTEENTRY{0, 0, 0, platform::PC_NOCOLLAPSE};
        }
    }
    return true;
}

// File rows are padded to 4 bytes and usually stored bottom row first; the buffer gets the
// top row first and exactly width bytes a row.
bool Read_Pixels(OpenFile& file, const BitmapFile& bitmap, uint8_t* buffer, int width, int rows) {
    const bool top_down = bitmap.bitmapinfoheader.biHeight < 0;
    const uint64_t stride = (uint64_t(width) + 3) & ~uint64_t(3);
    for (int row = 0; row < rows; ++row) {
        const int into_row = top_down ? row : rows - 1 - row;
        const uint64_t offset = bitmap.bitmapfileheader.bfOffBits + uint64_t(row) * stride;
        if (!file.Read_At(offset, buffer + size_t(into_row) * size_t(width), size_t(width))) {
            return false;
        }
    }
    return true;
}

// Everything after the file is open: headers, palette, pixels. 0 when the file is refused.
int Read_Bitmap(OpenFile& file, BitmapFile* bitmap, const char* filename) {
    uint8_t file_header[FILE_HEADER_SIZE] = {};
    const size_t got = file.Read(file_header, sizeof(file_header));
    Parse_File_Header(file_header, &bitmap->bitmapfileheader);
    if (got < 2 || bitmap->bitmapfileheader.bfType != BITMAP_ID) {
        Log_Write("ERROR: file wasn't a bitmap");
        return 0;
    }
    uint8_t info_header[INFO_HEADER_SIZE] = {};
    if (got < sizeof(file_header) ||
        file.Read(info_header, sizeof(info_header)) < sizeof(info_header)) {
        return Refuse_Truncated(filename);
    }
    Parse_Info_Header(info_header, &bitmap->bitmapinfoheader);
    BITMAPINFOHEADER& info = bitmap->bitmapinfoheader;
    if (!Is_Supported(info)) {
        Log_Format(
            "\nERROR: Load_Bitmap_File:unsupported bitmap %s \nbitsperpixel=%d \ncompression=%u "
            "\nwidth=%d \nheight=%d",
            filename, int(info.biBitCount), unsigned(info.biCompression), int(info.biWidth),
            int(info.biHeight));
        return 0;
    }
    if (!Read_Palette(file, bitmap)) {
        return Refuse_Truncated(filename);
    }

    const int width = info.biWidth;
    const int rows = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    const size_t size = size_t(width) * size_t(rows);
    uint8_t* buffer = new (std::nothrow) uint8_t[size];
    if (buffer == nullptr) {
        Log_Write("ERROR:couldn't allocate memory for bitmap.");
        return 0;
    }
    if (!Read_Pixels(file, *bitmap, buffer, width, rows)) {
        delete[] buffer;
        return Refuse_Truncated(filename);
    }
    Log_Format(
        "\nfilename:%s \nsize=%d \nwidth=%d \nheight=%d \nbitsperpixel=%d \ncolors=%d "
        "\nimpcolors=%d",
        filename, int(info.biSizeImage), int(info.biWidth), int(info.biHeight),
        int(info.biBitCount), int(info.biClrUsed), int(info.biClrImportant));

    bitmap->buffer = buffer;
    info.biHeight = rows;
    info.biSizeImage = uint32_t(size);
    return 1;
}

}  // namespace

int Load_Bitmap_File(BitmapFile* bitmap, const char* filename) {
    if (bitmap == nullptr) {
        return 0;
    }
    std::FILE* handle = filename != nullptr ? platform::open_data_file(filename, "rb") : nullptr;
    if (handle == nullptr) {
        Log_Format("\nERROR: Load_Bitmap_File:couldn't find file %s",
                   filename != nullptr ? filename : "");
        if (filename != nullptr) {
            platform::report_data_file(filename, "cannot be opened");
        }
        return 0;
    }
    OpenFile file(handle);
    // The record now describes this file, whatever becomes of it.
    Unload_Bitmap_File(bitmap);
    if (!Read_Bitmap(file, bitmap, filename)) {
        platform::report_data_file(filename, "is refused: damaged, or not an 8-bit BMP");
        return 0;
    }
    return 1;
}

int Unload_Bitmap_File(BitmapFile* bitmap) {
    if (bitmap != nullptr && bitmap->buffer != nullptr) {
        delete[] bitmap->buffer;
        bitmap->buffer = nullptr;
    }
    return 1;
}
