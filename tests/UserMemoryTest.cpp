#include <gtest/gtest.h>

#include <string>

#include "Fakes.h"
#include "app/window/UserMemory.h"

namespace rh {
namespace {

// The memory file reads whatever it can use and passes over the rest.
TEST(UserMemory, ReadsWhatItCanUse) {
  struct {
    const char* name;
    std::string text;
    std::string project, notes, studies;
  } cases[] = {
      {"written lines", "project=Mission Hills\nnotes=a\\nb\\\\c\nfolder-studies=/w\n",
       "Mission Hills", "a\nb\\c", "/w"},
      {"CR LF, junk and unknown keys", "garbage\r\nproject=P\r\ncolour=red\r\n=x\r\n", "P", "", ""},
      {"a control character or a bad escape drops the value", "project=a\x01z\nnotes=a\\qb\n", "",
       "", ""},
      {"a last line cut short is dropped", "project=P\nfolder-studies=/hal", "P", "", ""},
  };
  for (const auto& c : cases) {
    const UserMemory memory = ParseUserMemory(c.text);
    EXPECT_EQ(memory.Project.ProjectName, c.project) << c.name;
    EXPECT_EQ(memory.Project.Notes, c.notes) << c.name;
    EXPECT_EQ(memory.Folder(DialogFolder::Studies), c.studies) << c.name;
  }
}

// Details with line breaks and backslashes come back as they went, and folders are remembered in
// Study.ini beside Setup.ini, which stays as it was.
TEST(UserMemory, RemembersBetweenSessions) {
  test::MemoryFileSystem files;
  files.files["/home/u/.config/rh/Setup.ini"] = "three lines";
  const std::string dir = "/home/u/.config/rh/";
  UserMemory memory;
  memory.Project = {"P, 1", "Basin \\ 7", "E = mc2", "line 1\n\tline 2\n", ""};
  EXPECT_EQ(DialogStartPath(memory, DialogFolder::Decks, "a.hc1", "/home/u"), "/home/u/a.hc1");
  RememberFolder(memory, files, dir, DialogFolder::Decks, "/runs/north/a.hc1");
  const UserMemory read = LoadUserMemory(files, dir);
  EXPECT_EQ(read.Project.Notes, memory.Project.Notes);
  EXPECT_EQ(read.Project.BasinName, memory.Project.BasinName);
  EXPECT_EQ(DialogStartPath(read, DialogFolder::Decks, "b.hc1", "/home/u"), "/runs/north/b.hc1");
  EXPECT_EQ(files.files["/home/u/.config/rh/Setup.ini"], "three lines");

  // Without a settings folder, or with a file that cannot be written, nothing is kept.
  EXPECT_FALSE(SaveUserMemory(files, "", memory));
  files.unwritable.insert(dir + "Study.ini");
  EXPECT_FALSE(SaveUserMemory(files, dir, memory));
  EXPECT_TRUE(LoadUserMemory(files, "/nowhere/").Project.ProjectName.empty());
}

}  // namespace
}  // namespace rh
