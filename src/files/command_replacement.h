// Inside the file layer: what the running command offers a replacement within it (file_replacement.cpp):
// its writes in place reach the disk first, then its intent of the replacement's renames is written, then
// the renames are made. Nothing outside the file layer includes this.
#pragma once

#include <vector>

namespace kv::side_files {
struct IntentStep;
}

namespace kv::files_internal {

// The running command's writes in place reach the disk under its journal, before its replacement's intent;
// throws FileError, the command to be undone.
void commandWritesInPlace();
// A replacement within the running command: the intent of `steps` is written and readied (after the writes
// in place, which go first when they have not); from then on the command is committed, never undone. From
// its first byte the temporaries that `steps` move are the command's: an undo removes them with the intent,
// or leaves both for the next opening. Throws FileError while the command is not committed.
void commandIntends(const std::vector<side_files::IntentStep>& steps);
// Makes the committed command's steps, trying again where one fails. When they still fail, throws that
// FileError: the side files stay, and the company waits for its next opening, which completes them.
void commandAppliesIntent();

}  // namespace kv::files_internal
