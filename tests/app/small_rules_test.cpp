// The shell's small rules: command-line names, document names, brush steps,
// the language and the menu table.
#include <gtest/gtest.h>

#include <set>

#include "edit/brush.h"
#include "app/cli/command_line_name.h"
#include "io/path_names.h"
#include "app/text/ui_text.h"

namespace cubrik {
namespace {

TEST(CommandLineName, QuotesBlanksAndTheFirstName) {
    EXPECT_EQ(commandLineFileName("  \t\"my model.cbk\" other"), "my model.cbk");
    EXPECT_EQ(commandLineFileName("\"unterminated name.cbk"), "");
    EXPECT_EQ(commandLineFileName("\"a b.cbk\" \"c d.cbk\""), "a b.cbk\" \"c d.cbk");
    EXPECT_EQ(commandLineFileName("first.cbk second.cbk"), "first.cbk");
    EXPECT_EQ(commandLineFileName("\tplain.cbk"), "plain.cbk");
    EXPECT_EQ(commandLineFileName("   "), "");
    EXPECT_EQ(commandLineFileName(""), "");
}

TEST(CommandLineName, ArgumentsWithBlanksAreQuotedAsAShellWouldHaveTypedThem) {
    EXPECT_EQ(commandLineOf({"my model.cbk", "x"}), "\"my model.cbk\" x");
    EXPECT_EQ(commandLineFileName(commandLineOf({"/tmp/a b/c.cbk"})), "/tmp/a b/c.cbk");
}

TEST(DocumentPaths, FolderTitleAndExtension) {
    EXPECT_EQ(folderOf("/home/me/models/a.cbk"), "/home/me/models");
    EXPECT_EQ(folderOf("a.cbk"), "");
    EXPECT_EQ(titleOf("/home/me/models/big cube.v2.cbk"), "big cube.v2");
    EXPECT_EQ(titleOf("/home/me.d/noext"), "noext");
    EXPECT_TRUE(extensionStartsWith("model.CBK", "cbk"));
    EXPECT_TRUE(extensionStartsWith("x.objx", "obj"));
    EXPECT_FALSE(extensionStartsWith("model.txt", "cbk"));
    EXPECT_FALSE(extensionStartsWith("/a.cbk/model", "cbk"));
    EXPECT_FALSE(extensionStartsWith("model.cb", "cbk"));
}

TEST(BrushSize, StepsFollowTheTwoLadders) {
    auto ladder = [](int from, int delta, int steps) {
        std::vector<int> sizes;
        std::int32_t size = from;
        for (int i = 0; i < steps; ++i) {
            stepBrushSize(size, delta);
            sizes.push_back(size);
        }
        return sizes;
    };
    EXPECT_EQ(ladder(1, +1, 14), (std::vector<int>{2, 3, 4, 5, 6, 7, 9, 11, 13, 16, 19, 22, 25, 25}));
    EXPECT_EQ(ladder(25, -1, 13), (std::vector<int>{22, 19, 16, 13, 10, 8, 6, 5, 4, 3, 2, 1, 1}));
    EXPECT_EQ(ladder(23, +1, 1), (std::vector<int>{26}));
    EXPECT_EQ(ladder(24, +1, 1), (std::vector<int>{24}));
    EXPECT_EQ(ladder(13, -120, 1), (std::vector<int>{10}));  // one step whatever the wheel's delta
    EXPECT_EQ(ladder(10, 0, 1), (std::vector<int>{10}));
}

TEST(UiText, JapaneseForAJapaneseLocaleOnly) {
    EXPECT_EQ(languageOfLocale("ja_JP.UTF-8"), Language::Japanese);
    EXPECT_EQ(languageOfLocale("ja_JP"), Language::Japanese);
    EXPECT_EQ(languageOfLocale("ja"), Language::Japanese);
    EXPECT_EQ(languageOfLocale("en_US.UTF-8"), Language::English);
    EXPECT_EQ(languageOfLocale("jv_ID"), Language::English);
    EXPECT_EQ(languageOfLocale("C"), Language::English);
    EXPECT_EQ(fillIn(uiStrings(Language::English).unsavedPrompt, "Untitled1"),
              "Untitled1 has changes. Do you want to save the model?");
    EXPECT_EQ(fillIn(uiStrings(Language::Japanese).unsavedPrompt, "無題1"), "無題1は変更されています。保存しますか?");
    EXPECT_EQ(uiStrings(Language::Japanese).saveFilters[4].label, "メタセコイヤ(*.mqo)");
}

TEST(UiText, TheMenuHasEveryCommandOnceInBothLanguages) {
    std::set<int> commands;
    int items = 0;
    for (const MenuPopup& popup : menuBar())
        for (const MenuItem& item : popup.items) {
            if (item.command == 0) continue;
            ++items;
            commands.insert(item.command);
            EXPECT_NE(std::string(item.english).find("(&"), std::string::npos) << item.english;
            EXPECT_NE(std::string(item.japanese).find("(&"), std::string::npos) << item.japanese;
        }
    EXPECT_EQ(commands.size(), static_cast<std::size_t>(items));  // Open recent's entries come from the list
    EXPECT_EQ(std::string(menuBar()[0].text(Language::Japanese)), "ファイル(&F)");
    EXPECT_EQ(std::string(menuBar()[6].items[2].text(Language::Japanese)), "バージョン情報(&V)");
    EXPECT_EQ(std::string(menuBar()[3].items[4].text(Language::English)), "Front(&F)");
    EXPECT_EQ(menuBar()[3].items[9].command, command::kLastView);
}

}  // namespace
}  // namespace cubrik
