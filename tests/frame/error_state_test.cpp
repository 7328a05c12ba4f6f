// The error state and the raise protocol.
#include <gtest/gtest.h>

#include "frame/component_proxy.h"
#include "frame/error_state.h"
#include "frame/library_descriptor.h"
#include "frame/library_state.h"
#include "frame/message_loader.h"
#include "frame/raise_error.h"

namespace {

using namespace tq;

class ErrorStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Library().languageCode = 12;
    Library().languageCell = nullptr;
    Library().stringLoader = nullptr;
    state_ = new CXError();
    AddReference(state_);
  }
  void TearDown() override {
    ReleaseReference(state_);
    Library().languageCode = 12;
  }
  CXError* state_ = nullptr;
};

TEST_F(ErrorStateTest, AnUnknownIdLeavesLevelThreeIdZeroAndADiagnostic) {
  Raise(state_, ThisLibrary(), 99999, {});
  EXPECT_EQ(state_->level, 3u);
  EXPECT_EQ(state_->errorId, 0u);
  EXPECT_EQ(state_->diagnostics.view(),
            u"##(CXError)-Pas de definition d'erreur dans gstErrorDef pour l'identifiant "
            u"<99999>##");
  EXPECT_EQ(state_->moduleName.view(), u"tq240std.dll");
  EXPECT_EQ(state_->moduleVersion.view(), u"24.0.156.0");
}

TEST_F(ErrorStateTest, ALevelOneDefinitionLeavesNoError) {
  Raise(state_, ThisLibrary(), 80160, {});
  EXPECT_EQ(state_->level, 1u);
  // Raised on top of an error (without the reset), it resets the whole state.
  Raise(state_, ThisLibrary(), 80260, {});
  Raise(state_, ThisLibrary(), 80160, {}, false);
  EXPECT_EQ(state_->level, 1u);
  EXPECT_EQ(state_->errorId, 0u);
  EXPECT_TRUE(state_->message.empty());
}

TEST_F(ErrorStateTest, ARaiseRecordsIdLevelMessageAndMessageId) {
  const MessageArg args[] = {MessageArg(int32_t{0})};
  Raise(state_, ThisLibrary(), 80260, args);
  EXPECT_EQ(state_->level, 3u);
  EXPECT_EQ(state_->errorId, 80260u);
  EXPECT_FALSE(state_->message.empty());
  ASSERT_FALSE(state_->messageIds.empty());
  EXPECT_EQ(state_->messageIds[0], 872u);
  Raise(state_, ThisLibrary(), 80014, {});
  EXPECT_EQ(state_->level, 2u);  // the raise starts from a reset state
}

TEST_F(ErrorStateTest, MessagesAreStackedNewestFirst) {
  SetMessage(state_, ThisLibrary(), 872, {});
  const std::u16string first(state_->message.view());
  SetMessage(state_, ThisLibrary(), 0x6E20, {});
  EXPECT_EQ(state_->message.view(), u"janvier\r\n" + first);
  ASSERT_EQ(state_->messageIds.size(), 2u);
  EXPECT_EQ(state_->messageIds[0], 0x6E20u);
}

TEST_F(ErrorStateTest, AnAbsentMessageIsReportedInTheDiagnostics) {
  SetMessage(state_, ThisLibrary(), 1, {});
  EXPECT_TRUE(state_->message.empty());
  EXPECT_EQ(state_->diagnostics.view(), u"##(CXError)-Ressource <1> non chargée##");
  AddMessage(state_, ThisLibrary(), 0x6E21, {});
  EXPECT_EQ(state_->diagnostics.view(),
            u"##(CXError)-Ressource <1> non chargée##\r\nfévrier");
}

TEST_F(ErrorStateTest, LanguageFourUsesTheEnglishBlock) {
  Library().languageCode = 4;
  EXPECT_EQ(LoadMessageText(0x6E20), u"January");
  Library().languageCode = 10;
  EXPECT_EQ(LoadMessageText(0x6E20), u"enero");
  Library().languageCode = 9;
  EXPECT_EQ(LoadMessageText(0x6E32), u"Sunday");
}

int32_t EmptyLoader(uint32_t, char16_t* buffer, int32_t) {
  buffer[0] = u'%';
  buffer[1] = u'0';
  buffer[2] = 0;
  return 2;
}

TEST_F(ErrorStateTest, AnEmptyFormattedTextIsReportedWithTheLastError) {
  Library().stringLoader = &EmptyLoader;  // "%0" formats to nothing
  SetMessage(state_, ThisLibrary(), 872, {});
  EXPECT_TRUE(state_->message.empty());
  EXPECT_EQ(state_->diagnostics.view().substr(0, 40),
            u"##(CXError)-Ressource <872> vide. LastEr");
  Library().stringLoader = nullptr;
}

TEST_F(ErrorStateTest, SystemErrorsCarryThePlatformsText) {
  RecordSystemError(state_, 2);
  EXPECT_EQ(state_->systemCode, 2u);
  EXPECT_FALSE(state_->systemMessage.empty());
  RecordSystemError(state_, 0);
  EXPECT_EQ(state_->systemCode, 0u);
  EXPECT_TRUE(state_->systemMessage.empty());
  SetSystemMessage(state_, u"socket 12 closed");
  EXPECT_EQ(state_->systemMessage.view(), u"socket 12 closed");
}

TEST_F(ErrorStateTest, ResetClearsEverything) {
  Raise(state_, ThisLibrary(), 80260, {});
  RecordSystemError(state_, 5);
  AddDiagnostic(state_, u"x");
  Reset(state_);
  EXPECT_EQ(state_->level, 1u);
  EXPECT_EQ(state_->errorId, 0u);
  EXPECT_EQ(state_->systemCode, 0u);
  EXPECT_TRUE(state_->message.empty());
  EXPECT_TRUE(state_->diagnostics.empty());
  EXPECT_TRUE(state_->messageIds.empty());
}

TEST_F(ErrorStateTest, NestedStatesAddTheirMessageOnceUnlessQuiet) {
  state_->message.assign(u"outer");
  MessageArgs none;
  CXError* child = state_->table->addNested(state_, &ThisLibrary(), 80260, &none, 0);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->errorId, 80260u);
  EXPECT_EQ(state_->message.view(), u"outer\r\n" + std::u16string(child->message.view()));
  state_->table->addNested(state_, &ThisLibrary(), 80260, &none, 0);
  EXPECT_EQ(state_->nested.size(), 2u);
}

TEST_F(ErrorStateTest, TextOperationsBySlot) {
  const int32_t message = static_cast<int32_t>(ErrorText::kMessage);
  state_->table->setText(state_, message, u"abc");
  state_->table->appendText(state_, message, u"def");
  state_->table->prependText(state_, message, u">");
  EXPECT_EQ(state_->message.view(), u">abcdef");
  state_->table->setText(state_, message, state_->message.buffer());  // the very buffer
  EXPECT_EQ(state_->message.view(), u">abcdef");
  state_->table->freeText(state_, message);
  EXPECT_TRUE(state_->message.empty());
  EXPECT_EQ(state_->table->setText(state_, 42, u"x"), 0);  // no such field
}

TEST_F(ErrorStateTest, RaiseErrorGoesThroughTheProxy) {
  ComponentProxy* proxy = CreateComponentProxy(ThisLibrary());
  RaiseError(proxy, 80210, {int32_t{5}, int32_t{1}});
  EXPECT_EQ(ErrorStateOf(proxy)->errorId, 80210u);
  proxy->table->destroy(proxy);
}

}  // namespace
