// The three name tables of key sequences, in lookup order.
#include "system/key_names.h"

#include "platform/window_types.h"

namespace tq {
namespace {

constexpr KeyName kKeyNames[] = {
    {u"RA", 8},         {u"BS", 8},          {u"PAUSE", 19},     {u"BREAK", 19},
    {u"VERRMAJ", 20},   {u"CAPSLOCK", 20},   {u"SUPPR", 46},     {u"DEL", 46},
    {u"BAS", 40},       {u"DOWN", 40},       {u"FIN", 35},       {u"END", 35},
    {u"ENTREE", 13},    {u"ENTER", 13},      {u"ECHAP", 27},     {u"ESC", 27},
    {u"AIDE", 47},      {u"HELP", 47},       {u"ORIGINE", 36},   {u"HOME", 36},
    {u"INSER", 45},     {u"INSERT", 45},     {u"GAUCHE", 37},    {u"LEFT", 37},
    {u"VERRNUM", 144},  {u"NUMLOCK", 144},   {u"PGSUIV", 34},    {u"PGDN", 34},
    {u"PGPREC", 33},    {u"PGUP", 33},       {u"IMPRECR", 44},   {u"PRTSC", 44},
    {u"DROITE", 39},    {u"RIGHT", 39},      {u"ARRETDEFIL", 145}, {u"SCROLLLOCK", 145},
    {u"TAB", 9},        {u"HAUT", 38},       {u"UP", 38},        {u"F2", 113},
    {u"F3", 114},       {u"F4", 115},        {u"F5", 116},       {u"F6", 117},
    {u"F7", 118},       {u"F8", 119},        {u"F9", 120},       {u"F10", 121},
    {u"F11", 122},      {u"F12", 123},       {u"F13", 124},      {u"F14", 125},
    {u"F15", 126},      {u"F16", 127},       {u"F1", 112},       {u"NUM+", 107},
    {u"NUM-", 109},
};
static_assert(std::size(kKeyNames) == 57);

using namespace ce;
constexpr MouseName kMouseNames[] = {
    {u"BTNDROIT+", WM_RBUTTONDOWN, 0},   {u"RIGHTBTN+", WM_RBUTTONDOWN, 0},
    {u"BTNDROIT-", WM_RBUTTONUP, 0},     {u"RIGHTBTN-", WM_RBUTTONUP, 0},
    {u"BTNDROIT2", WM_RBUTTONDBLCLK, 0}, {u"RIGHTBTN2", WM_RBUTTONDBLCLK, 0},
    {u"BTNDROIT", WM_RBUTTONDOWN, WM_RBUTTONUP}, {u"RIGHTBTN", WM_RBUTTONDOWN, WM_RBUTTONUP},
    {u"BTNGAUCHE+", WM_LBUTTONDOWN, 0},  {u"LEFTBTN+", WM_LBUTTONDOWN, 0},
    {u"BTNGAUCHE-", WM_LBUTTONUP, 0},    {u"LEFTBTN-", WM_LBUTTONUP, 0},
    {u"BTNGAUCHE2", WM_LBUTTONDBLCLK, 0}, {u"LEFTBTN2", WM_LBUTTONDBLCLK, 0},
    {u"BTNGAUCHE", WM_LBUTTONDOWN, WM_LBUTTONUP}, {u"LEFTBTN", WM_LBUTTONDOWN, WM_LBUTTONUP},
    {u"BTNMILIEU+", WM_MBUTTONDOWN, 0},  {u"MIDDLEBTN+", WM_MBUTTONDOWN, 0},
    {u"BTNMILIEU-", WM_MBUTTONUP, 0},    {u"MIDDLEBTN-", WM_MBUTTONUP, 0},
    {u"BTNMILIEU2", WM_MBUTTONDBLCLK, 0}, {u"MIDDLEBTN2", WM_MBUTTONDBLCLK, 0},
    {u"BTNMILIEU", WM_MBUTTONDOWN, WM_MBUTTONUP}, {u"MIDDLEBTN", WM_MBUTTONDOWN, WM_MBUTTONUP},
    {u"SOURIS", WM_MOUSEMOVE, 0},        {u"MOUSE", WM_MOUSEMOVE, 0},
};
static_assert(std::size(kMouseNames) == 26);

constexpr ClickCode kClickCodes[] = {
    {u"D+", u"BTNDROIT+"},  {u"D-", u"BTNDROIT-"},  {u"DD", u"BTNDROIT2"},
    {u"D", u"BTNDROIT"},    {u"R+", u"RIGHTBTN+"},  {u"R-", u"RIGHTBTN-"},
    {u"RR", u"RIGHTBTN2"},  {u"R", u"RIGHTBTN"},    {u"L+", u"LEFTBTN+"},
    {u"L-", u"LEFTBTN-"},   {u"LL", u"LEFTBTN2"},   {u"L", u"LEFTBTN"},
    {u"G+", u"BTNGAUCHE+"}, {u"G-", u"BTNGAUCHE-"}, {u"GG", u"BTNGAUCHE2"},
    {u"GX", u"BTNGAUCHE"},  {u"G", u"BTNGAUCHE"},   {u"M+", u"BTNMILIEU+"},
    {u"M-", u"BTNMILIEU-"}, {u"MM", u"BTNMILIEU2"}, {u"M", u"BTNMILIEU"},
};
static_assert(std::size(kClickCodes) == 21);

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c; }

bool IsPrefixIgnoringCase(std::u16string_view prefix, std::u16string_view text) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (Upper(prefix[i]) != Upper(text[i])) return false;
  }
  return true;
}

template <typename Entry, size_t N, typename Name>
const Entry* Find(const Entry (&table)[N], std::u16string_view text, Name name) {
  for (const Entry& e : table) {
    if (IsPrefixIgnoringCase(name(e), text)) return &e;
  }
  return nullptr;
}

}  // namespace

const KeyName* FindKeyName(std::u16string_view text) {
  return Find(kKeyNames, text, [](const KeyName& e) { return e.name; });
}

const MouseName* FindMouseName(std::u16string_view text) {
  return Find(kMouseNames, text, [](const MouseName& e) { return e.name; });
}

const ClickCode* FindClickCode(std::u16string_view text) {
  return Find(kClickCodes, text, [](const ClickCode& e) { return e.code; });
}

}  // namespace tq
