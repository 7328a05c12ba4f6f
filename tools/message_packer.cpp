// The message packer: shortest-form search over the symbol tables, then serialisation of the
// chosen digits into byte pairs and escapes.
#include "tools/message_packer.h"

#include <algorithm>
#include <array>
#include <limits>

#include "frame/message_symbols.h"

namespace tq::tools {
namespace {

constexpr int kTables = static_cast<int>(kSymbolTableCount);
constexpr int kPhases = 3;  // digits already placed in the current pair
constexpr int kLiteralEscape = 38;
constexpr int kRunEscape = 39;
constexpr int kMaxRun = 255;
constexpr int kInfinite = std::numeric_limits<int>::max();

// Entry of `byte` in `table`, or -1. Table 3's last entries are unreachable.
int SymbolIndex(int table, uint8_t byte) {
  const size_t usable =
      table == static_cast<int>(kEscapeTable) ? kFirstEscapeEntry : kSymbolTableSize;
  for (size_t i = 0; i < usable; ++i)
    if (kMessageSymbolTables[table][i] == byte) return static_cast<int>(i);
  return -1;
}

// One step of the chosen path: how the text bytes [from, from + length) are written.
struct Action {
  enum class Kind : uint8_t { kSymbol, kShift, kLock, kEscape } kind = Kind::kSymbol;
  int table = 0;         // table of the symbol (kShift, kLock); table reached (kEscape)
  int digitPrefix = -1;  // kEscape: shift or lock digit put before the escape, -1 none
  int length = 1;        // text bytes covered
};

struct Cell {
  int cost = kInfinite;  // bytes written so far (a started pair counts whole)
  int previous = -1;     // index of the previous state
  Action action;
};

struct Placement {
  int cost;
  int phase;
};

// Adds `digits` ordinary digits at `phase`: each pair costs 2 bytes when its first digit goes.
Placement PlaceDigits(int phase, int digits) {
  int cost = 0;
  for (int i = 0; i < digits; ++i) {
    if (phase == 0) cost += 2;
    phase = (phase + 1) % kPhases;
  }
  return {cost, phase};
}

// Adds `prefixDigits` digits and an escape digit, which closes the pair.
Placement PlaceEscape(int phase, int prefixDigits) {
  Placement p = PlaceDigits(phase, prefixDigits);
  if (p.phase == 0) p.cost += 2;
  return {p.cost, 0};
}

class PairWriter {
 public:
  explicit PairWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Digit(int digit) {
    digits_[count_++] = digit;
    if (count_ == 3) Flush();
  }
  // Pads the pair after an escape digit (the decoder drops those digits).
  void CloseAfterEscape() {
    while (count_ != 0) Digit(0);
  }
  void Finish(int padLock) {
    if (count_ == 1) {
      out_.push_back(static_cast<uint8_t>(digits_[0] + 1));  // read back as (byte + 255) % 256
      count_ = 0;
    } else if (count_ == 2) {
      Digit(padLock);
    }
  }

 private:
  void Flush() {
    const int v = digits_[0] * 1600 + digits_[1] * 40 + digits_[2];
    int a = (v + 256) / 255;
    int b = (v + 256) % 255;
    if (b == 0) {  // neither byte may be 0
      a -= 1;
      b = 255;
    }
    out_.push_back(static_cast<uint8_t>(a));
    out_.push_back(static_cast<uint8_t>(b));
    count_ = 0;
  }

  std::vector<uint8_t>& out_;
  std::array<int, 3> digits_{};
  int count_ = 0;
};

}  // namespace

std::vector<uint8_t> PackMessageText(std::span<const uint8_t> text) {
  const int n = static_cast<int>(text.size());
  auto index = [](int position, int table, int phase) {
    return (position * kTables + table) * kPhases + phase;
  };
  std::vector<Cell> cells(static_cast<size_t>(n + 1) * kTables * kPhases);
  cells[index(0, 0, 0)].cost = 0;

  auto relax = [&](int from, int position, int table, int phase, int cost, const Action& action) {
    Cell& cell = cells[index(position, table, phase)];
    if (cost < cell.cost) cell = {cost, from, action};
  };

  for (int i = 0; i < n; ++i) {
    for (int locked = 0; locked < kTables; ++locked) {
      for (int phase = 0; phase < kPhases; ++phase) {
        const int from = index(i, locked, phase);
        const int base = cells[from].cost;
        if (base == kInfinite) continue;
        // Symbols: from the locked table, or through a shift or a lock.
        for (int table = 0; table < kTables; ++table) {
          if (SymbolIndex(table, text[i]) < 0) continue;
          if (table == locked) {
            const Placement p = PlaceDigits(phase, 1);
            relax(from, i + 1, locked, p.phase, base + p.cost, {Action::Kind::kSymbol, table});
          } else {
            const Placement p = PlaceDigits(phase, 2);
            relax(from, i + 1, locked, p.phase, base + p.cost, {Action::Kind::kShift, table});
            relax(from, i + 1, table, p.phase, base + p.cost, {Action::Kind::kLock, table});
          }
        }
        // Escapes need table 3 in effect: already locked, or a shift, or a lock to it.
        struct Route {
          int prefix;
          int lockedAfter;
        };
        std::array<Route, 2> routes{};
        int routeCount = 0;
        if (locked == static_cast<int>(kEscapeTable)) {
          routes[routeCount++] = {-1, locked};
        } else {
          routes[routeCount++] = {static_cast<int>(kEscapeTable), locked};
          routes[routeCount++] = {4 + static_cast<int>(kEscapeTable),
                                  static_cast<int>(kEscapeTable)};
        }
        for (int r = 0; r < routeCount; ++r) {
          const Placement p = PlaceEscape(phase, routes[r].prefix < 0 ? 0 : 1);
          const int maxRun = std::min(kMaxRun, n - i);
          for (int length = 1; length <= maxRun; ++length) {
            const int extra = length == 1 ? 1 : 1 + length;  // literal, or count and literals
            relax(from, i + length, routes[r].lockedAfter, p.phase, base + p.cost + extra,
                  {Action::Kind::kEscape, routes[r].lockedAfter, routes[r].prefix, length});
          }
        }
      }
    }
  }

  // The best final state; a lone last digit is written as one byte.
  int best = -1;
  int bestCost = kInfinite;
  for (int locked = 0; locked < kTables; ++locked) {
    for (int phase = 0; phase < kPhases; ++phase) {
      const Cell& cell = cells[index(n, locked, phase)];
      if (cell.cost == kInfinite) continue;
      const int cost = cell.cost - (phase == 1 ? 1 : 0);
      if (cost < bestCost) {
        bestCost = cost;
        best = index(n, locked, phase);
      }
    }
  }

  std::vector<int> path;
  for (int state = best; state != index(0, 0, 0); state = cells[state].previous)
    path.push_back(state);

  std::vector<uint8_t> out;
  PairWriter writer(out);
  int position = 0;
  int locked = 0;
  for (auto it = path.rbegin(); it != path.rend(); ++it) {
    const Action& action = cells[*it].action;
    const uint8_t byte = text[position];
    switch (action.kind) {
      case Action::Kind::kSymbol:
        writer.Digit(8 + SymbolIndex(action.table, byte));
        break;
      case Action::Kind::kShift:
        writer.Digit(action.table);
        writer.Digit(8 + SymbolIndex(action.table, byte));
        break;
      case Action::Kind::kLock:
        writer.Digit(4 + action.table);
        writer.Digit(8 + SymbolIndex(action.table, byte));
        locked = action.table;
        break;
      case Action::Kind::kEscape:
        if (action.digitPrefix >= 0) writer.Digit(action.digitPrefix);
        writer.Digit(action.length == 1 ? kLiteralEscape : kRunEscape);
        writer.CloseAfterEscape();
        if (action.length > 1) out.push_back(static_cast<uint8_t>(action.length));
        out.insert(out.end(), text.begin() + position, text.begin() + position + action.length);
        locked = action.table;
        break;
    }
    position += action.length;
  }
  writer.Finish(4 + locked);
  return out;
}

}  // namespace tq::tools
