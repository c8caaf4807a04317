#include "server_class.h"

// server_classes.inc lists QS_SERVER_CLASS(file) for each activex/controls/<file>.cpp.
#define QS_SERVER_CLASS(file) const ServerClass& server_class_##file();
namespace qs::activex {
#include "server_classes.inc"
}  // namespace qs::activex
#undef QS_SERVER_CLASS

namespace qs::activex {

const std::vector<const ServerClass*>& server_classes() {
#define QS_SERVER_CLASS(file) &server_class_##file(),
  static const std::vector<const ServerClass*> classes = {
#include "server_classes.inc"
  };
#undef QS_SERVER_CLASS
  return classes;
}

const ServerClass* find_server_class(std::u16string_view name) {
  for (const ServerClass* c : server_classes())
    if (c->name == name) return c;
  return nullptr;
}

}  // namespace qs::activex
