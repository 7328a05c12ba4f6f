// Message formatting: numbered insertion points with optional printf-style formats.
#include "frame/message_format.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "frame/text.h"

namespace tq {
namespace {

// Renders one argument with a printf-style format such as "d", "08x", "I64u", "s", ".2f".
std::u16string RenderArgument(const MessageArg& arg, std::string_view format) {
  if (format.empty()) format = arg.kind == MessageArg::Kind::kText ? "s" : "d";
  // Split the format into flags/width/precision and the conversion (dropping the size prefix).
  std::string prefix;
  size_t i = 0;
  while (i < format.size() && std::string_view("-+ #0123456789.").find(format[i]) != std::string_view::npos)
    prefix += format[i++];
  std::string_view rest = format.substr(i);
  for (std::string_view size : {"I64", "ll", "l", "h", "I"})
    if (rest.substr(0, size.size()) == size) {
      rest.remove_prefix(size.size());
      break;
    }
  const char conversion = rest.empty() ? 'd' : rest[0];
  if (prefix.size() > 8) prefix.resize(8);  // keep widths sane
  char buffer[128];
  std::string printfFormat = "%" + prefix;
  switch (conversion) {
    case 's':
    case 'S':
      if (arg.kind == MessageArg::Kind::kText) return std::u16string(arg.text);
      printfFormat += "lld";
      std::snprintf(buffer, sizeof buffer, printfFormat.c_str(), static_cast<long long>(arg.integer));
      break;
    case 'c':
    case 'C':
      if (arg.kind == MessageArg::Kind::kText) return std::u16string(arg.text.substr(0, 1));
      return std::u16string(1, static_cast<char16_t>(arg.integer));
    case 'x':
    case 'X':
    case 'u':
    case 'o': {
      printfFormat += "ll";
      printfFormat += conversion;
      const uint64_t n = arg.kind == MessageArg::Kind::kReal ? static_cast<uint64_t>(arg.real)
                                                              : static_cast<uint64_t>(arg.integer);
      std::snprintf(buffer, sizeof buffer, printfFormat.c_str(), static_cast<unsigned long long>(n));
      break;
    }
    case 'f':
    case 'e':
    case 'g':
    case 'E':
    case 'G': {
      printfFormat += conversion;
      const double x = arg.kind == MessageArg::Kind::kReal ? arg.real
                                                            : static_cast<double>(arg.integer);
      std::snprintf(buffer, sizeof buffer, printfFormat.c_str(), x);
      break;
    }
    case 'p':
      std::snprintf(buffer, sizeof buffer, "%p", reinterpret_cast<void*>(arg.integer));
      break;
    default: {
      if (arg.kind == MessageArg::Kind::kText) return std::u16string(arg.text);
      printfFormat += "lld";
      const long long n = arg.kind == MessageArg::Kind::kReal ? static_cast<long long>(arg.real)
                                                               : arg.integer;
      std::snprintf(buffer, sizeof buffer, printfFormat.c_str(), n);
      break;
    }
  }
  return Utf8ToUtf16(buffer);
}

}  // namespace

std::u16string FormatInserts(std::u16string_view format, MessageArgs args) {
  std::u16string out;
  out.reserve(format.size() + 16);
  for (size_t i = 0; i < format.size(); ++i) {
    const char16_t c = format[i];
    if (c != u'%' || i + 1 == format.size()) {
      out += c;
      continue;
    }
    const char16_t next = format[i + 1];
    if (next >= u'1' && next <= u'9') {
      size_t j = i + 1;
      unsigned number = 0;
      while (j < format.size() && j < i + 3 && format[j] >= u'0' && format[j] <= u'9')
        number = number * 10 + (format[j++] - u'0');
      std::string argumentFormat;
      if (j < format.size() && format[j] == u'!') {
        const size_t close = format.find(u'!', j + 1);
        if (close != std::u16string_view::npos) {
          for (size_t k = j + 1; k < close; ++k) argumentFormat += static_cast<char>(format[k] & 0x7f);
          j = close + 1;
        }
      }
      if (number >= 1 && number <= args.size()) {
        out += RenderArgument(args[number - 1], argumentFormat);
      } else {
        out.append(format.substr(i, j - i));
      }
      i = j - 1;
      continue;
    }
    switch (next) {
      case u'0': return out;
      case u'n': out += u"\r\n"; break;
      case u't': out += u'\t'; break;
      case u'r': out += u'\r'; break;
      case u'%': out += u'%'; break;
      case u'.': out += u'.'; break;
      case u'!': out += u'!'; break;
      default: out += c; out += next; break;
    }
    ++i;
  }
  return out;
}

std::u16string Printf16(const char* format, ...) {
  char small[256];
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string text;
  if (n < 0) {
    text.clear();
  } else if (static_cast<size_t>(n) < sizeof small) {
    text.assign(small, static_cast<size_t>(n));
  } else {
    text.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(text.data(), text.size(), format, copy);
    text.resize(static_cast<size_t>(n));
  }
  va_end(copy);
  return Utf8ToUtf16(text);
}

}  // namespace tq
