#pragma once
// JPEG pictures for layout images, decoded with libjpeg-turbo. A damaged or
// unreadable file gives a null image and a reason, never a crash or an exit.

#include <QImage>

#include <string>

namespace qx7 {

// More pixels than a printed label can show (a whole A4 sheet at 300 dpi is 8.7
// million); larger pictures are decoded reduced, up to 1/8 of their size.
inline constexpr unsigned long long kMaxPicturePixels = 16'000'000;
// What a picture without a resolution is taken to have: a screen's 96 dots per inch.
inline constexpr double kScreenDotsPerMetre = 3780.0;

// Decodes at the smallest reduction that keeps the picture within `maxPixels`; a
// picture too large even at 1/8, or cut off, gives a null image and the reason.
QImage readJpeg(const std::string& path, std::string* error = nullptr,
                unsigned long long maxPixels = kMaxPicturePixels);

} // namespace qx7
