// The search for the library file, in the order its header gives.
#include "host/library_locator.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "host/library_session.h"

#ifndef TQ_LIBRARY_SONAME
#define TQ_LIBRARY_SONAME "libtq240std.so"
#endif
#ifndef TQ_INSTALL_LIBDIR
#define TQ_INSTALL_LIBDIR "lib"
#endif

namespace tqhost {

std::string FindLibrary(const std::string& named) {
  if (!named.empty()) return named;
  const std::string here = ExecutableDirectory();
  for (const std::string& folder : {here, here + "/../lib", here + "/../" TQ_INSTALL_LIBDIR}) {
    for (const char* file : {TQ_LIBRARY_SONAME, "libtq240std.so"}) {
      const std::string path = folder + "/" + file;
      if (access(path.c_str(), R_OK) == 0) return path;
    }
  }
  return TQ_LIBRARY_SONAME;
}

std::string LoadedLibraryFile(void* handle) {
  link_map* map = nullptr;
  if (handle == nullptr || dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr ||
      map->l_name == nullptr)
    return "";
  char resolved[PATH_MAX];
  if (realpath(map->l_name, resolved) == nullptr) return map->l_name;
  return resolved;
}

}  // namespace tqhost
