#include <atomic>
#include <cstdio>
#include <string>

#include "platform/user.h"

namespace platform {
namespace {

std::atomic<MessageBoxPresenter> installedPresenter{nullptr};

std::string ToUtf8(LPCWSTR text) {
  std::string out;
  if (!text) return out;
  for (LPCWSTR p = text; *p; ++p) {
    char32_t c = *p;
    if (c >= 0xD800 && c <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
      ++p;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone surrogate half
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// The answer of the first button of each button set.
int FirstButton(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO: return IDYES;
    case MB_RETRYCANCEL: return IDRETRY;
    default: return IDOK;
  }
}

int PrintMessageBox(LPCWSTR text, LPCWSTR caption, UINT type) {
  std::string line = "[";
  line.append(ToUtf8(caption)).append("] ").append(ToUtf8(text)).append("\n");
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  return FirstButton(type);
}

}  // namespace

void SetMessageBoxPresenter(MessageBoxPresenter presenter) {
  installedPresenter = presenter;
}

}  // namespace platform

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  if (platform::MessageBoxPresenter presenter = platform::installedPresenter) {
    return presenter(owner, text, caption, type);
  }
  return platform::PrintMessageBox(text, caption, type);
}
