// Page turn against bare decoding on A4 scans (2480 × 3508 JPEGs), and a resize of the same page,
// which must cost no decoding because the page cache checks the file's size and write time.
// Prints each time and its ratio to the bare decode measured in the same run.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "tests/viewer/fakes.h"
#include "tests/viewer/jpeg_fixture.h"
#include "viewer/jpeg_decode.h"
#include "viewer/picture.h"
#include "viewer/viewer_app.h"

namespace {

using viewer::testing::MemoryFiles;

// The scripted window of the tests, drawing through the page cache as the headless layer does.
class CachedHost : public viewer::testing::ScriptedHost {
 public:
  CachedHost(MemoryFiles& files) : ScriptedHost(files), cache(files, viewer::DecodePicture) {}
  viewer::PageCache cache;
  bool loadPage(const std::string& path, std::int32_t& w, std::int32_t& h) override {
    w = h = 0;
    if (path.empty()) return true;
    viewer::ImageStatus status;
    auto picture = cache.load(path, status);
    if (!picture) return false;
    w = picture->width * viewer::kTwipsPerPixel;
    h = picture->height * viewer::kTwipsPerPixel;
    return true;
  }
};

double MillisecondsPer(int runs, const std::function<void()>& body) {
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < runs; ++i) body();
  std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / runs;
}

}  // namespace

int main() {
  constexpr int kPages = 4;
  MemoryFiles files;
  std::string pages[kPages];
  for (int p = 0; p < kPages; ++p) {
    pages[p] = viewer::testing::EncodeJpeg(2480 + p, 3508, 85);
    files.put("D:\\scan\\a00" + std::to_string(p + 1) + ".jpg", pages[p]);
  }
  viewer::BookRecord book;
  book.booktitle = "bench";
  book.allpage = kPages;
  book.bookcover = "D:\\scan\\a001.jpg";
  files.put("D:\\scan\\bench.pgd", viewer::FormatBookData(book));
  files.put("C:\\Program Files\\Pagina\\PaginaV1.ini",
            viewer::FormatOptions(viewer::kDefaultOptions, viewer::kFirstRunGeometry));

  viewer::testing::RecordingShell shell;
  viewer::testing::FixedSystem system;
  CachedHost host(files);
  viewer::ViewerApp app(files, shell, system, host);
  host.app = &app;
  app.load("\"D:\\scan\\bench.pgd\"");

  const int runs = 12;
  int which = 0;
  const double decode = MillisecondsPer(runs, [&] {
    viewer::Picture picture;
    viewer::DecodePicture(pages[which++ % kPages], picture);
  });
  // More pages than the cache keeps, so every turn reads and decodes its page.
  const double turn = MillisecondsPer(runs, [&] {
    if (app.state().curpage == kPages) app.run(viewer::Command::FirstPage);
    else app.run(viewer::Command::GoPage);
  });
  const int decodesBefore = host.cache.decodes();
  const double resize = MillisecondsPer(runs * 20, [&] {
    host.innerW = host.innerW == 6000 ? 6015 : 6000;
    app.resize();
  });
  std::printf("bare decode of a 2480 x 3508 JPEG: %8.3f ms  (1.00)\n", decode);
  std::printf("page turn (read, decode, layout):  %8.3f ms  (%.2f)\n", turn, turn / decode);
  std::printf("resize of the shown page:          %8.3f ms  (%.4f), decodes during resizes: %d\n", resize,
              resize / decode, host.cache.decodes() - decodesBefore);
  return 0;
}
