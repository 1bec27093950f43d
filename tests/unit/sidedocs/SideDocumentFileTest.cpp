// The files of every side-document kind: what is saved loads back as it was saved, a file cut
// short anywhere changes nothing but what the kind's file format allows, and a file that cannot
// be read is named. What a kind's file holds byte by byte is in its own tests.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "RecordingUi.h"
#include "SideDocumentKinds.h"
#include "TempDir.h"

namespace qs::test {
namespace {

class SideDocumentFile : public ::testing::TestWithParam<SideKind::Id> {
protected:
    std::unique_ptr<SideKind> Kind(bool filled) {
        auto kind = SideKind::Make(GetParam(), ui.services);
        if (filled) kind->Fill();
        return kind;
    }

    RecordingUi ui;
    TempDir dir;
};

TEST_P(SideDocumentFile, WhatIsSavedLoadsBackAsItWasSaved) {
    auto saved = Kind(true);
    ASSERT_TRUE(saved->Save(dir.File("saved")));
    const std::string bytes = dir.Read("saved");
    EXPECT_EQ(bytes, saved->Image());
    auto loaded = Kind(false);
    ASSERT_TRUE(loaded->Load(dir.File("saved"))) << ui.LastMessage();
    EXPECT_EQ(loaded->Image(), bytes);
    EXPECT_EQ(loaded->DeviceContent(), saved->DeviceContent());
    EXPECT_TRUE(ui.Messages().empty()) << ui.LastMessage();
}

TEST_P(SideDocumentFile, AFileCutShortChangesNothingOrLoadsItsWholeLines) {
    auto saved = Kind(true);
    const std::string bytes = saved->Image();
    const bool lines = GetParam() == SideKind::kCardDatabase;
    for (size_t cut = 0; cut < bytes.size(); cut += bytes.size() > 4000 ? 97 : 1) {
        SCOPED_TRACE(cut);
        dir.Write("cut", bytes.substr(0, cut));
        auto doc = Kind(false);
        ui.prompt.shown.clear();
        const std::string before = doc->Image();
        if (lines) {
            // A text file: every line before the cut, and what the cut left of the next.
            ASSERT_TRUE(doc->Load(dir.File("cut")));
            EXPECT_TRUE(ui.Messages().empty());
            auto expected = Kind(false);
            dir.Write("whole", bytes.substr(0, cut) + "\r\n");
            ASSERT_TRUE(expected->Load(dir.File("whole")));
            EXPECT_EQ(doc->Image(), expected->Image());
        } else {
            EXPECT_FALSE(doc->Load(dir.File("cut")));
            EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Unable to open " + dir.File("cut") +
                                                              "\nUnexpected file format."});
            EXPECT_EQ(doc->Image(), before);
        }
    }
}

TEST_P(SideDocumentFile, AFileThatCannotBeReadOrWrittenIsNamed) {
    auto doc = Kind(true);
    dir.Write("blocker", "a file where a folder should be");
    EXPECT_FALSE(doc->Save(dir.File("blocker/file")));
    EXPECT_FALSE(doc->Load(dir.File("missing")));
    const std::vector<std::string> said = ui.Messages();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0].rfind("Unable to save " + dir.File("blocker/file") + "\n", 0), 0u) << said[0];
    EXPECT_TRUE(said[0].ends_with("\nThe file on disk has not been changed.")) << said[0];
    EXPECT_EQ(said[1], "Unable to open " + dir.File("missing") + "\n" + std::strerror(ENOENT));
}

INSTANTIATE_TEST_SUITE_P(Kinds, SideDocumentFile, ::testing::ValuesIn(SideKind::kAll),
                         [](const auto& info) { return std::string(SideKind::Name(info.param)); });

}  // namespace
}  // namespace qs::test
