// Decoded pictures and the page cache that keeps the last ones by path, size and write time.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "platform/sys/services.h"
#include "viewer/imageinfo.h"

namespace viewer {

// Pixels top row first, three bytes (red, green, blue) per pixel.
struct Picture {
  std::int32_t width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
};

// Turns a file's bytes into pixels; the size limits of ReadImageInfo apply before any allocation.
using PictureDecoder = std::function<ImageStatus(const std::string& bytes, Picture& out)>;

// Bitmaps are decoded here on every platform: 1, 4, 8, 24 and 32 bits per pixel, uncompressed.
ImageStatus DecodeBmp(const std::string& bytes, Picture& out);

class PageCache {
 public:
  PageCache(plat::FileSystem& files, PictureDecoder decoder, std::size_t capacity = 3);

  // The picture of a file. The file is read and decoded again only when its size or write time
  // changed since the kept copy was made, so redrawing or resizing costs no decoding.
  std::shared_ptr<const Picture> load(const std::string& path, ImageStatus& status);

  int decodes() const { return decodes_; }
  void clear() { entries_.clear(); }

 private:
  struct Entry {
    std::string path;
    plat::FileStamp stamp;
    std::shared_ptr<const Picture> picture;
  };
  plat::FileSystem& files_;
  PictureDecoder decoder_;
  std::size_t capacity_;
  std::list<Entry> entries_;  // most recent first
  int decodes_ = 0;
};

}  // namespace viewer
