// Inside the file layer: what the running command (file_command.cpp) offers the layer's other parts. The
// layer (files.cpp, folder_files.cpp, file_calls.cpp) hands it the writes it holds and the files it makes;
// the replacement (file_replacement.cpp) hands it its renames. Nothing else includes this.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kv::side_files {
struct IntentStep;
}

namespace kv::files_internal {

struct Image;

// A file the layer has just created: while a command runs, it is the command's own, whose old state is its
// absence, and the command writes it straight to disk.
void commandMadeFile(const std::filesystem::path& path);
// A file of the running command's company that is not there yet, opened: the command takes it into its
// care, to make it on disk at its commit after the journal that lists it; until then it lives in its image
// (Image::madeLater). False when no command runs, or for another company's file or a temporary.
bool commandMakesLater(const std::shared_ptr<Image>& img);
// A file the running command was to make, deleted again before its commit while no file number holds it:
// the command forgets it, and nothing of it reaches the disk. False when the command does not hold it so.
bool commandForgets(const std::shared_ptr<Image>& img);
// A write that the running command takes into its care instead of the disk; false when no command runs
// or the file is one the command made.
bool commandTakesWrite(const std::shared_ptr<Image>& img, std::int64_t offset, std::span<const std::uint8_t> data);
// The running command holds writes of this image that are not on disk yet.
bool commandHolds(const Image& img);

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
void commandMakeSteps();

}  // namespace kv::files_internal
