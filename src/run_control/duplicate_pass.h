#pragma once

#include <string>

#include "scanner/size_index.h"

// Phase 2: every group of two or more paths, largest size first, checked
// until fewer than two paths remain; then the closing lines. Returns the
// exit code.
int duplicate_pass(size_list& sizes, size_map& files_by_size, const std::u16string& log_path,
                   const std::u16string& cur_dir);
