// libjpeg reports fatal errors through a callback that must not return. It jumps back to a
// setjmp point; the frames between hold only plain data so that no destructor is skipped,
// and everything the decoding fills lives in the caller's frame.
#include "image/jpeg_decoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

// After jpeglib.h, whose types it uses.
#include <jerror.h>

#include "io/file_bytes.h"
#include "image/bitmap_rows.h"

namespace {

// libjpeg's own working memory (whole-image coefficient buffers of progressive files) is
// capped so that a tiny file claiming a huge progressive image fails instead of allocating
// gigabytes. It still admits progressive images far larger than any texture.
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;
// Real progressive files have around ten scans; hostile ones may have thousands, each of
// which costs a pass over the whole image.
constexpr int kMaxScans = 500;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnFatalError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
    // Data that ends early, at the end of the file or at a marker inside a scan, leaves the
    // rest of the image grey: that is a broken file. Other corrupt-data warnings (stray bytes
    // between markers) are common in real files and harmless, and trace messages are of no
    // interest.
    const int code = cinfo->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) OnFatalError(cinfo);
}

void OnProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    const auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number > kMaxScans) {
        auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(errors->message, sizeof errors->message, "the image has over %d scans",
                      kMaxScans);
        std::longjmp(errors->jump, 1);
    }
}

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    jpeg_progress_mgr progress;
    std::vector<std::uint8_t> row;  // one decoded RGB scan line
};

// Copies the reason for a failure found outside libjpeg, where the message buffer waits.
bool FailWith(Decoder* decoder, const std::string& reason) {
    std::snprintf(decoder->errors.message, sizeof decoder->errors.message, "%s", reason.c_str());
    return false;
}

// False with the reason in the decoder's message buffer. Holds the setjmp point, so only
// pointers and plain values live in this frame.
bool RunDecoder(Decoder* decoder, const std::uint8_t* data, std::size_t size, bool headerOnly,
                Image* image) {
    if (setjmp(decoder->errors.jump) != 0) return false;
    jpeg_decompress_struct* cinfo = &decoder->cinfo;
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(cinfo, TRUE);
    image->width = static_cast<int>(cinfo->image_width);
    image->height = static_cast<int>(cinfo->image_height);
    if (headerOnly) return true;
    if (!ImageSizeProblem(cinfo->image_width, cinfo->image_height).empty()) {
        return FailWith(decoder, ImageSizeProblem(cinfo->image_width, cinfo->image_height));
    }
    cinfo->out_color_space = JCS_RGB;
    jpeg_start_decompress(cinfo);
    if (cinfo->output_components != 3) return FailWith(decoder, "the image has no RGB form");
    const std::size_t width = cinfo->output_width;
    decoder->row.resize(width * 3);
    image->width = static_cast<int>(cinfo->output_width);
    image->height = static_cast<int>(cinfo->output_height);
    // The buffer grows with the rows that really decode, so a short file with a huge header
    // fails long before the whole image is allocated. Rows arrive top-down and are turned
    // bottom-up at the end.
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW rows[1] = {decoder->row.data()};
        if (jpeg_read_scanlines(cinfo, rows, 1) != 1) return false;
        const std::size_t start = image->pixels.size();
        image->pixels.resize(start + width * 4);
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t* p = &decoder->row[3 * x];
            StoreOpaque(&image->pixels[start + 4 * x], p[0], p[1], p[2]);
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

// Decodes (or only reads the header) with a fresh decompressor that is always destroyed.
bool Decode(std::span<const std::uint8_t> data, bool headerOnly, Image& image, std::string& error) {
    Decoder decoder{};
    decoder.cinfo.err = jpeg_std_error(&decoder.errors.pub);
    decoder.errors.pub.error_exit = OnFatalError;
    decoder.errors.pub.emit_message = OnMessage;
    decoder.errors.message[0] = '\0';
    jpeg_create_decompress(&decoder.cinfo);
    decoder.cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
    decoder.progress.progress_monitor = OnProgress;
    decoder.cinfo.progress = &decoder.progress;

    bool ok = false;
    try {
        ok = RunDecoder(&decoder, data.data(), data.size(), headerOnly, &image);
    } catch (...) {
        jpeg_destroy_decompress(&decoder.cinfo);
        throw;
    }
    jpeg_destroy_decompress(&decoder.cinfo);
    if (!ok) {
        error = decoder.errors.message[0] != '\0'
                    ? std::string("JPEG error: ") + decoder.errors.message
                    : "the JPEG data could not be decoded";
    }
    return ok;
}

void FlipRows(Image& image) {
    const std::size_t stride = static_cast<std::size_t>(image.width) * 4;
    for (std::int64_t top = 0; top < image.height / 2; ++top) {
        const auto first = image.pixels.begin() + top * stride;
        std::swap_ranges(first, first + stride,
                         image.pixels.begin() + BitmapOutputRow(image, top) * stride);
    }
}

}  // namespace

ImageResult DecodeJpeg(std::span<const std::uint8_t> data) {
    Image image;
    std::string error;
    if (!Decode(data, false, image, error)) return ImageResult::Fail(error);
    FlipRows(image);
    return {std::move(image), {}};
}

ImageResult LoadJpegFile(const std::string& fileName) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(fileName, kMaxImageFileBytes, bytes, error)) return ImageResult::Fail(error);
    return DecodeJpeg(bytes);
}

bool ReadJpegSize(std::span<const std::uint8_t> data, JpegSize& size, std::string& error) {
    Image image;
    if (!Decode(data, true, image, error)) return false;
    size.width = image.width;
    size.height = image.height;
    return true;
}
