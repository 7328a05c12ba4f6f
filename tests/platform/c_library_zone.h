// The C library's own time-zone conversion as an oracle: while a CLibraryZone lives, TZ names
// its zone; the previous TZ comes back when it goes.
#pragma once

#include <stdlib.h>
#include <time.h>

#include <optional>
#include <string>

namespace tqtest {

class CLibraryZone {
 public:
  explicit CLibraryZone(const char* zone) {
    if (const char* old = getenv("TZ")) saved_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~CLibraryZone() {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  CLibraryZone(const CLibraryZone&) = delete;
  CLibraryZone& operator=(const CLibraryZone&) = delete;

 private:
  std::optional<std::string> saved_;
};

}  // namespace tqtest
