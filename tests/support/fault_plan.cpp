// Linked into kelvane_with_faults, the program with faults planned from its
// environment before main starts; the real kelvane has none of this.
//   KELVANE_TEST_FAULTS="read_file:3:1117,write_file:2:112,malloc:1:0,new:3000:0"
//     the nth call of each operation fails with that Windows error code;
//     "new" is the nth allocation of the process, which throws bad_alloc.
//   KELVANE_TEST_BEFORE_COMPARE="shell command"
//     runs just before the first file is opened for comparison.
#include <cstdlib>
#include <new>
#include <sstream>
#include <string>

#include "platform/test_seam.h"

namespace {

unsigned long failing_allocation = 0;
unsigned long allocations = 0;

void plan_faults() {
  using platform::test_seam::operation;
  if (const char* faults = std::getenv("KELVANE_TEST_FAULTS")) {
    std::istringstream plan(faults);
    for (std::string fault; std::getline(plan, fault, ',');) {
      std::istringstream fields(fault);
      std::string name;
      unsigned long nth = 0;
      unsigned long error = 0;
      char colon = 0;
      std::getline(fields, name, ':');
      fields >> nth >> colon >> error;
      if (name == "new") {
        failing_allocation = nth;
      } else {
        const operation which = name == "read_file"    ? operation::read_file
                                : name == "write_file" ? operation::write_file
                                                       : operation::malloc;
        platform::test_seam::fail_call(which, nth, static_cast<platform::DWORD>(error));
      }
    }
  }
  if (const char* command = std::getenv("KELVANE_TEST_BEFORE_COMPARE")) {
    const std::string shell = command;
    platform::test_seam::before_next_read_open([shell] {
      if (std::system(shell.c_str()) != 0) std::abort();
    });
  }
}

const bool planned = (plan_faults(), true);

}  // namespace

void* operator new(std::size_t size) {
  if (++allocations == failing_allocation) throw std::bad_alloc();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

// GCC takes a replaced pair for a mismatched one.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
#pragma GCC diagnostic pop
