// JPEG decoding through libjpeg-turbo, for the builds that draw pictures themselves.
#pragma once

#include <string>

#include "viewer/picture.h"

namespace viewer {

ImageStatus DecodeJpeg(const std::string& bytes, Picture& out);
// JPEG or bitmap, by the file's first bytes.
ImageStatus DecodePicture(const std::string& bytes, Picture& out);

}  // namespace viewer
