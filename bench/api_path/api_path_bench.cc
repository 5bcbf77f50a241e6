// The exported classes against the portable layer over the C boundary, on one library (the test
// build, whose seams give the benchmark a shop of its own): a batch save of 10,000 new customers,
// 1,000 findById and a findBySQL of 10,000 rows. Run with --benchmark_enable_random_interleaving
// and repetitions; the ratio portable ÷ exported of the medians is the boundary's cost.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/api_path/work.h"
#include "testing/test_seams.h"

extern "C" bool portableSave(int count, void (*timed)(bool start));
extern "C" long long portableFindEach(int count);
extern "C" std::size_t portableFindAll();

namespace {

constexpr int kCustomers = 10000;
benchmark::State* current = nullptr;

void timed(bool start) {
  if (start) {
    current->ResumeTiming();
  } else {
    current->PauseTiming();
  }
}

// A shop folder of the benchmark's own, with the installation's files; removed at exit.
struct Shop {
  Shop() {
    QMXDAO::Utility::InitDB();  // the engine is set up before its first use
    folder =
        std::filesystem::temp_directory_path() / ("qmxdao-api-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::wstring host = folder.wstring() + L"/";
    const std::wstring db = host + L"db/";
    qmxdao_test_set_host_folder(host.c_str(), host.size());
    qmxdao_test_create_files(db.c_str(), db.size(), 1);
  }
  ~Shop() { std::filesystem::remove_all(folder); }
  std::filesystem::path folder;
};

void filled() {
  static Shop shop;
  if (QMXDAO::CustomerDAOImpl().count() != kCustomers) {
    QMXDAO::Utility::execDML(L"delete from CUSTOMER", QMXDAO::DBNAME_MAIN);
    qmxbench::saveCustomers(qmxbench::newCustomers(kCustomers));
  }
}

void emptied() {
  filled();
  QMXDAO::Utility::execDML(L"delete from CUSTOMER", QMXDAO::DBNAME_MAIN);
}

void Exported_Save10000(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    emptied();
    auto customers = qmxbench::newCustomers(kCustomers);
    state.ResumeTiming();
    benchmark::DoNotOptimize(qmxbench::saveCustomers(customers));
  }
}

void Portable_Save10000(benchmark::State& state) {
  current = &state;
  for (auto _ : state) {
    state.PauseTiming();
    emptied();
    benchmark::DoNotOptimize(portableSave(kCustomers, &timed));
    state.ResumeTiming();
  }
}

void Exported_FindById1000(benchmark::State& state) {
  filled();
  for (auto _ : state) benchmark::DoNotOptimize(qmxbench::findEach(1000));
}

void Portable_FindById1000(benchmark::State& state) {
  filled();
  for (auto _ : state) benchmark::DoNotOptimize(portableFindEach(1000));
}

void Exported_FindBySQL10000(benchmark::State& state) {
  filled();
  for (auto _ : state) benchmark::DoNotOptimize(qmxbench::findAll());
}

void Portable_FindBySQL10000(benchmark::State& state) {
  filled();
  for (auto _ : state) benchmark::DoNotOptimize(portableFindAll());
}

}  // namespace

BENCHMARK(Exported_Save10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Portable_Save10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Exported_FindById1000)->Unit(benchmark::kMillisecond);
BENCHMARK(Portable_FindById1000)->Unit(benchmark::kMillisecond);
BENCHMARK(Exported_FindBySQL10000)->Unit(benchmark::kMillisecond);
BENCHMARK(Portable_FindBySQL10000)->Unit(benchmark::kMillisecond);
