// The model-instance library (tvp, librunddclib.so, API version 16), bound at run time: one slot per operation of
// platform/rundd/tvp_operations.h, called as tvp::ops.tvpXxx(tt, ...). tvpGetReady / tvpGetReadyD load the library on first use
// (from dir when given); after a successful load every slot holds the library's entry or a stub that ends the
// process when called. Its objects come from the caller (the model instance is handed over, not created here).
#pragma once

#include "loaders/library_loader.h"
#include "loaders/operation_glue.h"
#include "platform/rundd/rundd_handles.h"

namespace tvb::tvp {

struct Operations {
#define TVP_OP TVB_LOADER_OPERATION_SLOT
#include "platform/rundd/tvp_operations.h"
#undef TVP_OP
};

extern Operations ops;

// True when the library is loaded; otherwise msg receives the reason, cut to msgSize.
bool tvpGetReady(char* msg, int msgSize);
bool tvpGetReadyD(const char* dir, char* msg, int msgSize);

loaders::LibraryLoader& Loader();

}  // namespace tvb::tvp
