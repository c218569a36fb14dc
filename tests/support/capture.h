// What the program writes to the console while a piece of it runs.
#pragma once

#include <string>

#include "platform/test_seam.h"

template <typename Body>
std::string captured_output(Body body) {
  std::string out;
  platform::test_seam::capture_console(&out);
  body();
  platform::test_seam::capture_console(nullptr);
  return out;
}

// How often needle stands in text.
inline int count_of(const std::string& text, const std::string& needle) {
  int count = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}
