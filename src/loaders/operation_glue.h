// Expanders of one operation-table row into the loader's glue for that operation. A library's source defines
// its loader as `library` and its slots as `ops`, then expands its table once with each expander, in this
// order: TVB_LOADER_OPERATION_SLOT (the slot type, in the library's header), TVB_LOADER_OPERATION_INFO (name,
// lookup name, signature, compile-time checks), TVB_LOADER_OPERATION_STUB (the stub, the slot's value until the
// library is bound) and TVB_LOADER_OPERATION_BIND (check, then entry or stub).
// Rows have the shape OP(name, lookup, result, parameters, arguments, signature) of every table.
#pragma once

#include <iterator>

#include "loaders/library_loader.h"
#include "loaders/operation_info.h"
#include "loaders/operation_stub.h"

#define TVB_LOADER_UNPAREN(...) __VA_ARGS__

#define TVB_LOADER_OPERATION_SLOT(name, lookup, result, parameters, arguments, signature) result(*name) parameters;

#define TVB_LOADER_OPERATION_INFO(name, lookup, result, parameters, arguments, signature)      \
  constexpr int kSignature_##name[] = {TVB_LOADER_UNPAREN signature};                          \
  constexpr ::tvb::loaders::OperationInfo kOperation_##name{                                   \
      #name, #lookup, static_cast<int>(std::size(kSignature_##name)) - 1, kSignature_##name};  \
  static_assert(::tvb::loaders::LookupNameFollowsRule(#name, #lookup, kSignature_##name),      \
                #name ": the lookup name must be \"C\" + name exactly when a string travels"); \
  static_assert(::tvb::loaders::ParameterCount<result(*) parameters>::value ==                 \
                    ::tvb::loaders::ImpliedParameterCount(kSignature_##name),                  \
                #name ": the C parameters do not agree with the signature");

#define TVB_LOADER_OPERATION_STUB(name, lookup, result, parameters, arguments, signature) \
  .name = &::tvb::loaders::StubFor<result(*) parameters>::Call<&library, &kOperation_##name>,

#define TVB_LOADER_OPERATION_BIND(name, lookup, result, parameters, arguments, signature) \
  &&binder.Bind(kOperation_##name, ops.name,                                              \
                &::tvb::loaders::StubFor<result(*) parameters>::Call<&library, &kOperation_##name>)
