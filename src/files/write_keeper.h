// Inside the file layer: the one way its lower parts reach up to a running command. The images
// (files.cpp), the whole files by name (folder_files.cpp) and the system calls (file_calls.cpp) write
// through to disk, and hand what a command must know to the keeper installed: the running command
// (file_command.cpp) installs itself while it runs, and takes their writes into its care, to reach the disk
// at its commit under its journal. While none runs, the keeper is one that takes nothing.
//
// Nothing outside the file layer includes this.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace kv::files_internal {

struct Image;

class WriteKeeper {
 public:
  // A file the layer has just created: the running command's own, whose old state is its absence, and
  // which it writes straight to disk.
  virtual void madeFile(const std::filesystem::path& path) = 0;
  // A file of the running command's company that is not there yet, opened: the command takes it into its
  // care, to make it on disk at its commit after the journal that lists it; until then it lives in its image
  // (Image::madeLater). False for another company's file or a temporary.
  virtual bool makesLater(const std::shared_ptr<Image>& img) = 0;
  // A file the running command was to make, deleted again before its commit while no file number holds it:
  // the command forgets it, and nothing of it reaches the disk. False when the command does not hold it so.
  virtual bool forgets(const std::shared_ptr<Image>& img) = 0;
  // A write that the running command takes into its care instead of the disk; false for a file it made.
  virtual bool takesWrite(const std::shared_ptr<Image>& img, std::int64_t offset,
                          std::span<const std::uint8_t> data) = 0;
  // The running command holds writes of this image that are not on disk yet.
  virtual bool holds(const Image& img) const = 0;

 protected:
  ~WriteKeeper() = default;
};

// The keeper installed; while no command runs, one that takes nothing and holds nothing.
WriteKeeper& writeKeeper();
// Installs the running command's keeper while it runs (null when it ends); the layer does not own it.
void setWriteKeeper(WriteKeeper* keeper);

}  // namespace kv::files_internal
