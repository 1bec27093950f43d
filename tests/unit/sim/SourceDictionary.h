#pragma once
// The dictionary source of the repository, as the simulator's tests load it: the codes a
// simulator serves when it is started without --no-dictionary.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "device/DictionaryParser.h"

namespace sim::test {

inline const std::string kDictionaryFolder = QS_SOURCE_DIR "/src/resources/dictionary";

// The whole source, loaded; a fault in it fails the calling test.
inline std::shared_ptr<Dictionary> SourceDictionary() {
    auto d = std::make_shared<Dictionary>();
    EXPECT_EQ(DictionaryParser::Load(kDictionaryFolder, *d), "");
    return d;
}

}  // namespace sim::test
