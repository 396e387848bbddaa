// Every object that crosses the C boundary starts with its kind and its last error, so that an entry can tell a
// handle of the right kind from NULL or from a handle of another library before it touches anything else.
#ifndef RUNDD_TAGGED_OBJECT_H
#define RUNDD_TAGGED_OBJECT_H

#include <cstdint>
#include <string>

namespace rundd {

enum class ObjectKind : uint32_t {
  kModel = 0x7276d001,
  kEnvironment,
  kDictionary,
  kConfiguration,
  kSolver,
  kView,
  kSearch,
};

struct TaggedObject {
  explicit TaggedObject(ObjectKind k) : kind(k) {}
  TaggedObject(const TaggedObject &) = delete;
  TaggedObject &operator=(const TaggedObject &) = delete;

  ObjectKind kind;
  std::string last_error;  // the most recent failure; kept until the next one
};

// The object behind a handle when it is of kind T::kKind; null otherwise.
template <class T>
T *FromHandle(void *handle) {
  auto *object = static_cast<TaggedObject *>(handle);
  if (object == nullptr || object->kind != T::kKind) return nullptr;
  return static_cast<T *>(object);
}

template <class T>
void *ToHandle(T *object) {
  return static_cast<void *>(static_cast<TaggedObject *>(object));
}

}  // namespace rundd

#endif
