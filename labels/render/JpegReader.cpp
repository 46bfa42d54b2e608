#include "labels/render/JpegReader.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
// after jpeglib.h, which it needs
#include <jerror.h>

namespace qx7 {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: it jumps
// back into decode(), which holds nothing that needs a destructor.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

// A picture that ends early would be decoded to its full declared size from nothing
// (a few hundred bytes can declare 26000 x 26000 pixels); it is refused at once.
void onWarning(j_common_ptr info, int level)
{
    const int code = info->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) {
        auto* err = reinterpret_cast<ErrorManager*>(info->err);
        std::snprintf(err->message, JMSG_LENGTH_MAX,
                      "the picture data ends early (the file is damaged or cut off)");
        std::longjmp(err->jump, 1);
    }
}

// Picks the smallest reduction libjpeg decodes directly (1/1 to 1/8) that keeps the
// picture within `maxPixels`; 0 when even 1/8 is too large.
unsigned reductionFor(JDIMENSION width, JDIMENSION height, unsigned long long maxPixels)
{
    for (unsigned d = 1; d <= 8; d *= 2) {
        const unsigned long long w = (width + d - 1) / d, h = (height + d - 1) / d;
        if (w * h <= maxPixels)
            return d;
    }
    return 0;
}

struct Decoded
{
    unsigned char* pixels = nullptr; // RGB, rows packed
    JDIMENSION width = 0;
    JDIMENSION height = 0;
    int densityUnit = 0; // 1: dots per inch, 2: per centimetre
    int xDensity = 0;
    int yDensity = 0;
    unsigned reduction = 1; // decoded at 1/reduction of the stored size
};

// Plain C style on purpose: no C++ object may live across the setjmp.
bool decode(std::FILE* file, Decoded* out, char* message, unsigned long long maxPixels)
{
    jpeg_decompress_struct info;
    ErrorManager err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.emit_message = onWarning;
    err.message[0] = '\0';
    out->pixels = nullptr;
    if (setjmp(err.jump)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        jpeg_destroy_decompress(&info);
        std::free(out->pixels);
        out->pixels = nullptr;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB; // also turns grey and CMYK pictures into RGB
    out->reduction = reductionFor(info.image_width, info.image_height, maxPixels);
    if (out->reduction == 0) {
        std::snprintf(message, JMSG_LENGTH_MAX,
                      "picture too large: %u x %u pixels (a label shows at most %llu "
                      "megapixels)",
                      static_cast<unsigned>(info.image_width),
                      static_cast<unsigned>(info.image_height), maxPixels / 1000000);
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Scaled while decoding: memory and time follow the picture a label can show.
    info.scale_num = 1;
    info.scale_denom = out->reduction;
    jpeg_start_decompress(&info);
    const size_t stride = static_cast<size_t>(info.output_width) * 3;
    if (info.output_width == 0 || info.output_height == 0 || info.output_components != 3) {
        std::strncpy(message, "unsupported picture size", JMSG_LENGTH_MAX - 1);
        jpeg_destroy_decompress(&info);
        return false;
    }
    out->pixels = static_cast<unsigned char*>(std::malloc(stride * info.output_height));
    if (!out->pixels) {
        std::strncpy(message, "out of memory", JMSG_LENGTH_MAX - 1);
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->pixels + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    out->width = info.output_width;
    out->height = info.output_height;
    out->densityUnit = info.density_unit;
    out->xDensity = info.X_density;
    out->yDensity = info.Y_density;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage readJpeg(const std::string& path, std::string* error, unsigned long long maxPixels)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (error)
            *error = "cannot open " + path;
        return {};
    }
    Decoded d;
    char message[JMSG_LENGTH_MAX] = {};
    const bool ok = decode(file, &d, message, maxPixels);
    std::fclose(file);
    if (!ok) {
        if (error)
            *error = path + ": " + message;
        return {};
    }
    QImage image(static_cast<int>(d.width), static_cast<int>(d.height), QImage::Format_RGB888);
    const size_t stride = static_cast<size_t>(d.width) * 3;
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), d.pixels + stride * static_cast<size_t>(y), stride);
    std::free(d.pixels);
    // A reduced picture keeps its printed size: it has fewer dots per metre.
    const double perMetre = d.densityUnit == 1 ? 10000.0 / 254.0 : d.densityUnit == 2 ? 100.0 : 0;
    if (perMetre > 0 && d.xDensity > 0 && d.yDensity > 0) {
        image.setDotsPerMeterX(static_cast<int>(d.xDensity * perMetre / d.reduction + 0.5));
        image.setDotsPerMeterY(static_cast<int>(d.yDensity * perMetre / d.reduction + 0.5));
    } else if (d.reduction > 1) {
        image.setDotsPerMeterX(static_cast<int>(kScreenDotsPerMetre / d.reduction + 0.5));
        image.setDotsPerMeterY(static_cast<int>(kScreenDotsPerMetre / d.reduction + 0.5));
    }
    return image;
}

} // namespace qx7
