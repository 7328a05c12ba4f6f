// The entry points' lifecycle as the VM drives it: initialisation counting, conversion
// binding, execution events, proxies and message commands.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/component_proxy.h"
#include "frame/conversion_services.h"
#include "frame/entry_points.h"
#include "frame/handle_table.h"
#include "frame/library_state.h"
#include "frame/random_proxy.h"
#include "tests/frame/fake_vm.h"

namespace {

using namespace tq;
using namespace tq::entry;

intptr_t StartBlock(intptr_t size, void* module, intptr_t services, intptr_t (&a)[5]) {
  a[0] = size;
  a[1] = reinterpret_cast<intptr_t>(module);
  a[2] = 0;
  a[3] = 0;
  a[4] = services;
  return 0;
}

TEST(Lifecycle, InitialisationIsCountedAndTheHostValueKeptFromTheFirst) {
  EXPECT_EQ(CheckVersion(), 24);
  EXPECT_EQ(InitLibrary(111), 1);
  EXPECT_EQ(InitLibrary(222), 1);
  EXPECT_EQ(Library().hostHandle[0], 111);
  EXPECT_EQ(Library().hostHandle[2], 111);
  EXPECT_EQ(Library().initialised, 1);
  TermLibrary();
  EXPECT_EQ(Library().initialised, 1);
  TermLibrary();
  EXPECT_EQ(Library().initialised, 0);
  EXPECT_EQ(Library().host, nullptr);
}

TEST(Lifecycle, ConversionBindingChecksTheVersionWindowBeforeLookingAnythingUp) {
  ConversionServices& c = MutableConversionServices();
  c = ConversionServices{};
  EXPECT_EQ(InitConversion(fakevm::Module(), 1, 2, 0), 0);
  EXPECT_EQ(InitConversion(fakevm::Module(), 2, 3, 0), 0);
  EXPECT_EQ(c.convert, nullptr);
  EXPECT_EQ(InitConversion(fakevm::Module(), 2, 2, 0), 1);
  EXPECT_NE(c.convert, nullptr);
  EXPECT_NE(c.finish, nullptr);
  EXPECT_EQ(c.versionFrom, 2);
  EXPECT_EQ(c.versionTo, 2);
}

TEST(Lifecycle, StartQueriesTheServicesInTheVMsOrder) {
  fakevm::ResetQueries();
  intptr_t a[5];
  StartBlock(40, fakevm::Module(), reinterpret_cast<intptr_t>(fakevm::ServicesObject()), a);
  ASSERT_EQ(Execute(kEventStart, a, 5), 1);
  const std::vector<intptr_t> expected = {9, 10, 12, 13, 2, 18, 15, 14, 17, 1, 5, 3, 4, 8};
  EXPECT_EQ(fakevm::QueriedServices(), expected);
  EXPECT_EQ(CurrentLanguageCode(), 9);  // the cell of service 18 holds 9
  EXPECT_EQ(Library().vmService[8], 5);
  EXPECT_EQ(Execute(kEventStop, nullptr, 0), 1);
  EXPECT_EQ(Library().host, nullptr);
}

TEST(Lifecycle, AShortStartBlockIgnoresTheFifthWordAndAsksForServiceSeven) {
  fakevm::ResetQueries();
  intptr_t a[5];
  StartBlock(8, fakevm::Module(), 12345, a);
  ASSERT_EQ(Execute(kEventStart, a, 5), 1);
  const auto& q = fakevm::QueriedServices();
  EXPECT_NE(std::find(q.begin(), q.end(), 7), q.end());
  EXPECT_EQ(Library().vmService[7], reinterpret_cast<intptr_t>(fakevm::ServicesObject()));
  EXPECT_EQ(Execute(kEventStop, nullptr, 0), 1);
}

TEST(Lifecycle, StartReservesTwoHandlesAndTheLastStopDestroysTheHost) {
  intptr_t a[5];
  StartBlock(40, fakevm::Module(), 0, a);
  ASSERT_EQ(Execute(kEventStart, a, 5), 1);
  EXPECT_EQ(Handles().highWater(), 2u);  // the first two handles are reserved
  EXPECT_EQ(Handles().capacity(), 5u);
  ExecutionHost* host = Library().host;
  ASSERT_EQ(Execute(kEventStart, a, 5), 1);
  EXPECT_EQ(Library().host, host);  // reused
  EXPECT_EQ(Execute(kEventStop, nullptr, 0), 1);
  EXPECT_EQ(Library().host, host);
  EXPECT_EQ(Execute(kEventStop, nullptr, 0), 1);
  EXPECT_EQ(Library().host, nullptr);
  EXPECT_EQ(Execute(kEventStop, nullptr, 0), 0);
}

TEST(Lifecycle, EventsWithoutAHost) {
  intptr_t args[2] = {};
  EXPECT_EQ(Execute(kEvent4879, args, 2), 0);
  EXPECT_EQ(Execute(kEvent5684, args, 2), 0);
  EXPECT_EQ(Execute(kEvent5864, args, 2), 0);
  EXPECT_EQ(Execute(kEventEnumerate, args, 2), 0);
  EXPECT_EQ(Execute(kEventFilter, args, 2), 1);  // no filter object
  EXPECT_EQ(Execute(12345, args, 2), 0);
  EXPECT_EQ(Execute(kEventParameter, args, 2), 1);
  EXPECT_EQ(Library().eventParameter, reinterpret_cast<intptr_t>(args));
}

TEST(Proxies, OnlyComponentAndRandomProxiesExist) {
  EXPECT_EQ(QueryProxy(5), nullptr);
  auto* random = static_cast<RandomProxy*>(QueryProxy(kProxyRandom));
  ASSERT_NE(random, nullptr);
  EXPECT_EQ(random->table->addRef(random), 2);
  EXPECT_EQ(random->table->release(random), 1);
  EXPECT_EQ(random->table->random(random, 7, 7), 7);
  const int32_t r = random->table->random(random, 10, -10);
  EXPECT_GE(r, -10);
  EXPECT_LE(r, 10);
  EXPECT_EQ(random->table->release(random), 0);

  auto* proxy = static_cast<ComponentProxy*>(QueryProxy(kProxyComponent));
  ASSERT_NE(proxy, nullptr);
  EXPECT_EQ(proxy->table->constant0(proxy), 8);
  EXPECT_EQ(proxy->table->constant1(proxy), 2);
  EXPECT_EQ(proxy->table->constant26(proxy), 8);
  EXPECT_EQ(proxy->table->zero21(proxy), 0);
  EXPECT_EQ(proxy->table->setOption(proxy, 1, 5), 1);
  EXPECT_EQ(proxy->table->setOption(proxy, 2, 5), 0);
  EXPECT_EQ(proxy->table->createCompanion(proxy, 3), nullptr);
  EXPECT_NE(proxy->table->errorState(proxy), nullptr);
  proxy->table->destroy(proxy);
}

TEST(Proxies, DeclareProxyWritesZeros) {
  int32_t a = 7, c = 7;
  int16_t b = 7, d = 7;
  DeclareProxies(&a, &b, &c, &d);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(c, 0);
  EXPECT_EQ(d, 0);
}

TEST(Commands, UnknownCommandsAnswerZero) { EXPECT_EQ(Command(9, 0), 0); }

int32_t LoaderWithLongText(uint32_t id, char16_t* buffer, int32_t capacity) {
  if (id != 4242) return 0;
  const std::u16string text(300, u'x');
  if (capacity < 300) return 300;
  std::memcpy(buffer, text.c_str(), (text.size() + 1) * 2);
  return 300;
}

TEST(Commands, AStringLoaderIsAskedFirstAndReturnedUnchanged) {
  EXPECT_EQ(Command(2, reinterpret_cast<intptr_t>(&LoaderWithLongText)), 1);
  char16_t buffer[400] = {};
  intptr_t block[5] = {0, 4242, reinterpret_cast<intptr_t>(buffer), 400, 0};
  EXPECT_EQ(Command(3, reinterpret_cast<intptr_t>(block)), 300);
  EXPECT_EQ(block[4], 300);
  Command(2, 0);
}

TEST(Commands, MessageIntoACallersBufferIsCutToCapacityLessOne) {
  Library().languageCode = 12;
  Library().languageCell = nullptr;
  char16_t buffer[10];
  intptr_t block[5] = {0, 872, reinterpret_cast<intptr_t>(buffer), 10, 0};
  EXPECT_EQ(Command(3, reinterpret_cast<intptr_t>(block)), 9);
  EXPECT_EQ(std::u16string(buffer).size(), 9u);
  intptr_t absent[5] = {0, 1, reinterpret_cast<intptr_t>(buffer), 10, 0};
  EXPECT_EQ(Command(3, reinterpret_cast<intptr_t>(absent)), 0);
  EXPECT_EQ(Command(4, 1), -1);
  const intptr_t flags = Command(4, 872);
  EXPECT_GE(flags, 0);
  EXPECT_LE(flags, 3);
}

TEST(StaticInitialisation, TheVersionMarkerSelectsTheLanguage) {
  EXPECT_EQ(LanguageFromVersionMarker(kVersionMarker), 12);
  EXPECT_EQ(LanguageFromVersionMarker("VersionVI: 01A240077f"), 9);
  EXPECT_EQ(LanguageFromVersionMarker("VersionVI: 01C240077f"), 4);
  EXPECT_EQ(LanguageFromVersionMarker("VersionVI: 01E240077f"), 10);
  EXPECT_EQ(LanguageFromVersionMarker("short"), 12);
}

}  // namespace
