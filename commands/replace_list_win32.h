// The run's queue of files to be replaced at restart: a temporary file that lives from start-up
// to shut-down.
#pragma once

#include <string>

class ReplaceList {
 public:
  // Creates the empty queue file in the temporary directory.
  bool Create();
  // Closes the queue and deletes its file.
  void Discard();
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};
