// Hooks for the tests alone, to reach what a real run cannot be made to do
// on demand. The program never calls them; unused, they cost one test of a
// flag where the hooked operation runs.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

namespace platform::test_seam {

// From now on the console's bytes are appended to *into instead of being
// written to standard output; nullptr writes them out again. Whatever was
// waiting in the console buffer is written out first.
void capture_console(std::string* into);

enum class operation { read_file, write_file, malloc };

// The nth call of the operation from now on (the next one is 1) fails, with
// the given Windows error code where the operation sets one; 0 plans none.
void fail_call(operation which, unsigned long nth, DWORD error);

// Runs the action once, just before the next open of a file for reading: the
// moment between the walk and the first comparison.
void before_next_read_open(std::function<void()> action);

}  // namespace platform::test_seam
