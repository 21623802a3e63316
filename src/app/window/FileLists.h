// The three list controls of the file selection dialog as plain objects: a drive list, a
// directory list and a file list, each holding its value and the items it shows. Setting the
// drive of the drive list or the path of the directory list raises that list's Change callback at
// once, whether the value came from the user or from code, so handlers nest exactly as written.
// A value that cannot be read throws DriveFault and leaves the list as it was.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Directories.h"

namespace rh {

class DriveListBox {
 public:
  // Starts on the drive that holds the process's current directory.
  explicit DriveListBox(Directories& dirs);

  const std::vector<std::string>& Items() const { return state_.items; }
  const std::string& Drive() const { return state_.drive; }

  // Selects the drive that holds `value` (a drive or any path on it). Raises Change when the drive
  // differs from the current one; throws DriveFault when the drive cannot be read.
  void SetDrive(const std::string& value);

  struct State {
    std::vector<std::string> items;
    std::string drive;
  };
  State Snapshot() const { return state_; }
  void Restore(State state);  // puts an earlier state back without raising Change

  int Version() const { return version_; }  // changes whenever what the list shows changes
  std::function<void()> Change;

 private:
  Directories& dirs_;
  State state_;
  int version_ = 0;
};

// One line of the directory list: an ancestor of the path (the path itself last among them) or
// one of the path's subdirectories.
struct DirItem {
  std::string path;   // full path
  std::string label;  // what the line shows: the last name, or the separator for the root
  bool ancestor = false;
};

class DirListBox {
 public:
  // Starts on the process's current directory ("/" when that cannot be read).
  explicit DirListBox(Directories& dirs);

  const std::string& Path() const { return state_.path; }
  const std::vector<DirItem>& Items() const { return state_.items; }
  // Test seam: the line of the path itself among the items.
  int IndexOfPath() const { return state_.pathIndex; }

  // Opens `value` (absolute, or relative to the current path): lists it, then raises Change when
  // the path differs from the current one. Throws DriveFault when it cannot be read.
  void SetPath(const std::string& value);

  struct State {
    std::string path;
    std::vector<DirItem> items;
    int pathIndex = 0;
  };
  State Snapshot() const { return state_; }
  void Restore(State state);

  int Version() const { return version_; }
  std::function<void()> Change;

 private:
  State Listing(const std::string& path) const;

  Directories& dirs_;
  State state_;
  int version_ = 0;
};

class FileListBox {
 public:
  // Starts on the process's current directory with the pattern "*.*".
  explicit FileListBox(Directories& dirs);

  const std::string& Path() const { return state_.path; }
  const std::vector<std::string>& Items() const { return state_.items; }
  // Test seam: the pattern the list applies.
  const std::string& Pattern() const { return state_.pattern; }
  int ListIndex() const { return state_.listIndex; }  // -1 when no file is selected
  // The selected file's name without its directory; "" when none is selected.
  std::string FileName() const;

  // Each of these lists the files afresh and clears the selection. DriveFault when unreadable.
  void SetPath(const std::string& value);
  void SetPattern(const std::string& value);
  void Refresh();

  // Selects line `index` (a click); an index outside the list clears the selection.
  void Select(int index);

  struct State {
    std::string path;
    std::string pattern;
    std::vector<std::string> items;
    int listIndex = -1;
  };
  State Snapshot() const { return state_; }
  void Restore(State state);

  int Version() const { return version_; }

 private:
  void List(const std::string& path, const std::string& pattern);

  Directories& dirs_;
  State state_;
  int version_ = 0;
};

}  // namespace rh
