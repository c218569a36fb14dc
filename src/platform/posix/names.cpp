#include "platform/layer.h"
#include "platform/posix/posix_layer.h"

namespace platform {

namespace {

constexpr char16_t ESCAPE_BASE = 0xF000;
constexpr char16_t RAW_BYTE_BASE = 0xDC00;

bool is_forbidden_in_name(char32_t c) {
  return (c >= 0x01 && c <= 0x1F) || c == '"' || c == '*' || c == ':' || c == '<' || c == '>' || c == '?' ||
         c == '\\' || c == '|';
}

// Length of the valid UTF-8 sequence at the start of bytes, and its code
// point; 0 when the first byte does not start one.
std::size_t decode_utf8(std::string_view bytes, char32_t& point) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(0);
  std::size_t length;
  char32_t min;
  if (lead < 0x80) {
    point = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, point = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, point = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, point = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    point = (point << 6) | (byte(i) & 0x3F);
  }
  if (point < min || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return 0;
  return length;
}

// A character that stands for an escaped one: taken from disk as is, it
// would come back as the escaped byte, so its bytes are kept raw instead.
bool looks_escaped(char32_t point) {
  return point > ESCAPE_BASE && point < ESCAPE_BASE + 0x80 && is_forbidden_in_name(point - ESCAPE_BASE);
}

void append_utf16(std::u16string& out, char32_t point) {
  if (point >= 0x10000) {
    out += static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
  } else {
    out += static_cast<char16_t>(point);
  }
}

}  // namespace

std::u16string name_from_bytes(std::string_view bytes) {
  std::u16string name;
  name.reserve(bytes.size());
  while (!bytes.empty()) {
    char32_t point = 0;
    std::size_t length = decode_utf8(bytes, point);
    if (length == 0 || looks_escaped(point)) {
      if (length == 0) length = 1;
      for (std::size_t i = 0; i < length; ++i) {
        name += static_cast<char16_t>(RAW_BYTE_BASE + static_cast<unsigned char>(bytes[i]));
      }
    } else if (is_forbidden_in_name(point)) {
      name += static_cast<char16_t>(ESCAPE_BASE + point);
    } else {
      append_utf16(name, point);
    }
    bytes.remove_prefix(length);
  }
  return name;
}

std::string bytes_from_name(std::u16string_view name) {
  std::string bytes;
  bytes.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t unit = name[i];
    if (unit >= RAW_BYTE_BASE + 0x80 && unit <= RAW_BYTE_BASE + 0xFF) {
      bytes += static_cast<char>(unit - RAW_BYTE_BASE);
    } else if (unit > ESCAPE_BASE && unit < ESCAPE_BASE + 0x80 && is_forbidden_in_name(unit - ESCAPE_BASE)) {
      bytes += static_cast<char>(unit - ESCAPE_BASE);
    } else {
      const bool pair = is_surrogate_pair(name, i);
      append_utf8(bytes, name.substr(i, pair ? 2 : 1));
      if (pair) ++i;
    }
  }
  return bytes;
}

std::optional<std::string> posix_path(std::u16string_view path) {
  std::string out;
  if (path.size() >= 2 && path[1] == u':') {
    std::optional<std::string> root = drive_root(path[0]);
    if (!root) return std::nullopt;
    out = *root;
    path.remove_prefix(2);
    if (path.empty() || (path[0] != u'\\' && path[0] != u'/')) out += '/';
  }
  while (!path.empty()) {
    const std::size_t cut = path.find_first_of(u"\\/");
    out += bytes_from_name(path.substr(0, cut));
    if (cut == std::u16string_view::npos) break;
    out += '/';
    path.remove_prefix(cut + 1);
  }
  return out;
}

std::u16string windows_path(std::string_view path) {
  std::u16string out;
  std::size_t best = std::string_view::npos;
  for (char16_t letter = u'A'; letter <= u'Z'; ++letter) {
    const std::optional<std::string> root = drive_root(letter);
    if (!root || path.compare(0, root->size(), *root) != 0) continue;
    if (path.size() > root->size() && path[root->size()] != '/') continue;
    if (best == std::string_view::npos || root->size() > best) {
      best = root->size();
      out = std::u16string{letter, u':'};
    }
  }
  if (best != std::string_view::npos) path.remove_prefix(best);
  if (path.empty()) path = "/";
  while (!path.empty()) {
    // Every name follows a slash.
    path.remove_prefix(1);
    const std::size_t cut = path.find('/');
    out += u'\\';
    out += name_from_bytes(path.substr(0, cut));
    if (cut == std::string_view::npos) break;
    path.remove_prefix(cut);
  }
  return out;
}

}  // namespace platform
