// KALVOR 952: the program starts with the company choice. Until the windows exist, it only reports that
// the build is complete.
#include <cstdio>

int main() {
  std::puts("KALVOR 952 Uyarlama 3.0");
  return 0;
}
