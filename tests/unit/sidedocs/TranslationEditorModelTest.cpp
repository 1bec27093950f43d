// What the translation editor does without its windows: where Find lands, what a printout
// holds, and the backup an upgraded file leaves behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <set>

#include "TempDir.h"
#include "sidedocs/translations/CTranslation.h"
#include "sidedocs/translations/TranslationBackup.h"
#include "sidedocs/translations/TranslationPrint.h"
#include "sidedocs/translations/TranslationSearch.h"

namespace qs::test {
namespace {

constexpr int kRows = 4574;

// Rows tested, in order, by one request, and what it found.
struct SearchRun {
    std::vector<int> tested;
    std::optional<int> found;
};

SearchRun Search(TranslationSearch& search, int kind, bool backward, int focused, std::set<int> matching = {}) {
    SearchRun run;
    run.found = search.Find(kind, backward, focused, [&](int row) {
        run.tested.push_back(row);
        return matching.count(row) > 0;
    });
    return run;
}

TEST(TranslationFind, FromTheStartCoversEveryRowInTheDirectionAsked) {
    TranslationSearch search(kRows);
    const SearchRun back = Search(search, TranslationSearch::kFromStart, true, -1);
    ASSERT_EQ(back.tested.size(), 4574u);
    EXPECT_EQ(back.tested.front(), 4573);
    EXPECT_EQ(back.tested.back(), 0);
    EXPECT_EQ(back.found, std::nullopt);
    const SearchRun forward = Search(search, TranslationSearch::kFromStart, false, 17);
    EXPECT_EQ(forward.tested.front(), 0);
    EXPECT_EQ(forward.tested.back(), 4573);
}

TEST(TranslationFind, NextContinuesAfterTheLastMatchInEitherDirection) {
    TranslationSearch search(kRows);
    const std::set<int> rows = {10, 20, 30};
    EXPECT_EQ(Search(search, TranslationSearch::kFromStart, false, -1, rows).found, 10);
    EXPECT_EQ(Search(search, TranslationSearch::kNext, false, -1, rows).found, 20);
    const SearchRun back = Search(search, TranslationSearch::kNext, true, -1, rows);
    EXPECT_EQ(back.tested.front(), 19);
    EXPECT_EQ(back.found, 10);
    EXPECT_EQ(search.Position(), 10);
    // Past the first row: nothing more.
    EXPECT_EQ(Search(search, TranslationSearch::kNext, true, -1, rows).found, std::nullopt);
}

TEST(TranslationFind, FromTheCursorStartsAtTheFocusedRowOrFindsNothing) {
    TranslationSearch search(kRows);
    const SearchRun at = Search(search, TranslationSearch::kFromCursor, false, 20, {20, 30});
    EXPECT_EQ(at.tested, std::vector<int>{20});
    EXPECT_EQ(at.found, 20);
    const SearchRun none = Search(search, TranslationSearch::kFromCursor, false, -1, {20});
    EXPECT_TRUE(none.tested.empty());
    EXPECT_EQ(none.found, std::nullopt);
    const SearchRun opened = Search(search, TranslationSearch::kOpened, false, 5, {5});
    EXPECT_TRUE(opened.tested.empty());
    EXPECT_EQ(opened.found, std::nullopt);
}

TEST(TranslationPrintout, OneLinePerLiteralFiftyTwoToAPage) {
    CTranslation t;
    t.SetText(0, "Duravane III Bereit, eine sehr lange Meldung mit Rest");
    t.SetText(4573, "ErrAndere");
    const PrintSheet sheet = TranslationPrint::Print(t);
    const std::vector<std::string> lines = sheet.Lines();
    ASSERT_EQ(lines.size(), 4574u);
    EXPECT_EQ(lines[0], "Duravane III Ready" + std::string(20, ' ') + "   " +
                            std::string("Duravane III Bereit, eine sehr lange Meldung mit Rest").substr(0, 38));
    EXPECT_EQ(lines[1], "Press SET key" + std::string(25, ' ') + "   " + std::string(38, ' '));
    EXPECT_EQ(lines[4573], "ErrOther" + std::string(30, ' ') + "   ErrAndere" + std::string(29, ' '));
    // Lines 4 to 55 of each page.
    const auto& items = sheet.Items();
    EXPECT_EQ(items[0].line, 4);
    EXPECT_EQ(items[51].line, 55);
    EXPECT_EQ(items[52].kind, PrintItem::Kind::PageBreak);
    EXPECT_EQ(items[53].line, 4);
    EXPECT_EQ(sheet.Pages(), (4574 + 51) / 52);
}

TEST(TranslationPrintout, DoubleByteTextIsNeverCutInsideACharacter) {
    // 37 bytes of ASCII and then a two-byte character: it does not fit and is left out.
    const std::string text = std::string(37, 'a') + "\xD6\xD0" + "b";
    EXPECT_EQ(TranslationPrint::Column(text, 5), std::string(37, 'a') + " ");
    EXPECT_EQ(TranslationPrint::Column(text, 0), std::string(37, 'a') + "\xD6");
    EXPECT_EQ(TranslationPrint::Column("\xD6\xD0\xCE\xC4", 5), "\xD6\xD0\xCE\xC4" + std::string(34, ' '));
}

TEST(TranslationBackupPath, ReplacesTheExtensionOfTheFileNameOnly) {
    EXPECT_EQ(TranslationBackup::BackupPath("/a/b/Deutsch.LGX"), "/a/b/Deutsch.LXB");
    EXPECT_EQ(TranslationBackup::BackupPath("/a/b/Deutsch.old.lgx"), "/a/b/Deutsch.old.LXB");
    EXPECT_EQ(TranslationBackup::BackupPath("/a/b.c/Deutsch"), "/a/b.c/Deutsch.LXB");
    EXPECT_EQ(TranslationBackup::BackupPath("Deutsch"), "Deutsch.LXB");
}

TEST(TranslationBackupRename, MovesTheFileButNeverOverAnExistingBackup) {
    TempDir dir;
    dir.Write("one.LGX", "old one");
    const auto backup = TranslationBackup::Rename(dir.File("one.LGX"));
    ASSERT_TRUE(backup);
    EXPECT_EQ(*backup, dir.File("one.LXB"));
    EXPECT_EQ(dir.Read("one.LXB"), "old one");
    struct stat st;
    EXPECT_NE(::stat(dir.File("one.LGX").c_str(), &st), 0);

    dir.Write("one.LGX", "newer one");
    EXPECT_EQ(TranslationBackup::Rename(dir.File("one.LGX")), std::nullopt);
    EXPECT_EQ(dir.Read("one.LGX"), "newer one");
    EXPECT_EQ(dir.Read("one.LXB"), "old one");
    EXPECT_EQ(TranslationBackup::Rename(dir.File("missing.LGX")), std::nullopt);
}

}  // namespace
}  // namespace qs::test
