// The floor for the companion's start-up: a bare C++ program that prints the sample basin's
// listing (the companion's own lines, compiled in) and exits.
#include <iostream>

#include "BareListing.h"

int main() {
  std::cout << kBareListing;
  return 0;
}
