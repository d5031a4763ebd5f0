#include "platform/wsprintf.h"

#include <cstdarg>
#include <string>

namespace {

constexpr size_t kMaxChars = 1024;  // including the terminator

std::u16string Digits(unsigned long long value, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::u16string text;
  do {
    text.insert(text.begin(), static_cast<char16_t>(digits[value % base]));
    value /= base;
  } while (value);
  return text;
}

void AppendPadded(std::u16string& out, std::u16string text, size_t width, bool leftAlign,
                  bool zeroPad) {
  if (text.size() < width) {
    const size_t pad = width - text.size();
    if (leftAlign) {
      text.append(pad, u' ');
    } else if (zeroPad) {
      const size_t signLength = !text.empty() && text[0] == u'-' ? 1 : 0;
      text.insert(signLength, pad, u'0');
    } else {
      text.insert(0, pad, u' ');
    }
  }
  out += text;
}

}  // namespace

int wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  std::u16string out;
  for (const WCHAR* p = format; *p; ++p) {
    if (*p != u'%') {
      out += *p;
      continue;
    }
    ++p;
    bool leftAlign = false, zeroPad = false;
    for (;; ++p) {
      if (*p == u'-')
        leftAlign = true;
      else if (*p == u'0')
        zeroPad = true;
      else
        break;
    }
    size_t width = 0;
    while (*p >= u'0' && *p <= u'9') width = width * 10 + (*p++ - u'0');
    while (*p == u'l' || *p == u'h') ++p;
    switch (*p) {
      case u's': {
        const WCHAR* text = va_arg(args, const WCHAR*);
        AppendPadded(out, text ? std::u16string(text) : std::u16string(u"(null)"), width, leftAlign,
                     false);
        break;
      }
      case u'c':
        AppendPadded(out, std::u16string(1, static_cast<WCHAR>(va_arg(args, int))), width,
                     leftAlign, false);
        break;
      case u'd':
      case u'i': {
        const long long value = va_arg(args, int);
        std::u16string text = Digits(value < 0 ? -value : value, 10, false);
        if (value < 0) text.insert(text.begin(), u'-');
        AppendPadded(out, text, width, leftAlign, zeroPad);
        break;
      }
      case u'u':
        AppendPadded(out, Digits(va_arg(args, unsigned), 10, false), width, leftAlign, zeroPad);
        break;
      case u'x':
      case u'X':
        AppendPadded(out, Digits(va_arg(args, unsigned), 16, *p == u'X'), width, leftAlign,
                     zeroPad);
        break;
      case u'%': out += u'%'; break;
      case 0: --p; break;  // a lone '%' at the end prints nothing
      default: out += *p; break;
    }
  }
  va_end(args);
  if (out.size() > kMaxChars - 1) out.resize(kMaxChars - 1);
  out.copy(buffer, out.size());
  buffer[out.size()] = 0;
  return static_cast<int>(out.size());
}
