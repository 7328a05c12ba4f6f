// Parameter names, INI sections and value escaping.
#include "system/parameter_names.h"

namespace tq {

ParameterName SplitParameterName(std::u16string_view name) {
  std::u16string path(name);
  for (char16_t& c : path)
    if (c == u'.' || c == u'/') c = u'\\';
  const size_t slash = path.rfind(u'\\');
  if (slash == std::u16string::npos) return {u"", path};
  return {path.substr(0, slash), path.substr(slash + 1)};
}

std::u16string ParameterSection(std::u16string_view group) {
  if (!group.empty() && group.front() == u'\\') group.remove_prefix(1);
  if (group.empty()) return u"Global";
  std::u16string section(group);
  for (char16_t& c : section)
    if (c == u'\\' || c == u' ' || c == u'-' || c == u'\t') c = u'_';
  return section;
}

std::u16string EscapeParameterText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'\\':
        out += u"\\\\";
        break;
      case u'\n':
        out += u"\\n";
        break;
      case u'\r':
        out += u"\\r";
        break;
      case u'\t':
        out += u"\\t";
        break;
      case u' ':
        out += u"\\_";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::u16string UnescapeParameterText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    switch (text[i + 1]) {
      case u'\\':
        out += u'\\';
        break;
      case u'_':
        out += u' ';
        break;
      case u'n':
        out += u'\n';
        break;
      case u'r':
        out += u'\r';
        break;
      case u't':
        out += u'\t';
        break;
      default:
        out += text.substr(i, 2);
    }
    ++i;
  }
  return out;
}

std::u16string ParameterGroupKey(std::u16string_view location, std::u16string_view group) {
  std::u16string key(location);
  if (!group.empty()) {
    if (!key.empty() && key.back() != u'\\') key += u'\\';
    key += group;
  }
  std::u16string collapsed;
  for (char16_t c : key)
    if (!(c == u'\\' && !collapsed.empty() && collapsed.back() == u'\\')) collapsed += c;
  return collapsed;
}

}  // namespace tq
