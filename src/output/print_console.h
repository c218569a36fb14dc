#pragma once

#include <string>

// Writes one text to the console unchanged, in one piece.
void print_console(std::u16string text);
