// The file of an external library: directory + "/" + "lib" + base name + ".so", composed in a buffer of 512
// characters (511 and the terminating zero) with every part bounded by the room left. A directory that already
// ends in "/" gets no second one; with no directory (null or empty) the bare file name is left for dlopen's
// search (libtvbcclib.so carries RUNPATH=$ORIGIN, so libraries installed beside it are found).
#pragma once

namespace tvb::loaders {

inline constexpr int kFileNameSize = 512;

struct LibraryFileName {
  char text[kFileNameSize];
};

LibraryFileName ComposeLibraryFileName(const char* dir, const char* baseName);

}  // namespace tvb::loaders
