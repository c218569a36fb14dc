// Hooks for the tests alone, to reach what a real run cannot be made to do
// on demand. The program never calls them; unused, they cost one test of a
// pointer where the hooked operation runs.
#pragma once

#include <string>

namespace platform::test_seam {

// From now on the console's bytes are appended to *into instead of being
// written to standard output; nullptr writes them out again. Whatever was
// waiting in the console buffer is written out first.
void capture_console(std::string* into);

}  // namespace platform::test_seam
