// One formatter for both platforms: the C libraries disagree on %s (narrow or
// wide), on %I64d and on how %.0f rounds, and the program's output must be the
// same bytes everywhere.
#include <charconv>
#include <cstdarg>

#include "platform/layer.h"
#include "platform/platform.h"

namespace platform {

namespace {

struct directive {
  bool left = false;
  bool zero = false;
  int width = 0;
  int precision = -1;
  bool wide_integer = false;
};

std::u16string widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

void append_padded(std::u16string& out, const directive& d, std::u16string_view body, bool numeric) {
  const std::size_t width = static_cast<std::size_t>(d.width);
  if (body.size() >= width) {
    out += body;
  } else if (d.left) {
    out += body;
    out.append(width - body.size(), u' ');
  } else if (d.zero && numeric) {
    std::size_t sign = (!body.empty() && body[0] == u'-') ? 1 : 0;
    out += body.substr(0, sign);
    out.append(width - body.size(), u'0');
    out += body.substr(sign);
  } else {
    out.append(width - body.size(), u' ');
    out += body;
  }
}

template <typename Number>
std::u16string integer_text(Number value, int base, bool upper) {
  char digits[32];
  auto result = std::to_chars(digits, digits + sizeof digits, value, base);
  std::string text(digits, result.ptr);
  if (upper) {
    for (char& c : text) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return widen(text);
}

std::u16string fixed_text(double value, int precision) {
  // to_chars rounds the exact binary value to nearest, ties to even, as C's
  // printf does; 330 digits hold the integer part of any double.
  char digits[400];
  auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
  return widen(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

const char16_t* parse_directive(const char16_t* p, directive& d) {
  for (;; ++p) {
    if (*p == u'-') {
      d.left = true;
    } else if (*p == u'0') {
      d.zero = true;
    } else {
      break;
    }
  }
  for (; *p >= u'0' && *p <= u'9'; ++p) d.width = d.width * 10 + (*p - u'0');
  if (*p == u'.') {
    d.precision = 0;
    for (++p; *p >= u'0' && *p <= u'9'; ++p) d.precision = d.precision * 10 + (*p - u'0');
  }
  if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
    d.wide_integer = true;
    p += 3;
  }
  return p;
}

}  // namespace

std::u16string format_text(const char16_t* format, std::va_list args) {
  std::u16string out;
  for (const char16_t* p = format; *p != 0; ++p) {
    if (*p != u'%') {
      out += *p;
      continue;
    }
    const char16_t* start = p;
    directive d;
    p = parse_directive(p + 1, d);
    switch (*p) {
      case u'%':
        out += u'%';
        break;
      case u'c':
        append_padded(out, d, std::u16string(1, static_cast<char16_t>(va_arg(args, int))), false);
        break;
      case u's': {
        const char16_t* text = va_arg(args, const char16_t*);
        append_padded(out, d, text != nullptr ? std::u16string_view(text) : u"(null)", false);
        break;
      }
      case u'd':
        append_padded(out, d,
                      d.wide_integer ? integer_text(va_arg(args, long long), 10, false)
                                     : integer_text(va_arg(args, int), 10, false),
                      true);
        break;
      case u'u':
      case u'X': {
        const int base = *p == u'u' ? 10 : 16;
        append_padded(out, d,
                      d.wide_integer ? integer_text(va_arg(args, unsigned long long), base, true)
                                     : integer_text(va_arg(args, unsigned int), base, true),
                      true);
        break;
      }
      case u'f':
        append_padded(out, d, fixed_text(va_arg(args, double), d.precision < 0 ? 6 : d.precision), true);
        break;
      default:
        // Not a directive of ours: written as it stands.
        if (*p == 0) --p;
        out.append(start, p + 1);
        break;
    }
  }
  return out;
}

int wprintf(const char16_t* format, ...) {
  std::va_list args;
  va_start(args, format);
  const std::u16string text = format_text(format, args);
  va_end(args);

  std::string bytes;
  bytes.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit == u'\n') {
      bytes += "\r\n";
    } else if (unit <= 0xFF) {
      bytes += static_cast<char>(unit);
    } else {
      // One "?" per character: a surrogate pair is one character.
      bytes += '?';
      if (is_surrogate_pair(text, i)) ++i;
    }
  }
  put_console_bytes(bytes);
  return static_cast<int>(text.size());
}

int swprintf(char16_t* buffer, std::size_t count, const char16_t* format, ...) {
  std::va_list args;
  va_start(args, format);
  const std::u16string text = format_text(format, args);
  va_end(args);
  if (count == 0) return -1;
  const std::size_t stored = text.size() < count ? text.size() : count - 1;
  text.copy(buffer, stored);
  buffer[stored] = 0;
  return text.size() < count ? static_cast<int>(text.size()) : -1;
}

}  // namespace platform
