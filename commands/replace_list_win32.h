// The run's queue of files to be replaced at restart: a temporary file that lives from start-up
// to shut-down, open for reading and writing, holding pairs of lines (the staged copy, then the
// file it is to replace).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ReplacePair {
  std::string staged;
  std::string target;
};

class ReplaceList {
 public:
  ReplaceList() = default;
  ReplaceList(const ReplaceList&) = delete;
  ReplaceList& operator=(const ReplaceList&) = delete;
  ~ReplaceList() { Discard(); }

  // Creates the empty queue file in the temporary directory and keeps it open.
  bool Create();
  // Closes the queue and deletes its file.
  void Discard();
  const std::string& Path() const { return path_; }

  // Appends a pair at the end of the queue.
  bool Append(const ReplacePair& pair);
  // Every complete pair, from the start of the queue.
  std::vector<ReplacePair> Pairs();
  // Empties the queue.
  void Clear();

 private:
  std::string path_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
};
