// Inside the file layer: who may use the files it makes, and whether this user may replace a file of the
// working folder. Several users share a company's folder: a file that one user's program makes must be one
// that the others' programs can open, write and remove as they could the files before it.
//
// Nothing outside the file layer includes this.
#pragma once

#include <sys/types.h>

#include <string_view>

namespace kv::files_internal {

// Gives a file the layer has just made (its descriptor) what the folder's users need: what the user's umask
// left it, and read and write for the group, or for every user, where the folder lets that class write in
// it (a group folder 2775 gives 0664, a 1777 or 0777 folder 0666). Those who may make files in the folder
// are the users it is shared with: where they may also rename and remove the files, they could put any
// content under a file's name anyway, and this grants nothing new; where the sticky bit keeps each file
// its owner's, they still work on the company, saving into its files. A folder that only its owner may
// write keeps what the umask gave. A mode that cannot be set is no failure: the others are then refused
// the file, which is safe.
void shareAsTheFolder(int fd);

// A replacement's new file `fresh` takes the permission bits of the file it replaces, and its group where
// the user may set it (a refusal is no failure); nothing when `replaced` is not there. Set-id bits are never
// carried: a data file is no program. Both are named as the program names them.
void takeModeOf(std::string_view fresh, std::string_view replaced);
// The same for a descriptor, from the replaced file's status.
void takeModeOf(int fd, mode_t mode, gid_t group);

// Refuses (FileError of FileOp::Rename, EPERM) a file of the working folder that this user may not rename
// onto or remove: anyone may who may write in the folder, but in a folder whose sticky bit is set (1777, as
// /tmp) only the file's owner, the folder's owner and root. A file that is not there passes.
void checkMayReplace(std::string_view name);

}  // namespace kv::files_internal
