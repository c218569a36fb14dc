// The log's encoder: any UTF-16 text becomes valid UTF-8 with one zero byte
// at its end, and a text without lone surrogates decodes back to itself.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

// Strict UTF-8 decoding into UTF-16; false on anything invalid.
bool decode(const std::string& bytes, std::u16string& out) {
  for (std::size_t i = 0; i < bytes.size();) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > bytes.size() || lead > 0xF4) return false;
    char32_t point = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      point = (point << 6) | (next & 0x3F);
    }
    const char32_t min[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < min[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return false;
    if (point >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(point);
    }
    i += length;
  }
  return true;
}

bool has_lone_surrogate(const std::u16string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;
    } else if (text[i] >= 0xD800 && text[i] <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit != 0) text += unit;
  }
  std::vector<char> out(text.size() * 3 + 1);
  const int n = platform::WideCharToMultiByte(platform::CP_UTF8, 0, text.c_str(), -1, out.data(),
                                              static_cast<int>(out.size()), nullptr, nullptr);
  if (n <= 0 || out[static_cast<std::size_t>(n) - 1] != '\0') std::abort();
  const std::string bytes(out.data(), static_cast<std::size_t>(n) - 1);
  if (bytes.find('\0') != std::string::npos) std::abort();
  std::u16string decoded;
  if (!decode(bytes, decoded)) std::abort();
  if (!has_lone_surrogate(text) && decoded != text) std::abort();
  return 0;
}
