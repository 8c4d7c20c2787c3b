// Small JPEG files made by libjpeg-turbo's encoder, for the decoder's and the benchmark's fixtures.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <cstdio>
#include <jpeglib.h>

namespace viewer::testing {

// A w × h picture: left half red, right half blue.
inline std::string EncodeJpeg(int w, int h, int quality = 90) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(w);
  info.image_height = static_cast<JDIMENSION>(h);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(w) * 3);
  for (int x = 0; x < w; ++x) {
    row[x * 3] = x < w / 2 ? 255 : 0;
    row[x * 3 + 1] = 0;
    row[x * 3 + 2] = x < w / 2 ? 0 : 255;
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  std::string out(reinterpret_cast<char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

}  // namespace viewer::testing
