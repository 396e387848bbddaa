// Argument conversion of the length-prefixed family: strings arrive and leave as 256-byte buffers whose
// byte 0 holds the length, per-position strings as blocks of 20 such slots. Each argument gets a converter
// chosen by its signature code; the operation runs on zero-terminated copies, and string results are copied
// back (also after a failure, when they are empty). A null pointer is handed on as null, so that the operation
// reports it as its zero-terminated entry does.
#pragma once

#include <algorithm>
#include <cstring>
#include <tuple>
#include <type_traits>

#include "api/operations.h"
#include "tvbcclib_signatures.h"

namespace tvb::lp {

inline constexpr int kSlot = TRV_SSSIZE;

// A null string stays null (the result is out, or null).
inline const char* toZeroTerminated(const char* lengthPrefixed, char* out) {
  if (!lengthPrefixed) return nullptr;
  size_t n = static_cast<unsigned char>(lengthPrefixed[0]);
  std::memcpy(out, lengthPrefixed + 1, n);
  out[n] = '\0';
  return out;
}

inline void toLengthPrefixed(const char* text, char* out) {
  size_t n = std::min<size_t>(std::strlen(text), 255);
  std::memmove(out + 1, text, n);
  out[0] = static_cast<char>(n);
}

// What the converters need to know of the other arguments: the symbol whose dimension sizes a key, or the
// dimension argument that sizes a domain-name or label block.
struct Context {
  tvbHandle* db = nullptr;
  tvbSymbol* symbol = nullptr;
  bool hasSymbol = false;
  int dimArgument = 0;
  bool hasDimArgument = false;
  int positions = 0;  // strings per block

  template <int Code, class T>
  void note(T value) {
    if constexpr (Code == SIG_PTR && std::is_same_v<T, tvbSymbol*>) {
      if (!hasSymbol) symbol = value, hasSymbol = true;
    }
    if constexpr (Code == SIG_INT && std::is_same_v<T, int>) {
      if (!hasDimArgument) dimArgument = value, hasDimArgument = true;
    }
  }
  static int clampPositions(int n) { return std::clamp(n, 0, GLOBAL_MAX_INDEX_DIM); }
};

template <int Code, class T>
struct Converter {  // every other kind passes unchanged
  T value;
  Converter(T v, Context*) : value(v) {}
  T get() { return value; }
  void finish() {}
};

template <>
struct Converter<SIG_STRING_IN, const char*> {
  char text[kSlot];
  bool given;  // the converters are copied into place: the text is found again through this, not a pointer
  Converter(const char* v, Context*) : given(toZeroTerminated(v, text) != nullptr) {}
  const char* get() { return given ? text : nullptr; }
  void finish() {}
};

template <>
struct Converter<SIG_STRING_OUT, char*> {
  char* out;
  char text[kSlot] = {};
  Converter(char* v, Context*) : out(v) {}
  char* get() { return out ? text : nullptr; }
  void finish() {
    if (out) toLengthPrefixed(text, out);
  }
};

template <>
struct Converter<SIG_LABELS_IN, const char*> {
  int n;
  bool given;
  char texts[GLOBAL_MAX_INDEX_DIM][kSlot];
  const char* pointers[GLOBAL_MAX_INDEX_DIM];
  Converter(const char* block, Context* c) : n(block ? c->positions : 0), given(block != nullptr) {
    for (int i = 0; i < n; ++i) toZeroTerminated(block + i * kSlot, texts[i]);
  }
  const char* const* get() {
    for (int i = 0; i < n; ++i) pointers[i] = texts[i];
    return given ? pointers : nullptr;
  }
  void finish() {}
};

template <>
struct Converter<SIG_LABELS_OUT, char*> {
  char* block;
  int n;
  char texts[GLOBAL_MAX_INDEX_DIM][kSlot];
  char* pointers[GLOBAL_MAX_INDEX_DIM];
  Converter(char* v, Context* c) : block(v), n(v ? Context::clampPositions(c->dimArgument) : 0) {
    for (int i = 0; i < n; ++i) texts[i][0] = '\0';
  }
  char** get() {  // every slot, also beyond dim: an operation may write as many labels as its symbol has
    for (int i = 0; i < GLOBAL_MAX_INDEX_DIM; ++i) pointers[i] = texts[i];
    return block ? pointers : nullptr;
  }
  void finish() {
    for (int i = 0; i < n; ++i) toLengthPrefixed(texts[i], block + i * kSlot);
  }
};

template <int... Codes>
inline constexpr bool kHasCode(int code) {
  return ((Codes == code) || ...);
}

// Runs impl on converted arguments. ResultCode and ArgCodes are the operation's signature.
template <int ResultCode, int... ArgCodes>
struct Entry {
  template <class R, class... Impl, class... D>
  static R call(R (*impl)(tvbHandle*, Impl...), tvbHandle* db, D... args) {
    static_assert(sizeof...(ArgCodes) == sizeof...(D), "one signature code per argument");
    Context context;
    context.db = db;
    (context.note<ArgCodes>(args), ...);
    if constexpr (kHasCode<ArgCodes...>(SIG_LABELS_IN)) {
      // Keys are as long as their symbol's dimension; domain names as the dimension argument.
      if (context.hasSymbol) {
        if (!tvbSymbolDim(db, context.symbol, &context.positions)) return fail<R>(args...);
      } else {
        context.positions = Context::clampPositions(context.dimArgument);
      }
    }
    std::tuple<Converter<ArgCodes, D>...> converters{Converter<ArgCodes, D>(args, &context)...};
    R result = std::apply([&](auto&... c) { return impl(db, c.get()...); }, converters);
    std::apply([](auto&... c) { (c.finish(), ...); }, converters);
    return result;
  }

 private:
  // The operation did not run: 0, or a null handle with status 0 for the forms that return handles.
  template <class R, class... D>
  static R fail(D... args) {
    if constexpr (std::is_pointer_v<R>) {
      *std::get<sizeof...(D) - 1>(std::forward_as_tuple(args...)) = 0;
      return nullptr;
    } else {
      return 0;
    }
  }
};

}  // namespace tvb::lp
