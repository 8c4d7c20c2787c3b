// libjpeg-turbo behind a decoder that never exits the process: library errors jump back here.
#include "viewer/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace viewer {

namespace {

struct ErrorJump {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void OnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1); }
void OnMessage(j_common_ptr, int) {}  // warnings (a truncated file) are not fatal

// Only plain objects live in this frame, so jumping back into it skips no destructor.
bool Decode(const std::string& bytes, Picture& out) {
  jpeg_decompress_struct info;
  ErrorJump error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = OnError;
  error.manager.emit_message = OnMessage;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  // Progressive files keep coefficients for the whole picture; bound that too.
  info.mem->max_memory_to_use = 256L * 1024 * 1024;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (info.output_components != 3 || static_cast<std::int32_t>(info.output_width) != out.width ||
      static_cast<std::int32_t>(info.output_height) != out.height) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &out.rgb[static_cast<std::size_t>(info.output_scanline) * out.width * 3];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

ImageStatus DecodeJpeg(const std::string& bytes, Picture& out) {
  ImageInfo header;
  // The header's size is checked before libjpeg allocates anything for the pixels.
  ImageStatus status = ReadImageInfo(bytes, header);
  if (status != ImageStatus::Ok) return status;
  if (header.kind != ImageKind::Jpeg) return ImageStatus::NotAPicture;
  out.width = header.width;
  out.height = header.height;
  out.rgb.assign(static_cast<std::size_t>(header.width) * header.height * 3, 0xFF);
  if (!Decode(bytes, out)) {
    out = Picture{};
    return ImageStatus::NotAPicture;
  }
  return ImageStatus::Ok;
}

ImageStatus DecodePicture(const std::string& bytes, Picture& out) {
  ImageInfo header;
  ImageStatus status = ReadImageInfo(bytes, header);
  if (status != ImageStatus::Ok) return status;
  return header.kind == ImageKind::Jpeg ? DecodeJpeg(bytes, out) : DecodeBmp(bytes, out);
}

}  // namespace viewer
