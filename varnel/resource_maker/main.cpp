// Writes Null.bmp and the placeholder weapon layers into the folder given.
#include <iostream>

#include "resource_maker/placeholder_layers.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: varnel-resource-maker FOLDER\n";
    return 2;
  }
  const varnel::Status written = varnel::writePlaceholderResources(argv[1]);
  if (!written) {
    std::cerr << "varnel-resource-maker: " << written.message() << '\n';
    return 1;
  }
  return 0;
}
