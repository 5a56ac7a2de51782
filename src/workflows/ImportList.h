// File lists come back as discs: a file list (.efu, this program's or
// another's) or this program's CSV list of search results becomes the
// snapshot of a new disc, which browses and searches like any other. Import's
// name rules and messages apply; a line that does not parse refuses the whole
// file, naming the line, and nothing is filed. Texts are GBK.
#pragma once

#include <string>
#include <string_view>

#include "platform/DriveMap.h"
#include "snapshot/SnapshotIndex.h"
#include "workflows/DiscCataloguing.h"
#include "workflows/Workspace.h"

namespace movra {

// Reads the rows of a list into index. A row whose path starts with a drive
// ("C:\Users\") keeps it; the rows of a list without drives (made from
// catalogued discs, each path starting with the disc's catalogue path) lose
// the folders every row shares and are filed below root ("E:\"). Folders the
// list holds files of but does not name are filed too. kFailed with the
// message when a line does not parse or a path is too long; kNothingFound
// for a list without rows.
WorkflowResult ReadFileList(std::string_view text, std::string_view root, SnapshotIndex& index);

// Reads the list file (a path as Fs() takes it) below the first optical
// drive's root, then files it as a new disc with Import's checks and messages.
WorkflowResult ImportFileList(Workspace& work, const DriveMap& drives, const std::string& file,
                              const DiscInput& input);

}  // namespace movra
