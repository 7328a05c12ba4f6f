// Where tq240 finds the library it loads: the file named by --library (or TQ_LIBRARY), else
// the first that exists of libtq240std.so.MAJOR and libtq240std.so beside the executable, then
// in ../lib and ../LIBDIR of the installed layout, else the bare name, which the loader then
// looks up in its own search path (LD_LIBRARY_PATH, the system's library folders).
#pragma once

#include <string>

namespace tqhost {

// The path (or bare name) to hand to dlopen.
std::string FindLibrary(const std::string& named);

// The file dlopen actually loaded for `handle`, resolved through symbolic links; empty when
// the loader cannot tell.
std::string LoadedLibraryFile(void* handle);

}  // namespace tqhost
