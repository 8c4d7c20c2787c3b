// Reading every key of a 2,000-key and a 20,000-key profile through the profile engine, against the
// same look-ups in a std::map, and the ratio of the two. The engine runs over a memory file system,
// so the numbers are those of the engine itself (stamp check, index look-up, copy of the value).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/sys/profile.h"
#include "tests/platform/profile/memory_files.h"

namespace {

const char kFile[] = "C:\\BENCH.INI";
constexpr int kKeysPerSection = 100;

struct Profile {
  std::string text;
  std::vector<std::pair<std::string, std::string>> names;  // section, key
};

Profile makeProfile(int keys) {
  Profile p;
  for (int i = 0; i < keys; ++i) {
    std::string section = "Section" + std::to_string(i / kKeysPerSection);
    if (i % kKeysPerSection == 0) p.text += "[" + section + "]\r\n";
    std::string key = "Key" + std::to_string(i);
    p.text += key + "=C:\\Program Files\\Pagina\\value" + std::to_string(i) + "\r\n";
    p.names.emplace_back(section, key);
  }
  return p;
}

void EngineReadAll(benchmark::State& state) {
  Profile p = makeProfile(static_cast<int>(state.range(0)));
  plat::testing::MemoryFiles fs;
  fs.put(kFile, p.text);
  plat::ProfileStore store(fs);
  store.read(kFile, "Section0", "Key0", "");  // parsed once, outside the timing
  for (auto _ : state) {
    for (const auto& n : p.names) benchmark::DoNotOptimize(store.read(kFile, n.first, n.second, ""));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(p.names.size()));
}

void EngineParseAndReadAll(benchmark::State& state) {
  Profile p = makeProfile(static_cast<int>(state.range(0)));
  plat::testing::MemoryFiles fs;
  fs.put(kFile, p.text);
  plat::ProfileStore store(fs);
  for (auto _ : state) {
    store.flush();
    for (const auto& n : p.names) benchmark::DoNotOptimize(store.read(kFile, n.first, n.second, ""));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(p.names.size()));
}

void MapReadAll(benchmark::State& state) {
  Profile p = makeProfile(static_cast<int>(state.range(0)));
  std::map<std::string, std::map<std::string, std::string>> map;
  for (size_t i = 0; i < p.names.size(); ++i)
    map[p.names[i].first][p.names[i].second] = "C:\\Program Files\\Pagina\\value" + std::to_string(i);
  for (auto _ : state) {
    for (const auto& n : p.names) {
      std::string v;
      auto s = map.find(n.first);
      if (s != map.end()) {
        auto k = s->second.find(n.second);
        if (k != s->second.end()) v = k->second;
      }
      benchmark::DoNotOptimize(v);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(p.names.size()));
}

BENCHMARK(EngineReadAll)->Arg(2000)->Arg(20000);
BENCHMARK(EngineParseAndReadAll)->Arg(2000)->Arg(20000);
BENCHMARK(MapReadAll)->Arg(2000)->Arg(20000);

// Keeps each run's CPU time per iteration (the machine is shared: wall time is noisy) so that
// the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> times;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration) times[r.benchmark_name()] = r.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const char* n : {"2000", "20000"}) {
    double map = reporter.times[std::string("MapReadAll/") + n];
    if (map <= 0) continue;
    std::printf("%s keys: engine / std::map = %.2f (cached), %.2f (parse included)\n", n,
                reporter.times[std::string("EngineReadAll/") + n] / map,
                reporter.times[std::string("EngineParseAndReadAll/") + n] / map);
  }
  benchmark::Shutdown();
  return 0;
}
