#pragma once

#include <string>

// Appends one text to the log in UTF-8 and echoes it on the console.
void write_log(std::u16string log_path, std::u16string text);
