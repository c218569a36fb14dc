// What a run writes, piece by piece, as the tests expect it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/runner.h"

namespace e2e {

// The usage block after the banner line, as the formatted channel writes it.
extern const std::string USAGE;
// What blanks the progress line after each drive.
extern const std::string BLANK_LINE;

std::string settings(const std::string& min_size, const std::string& drives);
// The progress line of a directory whose path is at most 60 characters.
std::string progress(const std::string& path);
std::string comparing(const char* percent);
// The console after the banner line, which is checked by its pattern only.
std::string after_banner(const run_result& result);
// How the program shows a path of the fixtures outside the drives: on Linux
// drive-less, under Wine through its drive Z:, which maps "/".
std::string shown(const std::filesystem::path& path);
// Each text echoed, followed by the same message of the log writer.
std::string every_text_unlogged(const std::vector<std::string>& texts, const std::string& failure);

}  // namespace e2e
