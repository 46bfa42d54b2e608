#pragma once
// JPEG pictures for layout images, decoded with libjpeg-turbo. A damaged or
// unreadable file gives a null image and a reason, never a crash or an exit.

#include <QImage>

#include <string>

namespace qx7 {

QImage readJpeg(const std::string& path, std::string* error = nullptr);

} // namespace qx7
