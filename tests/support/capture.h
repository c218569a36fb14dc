// What the program writes to standard output while a piece of it runs.
#pragma once

#include <gtest/gtest.h>

#include <string>

template <typename Body>
std::string captured_output(Body body) {
  testing::internal::CaptureStdout();
  body();
  return testing::internal::GetCapturedStdout();
}

// How often needle stands in text.
inline int count_of(const std::string& text, const std::string& needle) {
  int count = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}
