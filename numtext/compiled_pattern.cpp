// The engine reads its syntax bits from a process-wide variable, so every compilation holds
// one lock while it sets them and compiles. The engine reports errors as message texts; the
// code is found again by comparing with the engine's own message for each code.
#include "numtext/compiled_pattern.h"

#include <cstring>
#include <list>
#include <mutex>

namespace tq {
namespace {

std::mutex gCompileLock;

int ErrorCodeOf(const char* message) {
  char text[128];
  for (int code = 1; code <= REG_ERPAREN; ++code) {
    regerror(code, nullptr, text, sizeof text);
    if (std::strcmp(text, message) == 0) return code;
  }
  return REG_BADPAT;
}

struct PatternCache {
  std::mutex lock;
  std::list<std::shared_ptr<const CompiledPattern>> recent;  // most recent first
};

PatternCache& Cache() {
  // Destroyed when the library is unloaded (nothing compiles a pattern after that), so that
  // no compiled pattern outlives the library.
  static PatternCache cache;
  return cache;
}

}  // namespace

CompiledPattern::CompiledPattern(std::string source, unsigned long syntax)
    : source_(std::move(source)), syntax_(syntax) {
  cost_ = EstimateRegexCost(source_, (syntax & RE_BACKSLASH_ESCAPE_IN_LISTS) != 0);
  if (cost_.weight > kRegexCompileWeightLimit) {
    error_ = REG_ESIZE;
    return;
  }
  buffer_.regs_allocated = REGS_UNALLOCATED;  // the engine allocates the registers
  const char* message;
  {
    std::lock_guard<std::mutex> hold(gCompileLock);
    re_syntax_options = syntax;
    message = re_compile_pattern(source_.data(), source_.size(), &buffer_);
  }
  buffer_.no_sub = 0;
  if (message != nullptr) error_ = ErrorCodeOf(message);
}

CompiledPattern::~CompiledPattern() { regfree(&buffer_); }

std::unique_ptr<CompiledPattern> CompileUncached(std::string_view pattern, unsigned long syntax) {
  return std::make_unique<CompiledPattern>(std::string(pattern), syntax);
}

std::shared_ptr<const CompiledPattern> AcquirePattern(std::string_view pattern,
                                                      unsigned long syntax) {
  PatternCache& cache = Cache();
  {
    std::lock_guard<std::mutex> hold(cache.lock);
    for (auto it = cache.recent.begin(); it != cache.recent.end(); ++it) {
      if ((*it)->syntax() == syntax && (*it)->source() == pattern) {
        cache.recent.splice(cache.recent.begin(), cache.recent, it);
        return cache.recent.front();
      }
    }
  }
  std::shared_ptr<const CompiledPattern> compiled = CompileUncached(pattern, syntax);
  std::lock_guard<std::mutex> hold(cache.lock);
  cache.recent.push_front(compiled);
  if (cache.recent.size() > kPatternCacheSize) cache.recent.pop_back();
  return compiled;
}

}  // namespace tq
