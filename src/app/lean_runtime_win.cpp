// Linked into each shipped executable ahead of the static C++ runtime, so that the
// runtime's own definitions of these functions, and what they drag in, stay out
// of it (about 90 KiB of the 32-bit executable).
#include <cstddef>
#include <exception>
#include <new>

// The default terminate handler demangles the type of an uncaught exception for a
// message on stderr, which a window program has no place to show. This demangler
// demangles nothing; the handler then prints the name as it stands.
extern "C" char* __cxa_demangle(const char*, char*, std::size_t*, int* status) {
  if (status) *status = -2;  // "not a valid name": the caller keeps the mangled one
  return nullptr;
}

// The containers report their failures through these. The runtime's versions
// build std::logic_error and its kin from a message, which brings in a second
// std::string implementation. Allocation failures stay exceptions (the mail code
// catches std::bad_alloc); the others are broken preconditions that nothing in
// the program catches (a failed lock or thread start is one), so they ended in
// std::terminate and still do, directly.
namespace std {
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_length_error(const char*) { terminate(); }
void __throw_logic_error(const char*) { terminate(); }
void __throw_out_of_range_fmt(const char*, ...) { terminate(); }
void __throw_system_error(int) { terminate(); }
}  // namespace std
