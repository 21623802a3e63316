/* The floor for the companion's start-up: a plain C program that prints the sample basin's
   listing (the companion's own lines, compiled in) with fputs and exits. */
#include <stdio.h>

#include "BareListing.h"

int main(void) {
  fputs(kBareListing, stdout);
  return 0;
}
