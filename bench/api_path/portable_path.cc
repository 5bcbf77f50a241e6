// The portable path: the work of work.h compiled in the portable mode, in a library of its own
// (its copies of the classes stay inside it), reached by the benchmark through plain functions.
#include "bench/api_path/work.h"

extern "C" {

__attribute__((visibility("default"))) bool portableSave(int count, void (*timed)(bool start)) {
  auto customers = qmxbench::newCustomers(count);
  timed(true);
  bool saved = qmxbench::saveCustomers(customers);
  timed(false);
  return saved;
}

__attribute__((visibility("default"))) long long portableFindEach(int count) {
  return qmxbench::findEach(count);
}

__attribute__((visibility("default"))) std::size_t portableFindAll() { return qmxbench::findAll(); }

}  // extern "C"
