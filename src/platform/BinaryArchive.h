#pragma once
// The binary archive: the encoding the suite's document files are written in. One include
// for everything a document's Serialize needs.
#include "platform/ArchiveError.h"    // IWYU pragma: export
#include "platform/ArchiveObject.h"   // IWYU pragma: export
#include "platform/ArchiveReader.h"   // IWYU pragma: export
#include "platform/ArchiveWriter.h"   // IWYU pragma: export
