#include "image_factory.h"

#include <jpeglib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

void PutU16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

const std::uint8_t* PixelAt(const Image& picture, int x, int y) {
    return &picture.pixels[(static_cast<std::size_t>(y) * picture.width + x) * 4];
}

void PutTgaPixel(std::vector<std::uint8_t>& out, const std::uint8_t* rgba, int bytesPerPixel) {
    out.push_back(rgba[2]);
    out.push_back(rgba[1]);
    out.push_back(rgba[0]);
    if (bytesPerPixel == 4) out.push_back(rgba[3]);
}

[[noreturn]] void OnJpegError(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    throw std::runtime_error(message);
}

}  // namespace

std::vector<std::uint8_t> TgaHeader(int width, int height, int bitsPerPixel, int imageType,
                                    int idLength) {
    std::vector<std::uint8_t> out(18, 0);
    out[0] = static_cast<std::uint8_t>(idLength);
    out[2] = static_cast<std::uint8_t>(imageType);
    out[12] = static_cast<std::uint8_t>(width);
    out[13] = static_cast<std::uint8_t>(width >> 8);
    out[14] = static_cast<std::uint8_t>(height);
    out[15] = static_cast<std::uint8_t>(height >> 8);
    out[16] = static_cast<std::uint8_t>(bitsPerPixel);
    out[17] = bitsPerPixel == 32 ? 8 : 0;
    return out;
}

std::vector<std::uint8_t> EncodeTga(const Image& picture, int bitsPerPixel, bool runLength) {
    const int bpp = bitsPerPixel / 8;
    std::vector<std::uint8_t> out =
        TgaHeader(picture.width, picture.height, bitsPerPixel, runLength ? 10 : 2);
    const std::size_t count = static_cast<std::size_t>(picture.width) * picture.height;
    const auto same = [&](std::size_t a, std::size_t b) {
        return std::equal(&picture.pixels[a * 4], &picture.pixels[a * 4] + bpp,
                          &picture.pixels[b * 4]);
    };
    for (std::size_t i = 0; i < count;) {
        if (!runLength) {
            PutTgaPixel(out, &picture.pixels[i * 4], bpp);
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < count && run < 128 && same(i, i + run))
            ++run;
        if (run > 1) {
            out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
            PutTgaPixel(out, &picture.pixels[i * 4], bpp);
        } else {
            std::size_t raw = 1;
            while (i + raw < count && raw < 128 &&
                   !(i + raw + 1 < count && same(i + raw, i + raw + 1)))
                ++raw;
            out.push_back(static_cast<std::uint8_t>(raw - 1));
            for (std::size_t k = 0; k < raw; ++k)
                PutTgaPixel(out, &picture.pixels[(i + k) * 4], bpp);
            run = raw;
        }
        i += run;
    }
    return out;
}

std::vector<std::uint8_t> EncodeBmp(const Image& picture, int bitsPerPixel, bool topDown) {
    std::vector<std::uint32_t> palette;
    const auto key = [](const std::uint8_t* p) {
        return std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
    };
    if (bitsPerPixel == 8) {
        for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
            const std::uint32_t color = key(&picture.pixels[i]);
            if (std::find(palette.begin(), palette.end(), color) == palette.end()) {
                palette.push_back(color);
            }
        }
        if (palette.size() > 256) throw std::invalid_argument("more than 256 colours");
    }
    const std::uint32_t rowBytes = (picture.width * bitsPerPixel + 31) / 32 * 4;
    const std::uint32_t pixelOffset = 14 + 40 + 4 * static_cast<std::uint32_t>(palette.size());
    const std::uint32_t fileSize = pixelOffset + rowBytes * picture.height;
    std::vector<std::uint8_t> out = {'B', 'M'};
    PutU32(out, fileSize);
    PutU32(out, 0);
    PutU32(out, pixelOffset);
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(picture.width));
    PutU32(out, static_cast<std::uint32_t>(topDown ? -picture.height : picture.height));
    PutU16(out, 1);
    PutU16(out, static_cast<unsigned>(bitsPerPixel));
    PutU32(out, 0);  // no compression
    PutU32(out, rowBytes * picture.height);
    PutU32(out, 2835);
    PutU32(out, 2835);
    PutU32(out, static_cast<std::uint32_t>(palette.size()));
    PutU32(out, 0);
    for (std::uint32_t color : palette) {
        out.push_back(static_cast<std::uint8_t>(color));
        out.push_back(static_cast<std::uint8_t>(color >> 8));
        out.push_back(static_cast<std::uint8_t>(color >> 16));
        out.push_back(0);
    }
    for (int stored = 0; stored < picture.height; ++stored) {
        const int y = topDown ? stored : picture.height - 1 - stored;
        const std::size_t rowStart = out.size();
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = PixelAt(picture, x, y);
            if (bitsPerPixel == 8) {
                const auto index =
                    std::find(palette.begin(), palette.end(), key(p)) - palette.begin();
                out.push_back(static_cast<std::uint8_t>(index));
            } else {
                out.push_back(p[2]);
                out.push_back(p[1]);
                out.push_back(p[0]);
                if (bitsPerPixel == 32) out.push_back(p[3]);
            }
        }
        out.resize(rowStart + rowBytes, 0);
    }
    return out;
}

std::vector<std::uint8_t> EncodeJpeg(const Image& picture, bool progressive, int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    errors.error_exit = OnJpegError;
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(picture.width);
    cinfo.image_height = static_cast<JDIMENSION>(picture.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = PixelAt(picture, x, static_cast<int>(cinfo.next_scanline));
            std::copy(p, p + 3, &row[static_cast<std::size_t>(x) * 3]);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

Image GradientPicture(int width, int height) {
    Image picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &picture.pixels[(static_cast<std::size_t>(y) * width + x) * 4];
            p[0] = static_cast<std::uint8_t>(x * 255 / std::max(1, width - 1));
            p[1] = static_cast<std::uint8_t>(y * 255 / std::max(1, height - 1));
            p[2] = static_cast<std::uint8_t>((x + y) * 255 / std::max(1, width + height - 2));
            p[3] = static_cast<std::uint8_t>(255 - (x * 7 + y * 13) % 200);
        }
    }
    return picture;
}
