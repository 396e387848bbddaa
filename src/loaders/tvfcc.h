// The TVF data-exchange file library (libtvfdclib.so, API version 7), bound at run time: one slot per
// operation of platform/tvf/tvf_operations.h, called as tvf::ops.tvfOpenRead(pt, ...), and the creation and
// release of its objects. tvfCreate / tvfCreateD load the library on first use (from dir when given); after a
// successful load every slot holds the library's entry or a stub that ends the process when called.
// Thread safety: creation may race; the library is loaded once. An object belongs to one database.
#pragma once

#include "loaders/library_loader.h"
#include "loaders/operation_glue.h"
#include "platform/tvf/tvf.h"

namespace tvb::tvf {

struct Operations {
#define TVF_OP TVB_LOADER_OPERATION_SLOT
#include "platform/tvf/tvf_operations.h"
#undef TVF_OP
};

extern Operations ops;

// A new object in *pt (null on failure, when msg receives the reason, cut to msgSize).
bool tvfCreate(tvfHandle_t* pt, char* msg, int msgSize);
bool tvfCreateD(tvfHandle_t* pt, const char* dir, char* msg, int msgSize);
// Releases *pt through the library's free entry, which sets it to null.
bool tvfFree(tvfHandle_t* pt);

loaders::LibraryLoader& Loader();

}  // namespace tvb::tvf
