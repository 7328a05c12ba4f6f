// Module loading: absent device modules, registered built-in and host modules, absolute
// host paths, reference counts and the main program's handle.
#include "platform/modules.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/last_error.h"
#include "platform/utf8.h"

namespace ce {
namespace {

INT_PTR Answer() {
  return 42;
}
INT_PTR Seven() {
  return 7;
}
using Procedure = INT_PTR (*)();
FARPROC AsFarProc(Procedure procedure) {
  return reinterpret_cast<FARPROC>(procedure);
}
INT_PTR Call(FARPROC procedure) {
  return reinterpret_cast<Procedure>(procedure)();
}

// The host path of the shared object that holds the C library's maths.
std::string LibmPath() {
  Dl_info info{};
  double (*cosine)(double) = &::cos;
  EXPECT_NE(dladdr(reinterpret_cast<void*>(cosine), &info), 0);
  return info.dli_fname ? info.dli_fname : "";
}

TEST(Modules, AbsentDeviceModulesAreANormalOutcome) {
  for (const char16_t* name :
       {u"Ws2.dll", u"Winsock.dll", u"TOOLHELP.DLL", u"\\Windows\\x.dll", u"/no/such/library.so"}) {
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(name), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(GetModuleHandleW(name), nullptr);
  }
  EXPECT_EQ(LoadLibraryW(nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(Modules, BuiltinModulesByNameAndOrdinal) {
  RegisterBuiltinDeviceModule(u"note_prj.dll", {{"Answer", 0, AsFarProc(&Answer)},
                                                {"", 12, AsFarProc(&Seven)},
                                                {"Both", 11, AsFarProc(&Seven)}});
  HMODULE module = LoadLibraryW(u"\\Windows\\NOTE_PRJ.DLL");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(LoadLibraryW(u"note_prj"), module);  // counted twice now
  EXPECT_EQ(GetModuleHandleW(u"Note_Prj.dll"), module);
  EXPECT_EQ(DeviceModuleKey(u"a/b.cpl"), u"b.cpl");  // another extension is kept

  FARPROC answer = GetProcAddressW(module, u"Answer");
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(Call(answer), 42);
  FARPROC byOrdinal = GetProcAddress(module, reinterpret_cast<const char*>(uintptr_t{12}));
  ASSERT_NE(byOrdinal, nullptr);
  EXPECT_EQ(Call(byOrdinal), 7);
  EXPECT_NE(GetProcAddressW(module, reinterpret_cast<const char16_t*>(uintptr_t{11})), nullptr);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(module, "Missing"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_EQ(GetProcAddress(module, reinterpret_cast<const char*>(uintptr_t{99})), nullptr);

  UnregisterDeviceModule(u"note_prj.dll");
  EXPECT_EQ(LoadLibraryW(u"note_prj.dll"), nullptr);
  EXPECT_NE(GetProcAddress(module, "Answer"), nullptr);  // the loaded handle stays valid
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(GetModuleHandleW(u"note_prj.dll"), module);
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(GetModuleHandleW(u"note_prj.dll"), nullptr);
  SetLastError(0);
  EXPECT_FALSE(FreeLibrary(module));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(Modules, HostSharedObjects) {
  const std::string libm = LibmPath();
  ASSERT_FALSE(libm.empty());
  const std::u16string path = Utf8ToUtf16(libm);
  HMODULE byPath = LoadLibraryW(path.c_str());
  ASSERT_NE(byPath, nullptr);
  auto cosine = reinterpret_cast<double (*)(double)>(GetProcAddress(byPath, "cos"));
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(GetModuleHandleW(path.c_str()), byPath);
  EXPECT_EQ(GetProcAddress(byPath, reinterpret_cast<const char*>(uintptr_t{1})), nullptr);
  EXPECT_TRUE(FreeLibrary(byPath));

  RegisterDeviceModule(u"mathlib.dll", libm);
  HMODULE byName = LoadLibraryW(u"MathLib");
  ASSERT_NE(byName, nullptr);
  EXPECT_NE(GetProcAddressW(byName, u"sqrt"), nullptr);
  EXPECT_TRUE(FreeLibrary(byName));
  UnregisterDeviceModule(u"mathlib.dll");

  RegisterDeviceModule(u"broken.dll", "/no/such/object.so");
  EXPECT_EQ(LoadLibraryW(u"broken.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  UnregisterDeviceModule(u"broken.dll");
}

TEST(Modules, MainProgramHandleFromTheLoaderWorksWithGetProcAddress) {
  HMODULE self = GetModuleHandleW(nullptr);
  ASSERT_NE(self, nullptr);
  EXPECT_NE(GetProcAddress(self, "strlen"), nullptr);
  void* raw = dlopen(nullptr, RTLD_LAZY);  // as the VM stand-in hands it over
  EXPECT_NE(GetProcAddressW(raw, u"strlen"), nullptr);
  dlclose(raw);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(nullptr, "strlen"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

}  // namespace
}  // namespace ce
