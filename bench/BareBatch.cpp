// The floor for a batch with listing files: a bare program that makes as many files as the batch
// (basin-0.txt, basin-1.txt, ..., then summary.csv), each through a temporary file and a rename,
// one after another. Each listing is the sample basin's (compiled in); nothing is computed or
// checked. Arguments: the folder, the number of files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "BareListing.h"

namespace {

bool Put(const std::string& folder, const std::string& name, const char* text, std::size_t size) {
  const std::string path = folder + "/" + name;
  const std::string temp = folder + "/." + name + ".bare00";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0)
    return false;
  const bool written = ::write(fd, text, size) == static_cast<ssize_t>(size);
  return (::close(fd) == 0) && written && ::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3)
    return 2;
  const std::string folder = argv[1];
  const long count = std::atol(argv[2]);
  ::mkdir(folder.c_str(), 0777);
  const std::size_t size = std::strlen(kBareListing);
  std::string summary;
  for (long i = 0; i < count; ++i) {
    const std::string name = "basin-" + std::to_string(i);
    if (!Put(folder, name + ".txt", kBareListing, size))
      return 1;
    summary += name + ",ok,37,12,250,17.6006,,chart,,2.5,250,,,,,,\n";
  }
  return Put(folder, "summary.csv", summary.data(), summary.size()) ? 0 : 1;
}
